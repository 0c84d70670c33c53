// parlivo-measure-lexicon: what a lexicon and its sources are worth to a user.
//   coverage FOLDER WORDLIST [LANGUAGE]
//       per language file in FOLDER, the share of the list's words (one a line) that a
//       user finds as a headword of their own when typing them; with LANGUAGE, the
//       share of a list of the language's words found looked up in English
//   pivots ENG-VIA VIA-X ENG-X
//       held-out precision of translations through the language VIA: for every English headword
//       that ENG-X translates directly, the pivot candidates built as if it did not, and
//       how often the best one is among the direct translations; per score threshold
//   inflected ENG-X WORDLIST WORDNET
//       held-out agreement of the inflected source: for every form of the word list
//       that ENG-X translates itself and whose base word it translates too, how often
//       the base's first translation is one of the form's, or begins with the same
//       four letters (an inflected form of the same word)
//   gold FOLDER GOLDFOLDER [LANGUAGE]
//       per language file in FOLDER with a gold list LANGUAGE.tsv in GOLDFOLDER: of the
//       gold list's words, how many rows are listed, how many of them have a right
//       first translation, how many nothing right at all; with LANGUAGE, every row
//       that is not right first, for reading. The same for each set of the other
//       direction with a gold list of its language's words, GermanEnglish.tsv and so on
//   (dictionaries as dictd paths without .index/.dict[.dz])
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "EntryText.h"
#include "Errors.h"
#include "Folding.h"
#include "GoldList.h"
#include "Inflection.h"
#include "Languages.h"
#include "LexiconBuilder.h"
#include "Pivot.h"
#include "Producers.h"
#include "Search.h"
#include "Translator.h"
#include "WordNet.h"

