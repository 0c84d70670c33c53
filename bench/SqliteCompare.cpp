// One keystroke's search against SQLite's answer to the same question, side by side in
// one process: the same pairs, the same prefixes, interleaved, each row copied into two
// UTF-16 strings. Prints per prefix length the median time of our search and the
// median of the paired ratios SQLite / Parlivo, twice: with the rows copied into new
// strings, an allocation each, and into strings kept from the last search, so that
// the copy costs what copying costs. The allocator's time is the same on both sides.
// Then the same with the processor's caches emptied before each search, as a keystroke
// finds them after the user's other work.
//   parlivo_compare FILES_FOLDER [LANGUAGE]
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "Languages.h"
#include "Search.h"
#include "Translator.h"

namespace parlivo::bench {
namespace {

using Clock = std::chrono::steady_clock;
using TRows = std::vector<std::pair<String16, String16>>;

struct TPair {
  String16 Word;
  String16 Text;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Every pair that typing can reach: the searches of all one, two and three letters.
std::vector<TPair> AllPairs(TTranslator& translator) {
  std::vector<TPair> pairs;
  auto collect = [&](const String16& typed) {
    SearchTypedWord(translator, typed, [&](const auto& word, const auto& text) {
      pairs.push_back({String16(word), String16(text)});
    });
  };
  String16 typed;
  for (Char16 a = 'a'; a <= 'z'; ++a) {
    collect(String16(1, a));
    for (Char16 b = 'a'; b <= 'z'; ++b) {
      collect(String16{a, b});
      for (Char16 c = 'a'; c <= 'z'; ++c) collect(String16{a, b, c});
    }
  }
  return pairs;
}

// Rows copied into new strings, an allocation each.
class TNewRows {
 public:
  void Clear() { FRows.clear(); }
  void Add(StringView16 word, StringView16 text) { FRows.emplace_back(word, text); }
  size_t Count() const { return FRows.size(); }
  const TRows& Rows() const { return FRows; }

 private:
  TRows FRows;
};

// Rows copied into strings kept from search to search: only the first search of a
// size allocates.
class TRowStore {
 public:
  void Clear() { FCount = 0; }
  void Add(StringView16 word, StringView16 text) {
    if (FCount == FRows.size()) FRows.emplace_back();
    FRows[FCount].first.assign(word);
    FRows[FCount].second.assign(text);
    ++FCount;
  }
  size_t Count() const { return FCount; }

