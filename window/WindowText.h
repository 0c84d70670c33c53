// The text of one of the program's own controls.
#pragma once

#include <windows.h>

#include "Text.h"

namespace parlivo {

inline String16 WindowText(HWND window) {
  String16 text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace parlivo
