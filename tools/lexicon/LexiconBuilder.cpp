#include "LexiconBuilder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <bitset>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iomanip>
#include <map>
#include <memory>
#include <numeric>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <tuple>
#include <unordered_set>

#include "Apertium.h"
#include "Ding.h"
#include "EntryText.h"
#include "FolderSwap.h"
#include "GoldList.h"
#include "Inflection.h"
#include "Languages.h"
#include "Latin1.h"
#include "LexiconChecker.h"
#include "Parallel.h"
#include "Producers.h"
#include "RegularForms.h"
#include "SeenHashes.h"
#include "SourceEntry.h"
#include "Spelling.h"
#include "WordNet.h"

namespace parlivo {

namespace fs = std::filesystem;

const TLanguage* ReverseSetNamed(const std::string& name) {
  for (const auto& language : Languages)
    if (HasReverse(language) && ToUtf8(language.ReverseFileName) == name + ".plv") return &language;
  return nullptr;
}

namespace {

// The texts of a language, keyed by stored headword.
using TTexts = std::map<std::string, std::string>;

struct TCollected {
  TLanguageSummary Summary;
  TTexts Texts;  // stored headword -> Latin-1 text
  // A set of the other direction has an index of its own, and keeps with each key the
  // word as it is spelt (Latin-1) where that is not the key itself.
  bool Reverse = false;
  TTexts Spelt;
};

std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

// Whether a source's proposals come from another language's rows of the same build.
bool FromOtherRows(TSourceFormat format) {
  return format == TSourceFormat::Pivot || format == TSourceFormat::Turned ||
         format == TSourceFormat::Borrowed;
}

// The language whose rows such a source takes: a pivot's middle language, else its Path.
const std::string& OtherLanguageOf(const TLanguageSource& source) {
  return source.Format == TSourceFormat::Pivot ? source.Via : source.Path;
}

TSourceKind KindOf(TSourceFormat format) {
  switch (format) {
    case TSourceFormat::Wordnet:
    case TSourceFormat::Gcide:
      return TSourceKind::Definitions;
    case TSourceFormat::Reversed:
    case TSourceFormat::Turned:
      return TSourceKind::TurnedRound;
    case TSourceFormat::Pivot:
    case TSourceFormat::Borrowed:
      return TSourceKind::Pivot;
    case TSourceFormat::Apertium:
    case TSourceFormat::Ding:
      return TSourceKind::Curated;
    default:
      return TSourceKind::Dictionary;
  }
}

// What every language of a build shares: WordNet, read once, and the word lists of the
// inflected sources.
struct TBuildContext {
  std::unique_ptr<TWordNet> WordNet;
  bool WordNetWanted = false;
  std::map<std::string, std::vector<std::string>> WordLists;  // by path

  const TWordNet* LoadedWordNet(const TBuildOptions& options, std::ostream& log) {
    if (!WordNet && WordNetWanted) {
      log << "Reading WordNet from " << options.WordNetFolder << std::endl;
      WordNet = std::make_unique<TWordNet>(options.WordNetFolder);
    }
    return WordNet.get();
  }
  const std::vector<std::string>& WordList(const std::string& path) {
    auto list = WordLists.find(path);
    if (list == WordLists.end()) list = WordLists.emplace(path, ReadWordForms(path)).first;
    return list->second;
  }
};

// A tsv source's texts, read line by line: the lines of a headword are joined as a
// dictionary's items are. What earlier sources have is not held again, but whether the
// source gave a text for it is noted in yielded. A source too big for the format is
// refused as soon as that is certain.
TTexts TabSeparatedTexts(const TLanguageSource& source, const TBuildOptions& options,
                         TKeying keying, const TTexts& earlier, TLanguageSummary& summary,
                         bool& yielded) {
  TLanguageFileBound bound;
  for (const auto& [key, text] : earlier) bound.Add(text);
  std::map<std::string, TEntryText> joined;
  TSeenHashes leftOut;
  ReadTabSeparated(source.Path, [&](std::string_view headword, std::string_view item) {
    ++summary.SourceEntries;
    THeadword stored = KeyedHeadword(headword, keying);
    if (stored.LeftOut) {
      if (leftOut.Insert(HashOf(headword) + static_cast<uint64_t>(*stored.LeftOut)))
        CountLeftOut(*stored.LeftOut, summary);
      return;
    }
    if (earlier.count(stored.Key)) {
      yielded = yielded || !MakeEntryText({std::string(item)}, ", ", options.MaxTextLength).empty();
      return;
    }
    TEntryText& text = joined.try_emplace(std::move(stored.Key)).first->second;
    const bool first = text.Text().empty();
    text.Add(item, ", ", options.MaxTextLength);
    if (first && !text.Text().empty()) {
      bound.Add(text.Text());
      bound.Check(summary.FileName);
    }
  });
  TTexts texts;
  yielded = yielded || std::any_of(joined.begin(), joined.end(),
                                   [](const auto& text) { return !text.second.Text().empty(); });
  while (!joined.empty()) {
    auto node = joined.extract(joined.begin());
    if (node.mapped().Text().empty()) {
      ++summary.NoText;
    } else {
      texts.emplace_hint(texts.end(), std::move(node.key()), node.mapped().Take());
    }
  }
  return texts;
}

// The English words the curated sources are asked about: WordNet's, those of the word
// lists, and the headwords the language's other sources proposed, lower case UTF-8.
std::vector<std::string> EnglishVocabulary(const TProposals& proposals, TBuildContext& context,
                                           const TBuildOptions& options, std::ostream& log) {
  std::set<std::string> words;
  for (const auto& [key, own] : proposals) words.insert(ToUtf8(FromLatin1(key)));
  if (const TWordNet* wordNet = context.LoadedWordNet(options, log))
    for (const auto& lemma : wordNet->Lemmas()) words.insert(lemma);
  for (const auto& [path, list] : context.WordLists) words.insert(list.begin(), list.end());
  std::erase_if(words,
                [](const std::string& word) { return StoredHeadword(word).LeftOut.has_value(); });
  return {words.begin(), words.end()};
}

// The words of a language the curated sources are asked about: the headwords the other
// sources proposed translations for, and the forms of its word list, as they are spelt.
std::vector<std::string> SpeltVocabulary(const TProposals& proposals,
                                         const std::vector<std::string>& forms) {
  std::set<std::string> words(forms.begin(), forms.end());
  for (const auto& [spelt, own] : proposals) words.insert(spelt);
  return {words.begin(), words.end()};
}

// A source's proposals; place is its place among the language's sources, keying how
// the build keys its rows; forms the word list of a language read the other way.
void Produce(const TLanguageSource& source, uint8_t place, TKeying keying,
             const std::vector<std::string>& forms, TProposals& proposals, TBuildContext& context,
             const TBuildOptions& options, TLanguageSummary& summary, std::ostream& log) {
  switch (source.Format) {
    case TSourceFormat::Freedict: {
      TLanguageSummary leftOut;
      const TSourceItems read = ReadItems(source, leftOut, log, keying);
      summary.SourceEntries += read.Entries;
      summary.NoLatin1Form += leftOut.NoLatin1Form;
      summary.LongerThan30 += leftOut.LongerThan30;
      summary.UnreachableStart += leftOut.UnreachableStart;
      ProduceDictionary(read, place, proposals);
      break;
    }
    case TSourceFormat::Reversed: {
      const auto entries = ReadSource(source, log);
      summary.SourceEntries += entries.size();
      ProduceReversed(entries, place, proposals, keying);
      break;
    }
    case TSourceFormat::Wordnet: {
      log << source.Language << ": reading WordNet from " << source.Path << std::endl;
      const TWordNet wordNet(source.Path);
      ProduceDefinitions(wordNet, place, proposals, summary);
      break;
    }
    case TSourceFormat::Gcide: {
      // The words of the word list WordNet has nothing for but abbreviations, neither
      // as words nor as forms of its words ("the", "my", "whether", "an" only as AN, a
      // degree in nursing); and the words of grammar whose senses WordNet has never met
      // in use or are names ("he" only as a Hebrew letter, "his" as more than one "hi",
      // "us" as the country).
      const TWordNet* wordNet = context.LoadedWordNet(options, log);
      if (!wordNet || forms.empty())
        throw std::runtime_error(source.Language + ": gcide needs an inflected source");
      const std::set<std::string_view> listed(forms.begin(), forms.end());
      log << source.Language << ": reading " << source.Path << std::endl;
      ProduceGcide(
          ReadDictd(source.Path),
          [&](const std::string& word, bool functionWord) {
            if (!listed.count(word)) return false;
            if (functionWord) return wordNet->MostMet(word) == 0 || !wordNet->HasCommonSense(word);
            return (wordNet->Senses(word).empty() || wordNet->OnlyAbbreviations(word)) &&
                   wordNet->Bases(word).empty();
          },
          place, proposals, summary);
      break;
    }
    case TSourceFormat::Apertium: {
      std::vector<std::string> steps;
      for (size_t start = 0; start <= source.Path.size();) {
        const size_t plus = std::min(source.Path.find('+', start), source.Path.size());
        steps.push_back(source.Path.substr(start, plus - start));
        start = plus + 1;
      }
      log << source.Language << ": reading Apertium's " << source.Path << std::endl;
      TApertiumChain chain(steps);
      const auto words = keying == TKeying::English
                             ? EnglishVocabulary(proposals, context, options, log)
                             : SpeltVocabulary(proposals, forms);
      summary.SourceEntries += words.size();
      ProduceApertium(chain, words, place, proposals, keying);
      break;
    }
    case TSourceFormat::Ding: {
      log << source.Language << ": reading " << source.Path << std::endl;
      if (keying == TKeying::Spelt) {
        // Read the other way, every German headword is one to keep.
        ProduceDing(
            source.Path, [](const std::string&) { return true; }, place, proposals, summary,
            keying);
        break;
      }
      const auto words = EnglishVocabulary(proposals, context, options, log);
      std::unordered_set<std::string> wanted;
      for (const auto& word : words) wanted.insert(StoredHeadword(word).Key);
      ProduceDing(
          source.Path, [&](const std::string& key) { return wanted.count(key) > 0; }, place,
          proposals, summary);
      break;
    }
    case TSourceFormat::TabSeparated:
    case TSourceFormat::Inflected:
    case TSourceFormat::Pivot:
    case TSourceFormat::Turned:
    case TSourceFormat::Borrowed:
      break;  // not proposals of their own: see TLanguageBuild
  }
}

// A frequency list, one word a line, the most frequent first.
TWordFrequencies ReadFrequencies(const std::string& path) {
  std::ifstream file = OpenSourceFile(path);
  TWordFrequencies frequencies;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto latin1 = ToLatin1(line);
    ++frequencies.Count;
    if (latin1 && !latin1->empty())
      frequencies.Ranks.emplace(Latin1Lower(*latin1), frequencies.Count);
  }
  return frequencies;
}

// A noun or verb the list lacks is as frequent as its most frequent form: "accuse"
// stands where "accused" does and "child" where "children" does. A word the list has
// keeps its place: "leave" is not "left".
void RankBasesAsTheirForms(TWordFrequencies& frequencies, const TWordNet& wordNet) {
  std::unordered_map<std::string, uint32_t> bases;
  for (const auto& [word, rank] : frequencies.Ranks) {
    for (TBaseWord& base : wordNet.Bases(word)) {
      if (base.Part != TPartOfSpeech::Noun && base.Part != TPartOfSpeech::Verb) continue;
      if (frequencies.Ranks.count(base.Word)) continue;
      const auto [at, added] = bases.emplace(std::move(base.Word), rank);
      if (!added) at->second = std::min(at->second, rank);
    }
  }
  frequencies.Ranks.merge(bases);
}

// Tells the part of speech of the proposals their sources leave untagged, where the
// language's analyser knows the translation as a dictionary form of one part of speech.
void TagParts(TProposals& proposals, const std::string& analyserPath, std::ostream& log) {
  std::vector<std::string> untagged;
  for (const auto& [key, own] : proposals)
    for (const TProposal& proposal : own)
      if (proposal.Part == TPartOfSpeech::Unknown) untagged.push_back(proposal.Translation);
  std::sort(untagged.begin(), untagged.end());
  untagged.erase(std::unique(untagged.begin(), untagged.end()), untagged.end());
  log << "Telling the parts of speech of " << Grouped(untagged.size()) << " translations"
      << std::endl;
  TApertiumAnalyser analyser(analyserPath);
  const std::vector<TPartOfSpeech> parts = analyser.PartsOf(untagged);
  for (auto& [key, own] : proposals) {
    for (TProposal& proposal : own) {
      if (proposal.Part != TPartOfSpeech::Unknown) continue;
      const auto at = std::lower_bound(untagged.begin(), untagged.end(), proposal.Translation);
      proposal.Part = parts[static_cast<size_t>(at - untagged.begin())];
    }
  }
}

// The word with its first letter a capital, where it is a small Latin-1 letter (UTF-8).
std::string WithCapital(const std::string& word) {
  std::string capital = word;
  if (!capital.empty() && capital[0] >= 'a' && capital[0] <= 'z') {
    capital[0] = static_cast<char>(capital[0] - 'a' + 'A');
  } else if (capital.size() > 1 && static_cast<unsigned char>(capital[0]) == 0xC3 &&
             static_cast<unsigned char>(capital[1]) >= 0xA0 &&
             static_cast<unsigned char>(capital[1]) != 0xB7 &&
             static_cast<unsigned char>(capital[1]) != 0xBF) {
    capital[1] = static_cast<char>(capital[1] - 0x20);  // à..þ to À..Þ
  }
  return capital;
}

// Adverbs keep the form of their adjective in these languages ("glatt" is smooth and
// smoothly), so that an adverb's base word's translations serve it.
bool AdverbsAreAdjectives(const std::string& language) {
  return language == "German" || language == "Dutch";
}

// How a language's infinitives end, a verb's dictionary form: "gehen", "aller",
// "andare", "ir"; a reflexive one with its pronoun ("ricordarsi", "acordarse").
std::vector<std::string_view> InfinitiveEndingsOf(const std::string& language) {
  if (language == "German" || language == "Dutch") return {"n"};
  if (language == "French") return {"r", "re"};
  if (language == "Italian") return {"re", "rsi"};
  if (language == "Spanish") return {"r", "rse"};
  if (language == "Portuguese") return {"r"};
  return {};
}

// A language from its sources: the user's own texts as they stand, every other row as
// the judge decides from all proposals, then the word forms without a row of their own.
// Translations through another language come from the rows of that language, judged
// without their own pivots, so that the steps run in turn over all languages.
class TLanguageBuild {
 public:
  TLanguageBuild(std::vector<TLanguageSource> sources, const TBuildOptions& options,
                 TBuildContext& context, std::ostream& log)
      : FSources(std::move(sources)),
        FName(FSources.front().Language),
        FOptions(options),
        FContext(context),
        FOwnLog(std::make_unique<TLineLog>(log)),
        FLog(*FOwnLog),
        FRules(options.RulesOf(FName)) {
    FLanguage = FindLanguage(FromUtf8(FName));
    if (!FLanguage) {
      FLanguage = ReverseSetNamed(FName);
      if (!FLanguage) throw std::runtime_error("unknown language \"" + FName + "\"");
      FKeying = TKeying::Spelt;
      FRules = ForKeying(FRules);
      for (const auto& source : FSources) {
        const bool englishPivot =
            source.Format == TSourceFormat::Pivot && !ReverseSetNamed(source.Via);
        if (source.Format == TSourceFormat::Wordnet || source.Format == TSourceFormat::Gcide ||
            englishPivot)
          throw std::runtime_error(FName + ": " + FormatName(source.Format) +
                                   " is no source of the other direction");
      }
    }
    FCollected.Reverse = FKeying == TKeying::Spelt;
    FCollected.Summary.Language = FName;
    FCollected.Summary.FileName =
        ToUtf8(FCollected.Reverse ? FLanguage->ReverseFileName : FLanguage->FileName);
    if (FCollected.Reverse)
      FCollected.Summary.IndexFileName = ToUtf8(FLanguage->ReverseIndexFileName);
  }

