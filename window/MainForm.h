// The program's only window: banner, language tool bar, word box, result grid and
// status bar, stacked from top to bottom.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "Banner.h"
#include "Dpi.h"
#include "FormFonts.h"
#include "LanguageBar.h"
#include "ResultGrid.h"
#include "StatusBar.h"
#include "Text.h"
#include "Translator.h"

namespace parlivo {

inline constexpr wchar_t kHomePage[] = L"https://parlivo.org/";
inline constexpr wchar_t RegistryKey[] = L"Software\\Parlivo";
inline constexpr wchar_t kLanguageValue[] = L"Language";
// The direction, saved beside the language: "From" the language towards English; any
// other text, or none, from English.
inline constexpr wchar_t kDirectionValue[] = L"Direction";
inline constexpr wchar_t kTurnedRoundText[] = L"From";
inline constexpr wchar_t kFromEnglishText[] = L"To";
// What screen readers call the word box; turned round, the language's name comes first
// ("German word").
inline constexpr wchar_t kEditWordName[] = L"Word";

// Whether a path names an existing file for the language buttons: a folder does not
// count, a file another program holds does.
bool LanguageFileExists(const String16& path);

// The folder of a program file: its full path cut after the last backslash or colon.
String16 ProgramFolderOf(const String16& programPath);
// The folder of the running program.
String16 ProgramFolder();

class TMainForm {
 public:
  static constexpr wchar_t kClassName[] = L"ParlivoMainForm";

  // Creates the window and its controls, hidden, and runs FormCreate with the data
  // folder Files\ inside programFolder. An error in FormCreate is shown and the window
  // is completed all the same.
  explicit TMainForm(const String16& programFolder = ProgramFolder());
  ~TMainForm();
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Makes the window visible; FormShow runs as it becomes so.
  void Show();
  // Keyboard handling that the message loop does before dispatching: Tab moves
  // between the grid and the word box, Ctrl+1 to Ctrl+7 choose the visible language
  // buttons from the left, Ctrl+D turns the direction round as the arrow does. Returns
  // true when the message was used.
  bool PreTranslateMessage(const MSG& message);

  HWND Handle() const { return FHandle; }
  HWND TopPanel() const { return FTopPanel.Handle(); }
  HWND ToolBar() const { return FToolBar.Handle(); }
  HWND EditWord() const { return FEditWord; }
  HWND StatusBar() const { return FStatusBar.Handle(); }
  TResultGrid& VList() { return FVList; }
  TLanguageBar& LanguageBar() { return FToolBar; }
  const String16& FilesPath() const { return FFilesPath; }
  TTranslator* Translator() const { return FTranslator.get(); }
  int Scale(int pixels) const { return Scaled(pixels, FDpi); }

  const String16& StatusText() const { return FStatusBar.Text(); }
  // The name screen readers give the word box ("Word" to begin with).
  void SetEditWordName(const String16& name);

  // Event handlers.
  void FormCreate();
  void FormShow();
  void FormClose();
  void FormDestroy();
  void TopPanelClick();
  void EditWordChange();
  // The arrow: turns the direction round, or back.
  void ToolButton2Click();
  void ToolButton3Click();
  void VListDrawCell(HDC dc, int column, int row, const RECT& rect);
  void GrdColWidth(TResultGrid& grid);
  // The window's dpi changed to dpi; suggested is its new place on the screen.
  void FormDpiChanged(int dpi, const RECT& suggested);
  void FormMouseWheel(int wheelDelta, bool& handled);
  void VListMouseWheelDown();
  void VListMouseWheelUp();

 private:
  template <class T>
  friend LRESULT CALLBACK ForwardToInstance(HWND, UINT, WPARAM, LPARAM);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  // Gives the controls the fonts; the window's own stay until the new ones are given.
  void ApplyFonts(const TFormFonts& fonts, bool redraw);
  void LayOut();
  void SnapToWorkArea(WINDOWPOS& position) const;
  void MinimumSize(MINMAXINFO& info) const;
  void RouteMouseWheel(int wheelDelta);
  // A language button chosen by a click or its shortcut: pressed, then the click handler.
  // An unavailable one is not chosen.
  void ChooseLanguage(int buttonId);
  void AvailabilityPass();
  // Opens the index and the language file of a language in a direction.
  void OpenFiles(const TLanguage& language, TDirection direction);
  void SetStatusText(const String16& text);
  // EditWordChange without the status bar: the text it is to show, or none after
  // cleaning the box.
  std::optional<String16> SearchTypedText();
  static LRESULT CALLBACK EditWordProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR);

  HWND FHandle = nullptr;
  int FDpi = 96;
  bool FHighContrast = false;  // paint with the system's colours, not the row tints
  String16 FProgramFolder;
  TFormFonts FFonts;  // for FDpi
  struct {
    int Row = -1;
    int Height = 0;
  } FKeyMeasured;  // the key cell painted last, for the text cell of the same row
  TBanner FTopPanel;
  TLanguageBar FToolBar;
  HWND FEditWordLabel = nullptr;  // hidden: names the word box for readers
  HWND FEditWord = nullptr;
  TResultGrid FVList;
  TStatusBar FStatusBar;
  bool FShown = false;
  HWND FLastFocus = nullptr;

  String16 FFilesPath;
  std::unique_ptr<TTranslator> FTranslator;
};

}  // namespace parlivo
