// The platform's single-byte (ANSI) code page, through which the index's tails and
// the first characters of a query pass: the system's code page on Windows,
// Windows-1252 elsewhere.
#pragma once

#include <string>
#include <string_view>

#include "Text.h"

namespace parlivo {

// Characters the code page lacks become '?', as the system's conversion does.
std::string ToAnsi(StringView16 text);
String16 FromAnsi(std::string_view bytes);
// FromAnsi into out, which has room for bytes.size() units (no code page gives more
// than one a byte); returns the units written.
size_t FromAnsiInto(std::string_view bytes, Char16* out);

}  // namespace parlivo
