// The status bar: one text over its whole width (the stock bar's simple mode) and a
// size grip. Readers get the text as the bar's name, which the system's own object for
// a bar in simple mode leaves empty, and are told when it changes.
#pragma once

#include <windows.h>

#include "GdiHandles.h"
#include "ItemsAccessible.h"
#include "Text.h"

namespace parlivo {

class TStatusBar {
 public:
  TStatusBar() = default;
  TStatusBar(const TStatusBar&) = delete;
  TStatusBar& operator=(const TStatusBar&) = delete;

  // The parent destroys the bar's window, and places it: the bar does not size itself.
  HWND Create(HWND parent, int id);
  HWND Handle() const { return FHandle; }

  const String16& Text() const { return FText; }
  void SetText(const String16& text);
  // The system's status bar font, at a dpi other than the one the bar started with.
  void SetDpi(int dpi);

 private:
  static LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data);

  HWND FHandle = nullptr;
  String16 FText;
  TAccessibleHandle FAccessible;
  TFont FFont;  // none while the bar keeps the font it started with
};

}  // namespace parlivo
