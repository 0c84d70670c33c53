#include "LexiconBuilder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <tuple>

#include "EntryText.h"
#include "FolderSwap.h"
#include "Inflection.h"
#include "Languages.h"
#include "Pivot.h"
#include "SeenHashes.h"
#include "SourceEntry.h"

namespace parlivo {

namespace fs = std::filesystem;

namespace {

struct TCollected {
  TLanguageSummary Summary;
  std::map<std::string, std::string> Texts;  // stored headword -> Latin-1 text
};

// At most this many translations in a text that came through another language.
constexpr size_t kMaxPivotTranslations = 4;

std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

}  // namespace

std::vector<TSourceEntry> ReadSource(const TLanguageSource& source, std::ostream& log) {
  log << source.Language << ": reading " << source.Path << std::endl;
  const auto raw = ReadDictd(source.Path, [&](size_t lines) {
    log << "  " << Grouped(lines) << " index lines\r" << std::flush;
  });
  log << std::endl;
  std::vector<TSourceEntry> entries;
  entries.reserve(raw.size());
  for (const auto& entry : raw) {
    switch (source.Format) {
      case TSourceFormat::Wordnet:
        entries.push_back(ParseWordnetEntry(entry));
        break;
      case TSourceFormat::Pivot:
        entries.push_back(ParseWikdictEntry(entry));
        break;
      default:
        entries.push_back(ParseFreedictEntry(entry));
        break;
    }
  }
  return entries;
}

namespace {

void CountLeftOut(TLeftOutReason reason, TLanguageSummary& summary) {
  switch (reason) {
    case TLeftOutReason::NoLatin1Form:
      ++summary.NoLatin1Form;
      break;
    case TLeftOutReason::LongerThan30:
      ++summary.LongerThan30;
      break;
    case TLeftOutReason::UnreachableStart:
      ++summary.UnreachableStart;
      break;
  }
}

// Dictionaries that index phrases under their first word keep the phrase only in the
// pronunciation ("go /gouaut/" beside "go /gou/" for "go out"): an entry whose
// pronunciation extends the shortest one of its headword belongs to a phrase.
std::vector<const TSourceEntry*> MainEntries(std::vector<const TSourceEntry*> group) {
  const TSourceEntry* shortest = nullptr;
  for (const auto* entry : group) {
    if (!entry->Pronunciation.empty() &&
        (!shortest || entry->Pronunciation.size() < shortest->Pronunciation.size())) {
      shortest = entry;
    }
  }
  if (shortest) {
    const std::string& word = shortest->Pronunciation;
    std::erase_if(group, [&](const TSourceEntry* entry) {
      const std::string& own = entry->Pronunciation;
      return own.size() > word.size() && own.compare(0, word.size(), word) == 0;
    });
  }
  // Main senses carry the most examples and notes: they come first.
  std::stable_sort(group.begin(), group.end(), [](const TSourceEntry* a, const TSourceEntry* b) {
    return a->Weight > b->Weight;
  });
  return group;
}

}  // namespace

TSourceItems ReadItems(const TLanguageSource& source, TLanguageSummary& summary,
                       std::ostream& log) {
  const auto entries = ReadSource(source, log);
  TSourceItems read;
  read.Entries = entries.size();
  std::map<std::string, std::vector<const TSourceEntry*>> groups;
  std::set<std::pair<TLeftOutReason, std::string>> leftOut;
  for (const auto& entry : entries) {
    THeadword headword = StoredHeadword(entry.Headword);
    if (headword.LeftOut) {
      leftOut.insert({*headword.LeftOut, entry.Headword});
    } else {
      groups[headword.Key].push_back(&entry);
    }
  }
  for (const auto& [reason, headword] : leftOut) CountLeftOut(reason, summary);
  for (const auto& [key, group] : groups) {
    std::vector<std::string>& items = read.Items[key];
    for (const auto* entry : MainEntries(group))
      items.insert(items.end(), entry->Items.begin(), entry->Items.end());
  }
  return read;
}

namespace {

// The texts a source gives, keyed by stored headword.
using TTexts = std::map<std::string, std::string>;

// A source's items as read, with what reading left out counted apart.
struct TReadItems {
  TSourceItems Items;
  TLanguageSummary LeftOut;
};

// What every source of a build shares: the first freedict source of each language and,
// for the languages pivots pass through, its items, read once for the build.
struct TBuildContext {
  std::map<std::string, const TLanguageSource*> FirstLegs;
  std::set<std::string> Vias;
  std::map<std::string, TReadItems> FirstLegItems;
  std::unique_ptr<TEnglishMorphology> Morphology;  // read for the first inflected source
};

const TReadItems& FirstLegItems(TBuildContext& context, const std::string& via, std::ostream& log) {
  const auto leg = context.FirstLegs.find(via);
  if (leg == context.FirstLegs.end())
    throw std::runtime_error("a pivot through " + via + " needs a " + via +
                             " freedict source in the same build");
  auto read = context.FirstLegItems.find(via);
  if (read == context.FirstLegItems.end()) {
    read = context.FirstLegItems.emplace(via, TReadItems{}).first;
    read->second.Items = ReadItems(*leg->second, read->second.LeftOut, log);
  }
  return read->second;
}

// The source's items: those kept for the build where pivots start from them as well,
// otherwise read into own.
const TReadItems& ItemsOf(const TLanguageSource& source, TBuildContext& context, TReadItems& own,
                          std::ostream& log) {
  const auto leg = context.FirstLegs.find(source.Language);
  const bool firstLeg = context.Vias.count(source.Language) && leg != context.FirstLegs.end() &&
                        leg->second->Format == source.Format && leg->second->Path == source.Path;
  if (firstLeg) return FirstLegItems(context, source.Language, log);
  own.Items = ReadItems(source, own.LeftOut, log);
  return own;
}

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

// The texts a source gives; earlier are those of the language's sources before it.
TTexts SourceTexts(const TLanguageSource& source, const TBuildOptions& options,
                   TBuildContext& context, const TTexts& earlier, TLanguageSummary& summary,
                   std::ostream& log) {
  TTexts texts;
  bool yielded = false;
  auto add = [&](const std::string& key, const std::vector<std::string>& items,
                 std::string_view separator, std::string_view mark) {
    std::string text = MakeEntryText(items, separator, options.MaxTextLength - mark.size());
    if (!text.empty()) texts.emplace(key, std::string(mark) + text);
  };
  if (source.Format == TSourceFormat::Reversed) {
    const auto entries = ReadSource(source, log);
    summary.SourceEntries += entries.size();
    for (const auto& [key, headwords] : Reversed(entries)) add(key, headwords, ", ", "");
  } else if (source.Format == TSourceFormat::Pivot) {
    const TSourceItems& firstLeg = FirstLegItems(context, source.Via, log).Items;
    auto entries = ReadSource(source, log);
    summary.SourceEntries += entries.size();
    const TKeyedDictionary viaToX = Keyed(entries);
    const double threshold = options.PivotThresholdOf(source.Language);
    for (const auto& [key, items] : firstLeg.Items) {
      std::vector<std::string> kept;
      for (const auto& candidate : PivotCandidates(items, viaToX)) {
        if (candidate.Score < threshold || kept.size() == kMaxPivotTranslations) break;
        kept.push_back(candidate.Text);
      }
      add(key, kept, ", ", kPivotMark);
    }
  } else if (source.Format == TSourceFormat::TabSeparated) {
    texts = TabSeparatedTexts(source, options, earlier, summary, yielded);
  } else if (source.Format == TSourceFormat::Inflected) {
    if (!context.Morphology)
      context.Morphology = std::make_unique<TEnglishMorphology>(options.WordNetFolder);
    const std::vector<std::string> forms = ReadWordForms(source.Path);
    summary.SourceEntries += forms.size();
    texts = InflectedTexts(forms, *context.Morphology, earlier, options.MaxTextLength);
  } else {
    TReadItems own;
    const TReadItems& read = ItemsOf(source, context, own, log);
    summary.SourceEntries += read.Items.Entries;
    summary.NoLatin1Form += read.LeftOut.NoLatin1Form;
    summary.LongerThan30 += read.LeftOut.LongerThan30;
    summary.UnreachableStart += read.LeftOut.UnreachableStart;
    const std::string_view separator = source.Format == TSourceFormat::Wordnet ? "; " : ", ";
    for (const auto& [key, items] : read.Items.Items) {
      add(key, items, separator, "");
      if (!texts.count(key)) ++summary.NoText;
    }
  }
  if (texts.empty() && !yielded) {
    throw std::runtime_error(source.Language + ": " + source.Path + " yields no headword");
  }
  return texts;
}

// A language from its sources in order of trust: a headword's text comes from the first
// source that has one; later sources fill only the headwords the earlier ones lack.
TCollected Collect(const std::vector<TLanguageSource>& sources, const TBuildOptions& options,
                   TBuildContext& context, std::ostream& log) {
  const std::string& name = sources.front().Language;
  const auto* language = FindLanguage(FromUtf8(name));
  if (!language) throw std::runtime_error("unknown language \"" + name + "\"");
  TCollected collected;
  collected.Summary.Language = name;
  collected.Summary.FileName = ToUtf8(language->FileName);
  for (const auto& source : sources) {
    TTexts texts = SourceTexts(source, options, context, collected.Texts, collected.Summary, log);
    const size_t before = collected.Texts.size();
    collected.Texts.merge(texts);  // moves what earlier sources lack
    const size_t contributed = collected.Texts.size() - before;
    const bool throughOther = source.Format == TSourceFormat::Pivot && source.Via != "German";
    collected.Summary.Sources.push_back(
        {FormatName(source.Format), throughOther ? source.Via + ":" + source.Path : source.Path,
         contributed});
  }
  collected.Summary.Headwords = collected.Texts.size();
  log << name << ": " << Grouped(collected.Summary.Headwords) << " headwords" << std::endl;
  return collected;
}

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
  }
  return "";
}

