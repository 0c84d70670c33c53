#include "TextPacker.h"

#include <string>

namespace parlivo {

namespace {

// The reader's letter groups as single bytes, index 1 to 31 (0 is "<0>", never used).
constexpr std::string_view kGroups[32] = {"<0>", "ion", "ies", "ing", "ous", "ses", "al", "an",
                                          "at",  "ed",  "en",  "er",  "es",  "ia",  "ic", "ie",
                                          "in",  "io",  "is",  "it",  "le",  "ly",  "ne", "on",
                                          "or",  "ra",  "se",  "ss",  "st",  "te",  "ti", "th"};

struct Piece {
  uint8_t Code;     // group index 1..31, or a character 32..255
  size_t Consumed;  // characters of the text it stands for
  bool CanBeHigh() const { return Code < 128; }
};

bool IsSeparatorAt(std::string_view text, size_t i) {
  return (text[i] == ',' || text[i] == ';') && i + 1 < text.size() && text[i + 1] == ' ';
}

// Why the packed form cannot hold the text, or nullptr when it can.
const char* Unpackable(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto ch = static_cast<uint8_t>(text[i]);
    if (ch < 32) return "control character in text";
    if (ch == ',' || ch == ';') {
      if (!IsSeparatorAt(text, i)) return "comma or semicolon without a following space";
      ++i;
    }
  }
  if (CountedLength(text) > kMaxCountedLength) return "text longer than 255 characters";
  return nullptr;
}

// The groups by their first character, three-letter groups before two-letter ones, so
// that the longest group that fits is found first.
struct TGroupsByFirst {
  uint8_t Count[256] = {};
  uint8_t Groups[256][16] = {};  // 'i' starts ten of them
};

constexpr TGroupsByFirst MakeGroupsByFirst() {
  TGroupsByFirst table;
  for (size_t length : {size_t{3}, size_t{2}}) {
    for (uint8_t g = 1; g < 32; ++g) {
      if (kGroups[g].size() != length) continue;
      const auto first = static_cast<uint8_t>(kGroups[g][0]);
      table.Groups[first][table.Count[first]++] = g;
    }
  }
  return table;
}

constexpr TGroupsByFirst kGroupsByFirst = MakeGroupsByFirst();

Piece NextPiece(std::string_view text, size_t i) {
  if (IsSeparatorAt(text, i)) return {static_cast<uint8_t>(text[i]), 2};
  const auto first = static_cast<uint8_t>(text[i]);
  for (uint8_t k = 0; k < kGroupsByFirst.Count[first]; ++k) {
    const std::string_view group = kGroups[kGroupsByFirst.Groups[first][k]];
    if (text.substr(i, group.size()) == group)
      return {kGroupsByFirst.Groups[first][k], group.size()};
  }
  return {first, 1};
}

}  // namespace

size_t CountedLength(std::string_view latin1) {
  size_t count = 0;
  for (size_t i = 0; i < latin1.size(); ++i, ++count) {
    if (IsSeparatorAt(latin1, i)) ++i;
  }
  return count;
}

bool IsPackable(std::string_view latin1) {
  return Unpackable(latin1) == nullptr;
}

TPackedText PackText(std::string_view latin1) {
  if (const char* reason = Unpackable(latin1)) throw EUnpackableText(reason);
  TPackedText packed{static_cast<uint8_t>(CountedLength(latin1))};
  size_t i = 0;
  while (i < latin1.size()) {
    const Piece low = NextPiece(latin1, i);
    i += low.Consumed;
    uint8_t high = 0;
    if (i < latin1.size()) {
      const Piece next = NextPiece(latin1, i);
      if (next.CanBeHigh()) {
        high = next.Code;
        i += next.Consumed;
      }
    }
    const uint16_t word = static_cast<uint16_t>(0x8000 | (high << 8) | low.Code);
    packed.push_back(static_cast<uint8_t>(word & 0xFF));
    packed.push_back(static_cast<uint8_t>(word >> 8));
  }
  return packed;
}

}  // namespace parlivo
