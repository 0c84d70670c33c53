// Builds a whole lexicon folder, Index.plv and one file per language, from dictionary
// sources, and says what it stored and what it left out.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "FolderSwap.h"
#include "LexiconWriter.h"

namespace parlivo {

enum class TSourceFormat { Freedict, Wordnet, TabSeparated };

struct TLanguageSource {
  std::string Language;  // one of the language table's names
  TSourceFormat Format;
  std::string Path;  // dictd: the path without .index/.dict; tab-separated: the file
};

struct TBuildOptions {
  size_t MaxTextLength = 255;  // counted characters
  TSharing Sharing = TSharing::EqualOffsets;
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

}  // namespace parlivo