  const std::string& Name() const { return FName; }

  // The word list of the language's inflected source, empty without one.
  const std::vector<std::string>& EnglishWordList() {
    static const std::vector<std::string> kNone;
    for (const auto& source : FSources)
      if (source.Format == TSourceFormat::Inflected) return FContext.WordList(source.Path);
    return kNone;
  }
  bool ReadInEnglish() const { return FKeying == TKeying::Spelt; }
  const std::vector<TLanguageSource>& Sources() const { return FSources; }

  // The user's own texts, and the proposals of every source but the pivots.
  void ProduceDirect() {
    if (FKeying == TKeying::Spelt) {
      const std::string language = ToUtf8(FLanguage->Name);
      if (const auto path = FOptions.Frequencies.find(language); path != FOptions.Frequencies.end())
        FLanguageFrequencies = ReadFrequencies(path->second);
      for (const auto& [word, rank] : FLanguageFrequencies.Ranks)
        for (const char ch : word) FListLetters.set(static_cast<uint8_t>(ch));
      ReadSpeltForms();
    }
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::TabSeparated) continue;
      bool yielded = false;
      TTexts texts = TabSeparatedTexts(source, FOptions, FKeying, FCollected.Texts,
                                       FCollected.Summary, yielded);
      if (texts.empty() && !yielded) throw YieldedNothing(source);
      const size_t before = FCollected.Texts.size();
      FCollected.Texts.merge(texts);
      FCollected.Summary.Sources.push_back(
          {FormatName(source.Format), source.Path, FCollected.Texts.size() - before});
    }
    for (const auto& source : FSources) {
      if (source.Format == TSourceFormat::TabSeparated ||
          source.Format == TSourceFormat::Inflected || FromOtherRows(source.Format))
        continue;
      const uint8_t place = AddSource(source);
      Produce(source, place, FKeying,
              source.Format == TSourceFormat::Gcide ? EnglishWordList() : FSpeltForms, FProposals,
              FContext, FOptions, FCollected.Summary, FLog);
      CountProposed(source, place);
    }
    SpellLigaturesOut();
    if (FKeying == TKeying::Spelt) {
      LeaveSentencesOut();
      CleanEnglish();
    }
    if (const auto path = FOptions.Analysers.find(FName); path != FOptions.Analysers.end())
      TagParts(FProposals, path->second, FLog);
    const auto [first, last] = FOptions.TaggedWords.equal_range(FName);
    for (auto tagged = first; tagged != last; ++tagged) {
      const auto parts = HeadwordParts(tagged->second, FLog);
      for (auto& [key, own] : FProposals) {
        for (TProposal& proposal : own) {
          if (proposal.Part != TPartOfSpeech::Unknown) continue;
          const auto part = parts.find(proposal.Translation);
          if (part != parts.end()) proposal.Part = part->second;
        }
      }
    }
  }

  // How many headwords the sources give each translation for, pivots aside: what they
  // reach holds many a common word for the wrong sense.
  void CountCommonness() {
    FCommonness.clear();
    for (const auto& [key, own] : FProposals) {
      std::set<std::string_view> seen;
      for (const TProposal& proposal : own) {
        if (FKinds[proposal.Source] == TSourceKind::Pivot) continue;
        if (seen.insert(proposal.Translation).second) ++FCommonness[proposal.Translation];
      }
    }
  }

  // The rows judged from the proposals so far, as a middle language's first leg: each
  // headword's translations in the row's order. What is worked out from every source's
  // proposals, forms' base words and how common each translation is, waits for the
  // sources that lean on other languages' rows: a form whose base word only those give
  // a row would find none.
  TSourceItems DirectRows() {
    TSourceItems rows;
    PrepareJudge(false);
    for (const auto& [key, own] : FProposals) {
      const TJudgedRow row = Judge(key, own, FRules, false);
      auto& items = rows.Items[key];
      for (size_t rank = 0; rank < row.Translations.size() && rank < kFirstLegTranslations; ++rank)
        items.push_back(
            {row.Translations[rank].first, row.Translations[rank].second, 1, rank, false});
    }
    if (TakesOtherRows()) FCommonness.clear();
    return rows;
  }

  bool TakesOtherRows() const {
    return std::any_of(FSources.begin(), FSources.end(),
                       [](const auto& source) { return FromOtherRows(source.Format); });
  }

  // The proposals of the sources that take another language's rows: the pivots, from
  // the middle languages' rows, a language's rows turned round, and the words another
  // language borrowed from English.
  void ProduceFromOtherRows(const std::map<std::string, TSourceItems>& rowsByLanguage) {
    // Whether the language's own sources propose for an English word, before the
    // sources that lean on other languages.
    std::unordered_set<std::string> ownRows;
    for (const auto& [key, own] : FProposals)
      if (!own.empty()) ownRows.insert(key);
    for (const auto& source : FSources) {
      if (!FromOtherRows(source.Format)) continue;
      const bool pivot = source.Format == TSourceFormat::Pivot;
      const bool borrowed = source.Format == TSourceFormat::Borrowed;
      const std::string& other = OtherLanguageOf(source);
      const auto rows = rowsByLanguage.find(other);
      if (rows == rowsByLanguage.end())
        throw std::runtime_error((pivot      ? "a pivot through " + other + " needs "
                                  : borrowed ? "words borrowed as " + other + " borrows them need "
                                             : "rows turned round from " + other + " need ") +
                                 other + " in the same build");
      const uint8_t place = AddSource(source);
      if (borrowed) {
        ProduceBorrowed(rows->second, ownRows, place);
      } else if (pivot && FKeying == TKeying::Spelt) {
        const TSourceItems words = ReadItems(source, FCollected.Summary, FLog, FKeying);
        FCollected.Summary.SourceEntries += words.Entries;
        ProducePivotToEnglish(words, rows->second, place, FProposals);
      } else if (pivot) {
        const auto entries = ReadSource(source, FLog);
        FCollected.Summary.SourceEntries += entries.size();
        // German writes its nouns with a capital: "Würde" (dignity) is no "würde" (would).
        const bool caseMatters = OtherLanguageOf(source) == "German";
        ProducePivot(
            rows->second,
            source.TurnedRound ? KeyedTurned(entries, caseMatters) : Keyed(entries, caseMatters),
            place, FProposals, caseMatters);
      } else {
        FCollected.Summary.SourceEntries += rows->second.Items.size();
        ProduceTurned(rows->second, place, FProposals);
      }
      CountProposed(source, place);
    }
    SpellLigaturesOut();
    if (FKeying == TKeying::Spelt) CleanEnglish();
    FCommonness.clear();  // counted again, with the new translations
  }

  // The English words another language's rows give as they stand ("software",
  // "Laptop"), which this language's spelling dictionary knows: its own, where its
  // own sources have no row. What every language writes alike is a loanword in this one
  // too; what only this one writes so is left alone ("hart", "rover").
  void ProduceBorrowed(const TSourceItems& otherRows,
                       const std::unordered_set<std::string>& ownRows, uint8_t place) {
    const TSpelling* spelling = Spelling();
    if (FKeying != TKeying::English || !spelling)
      throw std::runtime_error(FName + ": borrowed words need the language's --spelling");
    for (const auto& row : otherRows.Items) {
      const std::string& key = row.first;
      const std::vector<TSourceItem>& items = row.second;
      if (key.size() < 3 || ownRows.count(key) ||
          !std::all_of(key.begin(), key.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; }))
        continue;
      const auto given = std::find_if(items.begin(), items.end(), [&](const TSourceItem& item) {
        return SameIgnoringAsciiCase(item.Text, key);
      });
      if (given == items.end()) continue;
      // As this language writes it: "software" in Dutch, "Software" in German.
      for (const std::string& spelt : {key, WithCapital(key)}) {
        if (!spelling->Knows(spelt)) continue;
        FProposals[key].push_back({spelt, given->Part, place, false, RankStrength(given->Rank)});
        break;
      }
    }
  }

  // Every row: the proposals' headwords and the forms of the word lists. The
  // proposals go.
  TCollected Finish() {
    PrepareJudge();
    std::set<std::string> keys;
    for (const auto& [key, own] : FProposals) keys.insert(key);
    for (const auto& form : FForms) keys.insert(form);
    FLog << FName << ": judging " << Grouped(keys.size()) << " headwords" << std::endl;
    for (const auto& key : keys) {
      if (FCollected.Texts.count(key)) continue;
      const TRow row = RowOf(key, FRules, FOptions.Explain.count(key) > 0);
      if (row.Judged.Text.empty()) {
        FCollected.Summary.NoText += FProposals.count(key);
        continue;
      }
      FCollected.Texts.emplace(
          key, row.Base.empty() ? row.Judged.Text : MarkOf(row.Base) + row.Judged.Text);
      if (FKeying == TKeying::Spelt) {
        FTiers.emplace(key, TierOf(key, row));
        if (row.Base.empty()) AddVerbReading(key, row.Judged);
        if (!row.Base.empty()) FShownBases.emplace(key, row.Base);
      }
      FCollected.Summary.ThroughOther += row.Judged.ThroughOther;
      if (!row.Base.empty()) {
        ++FCollected.Summary.Inflected;
        continue;
      }
      const bool alone = std::popcount(row.Judged.FirstSources) == 1;
      for (size_t place = 0; place < FKinds.size(); ++place) {
        if (!(row.Judged.FirstSources >> place & 1)) continue;
        auto& source = FCollected.Summary.Sources[FSummaryOf[place]];
        ++(alone ? source.FirstAlone : source.FirstAgreed);
      }
    }
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::Inflected) continue;
      if (FCollected.Summary.Inflected == 0) throw YieldedNothing(source);
      FCollected.Summary.Sources.push_back(
          {FormatName(source.Format), source.Path, FCollected.Summary.Inflected});
    }
    if (FKeying == TKeying::Spelt) {
      FitIntoFile();
      KeyBySpelling();
    }
    FCollected.Summary.Headwords = FCollected.Texts.size();
    FLog << FName << ": " << Grouped(FCollected.Summary.Headwords) << " headwords" << std::endl;
    TProposals().swap(FProposals);
    return std::move(FCollected);
  }

  // Of the headwords a source proposes for, those the other sources give a row too, and
  // how many of them the source's best translation leads.
  std::pair<size_t, size_t> AgreementOf(uint8_t place) {
    PrepareJudge();
    size_t compared = 0, agreeing = 0;
    std::vector<TProposal> others;
    for (const auto& [key, own] : FProposals) {
      const TProposal* best = nullptr;
      others.clear();
      for (const TProposal& proposal : own) {
        if (proposal.Source != place) {
          others.push_back(proposal);
        } else if (!best || proposal.Strength > best->Strength) {
          best = &proposal;
        }
      }
      if (!best || others.empty()) continue;
      const TJudgedRow row = Judge(key, others, FRules, false);
      if (row.Translations.empty()) continue;
      ++compared;
      agreeing += row.Translations.front().first == best->Translation;
    }
    return {compared, agreeing};
  }
  size_t SourceCount() const { return FKinds.size(); }
  const TSourceSummary& SummaryOfSource(size_t place) const {
    return FCollected.Summary.Sources[FSummaryOf[place]];
  }

  // The key of a gold list's word: as stored, or a language's word as its row spells
  // it, with a capital or without.
  std::string KeyOf(const std::string& word) const {
    if (FKeying == TKeying::English) return StoredHeadword(word).Key;
    const auto base = ProposalsOfBase(word, word);
    return base != FProposals.end() ? base->first : word;
  }

  // The row of a headword under other rules, the user's own texts aside: for tuning.
  std::string RowText(const std::string& key, const TJudgeRules& rules) {
    PrepareJudge();
    const TRow row = RowOf(key, ForKeying(rules), false);
    return row.Base.empty() || row.Judged.Text.empty() ? row.Judged.Text
                                                       : MarkOf(row.Base) + row.Judged.Text;
  }

 private:
  // Read the other way, a word spelt as its English translation is mostly that
  // ("Minute", "Idiot", "Tunnel"), where the dictionaries list it among rarer senses.
  // And of English translations the more often spoken is the likelier first, more so
  // than of a language's: English's list counts some 74,000 words of speech, where the
  // other languages' lists stop at 10,000.
  TJudgeRules ForKeying(TJudgeRules rules) const {
    if (FKeying != TKeying::Spelt) return rules;
    rules.SameWordFactor = 2.0f;
    rules.FrequencyWeight *= 2;
    return rules;
  }

  // A row as judged, and the base word whose translations it shows, if any.
  struct TRow {
    TJudgedRow Judged;
    std::string Base;
  };

  // The headword's own row; for a form of a word list that has none, or one that came
  // through another language only, its base word's translations of the form's part of
  // speech, where they did not.
  TRow RowOf(const std::string& key, const TJudgeRules& rules, bool explain) {
    TRow row;
    const auto own = FProposals.find(key);
    if (own != FProposals.end()) row.Judged = Judge(key, own->second, rules, explain);
    if (!FForms.count(key)) return row;
    const std::vector<TBaseWord> bases = BasesOf(key);
    const bool weak = row.Judged.Text.empty() || row.Judged.ThroughOther ||
                      (FRowContext.Definitions && RarerThanItsBases(key)) ||
                      (own != FProposals.end() && OnlyTurnedRound(own->second)) ||
                      CutShortContraction(bases, row.Judged);
    if (!weak) return row;
    TRow fromBase = BaseRowOf(key, bases, rules, row.Judged);
    return fromBase.Base.empty() ? row : fromBase;
  }

  // The row of the first of these base words of a form whose translations of the form's
  // part of speech make one; none where the form has a row of its own (own) and they
  // came through another language only.
  TRow BaseRowOf(const std::string& key, const std::vector<TBaseWord>& bases,
                 const TJudgeRules& rules, const TJudgedRow& own, bool onlyTagged = false) {
    TRow row;
    TRowContext context = FRowContext;
    context.PartShareKnown = false;
    context.OnlyTagged = onlyTagged;
    for (const auto& base : bases) {
      const auto baseProposals = BaseRow(base.Word, key);
      if (baseProposals == FProposals.end()) continue;
      // "polished" is no form of "Polish": a common word's forms show no names.
      context.CommonWord = FWordNet && FWordNet->HasCommonSense(base.Word);
      context.OnlyPart = base.Part;
      if (base.Part == TPartOfSpeech::Adverb && FKeying == TKeying::English) {
        if (context.Definitions || !AdverbsAreAdjectives(FName)) continue;
        context.OnlyPart = TPartOfSpeech::Adjective;
      }
      context.Headword = baseProposals->first;
      // A language's base word as its row spells it: "(Haus)", not "(haus)".
      const std::string& baseWord = FKeying == TKeying::English ? base.Word : baseProposals->first;
      context.MaxCounted = FormTextRoom() - CountedLength(MarkOf(baseWord));
      std::unordered_map<std::string, std::string> respelt;
      context.Respelt = InFormOf(base, baseProposals->second, respelt) ? &respelt : nullptr;
      TJudgedRow judged = JudgeRow(baseProposals->second, context, rules);
      if (judged.Text.empty() || (!own.Text.empty() && judged.ThroughOther)) continue;
      row.Judged = std::move(judged);
      row.Base = baseWord;
      break;
    }
    return row;
  }

  // Read the other way, a frequent form that is a word of its own too, but no verb
  // ("est": east), is often its verb's form (être) as well: the verb's row follows the
  // word's, a row of its own under the same spelling. (Not before it: "lui" is him far
  // more often than a form of luire.)
  void AddVerbReading(const std::string& key, const TJudgedRow& own) {
    if (!FFormBases || LanguageRank(key) >= kFrequentForms) return;
    const auto bases = FFormBases->find(key);
    const auto proposals = FProposals.find(key);
    if (bases == FFormBases->end() || proposals == FProposals.end()) return;
    const bool verb =
        std::any_of(proposals->second.begin(), proposals->second.end(),
                    [](const TProposal& proposal) { return proposal.Part == TPartOfSpeech::Verb; });
    if (verb) return;
    std::vector<TBaseWord> verbs;
    for (const auto& base : bases->second)
      if (base.Part == TPartOfSpeech::Verb) verbs.push_back(base);
    // Only what the sources know as verbs: "zijn" is "be", not "his".
    const TRow row = BaseRowOf(key, verbs, FRules, own, true);
    if (row.Base.empty()) return;
    const std::string reading = key + std::string(kVerbReading);
    FCollected.Texts.emplace(reading, MarkOf(row.Base) + row.Judged.Text);
    FTiers.emplace(reading, 0);
    ++FCollected.Summary.Inflected;
  }

  // A base verb's translations as its participle's row shows them, where English has
  // the participle and the generator spells it: "lit" for light in the row of "accesa",
  // a form of accendere. Only those verbs: a row of participles and infinitives mixed
  // would read as neither. False where the row shows its base's translations as they
  // are.
  bool InFormOf(const TBaseWord& base, const std::vector<TProposal>& proposals,
                std::unordered_map<std::string, std::string>& respelt) {
    // Only a language read in English has the verb forms, and only with a generator.
    if (base.Part != TPartOfSpeech::Verb || base.Form == TVerbForm::Other || !FEnglishVerbForms)
      return false;
    std::vector<std::string> verbs;
    for (const TProposal& proposal : proposals)
      if (proposal.Part == TPartOfSpeech::Verb) verbs.push_back(proposal.Translation);
    const std::vector<std::string> spelt = FEnglishVerbForms->Spell(verbs, base.Form);
    // Under the verb as the judge counts it ("specialise" is "specialize"), though the
    // generator knows it as the source spells it.
    for (size_t v = 0; v < verbs.size(); ++v)
      if (!spelt[v].empty())
        respelt.emplace(
            FRowContext.Spelling ? FRowContext.Spelling->InMainSpelling(verbs[v]) : verbs[v],
            spelt[v]);
    return !respelt.empty();
  }

  // The words a form is inflected from: WordNet's for English, the language's analyser's
  // or spelling dictionary's for a language's words.
  std::vector<TBaseWord> BasesOf(const std::string& key) const {
    if (FKeying == TKeying::English) {
      if (!FWordNet) return {};
      std::vector<TBaseWord> bases = FWordNet->Bases(ToUtf8(FromLatin1(key)));
      if (const std::string_view modal = EnglishModalOfPast(key); !modal.empty() && bases.empty())
        bases.push_back({std::string(modal), TPartOfSpeech::Verb});
      return bases;
    }
    if (!FFormBases) return {};
    const auto bases = FFormBases->find(key);
    return bases == FFormBases->end() ? std::vector<TBaseWord>{} : bases->second;
  }

  // The proposals of a form's base word as the build keys them; a language's base word
  // as its dictionaries spell it, with a capital where the form has one ("Häusern" is a
  // form of "Haus", not of "haus") or else as it is; a form in small letters comes of no
  // word with a capital ("gaben" is no form of "Gabe", nor "letten" of "Let").
  TProposals::const_iterator ProposalsOfBase(const std::string& word,
                                             const std::string& form) const {
    if (FKeying == TKeying::English) return FProposals.find(StoredHeadword(word).Key);
    const std::string capital = WithCapital(word);
    const bool formCapital = !form.empty() && WithCapital(form) == form;
    if (!formCapital) {
      if (capital == word) return FProposals.end();
      return FProposals.find(word);
    }
    for (const std::string* spelt : {&capital, &word}) {
      const auto found = FProposals.find(*spelt);
      if (found != FProposals.end()) return found;
    }
    return FProposals.end();
  }

  // The row of a form's base word, where it has one that is not the form's own.
  TProposals::const_iterator BaseRow(const std::string& word, const std::string& form) const {
    const auto own = ProposalsOfBase(word, form);
    return own != FProposals.end() && own->first == form ? FProposals.end() : own;
  }

  // A preposition joined with its article means the preposition and "the" ("au": to
  // the): a row of such a form that gives no "the" is a phrase a dictionary cut down to
  // its first word ("al": monthly, of "al mese"), which the preposition's row outweighs.
  static bool CutShortContraction(const std::vector<TBaseWord>& bases, const TJudgedRow& own) {
    const bool contraction = std::any_of(bases.begin(), bases.end(),
                                         [](const TBaseWord& base) { return base.Contraction; });
    if (!contraction || own.Translations.empty()) return false;
    const auto givesThe = [](const auto& translation) {
      return !ForEachWord(translation.first, [](std::string_view word) { return word != "the"; });
    };
    return std::none_of(own.Translations.begin(), own.Translations.end(), givesThe);
  }

  // Whether every proposal for a word comes from a dictionary turned round: an English
  // word's translations that happen to be a form ("walked": "ging") are no row for it.
  bool OnlyTurnedRound(const std::vector<TProposal>& own) const {
    return FKeying == TKeying::Spelt && OnlyFrom(own, {TSourceKind::TurnedRound});
  }

  // True when every proposal comes from a source of one of these kinds.
  bool OnlyFrom(const std::vector<TProposal>& own, std::initializer_list<TSourceKind> kinds) const {
    return std::all_of(own.begin(), own.end(), [&](const TProposal& proposal) {
      return std::find(kinds.begin(), kinds.end(), FKinds[proposal.Source]) != kinds.end();
    });
  }

  // The room of a form's row: read the other way, a form shows its base word's first
  // translations only, so that the file holds more forms.
  size_t FormTextRoom() const {
    return FKeying == TKeying::English ? FRowContext.MaxCounted
                                       : std::min<size_t>(FRowContext.MaxCounted, 60);
  }

  // "(accept) " before the text of a form that shows the translations of "accept".
  std::string MarkOf(const std::string& base) const {
    return InflectedMark(ToLatin1(base).value_or(base));
  }

  // A language's word list, read the other way: its forms as they are spelt.
  void ReadSpeltForms() {
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::Inflected) continue;
      for (auto& form : parlivo::ReadSpeltForms(source.Path)) {
        const THeadword spelt = SpeltHeadword(form);
        if (!spelt.LeftOut) FSpeltForms.push_back(spelt.Key);
      }
    }
    std::sort(FSpeltForms.begin(), FSpeltForms.end());
    FSpeltForms.erase(std::unique(FSpeltForms.begin(), FSpeltForms.end()), FSpeltForms.end());
    FCollected.Summary.SourceEntries += FSpeltForms.size();
    FForms.insert(FSpeltForms.begin(), FSpeltForms.end());
  }

  // The base words of the forms without a row of their own, or with one that only
  // turned rows or other languages give ("las=~ welding", the past of lezen): the
  // language's analyser's readings where it has one, else its spelling dictionary's
  // stems.
  void FindFormBases() {
    std::vector<std::string> forms;
    for (const auto& form : FSpeltForms) {
      const auto own = FProposals.find(form);
      if (own == FProposals.end() ||
          OnlyFrom(own->second, {TSourceKind::TurnedRound, TSourceKind::Pivot}) ||
          LanguageRank(form) < kFrequentForms)
        forms.push_back(form);
    }
    const std::string language = ToUtf8(FLanguage->Name);
    FLog << FName << ": finding the base words of " << Grouped(forms.size()) << " forms"
         << std::endl;
    std::vector<std::vector<TBaseWord>> bases(forms.size());
    std::string analyser;
    if (const auto path = FOptions.BaseWords.find(language); path != FOptions.BaseWords.end()) {
      analyser = path->second;
    } else if (const auto given = FOptions.Analysers.find(language);
               given != FOptions.Analysers.end()) {
      analyser = given->second;
    }
    if (!analyser.empty()) {
      bases = TApertiumAnalyser(analyser).BasesOf(forms);
      // Of the analyser's readings, the most frequent word's first: "menti" is a form of
      // mente (mind) before one of mento (chin), "sono" one of essere before one of
      // sonare, which the list lacks. A list may lack a frequent word for its letters
      // (the French one has none with "ê" or "è"): a first reading spelt with a letter
      // the list never has keeps its place, "suis" a form of être before one of suivre.
      for (auto& readings : bases) {
        if (readings.empty() || !RankableInList(readings.front().Word)) continue;
        std::stable_sort(readings.begin(), readings.end(),
                         [&](const TBaseWord& a, const TBaseWord& b) {
                           return LanguageRank(a.Word) < LanguageRank(b.Word);
                         });
      }
    }
    std::optional<TSpelling> spelling;
    if (const auto path = FOptions.Spelling.find(language); path != FOptions.Spelling.end())
      spelling.emplace(path->second + ".aff", path->second + ".dic", true);
    FFormBases.emplace();
    for (size_t f = 0; f < forms.size(); ++f) {
      const auto hasRow = [&](const TBaseWord& base) {
        return BaseRow(base.Word, forms[f]) != FProposals.end();
      };
      // Where the analyser does not know the form: the language's regular rules, with
      // rows of the rule's part of speech, before the spelling dictionary's stems, which
      // may be stems of another part of speech ("pik" of "pikt", of "pikken") or no words
      // at all ("lieg" of "liegt"); failing all, rules whose base words' rows tell no
      // part of speech ("interesseert" of "interesseren: interest").
      if (!std::any_of(bases[f].begin(), bases[f].end(), hasRow)) {
        const auto regular = RegularBases(language, forms[f]);
        for (const auto& base : regular)
          if (HasRowOfPart(base, forms[f], false)) bases[f].push_back(base);
        if (spelling) {
          // A stem tells no part of speech, but a participle's ending does ("bollente").
          for (auto& stem : spelling->Stems(forms[f])) {
            const TVerbForm participle = RegularParticiple(language, forms[f], stem);
            bases[f].push_back(
                {std::move(stem),
                 participle == TVerbForm::Other ? TPartOfSpeech::Unknown : TPartOfSpeech::Verb,
                 participle});
          }
        }
        if (!std::any_of(bases[f].begin(), bases[f].end(), hasRow)) {
          for (const auto& base : regular)
            if (HasRowOfPart(base, forms[f], true)) bases[f].push_back(base);
        }
      }
      if (!bases[f].empty()) FFormBases->emplace(std::move(forms[f]), std::move(bases[f]));
    }
    SpellParticiples();
  }

  // The English participles the forms' rows will show, spelt in one run of the
  // generator: a run for each row took a minute of the build.
  void SpellParticiples() {
    const auto path = FOptions.Generators.find(FName);
    if (path == FOptions.Generators.end()) return;
    FEnglishVerbForms = std::make_unique<TEnglishVerbForms>(path->second);
    std::set<std::string> verbs[2];
    for (const auto& [form, bases] : *FFormBases) {
      for (const TBaseWord& base : bases) {
        if (base.Part != TPartOfSpeech::Verb || base.Form == TVerbForm::Other) continue;
        const auto row = BaseRow(base.Word, form);
        if (row == FProposals.end()) continue;
        for (const TProposal& proposal : row->second)
          if (proposal.Part == TPartOfSpeech::Verb)
            verbs[base.Form == TVerbForm::Gerund].insert(proposal.Translation);
      }
    }
    FEnglishVerbForms->Spell({verbs[0].begin(), verbs[0].end()}, TVerbForm::PastParticiple);
    FEnglishVerbForms->Spell({verbs[1].begin(), verbs[1].end()}, TVerbForm::Gerund);
  }

  // Whether the base word has a row with translations of its part of speech; or,
  // untagged, a row whose translations tell none.
  bool HasRowOfPart(const TBaseWord& base, const std::string& form, bool untagged) const {
    const auto own = BaseRow(base.Word, form);
    if (own == FProposals.end()) return false;
    const auto& proposals = own->second;
    if (untagged) {
      return std::all_of(proposals.begin(), proposals.end(), [](const TProposal& proposal) {
        return proposal.Part == TPartOfSpeech::Unknown;
      });
    }
    return std::any_of(proposals.begin(), proposals.end(),
                       [&](const TProposal& proposal) { return proposal.Part == base.Part; });
  }

  // What a row of a language's word is worth to a user, 0 the most: the words of its
  // frequency list, then single words that sources agree on, forms of words, single
  // words of one source, phrases sources agree on, and phrases of one source.
  int TierOf(const std::string& spelt, const TRow& row) const {
    if (LanguageRank(spelt) != UINT32_MAX) return 0;
    if (!row.Base.empty()) return 2;
    uint64_t sources = 0;
    for (const TProposal& proposal : FProposals.at(spelt))
      sources |= uint64_t{1} << proposal.Source;
    const bool agreed = std::popcount(sources) > 1;
    if (spelt.find(' ') == std::string::npos) return agreed ? 1 : 3;
    return agreed ? 4 : 5;
  }

  // Whether the language's frequency list has every letter of the word, so that its
  // lacking the word says the word is rare.
  bool RankableInList(const std::string& spelt) const {
    const std::string latin1 = Latin1Lower(ToLatin1(spelt).value_or(""));
    return std::all_of(latin1.begin(), latin1.end(),
                       [&](char ch) { return FListLetters.test(static_cast<uint8_t>(ch)); });
  }

  // The place of a language's word in its frequency list; UINT32_MAX where it has none.
  uint32_t LanguageRank(const std::string& spelt) const {
    const auto rank = FLanguageFrequencies.Ranks.find(Latin1Lower(ToLatin1(spelt).value_or("")));
    return rank == FLanguageFrequencies.Ranks.end() ? UINT32_MAX : rank->second;
  }

  // A language's words are more than one file holds: the rows worth least give way
  // (the longer words of a tier first) until the rest fit, each row taking its
  // pointer, its record and the packed spelling and text in it.
  void FitIntoFile() {
    struct TCost {
      int Tier;
      size_t Length;
      const std::string* Spelt;
      size_t Bytes;
    };
    std::vector<TCost> costs;
    for (const auto& [row, text] : FCollected.Texts) {
      const size_t bytes =
          4 + kEntryPrefixSize + PackText(*ToLatin1(SpeltOf(row))).size() + PackText(text).size();
      costs.push_back({FTiers.at(row), row.size(), &row, bytes});
    }
    std::sort(costs.begin(), costs.end(), [](const TCost& a, const TCost& b) {
      return std::tie(a.Tier, a.Length, *a.Spelt) < std::tie(b.Tier, b.Length, *b.Spelt);
    });
    size_t used = kDataTablesOffset + kFileRoomKept;
    std::vector<std::string> dropped;
    for (const TCost& cost : costs) {
      used += cost.Bytes;
      if (used > kMaxDirectOffset) dropped.push_back(*cost.Spelt);
    }
    for (const auto& spelt : dropped) FCollected.Texts.erase(spelt);
    FCollected.Summary.LeftForRoom = dropped.size();
    if (!dropped.empty())
      FLog << FName << ": " << Grouped(dropped.size()) << " rows left out for room" << std::endl;
    decltype(FTiers)().swap(FTiers);
  }

  // The rows of a language's words under their keys, as its index files them: the more
  // frequent of two words that share a key under it, the other under it with "2" added
  // ("schon", "schon2" for "schön"); each with its spelling where that is not its key.
  void KeyBySpelling() {
    struct TWord {
      uint32_t Rank;
      bool VerbReading;   // a frequent form's verb, after the form's own row
      bool InnerCapital;  // "WaR", an abbreviation, goes after "war", the word
      // "Ed=ed", a name that says only itself, goes after a row of a frequent word
      // spelt alike, or of a form of one ("ed", and; "das", of the).
      bool NameEcho;
      bool Frequent;       // the word, or the base word its row shows, is frequent
      bool AfterFrequent;  // a NameEcho among such rows
      bool ThroughOther;   // through another language only: after rows a source gives
      size_t Proposals;    // of equally frequent words ("Ich", "ich"), the better known first
      std::string Row;     // the spelling (UTF-8) the row is collected under
    };
    std::map<std::string, std::vector<TWord>> byKey;
    for (const auto& [row, text] : FCollected.Texts) {
      const std::string spelt = SpeltOf(row);
      const auto own = FProposals.find(spelt);
      const std::string latin1 = ToLatin1(spelt).value_or(spelt);
      const bool innerCapital =
          latin1.size() > 1 && Latin1Lower(latin1.substr(1)) != latin1.substr(1);
      const bool nameEcho =
          Latin1Lower(latin1) != latin1 && Latin1Lower(text) == Latin1Lower(latin1);
      const auto base = FShownBases.find(row);
      const bool frequent =
          LanguageRank(base == FShownBases.end() ? spelt : base->second) < kFrequentForms;
      byKey[ReverseKey(spelt)].push_back({LanguageRank(spelt), row != spelt, innerCapital, nameEcho,
                                          frequent, false, IsThroughOther(text),
                                          own == FProposals.end() ? 0 : own->second.size(), row});
    }
    TTexts texts;
    for (auto& [key, words] : byKey) {
      const bool frequentWord = std::any_of(words.begin(), words.end(), [](const TWord& word) {
        return word.Frequent && !word.NameEcho;
      });
      for (TWord& word : words) word.AfterFrequent = frequentWord && word.NameEcho;
      std::stable_sort(words.begin(), words.end(), [](const TWord& a, const TWord& b) {
        if (a.Rank != b.Rank) return a.Rank < b.Rank;
        if (a.VerbReading != b.VerbReading) return b.VerbReading;
        if (a.InnerCapital != b.InnerCapital) return b.InnerCapital;
        if (a.AfterFrequent != b.AfterFrequent) return b.AfterFrequent;
        if (a.ThroughOther != b.ThroughOther) return b.ThroughOther;
        return a.Proposals > b.Proposals;
      });
      for (size_t i = 0; i < words.size(); ++i) {
        // A word of one or two letters is stored padded to three ("ou "), and its
        // namesakes' numbers follow the padding ("ou 2" for "où", "e  2" for
        // "è"): a digit among the first three characters no query reaches.
        const bool padded = i > 0 && key.size() < 3;
        const std::string numbered =
            i == 0 ? key : (padded ? TLexiconIndex::Stored(key) : key) + std::to_string(i + 1);
        if (i >= kMaxSharedKeys || (!padded && StoredHeadword(numbered).LeftOut)) {
          ++FCollected.Summary.LongerThan30;
          continue;
        }
        auto node = FCollected.Texts.extract(words[i].Row);
        const std::string spelt = *ToLatin1(SpeltOf(words[i].Row));
        if (spelt != numbered) FCollected.Spelt.emplace(numbered, spelt);
        texts.emplace(numbered, std::move(node.mapped()));
      }
    }
    FCollected.Texts.swap(texts);
  }

  // An English form that WordNet also knows as a word of its own, but whose senses as
  // such are names or met far less than its base word's: "sent" means sent, not a coin
  // of Estonia.
  bool RarerThanItsBases(const std::string& key) const {
    const std::string form = ToUtf8(FromLatin1(key));
    // A row WordNet does not give ("his", a pronoun) is not WordNet's to judge.
    if (FWordNet->Senses(form).empty()) return false;
    const unsigned own = FWordNet->MostMet(form);
    const bool names = !FWordNet->HasCommonSense(form);
    for (const auto& base : FWordNet->Bases(form)) {
      if (!FWordNet->HasCommonSense(base.Word)) continue;
      if (names || FWordNet->MostMet(base.Word, base.Part) > 2 * own) return true;
    }
    return false;
  }

  // Words that share a key: "schon", "schon2" ... "schon9".
  static constexpr size_t kMaxSharedKeys = 9;
  // The forms among a language's most frequent words whose verb has a row of its own.
  static constexpr uint32_t kFrequentForms = 1000;
  // What marks a frequent form's verb row among the rows collected by spelling.
  static constexpr std::string_view kVerbReading = "\t";

  // Whether a row's text came through another language only: marked so, before or
  // after its base word ("~ hello", "(walten) ~ have").
  static bool IsThroughOther(std::string_view text) {
    if (text.starts_with('(')) {
      const size_t close = text.find(") ");
      if (close != std::string_view::npos) text.remove_prefix(close + 2);
    }
    return text.starts_with(kPivotMark);
  }

  // The spelling a collected row is of.
  static std::string SpeltOf(const std::string& row) {
    return row.ends_with(kVerbReading) ? row.substr(0, row.size() - kVerbReading.size()) : row;
  }
  // Room a full language file keeps besides its rows: its bucket tables' slack.
  static constexpr size_t kFileRoomKept = 256 * 1024;

  // A middle language passes on this many of each row's translations.
  static constexpr size_t kFirstLegTranslations = 6;

  static std::runtime_error YieldedNothing(const TLanguageSource& source) {
    return std::runtime_error(source.Language + ": " + source.Path + " yields no headword");
  }

  // An English sentence a dictionary gives for a phrase ("Nice to know you're back with
  // us.") translates no word of its own: read the other way, it is no translation.
  void LeaveSentencesOut() {
    for (auto& [spelt, own] : FProposals) {
      std::erase_if(own, [](const TProposal& proposal) {
        const std::string& text = proposal.Translation;
        return text.find(' ') != std::string::npos && !text.empty() &&
               (text.back() == '.' || text.back() == '!' || text.back() == '?') &&
               !text.ends_with("sth.") && !text.ends_with("sb.");
      });
    }
    std::erase_if(FProposals, [](const auto& row) { return row.second.empty(); });
  }

  // English read the other way: "help sb." translates "helfen" as "help". Sources
  // differ in capitals ("french", "French"; "wall", "Wall"): of two spellings of a
  // row's translation that differ in case alone, one stands for both, the one in small
  // letters where the English spelling dictionary knows it, else the one with capitals.
  void CleanEnglish() {
    const TSpelling* spelling = Spelling();
    struct TSpellings {
      bool Small = false;    // spelt in small letters only
      std::string Capitals;  // the first other spelling, by byte order
    };
    std::unordered_map<std::string, TSpellings> spellings;  // by the lower case form
    for (auto& [spelt, own] : FProposals) {
      spellings.clear();
      for (TProposal& proposal : own) {
        proposal.Translation = WithoutPlaceholders(proposal.Translation);
        const std::string lower = AsciiLower(proposal.Translation);
        TSpellings& found = spellings[lower];
        if (proposal.Translation == lower) {
          found.Small = true;
        } else if (found.Capitals.empty() || proposal.Translation < found.Capitals) {
          found.Capitals = proposal.Translation;
        }
      }
      for (TProposal& proposal : own) {
        std::string lower = AsciiLower(proposal.Translation);
        const TSpellings& found = spellings.at(lower);
        // English writes the pronoun with its capital, whatever the letter "i" is.
        const bool small = found.Capitals.empty() ||
                           (found.Small && lower != "i" && spelling && spelling->Knows(lower));
        // A name a source wrote in small letters ("michael") gets its capital back;
        // a British word ("tyre") is no American name. (Every translation is checked
        // later on, and the check's answer kept: a known word is told at once.)
        const bool name = small && found.Capitals.empty() && spelling &&
                          spelling->Checked(lower) != lower && !spelling->Knows(lower) &&
                          !spelling->OtherSpellingKnows(lower) &&
                          spelling->Knows(WithCapital(lower));
        proposal.Translation = name    ? WithCapital(lower)
                               : small ? std::move(lower)
                                       : found.Capitals;
      }
    }
  }

  void SpellLigaturesOut() {
    for (auto& [key, own] : FProposals)
      for (TProposal& proposal : own) proposal.Translation = WithoutLigatures(proposal.Translation);
  }

  uint8_t AddSource(const TLanguageSource& source) {
    if (FKinds.size() == 64) throw std::runtime_error(FName + ": more than 64 sources");
    FKinds.push_back(KindOf(source.Format));
    return static_cast<uint8_t>(FKinds.size() - 1);
  }

  void CountProposed(const TLanguageSource& source, uint8_t place) {
    size_t proposed = 0;
    for (const auto& [key, own] : FProposals)
      proposed += std::any_of(own.begin(), own.end(),
                              [&](const TProposal& proposal) { return proposal.Source == place; });
    if (proposed == 0) throw YieldedNothing(source);
    const bool throughOther = source.Format == TSourceFormat::Pivot && source.Via != "German";
    FSummaryOf.push_back(FCollected.Summary.Sources.size());
    FCollected.Summary.Sources.push_back(
        {FormatName(source.Format), throughOther ? source.Via + ":" + source.Path : source.Path,
         proposed});
  }

  // The spelling dictionary of the translations' language, if the build has one.
  const TSpelling* Spelling() {
    const auto path = FOptions.Spelling.find(FName);
    if (!FSpelling && path != FOptions.Spelling.end()) {
      FSpelling =
          std::make_unique<TSpelling>(path->second + ".aff", path->second + ".dic",
                                      AdverbsAreAdjectives(FName) || FKeying == TKeying::Spelt);
      // English translations are words run together only where WordNet knows the
      // phrase: a word the dictionary does not know ("craic", "numpty") is mostly a
      // rare one, not two to put apart.
      const TWordNet* wordNet = FContext.LoadedWordNet(FOptions, FLog);
      if (FKeying == TKeying::English) FSpelling->SplitOnlyWithLittleWords(LittleWords());
      if (wordNet && FKeying == TKeying::Spelt) {
        FSpelling->SplitOnlyInto(
            [wordNet](const std::string& phrase) { return wordNet->HasCommonSense(phrase); });
        const auto other = FOptions.OtherSpelling.find(FName);
        if (other != FOptions.OtherSpelling.end()) {
          const TWordFrequencies& frequencies = Frequencies();
          FSpelling->SplitAlsoUnlessSpeltOtherwise(
              other->second + ".aff", other->second + ".dic",
              [&frequencies](std::string_view word) {
                // A word of three letters only among the commonest ("way", "few",
                // "lie"), where "ass" and "ion" are not.
                constexpr uint32_t kCommonest = 1000;
                const auto rank = frequencies.Ranks.find(std::string(word));
                return rank != frequencies.Ranks.end() &&
                       (word.size() >= 4 || rank->second <= kCommonest);
              });
        }
      }
    }
    return FSpelling.get();
  }

  void PrepareJudge(bool withFormBases = true) {
    Spelling();
    FWordNet = FContext.LoadedWordNet(FOptions, FLog);
    if (withFormBases && FKeying == TKeying::Spelt && !FFormBases && !FSpeltForms.empty())
      FindFormBases();
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::Inflected || !FForms.empty() ||
          FKeying != TKeying::English)
        continue;
      if (!FWordNet) throw std::runtime_error("inflected forms need WordNet");
      const auto& forms = FContext.WordList(source.Path);
      FCollected.Summary.SourceEntries += forms.size();
      for (const auto& form : forms) {
        const THeadword stored = StoredHeadword(form);
        if (!stored.LeftOut) FForms.insert(stored.Key);
      }
    }
    FRowContext.Kinds = &FKinds;
    FRowContext.Definitions =
        !FKinds.empty() && std::all_of(FKinds.begin(), FKinds.end(), [](TSourceKind kind) {
          return kind == TSourceKind::Definitions;
        });
    FRowContext.EnglishTranslations = FKeying == TKeying::Spelt;
    if (FKeying == TKeying::English) FRowContext.InfinitiveEndings = InfinitiveEndingsOf(FName);
    FRowContext.Spelling = FSpelling.get();
    FRowContext.MaxCounted = FOptions.MaxTextLength;
    if (FCommonness.empty() && !FRowContext.Definitions) CountCommonness();
    FRowContext.Commonness = &FCommonness;
    FRowContext.Frequencies = &Frequencies();
  }

  // The commonest words of the translations' language, UTF-8: its articles,
  // prepositions and conjunctions, which words run together mostly hold ("pez de
  // colores", "quase não"). None where the build has no frequency list.
  std::vector<std::string> LittleWords() {
    constexpr uint32_t kLittle = 100;
    std::vector<std::string> little;
    for (const auto& [word, rank] : Frequencies().Ranks)
      if (rank <= kLittle) little.push_back(ToUtf8(FromLatin1(word)));
    return little;
  }

  // The frequency list of the translations' language, empty if the build has none.
  const TWordFrequencies& Frequencies() {
    if (const auto path = FOptions.Frequencies.find(FName);
        path != FOptions.Frequencies.end() && FFrequencies.Count == 0) {
      FFrequencies = ReadFrequencies(path->second);
      if (FKeying == TKeying::Spelt)
        if (const TWordNet* wordNet = FContext.LoadedWordNet(FOptions, FLog))
          RankBasesAsTheirForms(FFrequencies, *wordNet);
    }
    return FFrequencies;
  }

  TJudgedRow Judge(const std::string& key, const std::vector<TProposal>& own,
                   const TJudgeRules& rules, bool explain) {
    FRowContext.Headword = key;
    const std::string lemma = ToUtf8(FromLatin1(key));
    const bool english = FKeying == TKeying::English && FWordNet;
    FRowContext.PartShareKnown =
        english && !FRowContext.Definitions && FWordNet->PartShares(lemma, FRowContext.PartShare);
    if (FKeying == TKeying::English && !FRowContext.Definitions && IsEnglishModalVerb(lemma)) {
      FRowContext.PartShare.fill(0);
      FRowContext.PartShare[static_cast<size_t>(TPartOfSpeech::Verb)] = 1;
      FRowContext.PartShareKnown = true;
    }
    FRowContext.CommonWord = english && FWordNet->HasCommonSense(lemma);
    if (explain) {
      FLog << FName << " ";
      ExplainRow(own, FRowContext, rules, FLog);
    }
    return JudgeRow(own, FRowContext, rules);
  }

  std::vector<TLanguageSource> FSources;
  std::string FName;
  const TLanguage* FLanguage = nullptr;
  TKeying FKeying = TKeying::English;
  const TBuildOptions& FOptions;
  TBuildContext& FContext;
  std::unique_ptr<TLineLog> FOwnLog;  // this language's lines of the build's log
  std::ostream& FLog;
  TJudgeRules FRules;
  TCollected FCollected;
  TProposals FProposals;
  std::vector<TSourceKind> FKinds;
  std::vector<size_t> FSummaryOf;  // a source place's entry in Summary.Sources
  std::unique_ptr<TSpelling> FSpelling;
  const TWordNet* FWordNet = nullptr;
  std::set<std::string> FForms;          // forms of the word lists, keyed as the rows are
  std::vector<std::string> FSpeltForms;  // read the other way: a language's, sorted
  // Found once, when the rows are first judged.
  std::optional<std::unordered_map<std::string, std::vector<TBaseWord>>> FFormBases;
  std::unique_ptr<TEnglishVerbForms> FEnglishVerbForms;  // with the forms' base words
  TWordFrequencies FLanguageFrequencies;        // of a language's words, read the other way
  std::bitset<256> FListLetters;                // the Latin-1 letters of its words
  std::unordered_map<std::string, int> FTiers;  // by spelt word: see TierOf
  // By spelt form: the base word whose translations its row shows.
  std::unordered_map<std::string, std::string> FShownBases;
  std::unordered_map<std::string, uint32_t> FCommonness;
  TWordFrequencies FFrequencies;
  TRowContext FRowContext;
};

