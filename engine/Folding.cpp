#include "Folding.h"

#include <string_view>

namespace parlivo {

namespace {

// What À (U+00C0) to ÿ (U+00FF) fold to; empty for the characters that are no letter
// of the languages: ×, ÷, ð, þ and their capitals.
constexpr std::string_view kLatin1Folds[64] = {
    "a", "a", "a", "a", "a", "a", "ae", "c",   // À Á Â Ã Ä Å Æ Ç
    "e", "e", "e", "e", "i", "i", "i",  "i",   // È É Ê Ë Ì Í Î Ï
    "",  "n", "o", "o", "o", "o", "o",  "",    // Ð Ñ Ò Ó Ô Õ Ö ×
    "o", "u", "u", "u", "u", "y", "",   "ss",  // Ø Ù Ú Û Ü Ý Þ ß
    "a", "a", "a", "a", "a", "a", "ae", "c",   // à á â ã ä å æ ç
    "e", "e", "e", "e", "i", "i", "i",  "i",   // è é ê ë ì í î ï
    "",  "n", "o", "o", "o", "o", "o",  "",    // ð ñ ò ó ô õ ö ÷
    "o", "u", "u", "u", "u", "y", "",   "y",   // ø ù ú û ü ý þ ÿ
};

// The ASCII a letter folds to; empty for a character that is no letter of the languages.
std::string_view FoldOf(Char16 ch) noexcept {
  static constexpr char kLower[] = "abcdefghijklmnopqrstuvwxyz";
  if (ch >= 'a' && ch <= 'z') return {kLower + (ch - 'a'), 1};
  if (ch >= 'A' && ch <= 'Z') return {kLower + (ch - 'A'), 1};
  if (ch >= 0xC0 && ch <= 0xFF) return kLatin1Folds[ch - 0xC0];
  if (ch == 0x152 || ch == 0x153) return "oe";  // Œ œ
  if (ch == 0x178) return "y";                  // Ÿ
  return {};
}

}  // namespace

bool IsLanguageLetter(Char16 ch) noexcept {
  return !FoldOf(ch).empty();
}

size_t FoldInto(StringView16 word, Char16* out, size_t room) noexcept {
  size_t length = 0;
  auto put = [&](Char16 unit) {
    if (length < room) out[length] = unit;
    ++length;
  };
  for (const Char16 ch : word) {
    const std::string_view fold = FoldOf(ch);
    if (fold.empty()) {
      put(ch);
      continue;
    }
    for (const char unit : fold) put(static_cast<Char16>(unit));
  }
  return length;
}

String16 FoldedKey(StringView16 word) {
  String16 key(2 * word.size(), Char16{});
  key.resize(FoldInto(word, key.data(), key.size()));
  return key;
}

}  // namespace parlivo
