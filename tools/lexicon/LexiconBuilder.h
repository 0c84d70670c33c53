// Builds a whole lexicon folder, Index.plv and one file per language, from dictionary
// sources, and says what it stored and what it left out.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "FolderSwap.h"
#include "LexiconWriter.h"
#include "SourceEntry.h"

namespace parlivo {

// Freedict, Wordnet and TabSeparated give English headwords their texts; Reversed is a
// dictionary of the language to English, turned around; Pivot a dictionary of another
// language (German unless said) to this one, reached through the build's English
// dictionary of that language.
// Inflected gives the forms of an English word list (one a line) that no earlier source
// gave a text the text of their base word ("accepted" that of "accept"), marked.
enum class TSourceFormat { Freedict, Wordnet, TabSeparated, Reversed, Pivot, Inflected };
const char* FormatName(TSourceFormat format);

struct TLanguageSource {
  std::string Language;  // one of the language table's names
  TSourceFormat Format;
  std::string Path;  // dictd: the path without .index/.dict; tab-separated: the file
  // Pivot: the language passed through, whose first freedict source in the same build
  // gives the first leg.
  std::string Via = "German";
};

inline constexpr double kDefaultPivotThreshold = 1.0;

struct TBuildOptions {
  size_t MaxTextLength = 255;  // counted characters
  TSharing Sharing = TSharing::EqualOffsets;
  // The score a translation through German needs to be kept, chosen per language from
  // the measured precision (parlivo-measure-lexicon); the default where none is given.
  double PivotThreshold = kDefaultPivotThreshold;
  // Where inflected sources find WordNet's database (index.noun, verb.exc, ...).
  std::string WordNetFolder = "/usr/share/wordnet";
  std::map<std::string, double> PivotThresholds;
  double PivotThresholdOf(const std::string& language) const {
    const auto given = PivotThresholds.find(language);
    return given == PivotThresholds.end() ? PivotThreshold : given->second;
  }
};

// What one source gave a language: the headwords that had no text from an earlier one.
struct TSourceSummary {
  std::string Format;
  std::string Path;
  size_t Headwords = 0;
};

struct TLanguageSummary {
  std::string Language;
  std::string FileName;
  size_t SourceEntries = 0;
  size_t Headwords = 0;  // headwords with a text in this language
  size_t Records = 0;
  size_t SharedEntries = 0;
  size_t Bytes = 0;
  size_t NoLatin1Form = 0;
  size_t LongerThan30 = 0;
  size_t UnreachableStart = 0;
  size_t NoText = 0;
  std::vector<TSourceSummary> Sources;  // in order of trust
};

struct TBuildSummary {
  size_t IndexHeadwords = 0;
  size_t IndexBytes = 0;
  std::vector<TLanguageSummary> Languages;
  std::vector<std::string> Removed;  // language files of the old set not built again
};

// Reads every source and replaces folder with the new set as a whole: Index.plv and
// the languages given. Language files of the old set that are not built again are
// removed with it, since they belong to the old index; a folder holding anything but
// lexicon files is refused. Returns the summary; progress goes to log. Throws
// std::runtime_error (ELexiconLimit when a file would break a limit of the format)
// with the old set left complete; a source that cannot be read or yields no headword
// is such an error.
TBuildSummary BuildLexicon(const std::string& folder, const std::vector<TLanguageSource>& sources,
                           const TBuildOptions& options, std::ostream& log,
                           const TFolderSteps& steps = TFolderSteps::System());

void PrintSummary(const TBuildSummary& summary, std::ostream& out);

// A source's entries as read, parsed after its format.
std::vector<TSourceEntry> ReadSource(const TLanguageSource& source, std::ostream& log);

// A source's items for each stored headword, its main senses first; what it leaves out
// is counted into summary.
struct TSourceItems {
  size_t Entries = 0;
  std::map<std::string, std::vector<std::string>> Items;
};
TSourceItems ReadItems(const TLanguageSource& source, TLanguageSummary& summary, std::ostream& log);

}  // namespace parlivo
