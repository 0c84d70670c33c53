// The letters a word of German, French, Dutch, Italian, Spanish or Portuguese is typed
// with, and the key under which the index of the other direction files it: the word in
// lower case with its accents folded to ASCII, so that "hauser" and "häuser" both reach
// "Häuser" whichever way the user types it.
#pragma once

#include <cstddef>

#include "Text.h"

namespace parlivo {

// A to Z, a to z, and the accented letters the six languages' words are spelt with:
// those of Latin-1 (not ð, þ and their capitals, which none of them uses) and œ, Œ, Ÿ.
bool IsLanguageLetter(Char16 ch) noexcept;

// Writes the key of a word into out, which has room for room units: lower case, and
// ä, à, â, á, ã, å → a, ç → c, é, è, ê, ë → e, î, ï, í, ì → i, ñ → n, ô, ö, ó, ò, õ,
// ø → o, û, ü, ú, ù → u, ÿ, ý → y, ß → ss, æ → ae, œ → oe, capitals alike. Characters
// that are no such letter stay as they are. Returns the key's whole length, which is
// more than room where the key does not fit (ß, æ and œ lengthen a word).
size_t FoldInto(StringView16 word, Char16* out, size_t room) noexcept;

// The key of a word, whole.
String16 FoldedKey(StringView16 word);

}  // namespace parlivo
