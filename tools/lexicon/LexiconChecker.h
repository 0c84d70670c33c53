// Validates an index file and language files against every rule the reader trusts,
// for our own builds and for lexicons from elsewhere.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace parlivo {

struct TCheckReport {
  std::vector<std::string> Problems;  // the first ones found, each naming file and place
  size_t ProblemCount = 0;            // all of them
  bool Ok() const { return ProblemCount == 0; }
};

TCheckReport CheckLexicon(const std::string& indexPath,
                          const std::vector<std::string>& languagePaths, size_t maxReported = 20);

// A lexicon folder as parlivo-check-lexicon checks it: Index.plv with whatever stands
// under a language file's name, then each set of the other direction of which either
// file stands there, its index with its language file (a missing one is reported).
struct TFolderCheck {
  TCheckReport Report;
  size_t LanguageFiles = 0;  // checked with Index.plv
  size_t ReverseSets = 0;
};
TFolderCheck CheckLexiconFolder(const std::filesystem::path& folder, size_t maxReported = 20);

}  // namespace parlivo
