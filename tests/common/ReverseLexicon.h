// Lexicons of the other direction for tests, written with the lexicon builder's writer:
// a language's words filed under their keys, each record's first text the word as it is
// spelt, its second the English text.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace parlivo::test {

struct TReverseEntry {
  std::string Key;    // as the index files it: lower case ASCII, "schon2" after "schon"
  std::string Spelt;  // UTF-8, as the word is written: "schön"; empty for none
  std::string Text;   // the English text, UTF-8
};

// Writes the reverse set of a language (IndexGerman.plv and GermanEnglish.plv for
// "German") into folder, which is created if need be.
void WriteReverseSet(const std::filesystem::path& folder, const std::string& language,
                     const std::vector<TReverseEntry>& entries);

}  // namespace parlivo::test