namespace parlivo {
namespace {

String16 Lower(StringView16 word) {
  String16 lower(word);
  for (Char16& ch : lower) {
    if ((ch >= 'A' && ch <= 'Z') || (ch >= 0xC0 && ch <= 0xDE && ch != 0xD7)) ch += 32;
  }
  return lower;
}

// The text of the row whose headword is word, Latin-1, or nothing. Looked up in
// English, a language's word is also found in another case or with other accents, as
// the user finds it who types it so: the row of the word as it is written first, then
// one of the word in other case, then one under the same key ("aqui" for "aquí").
std::optional<std::string> RowOf(TTranslator& translator, const String16& word,
                                 TDirection direction = TDirection::FromEnglish) {
  std::optional<std::string> row;
  int best = 3;  // 0 the same word, 1 in other case, 2 under the same key
  const String16 key = FoldedKey(word);
  SearchTypedWord(
      translator, LettersOnly(word, direction),
      [&](StringView16 headword, StringView16 text) {
        // Words of one or two letters come back padded with spaces.
        headword = headword.substr(0, headword.find_last_not_of(Char16{' '}) + 1);
        int match = headword == word ? 0 : 3;
        if (match > 0 && direction == TDirection::ToEnglish)
          match = Lower(headword) == Lower(word) ? 1 : FoldedKey(headword) == key ? 2 : 3;
        if (match >= best) return;
        best = match;
        row.emplace();
        for (const Char16 ch : text) row->push_back(static_cast<char>(ch));
      },
      direction);
  return row;
}

// The translator reading the files of a language in a direction, or nothing where
// they are not in the folder.
std::unique_ptr<TTranslator> Opened(const std::string& folder, const TLanguage& language,
                                    TDirection direction) {
  const TFileSet set = FilesOf(language, direction);
  auto translator = std::make_unique<TTranslator>();
  translator->SetHeadwordsAsSpelt(direction == TDirection::ToEnglish);
  try {
    translator->SetIndexFileName(FromUtf8(folder + "/" + ToUtf8(set.Index)));
    translator->SetDataFileName(FromUtf8(folder + "/" + ToUtf8(set.Data)));
  } catch (const EFOpenError&) {
    return nullptr;
  }
  return translator;
}

int Gold(const std::string& folder, const std::string& goldFolder, const std::string& shown) {
  std::printf("%-17s %6s %7s %12s %12s %12s\n", "", "words", "listed", "right first",
              "nothing right", "not listed");
  for (const TDirection direction : {TDirection::FromEnglish, TDirection::ToEnglish})
    for (const auto& language : Languages) {
      if (direction == TDirection::ToEnglish && !HasReverse(language)) continue;
      // A set of the other direction is named as its build names it: "GermanEnglish".
      const std::string name =
          ToUtf8(language.Name) + (direction == TDirection::ToEnglish ? "English" : "");
      const std::string goldPath = goldFolder + "/" + name + ".tsv";
      if (!std::ifstream(goldPath)) continue;
      auto translator = Opened(folder, language, direction);
      if (!translator) continue;
      const bool definitions = name == "English";
      size_t words = 0, listed = 0, first = 0, nothing = 0;
      for (const TGoldWord& gold : ReadGoldList(goldPath)) {
        if (gold.Skipped) continue;
        ++words;
        const auto row = RowOf(*translator, FromUtf8(gold.Word), direction);
        if (!row) {
          if (name == shown) std::printf("  not listed: %s\n", gold.Word.c_str());
          continue;
        }
        ++listed;
        const TGoldVerdict verdict = JudgeAgainstGold(*row, gold, definitions);
        first += verdict == TGoldVerdict::FirstRight;
        nothing += verdict == TGoldVerdict::NothingRight;
        if (name == shown && verdict != TGoldVerdict::FirstRight) {
          std::string accepted;
          for (const auto& item : gold.Accepted) accepted += (accepted.empty() ? "" : "|") + item;
          std::printf("  %s %s=%s\n      gold: %s\n",
                      verdict == TGoldVerdict::NothingRight ? "NOTHING" : "later  ",
                      gold.Word.c_str(), ToUtf8(FromLatin1(*row)).c_str(), accepted.c_str());
        }
      }
      auto share = [&](size_t part, size_t whole) {
        return whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0;
      };
      std::printf("%-17s %6zu %7zu %10.1f %% %10.1f %% %12zu\n", name.c_str(), words, listed,
                  share(first, listed), share(nothing, listed), words - listed);
    }
  return 0;
}

int Coverage(const std::string& folder, const std::string& wordList, const std::string& from) {
  const TDirection direction = from.empty() ? TDirection::FromEnglish : TDirection::ToEnglish;
  std::vector<String16> words;
  std::ifstream list(wordList);
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const String16 word = FromUtf8(line);
    // Words of letters only: English ones in small letters, as the list keeps them.
    if (!word.empty() && LettersOnly(word, direction) == word) words.push_back(word);
  }
  std::printf("%zu words of %s\n", words.size(), wordList.c_str());
  for (const auto& language : Languages) {
    if (!from.empty() && ToUtf8(language.Name) != from) continue;
    auto translator = Opened(folder, language, direction);
    if (!translator) continue;
    size_t found = 0;
    for (const String16& word : words) {
      const bool listed = RowOf(*translator, word, direction).has_value();
      found += listed;
      // The words a language's list misses, for whoever looks into why.
      if (!listed && !from.empty()) std::cerr << "not listed: " << ToUtf8(word) << '\n';
    }
    std::printf("%-12s %6.1f %%  (%zu)\n", ToUtf8(language.Name).c_str(),
                100.0 * static_cast<double>(found) / static_cast<double>(words.size()), found);
  }
  return 0;
}

// A FreeDict dictionary's items per stored headword, read without a word to the log.
TSourceItems DictionaryItems(const std::string& path) {
  std::ostringstream quiet;
  TLanguageSummary ignored;
  return ReadItems({"X", TSourceFormat::Freedict, path}, ignored, quiet);
}

// The form in which translations are compared: as a headword is stored, where it can be
// (unlike the pivots' matching, which also lowers the case of words that cannot be).
std::string AsStored(const std::string& word) {
  const THeadword stored = StoredHeadword(word);
  return stored.Key.empty() ? word : stored.Key;
}

int Pivots(const std::string& engVia, const std::string& viaX, const std::string& engX) {
  const TSourceItems middle = DictionaryItems(engVia);
  const TSourceItems direct = DictionaryItems(engX);
  std::ostringstream quiet;
  const TKeyedDictionary middleToX = Keyed(ReadSource({"X", TSourceFormat::Pivot, viaX}, quiet));
  const double thresholds[] = {0.05, 0.1, 0.2, 0.34, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0};
  size_t heldOut = 0;
  size_t given[std::size(thresholds)] = {}, right[std::size(thresholds)] = {};
  for (const auto& [key, translations] : direct.Items) {
    const auto middleItems = middle.Items.find(key);
    if (middleItems == middle.Items.end()) continue;
    ++heldOut;
    const auto candidates = PivotCandidates(middleItems->second, middleToX);
    if (candidates.empty()) continue;
    std::set<std::string> wanted;
    for (const auto& item : translations) wanted.insert(AsStored(item.Text));
    const bool correct = wanted.count(AsStored(candidates.front().Text)) > 0;
    for (size_t t = 0; t < std::size(thresholds); ++t) {
      if (candidates.front().Score < thresholds[t]) continue;
      ++given[t];
      right[t] += correct;
    }
  }
  std::printf("%zu held-out headwords (a direct entry and an entry of the first leg)\n", heldOut);
  std::printf("%9s %10s %10s\n", "threshold", "coverage", "precision");
  for (size_t t = 0; t < std::size(thresholds); ++t) {
    std::printf(
        "%9.2f %9.1f %% %9.1f %%\n", thresholds[t],
        100.0 * static_cast<double>(given[t]) / static_cast<double>(heldOut),
        given[t] ? 100.0 * static_cast<double>(right[t]) / static_cast<double>(given[t]) : 0.0);
  }
  return 0;
}

int Inflected(const std::string& engX, const std::string& wordList, const std::string& wordNet) {
  const TSourceItems direct = DictionaryItems(engX);
  const TWordNet morphology(wordNet);
  size_t heldOut = 0, agreeing = 0;
  for (const auto& form : ReadWordForms(wordList)) {
    const auto own = direct.Items.find(StoredHeadword(form).Key);
    if (own == direct.Items.end() || own->second.empty()) continue;
    for (const auto& base : morphology.Bases(form)) {
      const auto baseItems = direct.Items.find(StoredHeadword(base.Word).Key);
      if (baseItems == direct.Items.end() || baseItems->second.empty()) continue;
      ++heldOut;
      const std::string first = AsStored(baseItems->second.front().Text);
      agreeing += std::any_of(own->second.begin(), own->second.end(), [&](const auto& item) {
        const std::string translation = AsStored(item.Text);
        return translation == first ||
               (first.size() >= 4 && translation.compare(0, 4, first, 0, 4) == 0);
      });
      break;
    }
  }
  std::printf(
      "%zu held-out forms (translated themselves, and their base word too): "
      "%.1f %% agree\n",
      heldOut, heldOut ? 100.0 * static_cast<double>(agreeing) / heldOut : 0.0);
  return 0;
}

}  // namespace
}  // namespace parlivo

int main(int argc, char** argv) {
  try {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "coverage" && (argc == 4 || argc == 5))
      return parlivo::Coverage(argv[2], argv[3], argc == 5 ? argv[4] : "");
    if (mode == "pivots" && argc == 5) return parlivo::Pivots(argv[2], argv[3], argv[4]);
    if (mode == "inflected" && argc == 5) return parlivo::Inflected(argv[2], argv[3], argv[4]);
    if (mode == "gold" && (argc == 4 || argc == 5))
      return parlivo::Gold(argv[2], argv[3], argc == 5 ? argv[4] : "");
    std::cerr << "usage: parlivo-measure-lexicon coverage FOLDER WORDLIST [LANGUAGE]\n"
                 "       parlivo-measure-lexicon pivots ENG-VIA VIA-X ENG-X\n"
                 "       parlivo-measure-lexicon inflected ENG-X WORDLIST WORDNET\n"
                 "       parlivo-measure-lexicon gold FOLDER GOLDFOLDER [LANGUAGE]\n";
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "parlivo-measure-lexicon: " << error.what() << '\n';
    return 1;
  }
}
