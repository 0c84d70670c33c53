// Windows-1252, the ANSI code page of Western European Windows installations. The
// five bytes it leaves undefined map to the control characters of the same number,
// as Windows' own conversion maps them.
#include <cstdint>

#include "AnsiCodePage.h"

namespace parlivo {

namespace {

constexpr char16_t kHighHalf[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t FromByte(uint8_t byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighHalf[byte - 0x80] : char16_t{byte};
}

char ToByte(char16_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<char>(ch);
  for (int i = 0; i < 32; ++i) {
    if (kHighHalf[i] == ch) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ToAnsi(StringView16 text) {
  std::string out(text.size(), '\0');
  for (size_t i = 0; i < text.size(); ++i) out[i] = ToByte(static_cast<char16_t>(text[i]));
  return out;
}

size_t FromAnsiInto(std::string_view bytes, Char16* out) {
  for (size_t i = 0; i < bytes.size(); ++i) out[i] = FromByte(static_cast<uint8_t>(bytes[i]));
  return bytes.size();
}

String16 FromAnsi(std::string_view bytes) {
  String16 out(bytes.size(), Char16{});
  FromAnsiInto(bytes, out.data());
  return out;
}

}  // namespace parlivo
