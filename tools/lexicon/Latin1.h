// Bringing text from dictionary sources into Latin-1, the only characters the packed
// text form holds: characters beyond it become their closest Latin-1 spelling.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace parlivo {

// UTF-8 to Latin-1 bytes; nullopt when a character has no sensible Latin-1 form
// (Greek, Cyrillic, phonetic symbols, ...). Combining marks are dropped and invalid
// UTF-8 counts as unmappable.
std::optional<std::string> ToLatin1(std::string_view utf8);

// A to Z, a to z and Latin-1's accented letters, À to ÿ but × and ÷.
constexpr bool IsLatin1Letter(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7);
}

// Lower case for Latin-1 letters (A-Z and À-Þ except ×).
std::string Latin1Lower(std::string_view latin1);

// Lower case for A-Z only, every other byte as it is: safe on UTF-8.
std::string AsciiLower(std::string_view text);
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Whether a UTF-8 word begins with a capital of Latin-1: A to Z, or À to Þ but ×.
bool StartsWithCapital(std::string_view utf8);

}  // namespace parlivo