// What a folder about to be replaced holds: only a lexicon's files may be in it, and
// the language files this build does not write are named, since they go with the old
// index they belong to.
std::vector<std::string> LanguageFilesDropped(const fs::path& target,
                                              const std::vector<TCollected>& built) {
  std::vector<std::string> dropped;
  if (!fs::exists(target)) return dropped;
  if (!fs::is_directory(target)) throw std::runtime_error(target.string() + " is not a folder");
  std::set<std::string> lexiconNames{ToUtf8(IndexFileName)};
  for (const auto& language : Languages) {
    lexiconNames.insert(ToUtf8(language.FileName));
    if (HasReverse(language)) {
      lexiconNames.insert(ToUtf8(language.ReverseIndexFileName));
      lexiconNames.insert(ToUtf8(language.ReverseFileName));
    }
  }
  const bool forward = std::any_of(built.begin(), built.end(),
                                   [](const TCollected& language) { return !language.Reverse; });
  for (const auto& entry : fs::directory_iterator(target)) {
    const std::string name = entry.path().filename().string();
    if (!lexiconNames.count(name)) {
      throw std::runtime_error(target.string() + " holds " + name +
                               ", which is no lexicon file: build into a lexicon folder or a "
                               "new one");
    }
    const bool rebuilt =
        (forward && name == ToUtf8(IndexFileName)) ||
        std::any_of(built.begin(), built.end(), [&](const TCollected& language) {
          return language.Summary.FileName == name || language.Summary.IndexFileName == name;
        });
    if (!rebuilt) dropped.push_back(name);
  }
  std::sort(dropped.begin(), dropped.end());
  return dropped;
}

