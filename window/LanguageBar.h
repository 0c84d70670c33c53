// The tool bar: two picture-only buttons that cannot be clicked, then the seven
// language buttons as one check group. White, pictures only, our own highlight.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "Text.h"

namespace parlivo {

// Command identifiers of ToolButton1 to ToolButton9.
inline constexpr int kToolButton1 = 1001;
constexpr int ToolButtonId(int number) {
  return kToolButton1 + number - 1;
}
// The button of row `row` (0-based) of the language table: ToolButton3 to ToolButton8,
// then ToolButton9 for English.
constexpr int LanguageButtonId(size_t row) {
  return ToolButtonId(static_cast<int>(row) + 3);
}

class TLanguageBar {
 public:
  TLanguageBar() = default;
  ~TLanguageBar();
  TLanguageBar(const TLanguageBar&) = delete;
  TLanguageBar& operator=(const TLanguageBar&) = delete;

  // scale: pixels at the screen's resolution per pixel at 96 dpi, as a multiplier/96.
  HWND Create(HWND parent, int id, int dpi);
  HWND Handle() const { return FHandle; }

  bool IsVisible(int buttonId) const;
  void SetVisible(int buttonId, bool visible);
  bool IsDown(int buttonId) const;
  // Presses the button from the program: the group's other buttons come up, and no
  // click handler runs.
  void Press(int buttonId);
  RECT ButtonRect(int buttonId) const;

  // WM_NOTIFY from the bar: custom drawing and tooltips. Returns true when handled.
  bool OnNotify(const NMHDR& header, LRESULT& result);

 private:
  LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);

  HWND FHandle = nullptr;
  HIMAGELIST FPictures = nullptr;
};

// The hint of a tool bar button: the language name, or empty for the two pictures.
StringView16 ToolButtonHint(int buttonId);

}  // namespace parlivo
