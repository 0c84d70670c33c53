#include "Text.h"

#include <cstdint>

namespace parlivo {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(String16& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<Char16>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<Char16>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<Char16>(0xDC00 + (cp & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

String16 FromUtf8(std::string_view utf8) {
  String16 out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    const auto lead = static_cast<uint8_t>(utf8[i]);
    const size_t extra = lead < 0x80           ? 0
                         : (lead >> 5) == 0x6  ? 1
                         : (lead >> 4) == 0xE  ? 2
                         : (lead >> 3) == 0x1E ? 3
                                               : 4;
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = extra < 4 && i + extra < utf8.size();
    for (size_t k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<uint8_t>(utf8[i + k]);
      valid = (next & 0xC0) == 0x80;
      cp = (cp << 6) | (next & 0x3F);
    }
    // The shortest form only: an overlong one ("\xC0\xAF" for '/') is invalid.
    constexpr char32_t kShortest[] = {0, 0x80, 0x800, 0x10000};
    valid = valid && cp >= kShortest[extra];
    if (!valid || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      AppendUtf16(out, kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, cp);
    i += extra + 1;
  }
  return out;
}

std::string ToUtf8(StringView16 text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t cp = static_cast<uint16_t>(text[i]);
    if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < text.size()) {
      const char32_t low = static_cast<uint16_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (cp >= 0xD800 && cp < 0xE000) cp = kReplacement;
    AppendUtf8(out, cp);
  }
  return out;
}

String16 FromLatin1(std::string_view latin1) {
  String16 out(latin1.size(), Char16{});
  for (size_t i = 0; i < latin1.size(); ++i) out[i] = static_cast<uint8_t>(latin1[i]);
  return out;
}

}  // namespace parlivo
