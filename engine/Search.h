// The series of lookups behind one change of the word box, shared by the window and
// the command-line lookup so that the two always list the same rows.
#pragma once

#include <functional>

#include "Languages.h"
#include "Text.h"

namespace parlivo {

class TTranslator;

// The longest query; a typed word of more letters gives no query at all.
inline constexpr size_t kMaxQueryLength = 30;

// ASCII A to Z and a to z; everything else, accented letters included, is not.
constexpr bool IsLetter(Char16 ch) noexcept {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// The text with every non-letter removed, the letters in order and case.
String16 LettersOnly(StringView16 text);
// The same for a word typed in a direction: towards English the accented letters of the
// languages count as letters too (IsLanguageLetter).
String16 LettersOnly(StringView16 text, TDirection direction);

// "headword=text", the form in which a result pair is listed; appended to row, so that
// a kept string can take it without allocating.
String16 ResultRow(StringView16 headword, StringView16 text);
void AppendResultRow(String16& row, StringView16 headword, StringView16 text);

// The views are valid during the call only.
using TRowSink = std::function<void(StringView16 headword, StringView16 text)>;

// Looks the typed letters up as the word in lower case and then padded with 1, 2, ...
// spaces up to kMaxQueryLength characters, shortest first, and hands every pair found
// to addRow in that order. Returns the number of pairs. Towards English the word is
// looked up by its key (FoldInto), which must not be longer than kMaxQueryLength either;
// the translator then reads a reverse set, its headwords as spelt.
size_t SearchTypedWord(TTranslator& translator, StringView16 typedWord, const TRowSink& addRow,
                       TDirection direction = TDirection::FromEnglish);

}  // namespace parlivo
