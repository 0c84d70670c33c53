// Gold lists: for words drawn from a frequency list, the translations (or, for English,
// the definitions) that a reader of the language accepts as a right first one, and how
// a lexicon's rows fare against them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace parlivo {

struct TGoldWord {
  std::string Word;                   // the English headword
  std::vector<std::string> Accepted;  // UTF-8; empty: no sense qualifies
  bool Skipped = false;               // not a word a user looks up
};

// "word<TAB>a|b|c" lines; SKIP and NONE in place of the list. Throws std::runtime_error
// when the file cannot be read or a line has no tab.
std::vector<TGoldWord> ReadGoldList(const std::string& path);

// How a row's text (Latin-1, as the lexicon stores it) fares against a gold word.
enum class TGoldVerdict { FirstRight, LaterRight, NothingRight };
TGoldVerdict JudgeAgainstGold(std::string_view latin1Text, const TGoldWord& gold, bool definitions);

// The translation as compared: Latin-1, lower case, without notes in brackets, a
// leading article or the marks the lexicon puts before a text.
std::string ComparableTranslation(std::string_view latin1);

// A row's translations, or for definitions its definitions, in order, marks removed.
std::vector<std::string> RowItems(std::string_view latin1Text, bool definitions);

}  // namespace parlivo