void WriteSet(const fs::path& target,
              const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files,
              const TFolderSteps& steps) {
  const TWorkFolder work(target);
  for (const auto& [name, bytes] : files) WriteFileBytes((work.NewSet() / name).string(), bytes);
  // Checked where it was written, before it replaces anything: the target checked
  // afterwards may already hold the set of the next build.
  const TCheckReport report = CheckLexiconFolder(work.NewSet()).Report;
  if (!report.Ok()) {
    std::string problems;
    for (const auto& problem : report.Problems) problems += "\n" + problem;
    throw std::runtime_error(std::to_string(report.ProblemCount) +
                             " problems in the files written:" + problems);
  }
  ReplaceFolder(work, target, steps);
}

}  // namespace

const char* FormatName(TSourceFormat format) {
  switch (format) {
    case TSourceFormat::Freedict:
      return "freedict";
    case TSourceFormat::Wordnet:
      return "wordnet";
    case TSourceFormat::TabSeparated:
      return "tsv";
    case TSourceFormat::Reversed:
      return "reversed";
    case TSourceFormat::Pivot:
      return "pivot";
    case TSourceFormat::Inflected:
      return "inflected";
    case TSourceFormat::Apertium:
      return "apertium";
    case TSourceFormat::Ding:
      return "ding";
    case TSourceFormat::Turned:
      return "turned";
    case TSourceFormat::Borrowed:
      return "borrowed";
    case TSourceFormat::Gcide:
      return "gcide";
  }
  return "";
}

