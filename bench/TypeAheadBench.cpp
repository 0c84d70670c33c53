// One keystroke's work against a lexicon of 200,000 words, in each direction: from
// English, the typed word looked up in lower case and padded with spaces up to 30
// characters; towards English, a German word typed with its capitals and accents,
// looked up by its key the same way, each row's word read as it is spelt.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "Languages.h"
#include "Search.h"
#include "SyntheticLexicon.h"
#include "Translator.h"

namespace parlivo::bench {
namespace {

constexpr size_t kHeadwords = 200000;

// A lexicon of one direction in a folder of its own, open in a translator.
class TFixture {
 public:
  explicit TFixture(TDirection direction) : FDirection(direction) {
    FFolder = std::filesystem::temp_directory_path() /
              (direction == TDirection::FromEnglish ? "parlivo-bench" : "parlivo-bench-reverse");
    std::filesystem::create_directories(FFolder);
    const TFileSet files = FilesOf(*FindLanguage(PLV_TEXT("German")), direction);
    if (direction == TDirection::FromEnglish) {
      const TSyntheticLexicon lexicon = MakeSyntheticLexicon(kHeadwords, 2026);
      WriteSyntheticLexicon(lexicon, FFolder.string());
      FWords = lexicon.Headwords;
    } else {
      const TSyntheticReverseLexicon lexicon = MakeSyntheticReverseLexicon(kHeadwords, 2026);
      WriteSyntheticReverseLexicon(lexicon, FFolder.string());
      FWords = lexicon.Spelt;
      FTranslator.SetHeadwordsAsSpelt(true);
    }
    FTranslator.SetIndexFileName(FromUtf8((FFolder / ToUtf8(files.Index)).string()));
    FTranslator.SetDataFileName(FromUtf8((FFolder / ToUtf8(files.Data)).string()));
  }
  ~TFixture() {
    FTranslator.SetIndexFileName({});
    FTranslator.SetDataFileName({});
    std::error_code ignored;
    std::filesystem::remove_all(FFolder, ignored);
  }
  // Typed words of the given length that begin real words, as they are written.
  std::vector<String16> TypedWords(size_t letters) const {
    std::mt19937 random(static_cast<unsigned>(letters));
    std::vector<String16> words;
    while (words.size() < 256) {
      const std::string& word = FWords[random() % FWords.size()];
      if (word.size() < letters) continue;
      const String16 typed = FromLatin1(word.substr(0, letters));
      if (LettersOnly(typed, FDirection) == typed) words.push_back(typed);
    }
    return words;
  }
  size_t Search(const String16& typed) {
    return SearchTypedWord(
        FTranslator, typed,
        [](StringView16 word, StringView16 text) {
          benchmark::DoNotOptimize(word.data());
          benchmark::DoNotOptimize(text.data());
        },
        FDirection);
  }

 private:
  TDirection FDirection;
  std::filesystem::path FFolder;
  std::vector<std::string> FWords;  // Latin-1, as the user writes them
  TTranslator FTranslator;
};

TFixture& Fixture(TDirection direction) {
  static TFixture fromEnglish(TDirection::FromEnglish);
  static TFixture toEnglish(TDirection::ToEnglish);
  return direction == TDirection::FromEnglish ? fromEnglish : toEnglish;
}

void Keystroke(benchmark::State& state, TDirection direction) {
  TFixture& fixture = Fixture(direction);
  const auto words = fixture.TypedWords(static_cast<size_t>(state.range(0)));
  size_t next = 0;
  size_t rows = 0;
  size_t keystrokes = 0;
  for (auto _ : state) {
    rows += fixture.Search(words[next]);
    next = (next + 1) % words.size();
    ++keystrokes;
  }
  state.counters["rows"] =
      benchmark::Counter(static_cast<double>(rows) / static_cast<double>(keystrokes));
  // Rows differ between the lexicons: the time of a row compares the directions' work.
  state.counters["per_row"] = benchmark::Counter(
      static_cast<double>(rows), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void FromEnglish(benchmark::State& state) {
  Keystroke(state, TDirection::FromEnglish);
}
void ToEnglish(benchmark::State& state) {
  Keystroke(state, TDirection::ToEnglish);
}

BENCHMARK(FromEnglish)->Arg(1)->Arg(2)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);
BENCHMARK(ToEnglish)->Arg(1)->Arg(2)->Arg(3)->Arg(6)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace parlivo::bench

BENCHMARK_MAIN();
