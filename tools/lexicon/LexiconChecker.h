// Validates an index file and language files against every rule the reader trusts,
// for our own builds and for lexicons from elsewhere.
#pragma once

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

}  // namespace parlivo
