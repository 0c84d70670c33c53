// Text as the program sees it: sequences of UTF-16 code units. On Windows this is
// wchar_t, so strings pass straight to the W functions; elsewhere char16_t keeps the
// same lengths and positions.
#pragma once

#include <string>
#include <string_view>

namespace parlivo {

#ifdef _WIN32
using Char16 = wchar_t;
#define PLV_TEXT(s) L##s
#else
using Char16 = char16_t;
#define PLV_TEXT(s) u##s
#endif

using String16 = std::basic_string<Char16>;
using StringView16 = std::basic_string_view<Char16>;

static_assert(sizeof(Char16) == 2, "text is held as 16-bit code units");

// UTF-8 <-> UTF-16 for file names, console output and exception texts.
String16 FromUtf8(std::string_view utf8);
std::string ToUtf8(StringView16 text);

// Latin-1 bytes (one byte per code point 0..255) <-> text.
String16 FromLatin1(std::string_view latin1);

}  // namespace parlivo