 private:
  TRows FRows;
  size_t FCount = 0;
};

class TSqlite {
 public:
  explicit TSqlite(const std::vector<TPair>& pairs) {
    sqlite3_open(":memory:", &FDb);
    Run("PRAGMA encoding = 'UTF-16le'");
    Run("CREATE TABLE pairs (w TEXT, n INTEGER, t TEXT, PRIMARY KEY (w, n)) WITHOUT ROWID");
    Run("BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(FDb, "INSERT INTO pairs VALUES (?, ?, ?)", -1, &insert, nullptr);
    for (size_t i = 0; i < pairs.size(); ++i) {
      sqlite3_bind_text16(insert, 1, pairs[i].Word.data(), Bytes(pairs[i].Word), SQLITE_STATIC);
      sqlite3_bind_int64(insert, 2, static_cast<sqlite3_int64>(i));
      sqlite3_bind_text16(insert, 3, pairs[i].Text.data(), Bytes(pairs[i].Text), SQLITE_STATIC);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Run("COMMIT");
    sqlite3_prepare_v2(FDb, "SELECT w, t FROM pairs WHERE w >= ? AND w < ?", -1, &FSelect, nullptr);
  }
  ~TSqlite() {
    sqlite3_finalize(FSelect);
    sqlite3_close(FDb);
  }
  // The rows whose headword begins with the typed word, padded to three characters as
  // the lexicon's buckets pad it, copied into rows.
  template <class TSink>
  size_t Search(const String16& typed, TSink& rows) {
    rows.Clear();
    String16 low = typed;
    while (low.size() < 3) low.push_back(Char16{' '});
    String16 high = low;
    ++high.back();
    sqlite3_bind_text16(FSelect, 1, low.data(), Bytes(low), SQLITE_TRANSIENT);
    sqlite3_bind_text16(FSelect, 2, high.data(), Bytes(high), SQLITE_TRANSIENT);
    while (sqlite3_step(FSelect) == SQLITE_ROW) {
      const auto* word = static_cast<const Char16*>(sqlite3_column_text16(FSelect, 0));
      const size_t wordLength = static_cast<size_t>(sqlite3_column_bytes16(FSelect, 0)) / 2;
      const auto* text = static_cast<const Char16*>(sqlite3_column_text16(FSelect, 1));
      const size_t textLength = static_cast<size_t>(sqlite3_column_bytes16(FSelect, 1)) / 2;
      rows.Add(StringView16(word, wordLength), StringView16(text, textLength));
    }
    sqlite3_reset(FSelect);
    return rows.Count();
  }

 private:
  static int Bytes(const String16& text) { return static_cast<int>(text.size() * 2); }
  void Run(const char* sql) { sqlite3_exec(FDb, sql, nullptr, nullptr, nullptr); }
  sqlite3* FDb = nullptr;
  sqlite3_stmt* FSelect = nullptr;
};

// The same rows, whatever their order: SQLite lists them by headword.
bool SameRows(TRows ours, TRows theirs) {
  std::sort(ours.begin(), ours.end());
  std::sort(theirs.begin(), theirs.end());
  return ours == theirs;
}

template <class TSink>
size_t ParlivoSearch(TTranslator& translator, const String16& typed, TSink& rows) {
  rows.Clear();
  SearchTypedWord(translator, typed,
                  [&](StringView16 word, StringView16 text) { rows.Add(word, text); });
  return rows.Count();
}

template <class F>
double Microseconds(F&& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

}  // namespace
}  // namespace parlivo::bench

int main(int argc, char** argv) {
  using namespace parlivo;
  using namespace parlivo::bench;
  if (argc < 2) {
    std::fprintf(stderr, "usage: parlivo_compare FILES_FOLDER [LANGUAGE]\n");
    return 2;
  }
  // Memory freed by one search stays for the next, as the Windows heap keeps it, rather
  // than going back to the system and faulting in again: page faults cost a virtual
  // machine so much that they drowned both sides' work.
#ifdef __GLIBC__
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  const std::string folder = argv[1];
  const std::string language = argc > 2 ? argv[2] : "German";
  TTranslator translator;
  translator.SetIndexFileName(FromUtf8(folder + "/Index.plv"));
  translator.SetDataFileName(FromUtf8(folder + "/" + language + ".plv"));
  const std::vector<TPair> pairs = AllPairs(translator);
  TSqlite sqlite(pairs);
  std::printf("%s: %zu pairs in both\n", language.c_str(), pairs.size());

  std::mt19937 random(2026);
  auto sample = [&](size_t letters) {
    std::vector<String16> prefixes;
    while (prefixes.size() < 100) {
      const String16& word = pairs[random() % pairs.size()].Word;
      if (word.size() >= letters && LettersOnly(word.substr(0, letters)).size() == letters)
        prefixes.push_back(word.substr(0, letters));
    }
    return prefixes;
  };
  std::vector<std::pair<std::string, std::vector<String16>>> groups;
  for (size_t letters : {1, 2, 3, 4, 6})
    groups.push_back({std::to_string(letters), sample(letters)});
  groups.push_back({"con/str/house", {PLV_TEXT("con"), PLV_TEXT("str"), PLV_TEXT("house")}});
  for (const char* word : {"con", "str", "house"}) groups.push_back({word, {FromUtf8(word)}});

  std::printf("%-14s %8s %14s %14s %14s %14s\n", "", "", "new strings", "", "kept strings", "");
  std::printf("%-14s %8s %14s %14s %14s %14s\n", "letters typed", "rows", "Parlivo median",
              "SQLite/Parlivo", "Parlivo median", "SQLite/Parlivo");
  TNewRows ours, theirs;
  TRowStore ourStore, theirStore;
  for (const auto& [name, prefixes] : groups) {
    std::vector<double> ourTimes, ratios, ourKeptTimes, keptRatios;
    size_t rowCount = 0;
    for (const String16& prefix : prefixes) {
      if (ParlivoSearch(translator, prefix, ours) != sqlite.Search(prefix, theirs) ||
          !SameRows(ours.Rows(), theirs.Rows())) {
        std::fprintf(stderr, "different rows for %s\n", ToUtf8(prefix).c_str());
        return 1;
      }
      rowCount += ours.Count();
      // Interleaved, the best of several rounds each (five at least, more for groups of
      // few prefixes): what the machine's noise leaves of the work.
      const size_t rounds = std::max<size_t>(5, 60 / prefixes.size());
      double our = 1e30, their = 1e30, ourKept = 1e30, theirKept = 1e30;
      for (size_t round = 0; round < rounds; ++round) {
        our = std::min(our, Microseconds([&] { ParlivoSearch(translator, prefix, ours); }));
        their = std::min(their, Microseconds([&] { sqlite.Search(prefix, theirs); }));
        ourKept =
            std::min(ourKept, Microseconds([&] { ParlivoSearch(translator, prefix, ourStore); }));
        theirKept = std::min(theirKept, Microseconds([&] { sqlite.Search(prefix, theirStore); }));
      }
      ourTimes.push_back(our);
      ratios.push_back(their / our);
      ourKeptTimes.push_back(ourKept);
      keptRatios.push_back(theirKept / ourKept);
    }
    std::printf("%-14s %8.1f %11.1f us %14.2f %11.1f us %14.2f\n", name.c_str(),
                static_cast<double>(rowCount) / static_cast<double>(prefixes.size()),
                Median(ourTimes), Median(ratios), Median(ourKeptTimes), Median(keptRatios));
  }

  // A keystroke as a user makes it: the processor's caches hold other work, not the
  // search's data. Each search runs once after 64 MiB have been written over, rows into
  // kept strings; a group of few prefixes runs each several times.
  std::printf("\ncold caches    %8s %14s %14s\n", "", "Parlivo median", "SQLite/Parlivo");
  std::vector<char> otherWork(64 << 20);
  auto afterOtherWork = [&](auto&& search) {
    for (size_t i = 0; i < otherWork.size(); i += 64) ++otherWork[i];
    return Microseconds(search);
  };
  for (const auto& [name, prefixes] : groups) {
    std::vector<double> ourTimes, ratios;
    for (size_t round = 0; round < std::max<size_t>(1, 9 / prefixes.size()); ++round) {
      for (const String16& prefix : prefixes) {
        const double our = afterOtherWork([&] { ParlivoSearch(translator, prefix, ourStore); });
        const double their = afterOtherWork([&] { sqlite.Search(prefix, theirStore); });
        ourTimes.push_back(our);
        ratios.push_back(their / our);
      }
    }
    std::printf("%-14s %8s %11.1f us %14.2f\n", name.c_str(), "", Median(ourTimes), Median(ratios));
  }
  return 0;
}
