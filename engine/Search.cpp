#include "Search.h"

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

String16 ResultRow(StringView16 headword, StringView16 text) {
  String16 row;
  row.reserve(headword.size() + 1 + text.size());
  row.append(headword);
  row.push_back(Char16{'='});
  row.append(text);
  return row;
}

size_t SearchTypedWord(TTranslator& translator, StringView16 typedWord, const TRowSink& addRow) {
  if (typedWord.empty() || typedWord.size() > kMaxQueryLength) return 0;
  String16 query;
  query.reserve(kMaxQueryLength);
  for (Char16 ch : typedWord)
    query.push_back(ch >= 'A' && ch <= 'Z' ? static_cast<Char16>(ch + 32) : ch);
  size_t rows = 0;
  for (;;) {
    if (translator.Translate(query) == trFound) {
      const auto& words = translator.Words();
      const auto& texts = translator.Translations();
      for (size_t i = 0; i < words.size(); ++i) addRow(words[i], texts[i]);
      rows += words.size();
    }
    if (query.size() >= kMaxQueryLength) break;
    query.push_back(Char16{' '});
  }
  return rows;
}

}  // namespace parlivo
