#include "Latin1.h"

#include <algorithm>
#include <cstdint>

#include "Text.h"

namespace parlivo {

namespace {

// U+0100 to U+017F (Latin Extended-A) without their marks.
constexpr std::string_view kExtendedA[128] = {
    "A", "a", "A",  "a",  "A", "a", "C", "c", "C", "c", "C", "c", "C", "c", "D", "d",   // 0100
    "D", "d", "E",  "e",  "E", "e", "E", "e", "E", "e", "E", "e", "G", "g", "G", "g",   // 0110
    "G", "g", "G",  "g",  "H", "h", "H", "h", "I", "i", "I", "i", "I", "i", "I", "i",   // 0120
    "I", "i", "IJ", "ij", "J", "j", "K", "k", "k", "L", "l", "L", "l", "L", "l", "L",   // 0130
    "l", "L", "l",  "N",  "n", "N", "n", "N", "n", "n", "N", "n", "O", "o", "O", "o",   // 0140
    "O", "o", "OE", "oe", "R", "r", "R", "r", "R", "r", "S", "s", "S", "s", "S", "s",   // 0150
    "S", "s", "T",  "t",  "T", "t", "T", "t", "U", "u", "U", "u", "U", "u", "U", "u",   // 0160
    "U", "u", "U",  "u",  "W", "w", "Y", "y", "Y", "Z", "z", "Z", "z", "Z", "z", "s"};  // 0170

std::optional<std::string_view> Replacement(char32_t cp) {
  if (cp >= 0x100 && cp < 0x180) return kExtendedA[cp - 0x100];
  if (cp >= 0x300 && cp < 0x370) return std::string_view();  // combining marks
  switch (cp) {
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2212:
      return "-";
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x2032:
      return "'";
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x2033:
      return "\"";
    case 0x2026:
      return "...";
    case 0x2022:
      return "*";
    case 0x20AC:
      return "EUR";
    case 0x2122:
      return "(TM)";
    case 0x200B:
    case 0x200C:
    case 0x200D:
    case 0xFEFF:
      return std::string_view();
    case 0x2002:
    case 0x2003:
    case 0x2009:
    case 0x202F:
      return " ";
    case 0x0192:
      return "f";
    case 0x01CD:
      return "A";
    case 0x01CE:
      return "a";
    case 0x01D0:
      return "i";
    case 0x01D2:
      return "o";
    case 0x01D4:
      return "u";
    case 0x0218:
      return "S";
    case 0x0219:
      return "s";
    case 0x021A:
      return "T";
    case 0x021B:
      return "t";
    default:
      return std::nullopt;
  }
}

}  // namespace

std::optional<std::string> ToLatin1(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const Char16 unit : FromUtf8(utf8)) {
    const auto cp = static_cast<char32_t>(unit);
    if (cp < 0x100) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    // Invalid UTF-8 arrives as U+FFFD and characters beyond U+FFFF as surrogates:
    // neither has a replacement.
    const auto replacement = Replacement(cp);
    if (!replacement) return std::nullopt;
    out.append(*replacement);
  }
  return out;
}

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& ch : out)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return out;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
  auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::string Latin1Lower(std::string_view latin1) {
  std::string out(latin1);
  for (char& ch : out) {
    const auto c = static_cast<uint8_t>(ch);
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
      ch = static_cast<char>(c + 32);
  }
  return out;
}

bool StartsWithCapital(std::string_view utf8) {
  if (utf8.empty()) return false;
  const auto first = static_cast<unsigned char>(utf8[0]);
  if (first >= 'A' && first <= 'Z') return true;
  // Latin-1's capitals, À to Þ, are C3 80 to C3 9E in UTF-8; C3 97 is ×.
  if (first != 0xC3 || utf8.size() < 2) return false;
  const auto second = static_cast<unsigned char>(utf8[1]);
  return second >= 0x80 && second <= 0x9E && second != 0x97;
}

}  // namespace parlivo
