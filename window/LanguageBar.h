// The tool bar: the flag of the words' language and the arrow, which turns the direction
// round, then the seven language buttons as one check group. White, pictures only, our
// own highlight. The group is held here, not by the stock tool bar: its check group lets
// a press that slips off its button leave buttons down, so the buttons are plain ones
// and the one that is down is ours to say.
#pragma once

#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <array>
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
// The picture of the words' language, which cannot be clicked, and the arrow after it.
inline constexpr int kFromButton = ToolButtonId(1);
inline constexpr int kArrowButton = ToolButtonId(2);

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
  bool IsEnabled(int buttonId) const;
  // A language button is down while its language is chosen, the arrow while the
  // direction is turned round.
  bool IsDown(int buttonId) const {
    return buttonId == FDown || (buttonId == kArrowButton && FTurnedRound);
  }
  // Presses a language button: the one that was down comes up. Called for a click
  // (before the click handler runs) and from the program (no handler runs). A language
  // that cannot be turned round, pressed by the program, turns the direction back.
  void Press(int buttonId);
  // The chosen language: the row of the button that is down, or nullptr before the
  // first press.
  const TLanguage* Chosen() const;

  // The other direction, the chosen language's words with English texts. Whether a
  // language button's language can be turned round: its reverse files are there.
  void SetCanTurnRound(int buttonId, bool can);
  // Whether the arrow turns the direction now: back, once turned round; round, with a
  // chosen language that can be, or with none chosen while a visible one can be, and
  // then the direction waits for a language.
  bool CanTurnRound() const;
  // Turned round, the languages that cannot be are unavailable, English among them.
  bool TurnedRound() const { return FTurnedRound; }
  void SetTurnedRound(bool turned);
  // Towards English once turned round with a language chosen.
  TDirection Direction() const;
  RECT ButtonRect(int buttonId) const;
  // The language button at place (from 1) among the visible ones, left to right; 0
  // when there are fewer.
  int VisibleLanguageButton(int place) const;

  // WM_NOTIFY from the bar: custom drawing and tooltips. Returns true when handled.
  bool OnNotify(const NMHDR& header, LRESULT& result);

 private:
  LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
  // Whether a language button's language can be turned round, as the bar was told.
  bool CanTurn(int buttonId) const;
  // The buttons' availability and the first picture for the direction and the choice;
  // readers hear what changed.
  void ShowDirection();
  // What the two pictures before the languages say: "From English" and "to", or turned
  // round "From German" and "to English".
  String16 FromName() const;
  String16 ArrowName() const;
  // Raises a WinEvent for a visible button, numbered as readers count them.
  void NotifyButton(DWORD event, int buttonId);
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
  bool FTurnedRound = false;
  std::array<bool, std::size(Languages)> FCanTurn{};  // by language row
  // What readers were last told of the two pictures' names.
  TDirection FNamedDirection = TDirection::FromEnglish;
};

// Whether a command identifier is one of the seven language buttons.
bool IsLanguageButton(int buttonId);

// The hint of a language button: the language name; empty for the two pictures, whose
// names follow the direction.
StringView16 ToolButtonHint(int buttonId);

}  // namespace parlivo
