#include "LexiconBuilder.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <memory>
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
#include "Producers.h"
#include "SeenHashes.h"
#include "SourceEntry.h"
#include "Spelling.h"
#include "WordNet.h"

namespace parlivo {

namespace fs = std::filesystem;

namespace {

// The texts of a language, keyed by stored headword.
using TTexts = std::map<std::string, std::string>;

struct TCollected {
  TLanguageSummary Summary;
  TTexts Texts;  // stored headword -> Latin-1 text
};

std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

TSourceKind KindOf(TSourceFormat format) {
  switch (format) {
    case TSourceFormat::Wordnet:
      return TSourceKind::Definitions;
    case TSourceFormat::Reversed:
      return TSourceKind::XToEnglish;
    case TSourceFormat::Pivot:
      return TSourceKind::Pivot;
    case TSourceFormat::Apertium:
    case TSourceFormat::Ding:
      return TSourceKind::Curated;
    default:
      return TSourceKind::EnglishToX;
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
                         const TTexts& earlier, TLanguageSummary& summary, bool& yielded) {
  TLanguageFileBound bound;
  for (const auto& [key, text] : earlier) bound.Add(text);
  std::map<std::string, TEntryText> joined;
  TSeenHashes leftOut;
  ReadTabSeparated(source.Path, [&](std::string_view headword, std::string_view item) {
    ++summary.SourceEntries;
    THeadword stored = StoredHeadword(headword);
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

// A source's proposals; place is its place among the language's sources.
void Produce(const TLanguageSource& source, uint8_t place, TProposals& proposals,
             TBuildContext& context, const TBuildOptions& options, TLanguageSummary& summary,
             std::ostream& log) {
  switch (source.Format) {
    case TSourceFormat::Freedict: {
      TLanguageSummary leftOut;
      const TSourceItems read = ReadItems(source, leftOut, log);
      summary.SourceEntries += read.Entries;
      summary.NoLatin1Form += leftOut.NoLatin1Form;
      summary.LongerThan30 += leftOut.LongerThan30;
      summary.UnreachableStart += leftOut.UnreachableStart;
      ProduceEnglishToX(read, place, proposals);
      break;
    }
    case TSourceFormat::Reversed: {
      const auto entries = ReadSource(source, log);
      summary.SourceEntries += entries.size();
      ProduceReversed(entries, place, proposals);
      break;
    }
    case TSourceFormat::Wordnet: {
      log << source.Language << ": reading WordNet from " << source.Path << std::endl;
      const TWordNet wordNet(source.Path);
      ProduceDefinitions(wordNet, place, proposals, summary);
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
      const auto words = EnglishVocabulary(proposals, context, options, log);
      summary.SourceEntries += words.size();
      ProduceApertium(chain, words, place, proposals);
      break;
    }
    case TSourceFormat::Ding: {
      log << source.Language << ": reading " << source.Path << std::endl;
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

// Dutch dictionaries spell "ij" as one character, U+0132 and U+0133, where others and
// the spelling dictionary spell two: one spelling, so that they meet.
std::string WithoutLigatures(std::string text) {
  for (auto [ligature, letters] : {std::pair{"\xC4\xB3", "ij"}, std::pair{"\xC4\xB2", "IJ"}}) {
    for (size_t at = text.find(ligature); at != std::string::npos; at = text.find(ligature, at))
      text.replace(at, 2, letters);
  }
  return text;
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

// Adverbs keep the form of their adjective in these languages ("glatt" is smooth and
// smoothly), so that an adverb's base word's translations serve it.
bool AdverbsAreAdjectives(const std::string& language) {
  return language == "German" || language == "Dutch";
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
        FLog(log),
        FRules(options.RulesOf(FName)) {
    const auto* language = FindLanguage(FromUtf8(FName));
    if (!language) throw std::runtime_error("unknown language \"" + FName + "\"");
    FCollected.Summary.Language = FName;
    FCollected.Summary.FileName = ToUtf8(language->FileName);
  }

  const std::string& Name() const { return FName; }
  const std::vector<TLanguageSource>& Sources() const { return FSources; }

  // The user's own texts, and the proposals of every source but the pivots.
  void ProduceDirect() {
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::TabSeparated) continue;
      bool yielded = false;
      TTexts texts =
          TabSeparatedTexts(source, FOptions, FCollected.Texts, FCollected.Summary, yielded);
      if (texts.empty() && !yielded) throw YieldedNothing(source);
      const size_t before = FCollected.Texts.size();
      FCollected.Texts.merge(texts);
      FCollected.Summary.Sources.push_back(
          {FormatName(source.Format), source.Path, FCollected.Texts.size() - before});
    }
    for (const auto& source : FSources) {
      if (source.Format == TSourceFormat::TabSeparated ||
          source.Format == TSourceFormat::Inflected || source.Format == TSourceFormat::Pivot)
        continue;
      const uint8_t place = AddSource(source);
      Produce(source, place, FProposals, FContext, FOptions, FCollected.Summary, FLog);
      CountProposed(source, place);
    }
    SpellLigaturesOut();
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
  // headword's translations in the row's order.
  TSourceItems DirectRows() {
    TSourceItems rows;
    PrepareJudge();
    for (const auto& [key, own] : FProposals) {
      const TJudgedRow row = Judge(key, own, FRules, false);
      auto& items = rows.Items[key];
      for (size_t rank = 0; rank < row.Translations.size() && rank < kFirstLegTranslations; ++rank)
        items.push_back(
            {row.Translations[rank].first, row.Translations[rank].second, 1, rank, false});
    }
    return rows;
  }

  bool HasPivots() const {
    return std::any_of(FSources.begin(), FSources.end(),
                       [](const auto& source) { return source.Format == TSourceFormat::Pivot; });
  }

  // The proposals of the pivots, from the middle languages' rows.
  void ProducePivots(const std::map<std::string, TSourceItems>& middleRows) {
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::Pivot) continue;
      const auto middle = middleRows.find(source.Via);
      if (middle == middleRows.end())
        throw std::runtime_error("a pivot through " + source.Via + " needs " + source.Via +
                                 " in the same build");
      const uint8_t place = AddSource(source);
      const auto entries = ReadSource(source, FLog);
      FCollected.Summary.SourceEntries += entries.size();
      ProducePivot(middle->second, Keyed(entries), place, FProposals);
      CountProposed(source, place);
    }
    SpellLigaturesOut();
    FCommonness.clear();  // counted again, with the pivots' translations
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
          key, row.Base.empty() ? row.Judged.Text : InflectedMark(row.Base) + row.Judged.Text);
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

  // The row of a headword under other rules, the user's own texts aside: for tuning.
  std::string RowText(const std::string& key, const TJudgeRules& rules) {
    PrepareJudge();
    const TRow row = RowOf(key, rules, false);
    return row.Base.empty() || row.Judged.Text.empty() ? row.Judged.Text
                                                       : InflectedMark(row.Base) + row.Judged.Text;
  }

 private:
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
    if (!FForms.count(key) || !FWordNet) return row;
    const bool weak = row.Judged.Text.empty() || row.Judged.ThroughOther ||
                      (FRowContext.Definitions && RarerThanItsBases(key));
    if (!weak) return row;
    TRowContext context = FRowContext;
    context.PartShareKnown = false;
    for (const auto& base : FWordNet->Bases(ToUtf8(FromLatin1(key)))) {
      const auto baseProposals = FProposals.find(StoredHeadword(base.Word).Key);
      if (baseProposals == FProposals.end()) continue;
      // "polished" is no form of "Polish": a common word's forms show no names.
      context.CommonWord = FWordNet->HasCommonSense(base.Word);
      context.OnlyPart = base.Part;
      if (base.Part == TPartOfSpeech::Adverb) {
        if (context.Definitions || !AdverbsAreAdjectives(FName)) continue;
        context.OnlyPart = TPartOfSpeech::Adjective;
      }
      context.Headword = baseProposals->first;
      context.MaxCounted = FRowContext.MaxCounted - CountedLength(InflectedMark(base.Word));
      TJudgedRow judged = JudgeRow(baseProposals->second, context, rules);
      if (judged.Text.empty() || (!row.Judged.Text.empty() && judged.ThroughOther)) continue;
      row.Judged = std::move(judged);
      row.Base = base.Word;
      break;
    }
    return row;
  }

  // An English form that WordNet also knows as a word of its own, but whose senses as
  // such are names or met far less than its base word's: "sent" means sent, not a coin
  // of Estonia.
  bool RarerThanItsBases(const std::string& key) const {
    const std::string form = ToUtf8(FromLatin1(key));
    const unsigned own = FWordNet->MostMet(form);
    const bool names = !FWordNet->HasCommonSense(form);
    for (const auto& base : FWordNet->Bases(form)) {
      if (!FWordNet->HasCommonSense(base.Word)) continue;
      if (names || FWordNet->MostMet(base.Word, base.Part) > 2 * own) return true;
    }
    return false;
  }

  // A middle language passes on this many of each row's translations.
  static constexpr size_t kFirstLegTranslations = 6;

  static std::runtime_error YieldedNothing(const TLanguageSource& source) {
    return std::runtime_error(source.Language + ": " + source.Path + " yields no headword");
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

  void PrepareJudge() {
    if (!FSpelling) {
      if (const auto path = FOptions.Spelling.find(FName); path != FOptions.Spelling.end())
        FSpelling = std::make_unique<TSpelling>(path->second + ".aff", path->second + ".dic",
                                                AdverbsAreAdjectives(FName));
    }
    FWordNet = FContext.LoadedWordNet(FOptions, FLog);
    for (const auto& source : FSources) {
      if (source.Format != TSourceFormat::Inflected || !FForms.empty()) continue;
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
    FRowContext.Spelling = FSpelling.get();
    FRowContext.MaxCounted = FOptions.MaxTextLength;
    if (FCommonness.empty() && !FRowContext.Definitions) CountCommonness();
    FRowContext.Commonness = &FCommonness;
    if (const auto path = FOptions.Frequencies.find(FName);
        path != FOptions.Frequencies.end() && FFrequencies.Count == 0)
      FFrequencies = ReadFrequencies(path->second);
    FRowContext.Frequencies = &FFrequencies;
  }

  TJudgedRow Judge(const std::string& key, const std::vector<TProposal>& own,
                   const TJudgeRules& rules, bool explain) {
    FRowContext.Headword = key;
    const std::string lemma = ToUtf8(FromLatin1(key));
    FRowContext.PartShareKnown =
        FWordNet && !FRowContext.Definitions && FWordNet->PartShares(lemma, FRowContext.PartShare);
    FRowContext.CommonWord = FWordNet && FWordNet->HasCommonSense(lemma);
    if (explain) {
      FLog << FName << " ";
      ExplainRow(own, FRowContext, rules, FLog);
    }
    return JudgeRow(own, FRowContext, rules);
  }

  std::vector<TLanguageSource> FSources;
  std::string FName;
  const TBuildOptions& FOptions;
  TBuildContext& FContext;
  std::ostream& FLog;
  TJudgeRules FRules;
  TCollected FCollected;
  TProposals FProposals;
  std::vector<TSourceKind> FKinds;
  std::vector<size_t> FSummaryOf;  // a source place's entry in Summary.Sources
  std::unique_ptr<TSpelling> FSpelling;
  const TWordNet* FWordNet = nullptr;
  std::set<std::string> FForms;  // stored forms of the word lists
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
  for (const auto& language : Languages) lexiconNames.insert(ToUtf8(language.FileName));
  for (const auto& entry : fs::directory_iterator(target)) {
    const std::string name = entry.path().filename().string();
    if (!lexiconNames.count(name)) {
      throw std::runtime_error(target.string() + " holds " + name +
                               ", which is no lexicon file: build into a lexicon folder or a "
                               "new one");
    }
    const bool rebuilt = std::any_of(built.begin(), built.end(), [&](const TCollected& language) {
      return language.Summary.FileName == name;
    });
    if (name != ToUtf8(IndexFileName) && !rebuilt) dropped.push_back(name);
  }
  std::sort(dropped.begin(), dropped.end());
  return dropped;
}

void WriteSet(const fs::path& target,
              const std::vector<std::pair<std::string, std::vector<uint8_t>>>& files,
              const TFolderSteps& steps) {
  const TWorkFolder work(target);
  for (const auto& [name, bytes] : files) WriteFileBytes((work.NewSet() / name).string(), bytes);
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
  }
  return "";
}

namespace {

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
    if (source.Format == TSourceFormat::Inflected) {
      context.WordNetWanted = true;
      context.WordList(source.Path);
    }
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
  for (auto& build : builds) build.ProduceDirect();
  // The middle languages' rows before any pivot's, for every language that is one.
  std::map<std::string, TSourceItems> middleRows;
  for (auto& build : builds) {
    const bool middle = std::any_of(builds.begin(), builds.end(), [&](const TLanguageBuild& other) {
      return std::any_of(other.Sources().begin(), other.Sources().end(), [&](const auto& source) {
        return source.Format == TSourceFormat::Pivot && source.Via == build.Name();
      });
    });
    if (middle) middleRows.emplace(build.Name(), build.DirectRows());
  }
  for (auto& build : builds)
    if (build.HasPivots()) build.ProducePivots(middleRows);
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
    for (auto& build : builds) languages.push_back(build.Finish());
  }
  context.WordNet.reset();

  // From here on the build looks at the target and replaces it: one build at a time.
  fs::create_directories(target.parent_path());
  const TBuildLock lock(target, log);
  RecoverInterruptedSwap(target, log);
  const std::vector<std::string> dropped = LanguageFilesDropped(target, languages);

  std::vector<std::string> headwords;
  for (const auto& language : languages) {
    for (const auto& [key, text] : language.Texts) headwords.push_back(key);
  }
  const TLexiconIndex index(std::move(headwords));

  TBuildSummary summary;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  files.emplace_back(ToUtf8(IndexFileName), index.FileBytes());
  summary.IndexHeadwords = index.WordCount();
  summary.IndexBytes = files.back().second.size();
  for (auto& language : languages) {
    log << "Packing " << language.Summary.FileName << std::endl;
    TLanguageFileBuilder builder(index, options.Sharing);
    for (const auto& [key, text] : language.Texts) builder.Set(key, PackText(text));
    TTexts().swap(language.Texts);  // packed: the texts are no longer needed
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
  std::snprintf(line, sizeof line, "%-15s %10s headwords %33s %12s bytes\n", "Index.plv",
                Grouped(summary.IndexHeadwords).c_str(), "", Grouped(summary.IndexBytes).c_str());
  out << line;
  for (const auto& language : summary.Languages) {
    std::snprintf(line, sizeof line, "%-15s %10s headwords %9s entries %9s shared %12s bytes\n",
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
        << " word forms showing their base word's translations\n";
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
        const THeadword stored = StoredHeadword(word.Word);
        const std::string text = gold.Build->RowText(stored.Key, rules);
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
          for (const float frequency : {0.0f, 1.0f, 2.0f, 4.0f})
            for (const float commonness : {0.0f, 0.1f, 0.2f}) {
              TJudgeRules rules = given;
              rules.Trust[static_cast<size_t>(TSourceKind::EnglishToX)] *= toX;
              rules.Trust[static_cast<size_t>(TSourceKind::XToEnglish)] *= fromX;
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