TBuildSummary BuildLexicon(const std::string& folder, const std::vector<TLanguageSource>& sources,
                           const TBuildOptions& options, std::ostream& log,
                           const TFolderSteps& steps) {
  const fs::path target = LexiconTarget(folder);
  // Each language's sources in the order given, the languages in their first mention.
  std::vector<std::vector<TLanguageSource>> byLanguage;
  std::set<std::tuple<std::string, TSourceFormat, std::string>> named;
  TBuildContext context;
  for (const auto& source : sources) {
    if (!named.insert({source.Language, source.Format, source.Path}).second) {
      throw std::runtime_error("language \"" + source.Language + "\" given twice");
    }
    if (source.Format == TSourceFormat::Freedict)
      context.FirstLegs.emplace(source.Language, &source);
    if (source.Format == TSourceFormat::Pivot) context.Vias.insert(source.Via);
    auto same = std::find_if(byLanguage.begin(), byLanguage.end(), [&](const auto& group) {
      return group.front().Language == source.Language;
    });
    if (same == byLanguage.end()) {
      byLanguage.push_back({source});
    } else {
      same->push_back(source);
    }
  }
  std::vector<TCollected> languages;
  for (const auto& group : byLanguage) languages.push_back(Collect(group, options, context, log));

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
        << " without a Latin-1 form, " << Grouped(language.NoText) << " without a text\n";
    for (const auto& source : language.Sources) {
      out << "                " << std::left << std::setw(9) << source.Format << " " << std::right
          << std::setw(9) << Grouped(source.Headwords) << " headwords  " << source.Path << "\n";
    }
  }
}

}  // namespace parlivo
