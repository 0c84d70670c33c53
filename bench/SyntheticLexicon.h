// A made-up lexicon of English-looking headwords with German-looking texts, large
// enough to measure lookups the way a real dictionary loads them.
#pragma once

#include <string>
#include <vector>

namespace parlivo::bench {

struct TSyntheticLexicon {
  std::vector<std::string> Headwords;  // distinct, in no particular order
  std::vector<std::string> Texts;      // parallel to Headwords
};

TSyntheticLexicon MakeSyntheticLexicon(size_t headwords, unsigned seed);

// Writes Index.plv and German.plv into folder.
void WriteSyntheticLexicon(const TSyntheticLexicon& lexicon, const std::string& folder);

}  // namespace parlivo::bench
