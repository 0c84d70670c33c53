// Packing of entry texts: a length byte that counts ", " and "; " as one character,
// then 16-bit code words of two pieces each, pieces being single characters or the
// reader's letter groups.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace parlivo {

using TPackedText = std::vector<uint8_t>;

// A text the packed form cannot hold.
class EUnpackableText : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

inline constexpr size_t kMaxCountedLength = 255;

// Characters of a Latin-1 text as the length byte counts them.
size_t CountedLength(std::string_view latin1);

// Whether PackText accepts the text: no character below U+0020, every comma and
// semicolon followed by a space, at most kMaxCountedLength counted characters.
bool IsPackable(std::string_view latin1);

// Packs a Latin-1 text (one byte per code point); throws EUnpackableText.
TPackedText PackText(std::string_view latin1);

}  // namespace parlivo
