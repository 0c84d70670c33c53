// The target languages in the order in which every pass over them runs: the name
// (also the button's hint and the saved value), the lexicon file and the picture.
#pragma once

#include "Text.h"

namespace parlivo {

struct TLanguage {
  StringView16 Name;
  StringView16 FileName;
  int Picture;  // index into the tool bar's picture list
};

inline constexpr TLanguage Languages[] = {
    {PLV_TEXT("German"), PLV_TEXT("German.plv"), 2},
    {PLV_TEXT("French"), PLV_TEXT("French.plv"), 3},
    {PLV_TEXT("Dutch"), PLV_TEXT("Dutch.plv"), 4},
    {PLV_TEXT("Italian"), PLV_TEXT("Italian.plv"), 5},
    {PLV_TEXT("Spanish"), PLV_TEXT("Spanish.plv"), 6},
    {PLV_TEXT("Portuguese"), PLV_TEXT("Portuguese.plv"), 7},
    {PLV_TEXT("English"), PLV_TEXT("English.plv"), 0},
};

inline constexpr StringView16 IndexFileName = PLV_TEXT("Index.plv");

// The row of a language name (exact, case-sensitive), or nullptr.
constexpr const TLanguage* FindLanguage(StringView16 name) {
  for (const TLanguage& language : Languages) {
    if (language.Name == name) return &language;
  }
  return nullptr;
}

}  // namespace parlivo
