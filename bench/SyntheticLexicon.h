// Made-up lexicons large enough to measure lookups the way a real dictionary loads
// them: English-looking headwords with German-looking texts, and for the other
// direction German-looking words, spelt with capitals and accents and filed under their
// keys, with English-looking texts.
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

struct TSyntheticReverseLexicon {
  std::vector<std::string> Keys;   // distinct, lower case ASCII
  std::vector<std::string> Spelt;  // Latin-1, parallel to Keys: "Stra\xDFe" for "strasse"
  std::vector<std::string> Texts;  // parallel to Keys
};

// The English lexicon of the same size and seed turned round: its headwords as the keys
// of German-spelt words, its texts as theirs.
TSyntheticReverseLexicon MakeSyntheticReverseLexicon(size_t words, unsigned seed);

// Writes IndexGerman.plv and GermanEnglish.plv into folder.
void WriteSyntheticReverseLexicon(const TSyntheticReverseLexicon& lexicon,
                                  const std::string& folder);

}  // namespace parlivo::bench
