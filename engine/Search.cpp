#include "Search.h"

#include <array>

#include "Translator.h"

namespace parlivo {

String16 LettersOnly(StringView16 text) {
  String16 letters;
  letters.reserve(text.size());
  for (Char16 ch : text) {
    if (IsLetter(ch)) letters.push_back(ch);
  }
  return letters;
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

size_t SearchTypedWord(TTranslator& translator, StringView16 typedWord, const TRowSink& addRow) {
  if (typedWord.empty() || typedWord.size() > kMaxQueryLength) return 0;
  // The word in lower case, then the spaces: all queries of a keystroke in one place.
  std::array<Char16, kMaxQueryLength> query;
  query.fill(Char16{' '});
  for (size_t i = 0; i < typedWord.size(); ++i) {
    const Char16 ch = typedWord[i];
    query[i] = ch >= 'A' && ch <= 'Z' ? static_cast<Char16>(ch + 32) : ch;
  }
  size_t rows = 0;
  translator.TranslateEachLength(StringView16(query.data(), query.size()), typedWord.size(), [&] {
    const auto& words = translator.Words();
    const auto& texts = translator.Translations();
    for (size_t i = 0; i < words.size(); ++i) addRow(words[i], texts[i]);
    rows += words.size();
  });
  return rows;
}

}  // namespace parlivo