namespace {

// Calls work(b) for every language build b, side by side. The sets read in English go
// first: their word lists take the longest, and started last, one of them would be
// built alone at the end.
void ForEachBuild(const std::vector<TLanguageBuild>& builds,
                  const std::function<void(size_t)>& work) {
  std::vector<size_t> order(builds.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_partition(order.begin(), order.end(),
                        [&](size_t b) { return builds[b].ReadInEnglish(); });
  RunInParallel(order.size(), [&](size_t i) { work(order[i]); });
}

// Each language's sources in the order given, the languages in their first mention,
// read as far as their proposals: pivots included, nothing judged yet.
std::vector<TLanguageBuild> ProduceAll(const std::vector<TLanguageSource>& sources,
                                       const TBuildOptions& options, TBuildContext& context,
                                       std::ostream& log) {
  std::vector<std::vector<TLanguageSource>> byLanguage;
  std::set<std::tuple<std::string, TSourceFormat, std::string>> named;
  for (const auto& source : sources) {
    if (!named.insert({source.Language, source.Format, source.Path}).second) {
      throw std::runtime_error("language \"" + source.Language + "\" given twice");
    }
    if (source.Format == TSourceFormat::Inflected && FindLanguage(FromUtf8(source.Language))) {
      context.WordNetWanted = true;
      context.WordList(source.Path);
    }
    // English translations ranked by frequency rank their words' forms by WordNet.
    if (ReverseSetNamed(source.Language) && options.Frequencies.count(source.Language))
      context.WordNetWanted = true;
    auto same = std::find_if(byLanguage.begin(), byLanguage.end(), [&](const auto& group) {
      return group.front().Language == source.Language;
    });
    if (same == byLanguage.end()) {
      byLanguage.push_back({source});
    } else {
      same->push_back(source);
    }
  }
  std::vector<TLanguageBuild> builds;
  builds.reserve(byLanguage.size());
  for (auto& group : byLanguage) builds.emplace_back(std::move(group), options, context, log);
  // The languages are built side by side, sharing the context only to read it.
  context.LoadedWordNet(options, log);
  ForEachBuild(builds, [&](size_t b) { builds[b].ProduceDirect(); });
  // The rows of every language that a pivot passes through or a set of the other
  // direction turns round, before any of those is produced.
  std::vector<std::optional<TSourceItems>> rows(builds.size());
  ForEachBuild(builds, [&](size_t b) {
    const auto takes = [&](const TLanguageBuild& other) {
      return std::any_of(other.Sources().begin(), other.Sources().end(), [&](const auto& source) {
        return FromOtherRows(source.Format) && OtherLanguageOf(source) == builds[b].Name();
      });
    };
    if (std::any_of(builds.begin(), builds.end(), takes)) rows[b] = builds[b].DirectRows();
  });
  std::map<std::string, TSourceItems> otherRows;
  for (size_t b = 0; b < builds.size(); ++b)
    if (rows[b]) otherRows.emplace(builds[b].Name(), std::move(*rows[b]));
  ForEachBuild(builds, [&](size_t b) {
    if (builds[b].TakesOtherRows()) builds[b].ProduceFromOtherRows(otherRows);
  });
  return builds;
}

}  // namespace

TBuildSummary BuildLexicon(const std::string& folder, const std::vector<TLanguageSource>& sources,
                           const TBuildOptions& options, std::ostream& log,
                           const TFolderSteps& steps) {
  const fs::path target = LexiconTarget(folder);
  TBuildContext context;
  std::vector<TCollected> languages;
  {
    std::vector<TLanguageBuild> builds = ProduceAll(sources, options, context, log);
    languages.resize(builds.size());
    ForEachBuild(builds, [&](size_t b) { languages[b] = builds[b].Finish(); });
  }
  context.WordNet.reset();

  // From here on the build looks at the target and replaces it: one build at a time.
  fs::create_directories(target.parent_path());
  const TBuildLock lock(target, log);
  RecoverInterruptedSwap(target, log);
  const std::vector<std::string> dropped = LanguageFilesDropped(target, languages);

  // The English headwords of every language share Index.plv; a set of the other
  // direction has an index of its own.
  std::vector<std::string> headwords;
  for (const auto& language : languages) {
    if (language.Reverse) continue;
    for (const auto& [key, text] : language.Texts) headwords.push_back(key);
  }
  TBuildSummary summary;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  std::optional<TLexiconIndex> index;
  if (!headwords.empty() ||
      std::any_of(languages.begin(), languages.end(),
                  [](const TCollected& language) { return !language.Reverse; })) {
    index.emplace(std::move(headwords));
    files.emplace_back(ToUtf8(IndexFileName), index->FileBytes());
    summary.IndexHeadwords = index->WordCount();
    summary.IndexBytes = files.back().second.size();
  }
  for (auto& language : languages) {
    std::optional<TLexiconIndex> ownIndex;
    if (language.Reverse) {
      std::vector<std::string> keys;
      for (const auto& [key, text] : language.Texts) keys.push_back(key);
      ownIndex.emplace(std::move(keys));
      files.emplace_back(language.Summary.IndexFileName, ownIndex->FileBytes());
      language.Summary.IndexHeadwords = ownIndex->WordCount();
      language.Summary.IndexBytes = files.back().second.size();
    }
    log << "Packing " << language.Summary.FileName << std::endl;
    TLanguageFileBuilder builder(language.Reverse ? *ownIndex : *index, options.Sharing);
    for (const auto& [key, text] : language.Texts) {
      const auto spelt = language.Spelt.find(key);
      builder.Set(key, PackText(text),
                  spelt == language.Spelt.end() ? TPackedText{0} : PackText(spelt->second));
    }
    TTexts().swap(language.Texts);  // packed: the texts are no longer needed
    TTexts().swap(language.Spelt);
    TLanguageFileBuilder::TStats stats;
    try {
      files.emplace_back(language.Summary.FileName, builder.FileBytes(&stats));
    } catch (const ELexiconLimit& error) {
      throw ELexiconLimit(language.Summary.FileName + ": " + error.what());
    }
    language.Summary.Records = stats.Records;
    language.Summary.SharedEntries = stats.SharedEntries;
    language.Summary.Bytes = stats.Bytes;
    summary.Languages.push_back(language.Summary);
  }
  WriteSet(target, files, steps);
  for (const auto& name : dropped) {
    log << "Removed " << name << ": it belonged to the index this build replaced" << std::endl;
  }
  summary.Removed = dropped;
  return summary;
}

void PrintSummary(const TBuildSummary& summary, std::ostream& out) {
  char line[256];
  if (summary.IndexBytes > 0) {
    std::snprintf(line, sizeof line, "%-22s %10s headwords %33s %12s bytes\n", "Index.plv",
                  Grouped(summary.IndexHeadwords).c_str(), "", Grouped(summary.IndexBytes).c_str());
    out << line;
  }
  for (const auto& language : summary.Languages) {
    if (!language.IndexFileName.empty()) {
      std::snprintf(line, sizeof line, "%-22s %10s headwords %33s %12s bytes\n",
                    language.IndexFileName.c_str(), Grouped(language.IndexHeadwords).c_str(), "",
                    Grouped(language.IndexBytes).c_str());
      out << line;
    }
    std::snprintf(line, sizeof line, "%-22s %10s headwords %9s entries %9s shared %12s bytes\n",
                  language.FileName.c_str(), Grouped(language.Headwords).c_str(),
                  Grouped(language.Records).c_str(), Grouped(language.SharedEntries).c_str(),
                  Grouped(language.Bytes).c_str());
    out << line;
    out << "                from " << Grouped(language.SourceEntries)
        << " source entries; left out: " << Grouped(language.UnreachableStart)
        << " unreachable first characters, " << Grouped(language.LongerThan30)
        << " longer than 30 characters, " << Grouped(language.NoLatin1Form)
        << " without a Latin-1 form, " << Grouped(language.NoText) << " without a text\n"
        << "                " << Grouped(language.ThroughOther)
        << " rows through another language only, " << Grouped(language.Inflected)
        << " word forms showing their base word's translations";
    if (language.LeftForRoom > 0)
      out << ", " << Grouped(language.LeftForRoom) << " rows left out for room";
    out << "\n";
    for (const auto& source : language.Sources) {
      out << "                " << std::left << std::setw(9) << source.Format << " " << std::right
          << std::setw(9) << Grouped(source.Headwords) << " headwords";
      if (source.Format != std::string("tsv") && source.Format != std::string("inflected"))
        out << ", first translation of " << Grouped(source.FirstAlone) << " rows alone and "
            << Grouped(source.FirstAgreed) << " agreed";
      out << "  " << source.Path << "\n";
    }
  }
}

}  // namespace parlivo

