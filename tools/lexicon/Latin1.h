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

// Lower case for Latin-1 letters (A-Z and À-Þ except ×).
std::string Latin1Lower(std::string_view latin1);

}  // namespace parlivo
