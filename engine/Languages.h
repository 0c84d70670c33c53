// The target languages in the order in which every pass over them runs: the name
// (also the button's hint and the saved value), the lexicon file and the picture, and
// the two files of the other direction, the language's words looked up in English.
#pragma once

#include "Text.h"

namespace parlivo {

struct TLanguage {
  StringView16 Name;
  StringView16 FileName;
  int Picture;  // index into the tool bar's picture list
  // The index of the language's words, by their keys (lower case, accents folded), and
  // its language file of English texts; empty for English, which has no other direction.
  StringView16 ReverseIndexFileName;
  StringView16 ReverseFileName;
};

inline constexpr TLanguage Languages[] = {
    {PLV_TEXT("German"), PLV_TEXT("German.plv"), 2, PLV_TEXT("IndexGerman.plv"),
     PLV_TEXT("GermanEnglish.plv")},
    {PLV_TEXT("French"), PLV_TEXT("French.plv"), 3, PLV_TEXT("IndexFrench.plv"),
     PLV_TEXT("FrenchEnglish.plv")},
    {PLV_TEXT("Dutch"), PLV_TEXT("Dutch.plv"), 4, PLV_TEXT("IndexDutch.plv"),
     PLV_TEXT("DutchEnglish.plv")},
    {PLV_TEXT("Italian"), PLV_TEXT("Italian.plv"), 5, PLV_TEXT("IndexItalian.plv"),
     PLV_TEXT("ItalianEnglish.plv")},
    {PLV_TEXT("Spanish"), PLV_TEXT("Spanish.plv"), 6, PLV_TEXT("IndexSpanish.plv"),
     PLV_TEXT("SpanishEnglish.plv")},
    {PLV_TEXT("Portuguese"), PLV_TEXT("Portuguese.plv"), 7, PLV_TEXT("IndexPortuguese.plv"),
     PLV_TEXT("PortugueseEnglish.plv")},
    {PLV_TEXT("English"), PLV_TEXT("English.plv"), 0, {}, {}},
};

inline constexpr StringView16 IndexFileName = PLV_TEXT("Index.plv");

// Which way the words go: English headwords with texts in the language, or the
// language's words with English texts.
enum class TDirection { FromEnglish, ToEnglish };

// The index and the language file that a lookup in a direction reads.
struct TFileSet {
  StringView16 Index;
  StringView16 Data;
};

// Whether the language has a direction towards English at all (its files may still be
// missing).
constexpr bool HasReverse(const TLanguage& language) {
  return !language.ReverseFileName.empty();
}

// The files of a language in a direction; towards English, those of its reverse set
// (none for English).
constexpr TFileSet FilesOf(const TLanguage& language, TDirection direction) {
  if (direction == TDirection::FromEnglish) return {IndexFileName, language.FileName};
  return {language.ReverseIndexFileName, language.ReverseFileName};
}

// The row of a language name (exact, case-sensitive), or nullptr.
constexpr const TLanguage* FindLanguage(StringView16 name) {
  for (const TLanguage& language : Languages) {
    if (language.Name == name) return &language;
  }
  return nullptr;
}

}  // namespace parlivo
