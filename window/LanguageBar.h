// The tool bar: two picture-only buttons that cannot be clicked, then the seven
// language buttons as one check group. White, pictures only, our own highlight.
// The group is held here, not by the stock tool bar: its check group lets a press that
// slips off its button leave buttons down, so the buttons are plain ones and the one
// that is down is ours to say.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <vector>

#include "GdiHandles.h"
#include "ItemsAccessible.h"
#include "Languages.h"
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
  TLanguageBar(const TLanguageBar&) = delete;
  TLanguageBar& operator=(const TLanguageBar&) = delete;

  // Sizes are designed at 96 dpi and scaled to the window's dpi. The parent destroys
  // the bar's window; the bar owns its picture list.
  HWND Create(HWND parent, int id, int dpi);
  HWND Handle() const { return FHandle; }
  // Takes the pictures and button sizes of a new dpi.
  void SetDpi(int dpi);
  // The bar's font (the caller's, which outlives the bar's window); the buttons keep
  // their size.
  void SetFont(HFONT font);

  bool IsVisible(int buttonId) const;
  void SetVisible(int buttonId, bool visible);
  bool IsDown(int buttonId) const { return buttonId == FDown; }
  // Presses a language button: the one that was down comes up. Called for a click
  // (before the click handler runs) and from the program (no handler runs).
  void Press(int buttonId);
  // The chosen language: the row of the button that is down, or nullptr before the
  // first press.
  const TLanguage* Chosen() const;
  RECT ButtonRect(int buttonId) const;
  // The language button at place (from 1) among the visible ones, left to right; 0
  // when there are fewer.
  int VisibleLanguageButton(int place) const;

  // WM_NOTIFY from the bar: custom drawing and tooltips. Returns true when handled.
  bool OnNotify(const NMHDR& header, LRESULT& result);

 private:
  LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
  SIZE ButtonSize() const;
  void KeepButtonSize();
  // The visible buttons from the left, as screen readers count them.
  std::vector<int> VisibleButtons() const;
  TItemsSource AccessibleButtons();
  static LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data);

  HWND FHandle = nullptr;
  TAccessibleHandle FAccessible;
  TImageList FPictures;
  int FDpi = 96;
  int FDown = 0;  // the language button that is down; 0 for none
};

// Whether a command identifier is one of the seven language buttons.
bool IsLanguageButton(int buttonId);

// The hint of a tool bar button: the language name, or empty for the two pictures.
StringView16 ToolButtonHint(int buttonId);

}  // namespace parlivo
