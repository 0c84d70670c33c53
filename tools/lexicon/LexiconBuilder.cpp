#include "LexiconBuilder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>

#include "EntryText.h"
#include "FolderSwap.h"
#include "Languages.h"
#include "SourceEntry.h"

namespace parlivo {

namespace fs = std::filesystem;

namespace {

struct TCollected {
  TLanguageSummary Summary;
  std::map<std::string, std::string> Texts;  // stored headword -> Latin-1 text
};

std::string Grouped(size_t value) {
  std::string digits = std::to_string(value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<size_t>(at), ",");
  return digits;
}

std::vector<TSourceEntry> ReadSource(const TLanguageSource& source, std::ostream& log) {
  if (source.Format == TSourceFormat::TabSeparated) return ReadTabSeparated(source.Path);
  log << source.Language << ": reading " << source.Path << std::endl;
  const auto raw = ReadDictd(source.Path, [&](size_t lines) {
    log << "  " << Grouped(lines) << " index lines\r" << std::flush;
  });
  log << std::endl;
  std::vector<TSourceEntry> entries;
  entries.reserve(raw.size());
  for (const auto& entry : raw) {
    entries.push_back(source.Format == TSourceFormat::Wordnet ? ParseWordnetEntry(entry)
                                                              : ParseFreedictEntry(entry));
  }
  return entries;
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

TCollected Collect(const TLanguageSource& source, const TBuildOptions& options, std::ostream& log) {
  const auto* language = FindLanguage(FromUtf8(source.Language));
  if (!language) throw std::runtime_error("unknown language \"" + source.Language + "\"");
  TCollected collected;
  collected.Summary.Language = source.Language;
  collected.Summary.FileName = ToUtf8(language->FileName);

  const auto entries = ReadSource(source, log);
  collected.Summary.SourceEntries = entries.size();
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
  for (const auto& [reason, headword] : leftOut) {
    switch (reason) {
      case TLeftOutReason::NoLatin1Form:
        ++collected.Summary.NoLatin1Form;
        break;
      case TLeftOutReason::LongerThan30:
        ++collected.Summary.LongerThan30;
        break;
      case TLeftOutReason::UnreachableStart:
        ++collected.Summary.UnreachableStart;
        break;
    }
  }

  const std::string_view separator = source.Format == TSourceFormat::Wordnet ? "; " : ", ";
  for (const auto& [key, group] : groups) {
    std::vector<std::string> items;
    for (const auto* entry : MainEntries(group))
      items.insert(items.end(), entry->Items.begin(), entry->Items.end());
    std::string text = MakeEntryText(items, separator, options.MaxTextLength);
    if (text.empty()) {
      ++collected.Summary.NoText;
      continue;
    }
    collected.Texts.emplace(key, std::move(text));
  }
  collected.Summary.Headwords = collected.Texts.size();
  if (collected.Texts.empty()) {
    throw std::runtime_error(source.Language + ": " + source.Path + " yields no headword");
  }
  log << source.Language << ": " << Grouped(collected.Summary.Headwords) << " headwords from "
      << Grouped(entries.size()) << " entries" << std::endl;
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
  const fs::path built = BuildFolderFor(target);
  fs::create_directories(built);
  try {
    for (const auto& [name, bytes] : files) WriteFileBytes((built / name).string(), bytes);
  } catch (...) {
    std::error_code ignored;
    fs::remove_all(built, ignored);
    throw;
  }
  ReplaceFolder(built, target, steps);
}

}  // namespace

TBuildSummary BuildLexicon(const std::string& folder, const std::vector<TLanguageSource>& sources,
                           const TBuildOptions& options, std::ostream& log,
                           const TFolderSteps& steps) {
  const fs::path target = fs::absolute(folder);
  RecoverInterruptedSwap(target, log);
  std::vector<TCollected> languages;
  std::set<std::string> named;
  for (const auto& source : sources) {
    if (!named.insert(source.Language).second) {
      throw std::runtime_error("language \"" + source.Language + "\" given twice");
    }
    languages.push_back(Collect(source, options, log));
  }

  const std::vector<std::string> dropped = LanguageFilesDropped(target, languages);

  std::set<std::string> all;
  for (const auto& language : languages) {
    for (const auto& [key, text] : language.Texts) all.insert(key);
  }
  const TLexiconIndex index(std::vector<std::string>(all.begin(), all.end()));

  TBuildSummary summary;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  files.emplace_back(ToUtf8(IndexFileName), index.FileBytes());
  summary.IndexHeadwords = index.WordCount();
  summary.IndexBytes = files.back().second.size();
  for (auto& language : languages) {
    log << "Packing " << language.Summary.FileName << std::endl;
    TLanguageFileBuilder builder(index, options.Sharing);
    for (const auto& [key, text] : language.Texts) builder.Set(key, PackText(text));
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
  fs::create_directories(target.parent_path());
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
  }
}

}  // namespace parlivo
