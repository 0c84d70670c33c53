#include <windows.h>

#include <algorithm>

#include "AnsiCodePage.h"

namespace parlivo {

std::string ToAnsi(StringView16 text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int needed =
      WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(needed > 0 ? needed : 0), '\0');
  if (needed > 0)
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), needed, nullptr, nullptr);
  return out;
}

size_t FromAnsiInto(std::string_view bytes, Char16* out) {
  // Every ANSI code page is a superset of ASCII.
  if (std::all_of(bytes.begin(), bytes.end(),
                  [](char ch) { return static_cast<unsigned char>(ch) < 0x80; })) {
    std::copy(bytes.begin(), bytes.end(), out);
    return bytes.size();
  }
  // A code page of several bytes a character gives at most one unit a byte.
  const int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          out, static_cast<int>(bytes.size()));
  return static_cast<size_t>(written > 0 ? written : 0);
}

String16 FromAnsi(std::string_view bytes) {
  String16 out(bytes.size(), L'\0');
  out.resize(FromAnsiInto(bytes, out.data()));
  return out;
}

}  // namespace parlivo
