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
  if (bytes.empty()) return 0;
  // A code page of several bytes a character gives at most one unit a byte.
  const int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                          out, static_cast<int>(bytes.size()));
  return static_cast<size_t>(written > 0 ? written : 0);
}

String16 FromAnsi(std::string_view bytes) {
  // Every ANSI code page is a superset of ASCII.
  if (std::all_of(bytes.begin(), bytes.end(),
                  [](char ch) { return static_cast<unsigned char>(ch) < 0x80; })) {
    return String16(bytes.begin(), bytes.end());
  }
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  String16 out(static_cast<size_t>(needed > 0 ? needed : 0), L'\0');
  if (needed > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, out.data(), needed);
  return out;
}

}  // namespace parlivo
