#include "Search.h"

#include <array>

#include "Folding.h"
#include "Translator.h"

namespace parlivo {

namespace {

// The characters of text that isLetter keeps, in order.
template <class TIsLetter>
String16 Kept(StringView16 text, TIsLetter isLetter) {
  String16 letters;
  letters.reserve(text.size());
  for (Char16 ch : text) {
    if (isLetter(ch)) letters.push_back(ch);
  }
  return letters;
}

}  // namespace

String16 LettersOnly(StringView16 text) {
  return Kept(text, IsLetter);
}

String16 LettersOnly(StringView16 text, TDirection direction) {
  if (direction == TDirection::FromEnglish) return LettersOnly(text);
  return Kept(text, IsLanguageLetter);
}

void AppendResultRow(String16& row, StringView16 headword, StringView16 text) {
  row.reserve(row.size() + headword.size() + 1 + text.size());
  row.append(headword);
  row.push_back(Char16{'='});
  row.append(text);
}

String16 ResultRow(StringView16 headword, StringView16 text) {
  String16 row;
  AppendResultRow(row, headword, text);
  return row;
}

size_t SearchTypedWord(TTranslator& translator, StringView16 typedWord, const TRowSink& addRow,
                       TDirection direction) {
  if (typedWord.empty() || typedWord.size() > kMaxQueryLength) return 0;
  // The word in lower case, or its key, then the spaces: all queries of a keystroke in
  // one place.
  std::array<Char16, kMaxQueryLength> query;
  query.fill(Char16{' '});
  size_t length = typedWord.size();
  if (direction == TDirection::FromEnglish) {
    for (size_t i = 0; i < typedWord.size(); ++i) {
      const Char16 ch = typedWord[i];
      query[i] = ch >= 'A' && ch <= 'Z' ? static_cast<Char16>(ch + 32) : ch;
    }
  } else {
    // No key is longer than the longest query: one that is would find nothing.
    length = FoldInto(typedWord, query.data(), query.size());
    if (length > kMaxQueryLength) return 0;
  }
  size_t rows = 0;
  translator.TranslateEachLength(StringView16(query.data(), query.size()), length, [&] {
    const auto& words = translator.Words();
    const auto& texts = translator.Translations();
    for (size_t i = 0; i < words.size(); ++i) addRow(words[i], texts[i]);
    rows += words.size();
  });
  return rows;
}

}  // namespace parlivo