namespace parlivo {

void TuneRules(const std::vector<TLanguageSource>& sources, const TBuildOptions& options,
               const std::string& goldFolder, std::ostream& log, std::ostream& out) {
  TBuildContext context;
  std::vector<TLanguageBuild> builds = ProduceAll(sources, options, context, log);
  struct TGold {
    TLanguageBuild* Build;
    std::vector<TGoldWord> Words;
  };
  std::vector<TGold> golds;
  for (auto& build : builds) {
    const std::string path = goldFolder + "/" + build.Name() + ".tsv";
    if (!fs::exists(path)) continue;
    auto words = ReadGoldList(path);
    std::erase_if(words, [](const TGoldWord& word) { return word.Skipped; });
    golds.push_back({&build, std::move(words)});
  }
  // Around the rules given: each trust, the weights of frequency and of commonness.
  const TJudgeRules given = options.Rules;
  const float scales[] = {0.5f, 1.0f, 2.0f};
  struct TResult {
    TJudgeRules Rules;
    double MeanFirst = 0;
    double MeanNothing = 0;
    std::vector<std::string> PerLanguage;
  };
  auto evaluate = [&](const TJudgeRules& rules) {
    TResult result;
    result.Rules = rules;
    for (TGold& gold : golds) {
      size_t listed = 0, first = 0, nothing = 0;
      const bool definitions = gold.Build->Name() == "English";
      for (const TGoldWord& word : gold.Words) {
        const std::string text = gold.Build->RowText(gold.Build->KeyOf(word.Word), rules);
        if (text.empty()) continue;
        ++listed;
        const TGoldVerdict verdict = JudgeAgainstGold(text, word, definitions);
        first += verdict == TGoldVerdict::FirstRight;
        nothing += verdict == TGoldVerdict::NothingRight;
      }
      const double share =
          listed ? 100.0 * static_cast<double>(first) / static_cast<double>(listed) : 0;
      const double none =
          listed ? 100.0 * static_cast<double>(nothing) / static_cast<double>(listed) : 0;
      result.MeanFirst += share / static_cast<double>(golds.size());
      result.MeanNothing += none / static_cast<double>(golds.size());
      char line[96];
      std::snprintf(line, sizeof line, "%s %.1f/%.1f", gold.Build->Name().c_str(), share, none);
      result.PerLanguage.push_back(line);
    }
    return result;
  };
  std::vector<TResult> results;
  for (const float toX : scales)
    for (const float fromX : scales)
      for (const float curated : scales)
        for (const float pivot : scales)
          for (const float frequency : {0.0f, 1.0f, 2.0f, 4.0f, 8.0f})
            for (const float commonness : {0.0f, 0.1f, 0.2f}) {
              TJudgeRules rules = given;
              rules.Trust[static_cast<size_t>(TSourceKind::Dictionary)] *= toX;
              rules.Trust[static_cast<size_t>(TSourceKind::TurnedRound)] *= fromX;
              rules.Trust[static_cast<size_t>(TSourceKind::Curated)] *= curated;
              rules.Trust[static_cast<size_t>(TSourceKind::Pivot)] *= pivot;
              rules.FrequencyWeight = frequency;
              rules.CommonnessExponent = commonness;
              results.push_back(evaluate(rules));
            }
  std::stable_sort(results.begin(), results.end(), [](const TResult& a, const TResult& b) {
    return a.MeanFirst - a.MeanNothing > b.MeanFirst - b.MeanNothing;
  });
  auto print = [&](const TResult& result) {
    const auto& trust = result.Rules.Trust;
    char line[160];
    std::snprintf(line, sizeof line,
                  "to-X %.2f  from-X %.2f  curated %.2f  pivot %.2f  frequency %.2f  common %.2f:"
                  "  first %.1f %%, nothing %.1f %%  ",
                  trust[0], trust[1], trust[2], trust[3], result.Rules.FrequencyWeight,
                  result.Rules.CommonnessExponent, result.MeanFirst, result.MeanNothing);
    out << line;
    for (const auto& language : result.PerLanguage) out << " " << language;
    out << "\n";
  };
  out << "Given:\n";
  print(evaluate(given));
  out << "Best of " << results.size() << ":\n";
  for (size_t i = 0; i < std::min<size_t>(15, results.size()); ++i) print(results[i]);
}

}  // namespace parlivo

namespace parlivo {

void MeasureAgreement(const std::vector<TLanguageSource>& sources, const TBuildOptions& options,
                      std::ostream& log, std::ostream& out) {
  TBuildContext context;
  std::vector<TLanguageBuild> builds = ProduceAll(sources, options, context, log);
  for (auto& build : builds) {
    out << build.Name() << ":\n";
    for (size_t place = 0; place < build.SourceCount(); ++place) {
      const auto [compared, agreeing] = build.AgreementOf(static_cast<uint8_t>(place));
      const TSourceSummary& source = build.SummaryOfSource(place);
      char line[256];
      std::snprintf(
          line, sizeof line,
          "  %-9s %9s headwords with other sources' rows, %5.1f %% led by "
          "its first translation  %s\n",
          source.Format.c_str(), Grouped(compared).c_str(),
          compared ? 100.0 * static_cast<double>(agreeing) / static_cast<double>(compared) : 0.0,
          source.Path.c_str());
      out << line;
    }
  }
}

}  // namespace parlivo
