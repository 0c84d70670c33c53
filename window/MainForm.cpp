#include "MainForm.h"

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <optional>
#include <vector>

#include "Dpi.h"
#include "ErrorBox.h"
#include "GdiHandles.h"
#include "HighContrast.h"
#include "Languages.h"
#include "Registry.h"
#include "Resources.h"
#include "Search.h"
#include "WindowProc.h"
#include "WindowText.h"

namespace parlivo {

namespace {

enum TControlId { idTopPanel = 100, idToolBar, idEditWord, idVList, idStatusBar };

constexpr int kClientWidth = 366;
constexpr int kClientHeight = 463;
constexpr int kMinimumWidth = 230;
constexpr int kMinimumHeight = 150;
constexpr int kSnapReach = 10;
constexpr int kTopPanelHeight = 50;
constexpr int kToolBarHeight = 46;
constexpr int kEditWordHeight = 32;
constexpr int kStatusBarHeight = 20;
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

constexpr COLORREF kEvenRowColour = 0xFFFFFF;
constexpr COLORREF kOddRowColour = 0xFFF4F2;
constexpr UINT_PTR kEditWordSubclass = 1;

void RegisterClasses(HINSTANCE instance) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ForwardToInstance<TMainForm>;
  windowClass.hInstance = instance;
  windowClass.hIcon =
      static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PARLIVO), IMAGE_ICON,
                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PARLIVO),
                                                      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                      GetSystemMetrics(SM_CYSMICON), 0));
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = TMainForm::kClassName;
  RegisterClassExW(&windowClass);
  TBanner::Register(instance);
  TResultGrid::Register(instance);
}

// The width of the widest key in the font selected into dc.
int WidestKey(HDC dc, const TResultGrid& grid) {
  // A key's width is the sum of its characters' advance widths, which the font gives
  // at once for U+0000 to U+00FF; only the keys that come within a margin of the
  // widest sum, or hold other characters, are measured in full.
  std::array<int, 256> advances{};
  const bool haveAdvances = GetCharWidth32W(dc, 0, 255, advances.data());
  constexpr int kMargin = 8;
  std::vector<int> sums(static_cast<size_t>(grid.RowCount()), 0);
  int widestSum = 0;
  for (int row = 0; row < grid.RowCount(); ++row) {
    int& sum = sums[static_cast<size_t>(row)];
    for (const Char16 ch : grid.Key(row)) {
      if (!haveAdvances || ch > 0xFF) {
        sum = INT_MAX;  // measured in full
        break;
      }
      sum += advances[ch];
    }
    if (sum != INT_MAX) widestSum = std::max(widestSum, sum);
  }
  int widest = 0;
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (sums[static_cast<size_t>(row)] < widestSum - kMargin) continue;
    const StringView16 key = grid.Key(row);
    SIZE size{};
    GetTextExtentPoint32W(dc, key.data(), static_cast<int>(key.size()), &size);
    widest = std::max<int>(widest, size.cx);
  }
  return widest;
}

// The outer size of the main window around a client area at a dpi.
SIZE FormSize(int clientWidth, int clientHeight, int dpi) {
  return OuterSize({clientWidth, clientHeight}, kStyle, kExStyle, dpi);
}

}  // namespace

String16 ProgramFolderOf(const String16& programPath) {
  const size_t cut = programPath.find_last_of(L"\\:");
  return cut == String16::npos ? String16() : programPath.substr(0, cut + 1);
}

String16 ProgramFolder() {
  String16 path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return ProgramFolderOf(path);
}

TMainForm::TMainForm(const String16& programFolder)
    : FDpi(SystemDpi()),
      FHighContrast(HighContrastOn()),
      FProgramFolder(programFolder),
      FFonts(FDpi) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterClasses(instance);
  const SIZE outer = FormSize(Scale(kClientWidth), Scale(kClientHeight), FDpi);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
  CreateWindowExW(kExStyle, kClassName, kApplicationTitle, kStyle, left, top, outer.cx, outer.cy,
                  nullptr, nullptr, instance, this);
  // Windows gives a window on a monitor of another scale than the screen's that
  // monitor's dpi from the start, without WM_DPICHANGED.
  const int dpi = WindowDpi(FHandle);
  if (FHandle && dpi != FDpi) {
    const SIZE scaled = FormSize(Scaled(kClientWidth, dpi), Scaled(kClientHeight, dpi), dpi);
    FormDpiChanged(dpi, {left, top, left + scaled.cx, top + scaled.cy});
  }
  LayOut();
  // The last step of creating the window; an error ends FormCreate, not the window.
  RunHandler(FHandle, [this] { FormCreate(); });
}

TMainForm::~TMainForm() {
  // Before the fonts, which the controls use to the end.
  if (FHandle) DestroyWindow(FHandle);
}

void TMainForm::CreateControls() {
  FTopPanel.Create(FHandle, idTopPanel, FDpi);
  FToolBar.Create(FHandle, idToolBar, FDpi);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(FHandle, GWLP_HINSTANCE));
  // Screen readers name an edit box by the static text just before it in the z-order
  // (and the tab order); hidden, it shows nothing.
  FEditWordLabel = CreateWindowExW(0, WC_STATICW, kEditWordName, WS_CHILD | SS_NOPREFIX, 0, 0, 0, 0,
                                   FHandle, nullptr, instance, nullptr);
  FEditWord = CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0, 0,
                              FHandle, reinterpret_cast<HMENU>(idEditWord), instance, nullptr);
  SendMessageW(FEditWord, EM_SETLIMITTEXT, 0, 0);
  SetWindowSubclass(FEditWord, EditWordProc, kEditWordSubclass, 0);
  FVList.OnDrawCell = [this](HDC dc, int column, int row, const RECT& rect) {
    VListDrawCell(dc, column, row, rect);
  };
  FVList.OnMouseWheelDown = [this] { VListMouseWheelDown(); };
  FVList.OnMouseWheelUp = [this] { VListMouseWheelUp(); };
  FVList.OnError = [this](const String16& message) { ShowErrorBox(FHandle, message); };
  FVList.Create(FHandle, idVList, Scale(kClientWidth) - 6);
  FStatusBar.Create(FHandle, idStatusBar);
  ApplyFonts(FFonts, false);
}

void TMainForm::ApplyFonts(const TFormFonts& fonts, bool redraw) {
  FToolBar.SetFont(fonts.Font.get());
  SendMessageW(FEditWord, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.EditFont.get()), redraw);
  FVList.SetScale(fonts.CellFont.get(), fonts.BoldCellFont.get(),
                  Scale(TResultGrid::kDefaultRowHeight));
  SendMessageW(FVList.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Font.get()), redraw);
}

void TMainForm::SetEditWordName(const String16& name) {
  SetWindowTextW(FEditWordLabel, name.c_str());
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FEditWord, OBJID_CLIENT, CHILDID_SELF);
}

void TMainForm::LayOut() {
  if (!FStatusBar.Handle()) return;
  RECT client;
  GetClientRect(FHandle, &client);
  const int width = client.right;
  const int height = client.bottom;
  const int top = Scale(kTopPanelHeight + kToolBarHeight + kEditWordHeight);
  const int status = Scale(kStatusBarHeight);
  MoveWindow(FTopPanel.Handle(), 0, 0, width, Scale(kTopPanelHeight), TRUE);
  MoveWindow(FToolBar.Handle(), 0, Scale(kTopPanelHeight), width, Scale(kToolBarHeight), TRUE);
  MoveWindow(FEditWord, 0, Scale(kTopPanelHeight + kToolBarHeight), width, Scale(kEditWordHeight),
             TRUE);
  MoveWindow(FVList.Handle(), 0, top, width, std::max(0, height - top - status), TRUE);
  MoveWindow(FStatusBar.Handle(), 0, height - status, width, status, TRUE);
  // The status bar repaints only what a move uncovers: its size grip would stay behind.
  InvalidateRect(FStatusBar.Handle(), nullptr, TRUE);
}

void TMainForm::MinimumSize(MINMAXINFO& info) const {
  // No strip may become narrower than the banner's 366 pixels at 96 dpi.
  const SIZE outer = FormSize(Scale(kClientWidth), 0, FDpi);
  info.ptMinTrackSize.x = std::max<LONG>(Scale(kMinimumWidth), outer.cx);
  info.ptMinTrackSize.y = Scale(kMinimumHeight);
}

void TMainForm::SnapToWorkArea(WINDOWPOS& position) const {
  if ((position.flags & SWP_NOMOVE) || IsIconic(FHandle) || IsZoomed(FHandle)) return;
  RECT current;
  GetWindowRect(FHandle, &current);
  const int width = current.right - current.left;
  const int height = current.bottom - current.top;
  if (!(position.flags & SWP_NOSIZE) && (position.cx != width || position.cy != height)) return;
  const RECT moved{position.x, position.y, position.x + width, position.y + height};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromRect(&moved, MONITOR_DEFAULTTONEAREST), &monitor)) return;
  const RECT& area = monitor.rcWork;
  if (std::abs(position.x - area.left) < kSnapReach) position.x = area.left;
  if (std::abs(position.y - area.top) < kSnapReach) position.y = area.top;
  if (std::abs(position.x + width - area.right) < kSnapReach) position.x = area.right - width;
  if (std::abs(position.y + height - area.bottom) < kSnapReach) position.y = area.bottom - height;
}

void TMainForm::Show() {
  ShowWindow(FHandle, SW_SHOWNORMAL);
}

bool TMainForm::PreTranslateMessage(const MSG& message) {
  if (message.message != WM_KEYDOWN) return false;
  const bool control = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 &&
                       GetAncestor(message.hwnd, GA_ROOT) == FHandle;
  // Ctrl+1 to Ctrl+7: the visible language buttons from the left, as a click on them.
  if (message.wParam >= '1' && message.wParam <= '7' && control) {
    if (const int button = FToolBar.VisibleLanguageButton(static_cast<int>(message.wParam - '0')))
      ChooseLanguage(button);
    return true;
  }
  if (message.wParam == 'D' && control) {
    RunHandler(FHandle, [this] { ToolButton2Click(); });
    return true;
  }
  if (message.wParam != VK_TAB) return false;
  const HWND focus = GetFocus();
  if (focus == FEditWord) {
    SetFocus(FVList.Handle());
    return true;
  }
  if (focus == FVList.Handle() || (focus && IsChild(FVList.Handle(), focus))) {
    SetFocus(FEditWord);
    return true;
  }
  return false;
}

bool LanguageFileExists(const String16& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
        error == ERROR_INVALID_NAME)
      return false;
    // Attributes that cannot be read: look the exact name up in its folder.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    // A link counts when what it leads to can be read, or is held by another program.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
  }
  return true;
}

void TMainForm::FormCreate() {
  FFilesPath = FProgramFolder + L"Files\\";
  FTranslator = std::make_unique<TTranslator>();
  FTranslator->SetIndexFileName(FFilesPath + String16(IndexFileName));
  AvailabilityPass();
}

void TMainForm::AvailabilityPass() {
  auto exists = [this](StringView16 name) {
    return LanguageFileExists(FFilesPath + String16(name));
  };
  for (size_t row = 0; row < std::size(Languages); ++row) {
    const TLanguage& language = Languages[row];
    FToolBar.SetVisible(LanguageButtonId(row), exists(language.FileName));
    // Both files of the other direction, or it cannot be turned round.
    FToolBar.SetCanTurnRound(LanguageButtonId(row), HasReverse(language) &&
                                                        exists(language.ReverseIndexFileName) &&
                                                        exists(language.ReverseFileName));
  }
}

void TMainForm::FormShow() {
  const String16 saved = RegReadString(L"", HKEY_CURRENT_USER, 0, RegistryKey, kLanguageValue, L"");
  if (const TLanguage* language = FindLanguage(saved)) {
    const int button = LanguageButtonId(static_cast<size_t>(language - Languages));
    if (FToolBar.IsVisible(button)) FToolBar.Press(button);
  }
  // Turned round where the chosen language still can be; the bar holds it otherwise.
  if (RegReadString(L"", HKEY_CURRENT_USER, 0, RegistryKey, kDirectionValue, L"") ==
      kTurnedRoundText)
    FToolBar.SetTurnedRound(true);
  ToolButton3Click();
  SetFocus(FEditWord);
}

void TMainForm::FormClose() {
  const TLanguage* chosen = FToolBar.Chosen();
  RegWriteString(L"", HKEY_CURRENT_USER, 0, RegistryKey, kLanguageValue,
                 chosen ? String16(chosen->Name) : String16());
  RegWriteString(L"", HKEY_CURRENT_USER, 0, RegistryKey, kDirectionValue,
                 FToolBar.TurnedRound() ? kTurnedRoundText : kFromEnglishText);
}

void TMainForm::FormDestroy() {
  FTranslator.reset();
}

void TMainForm::ToolButton2Click() {
  if (!FToolBar.CanTurnRound()) return;
  FToolBar.SetTurnedRound(!FToolBar.TurnedRound());
  ToolButton3Click();
}

void TMainForm::ToolButton3Click() {
  const TDirection direction = FToolBar.Direction();
  const TLanguage* chosen = FToolBar.Chosen();
  const String16 name =
      direction == TDirection::ToEnglish ? String16(chosen->Name) + L" word" : kEditWordName;
  if (WindowText(FEditWordLabel) != name) SetEditWordName(name);
  if (chosen) OpenFiles(*chosen, direction);
  EditWordChange();
}

void TMainForm::OpenFiles(const TLanguage& language, TDirection direction) {
  const TFileSet files = FilesOf(language, direction);
  const String16 index = FFilesPath + String16(files.Index);
  // The English index is opened at the start, and a failure there is shown once; the
  // index of the other direction comes with its language, and is tried again with each
  // choice after a failure, as a language file is.
  if (direction == TDirection::ToEnglish || FTranslator->IndexFileName() != index)
    FTranslator->SetIndexFileName(index);
  FTranslator->SetHeadwordsAsSpelt(direction == TDirection::ToEnglish);
  FTranslator->SetDataFileName(FFilesPath + String16(files.Data));
}

void TMainForm::ChooseLanguage(int buttonId) {
  if (!FToolBar.IsEnabled(buttonId)) return;
  FToolBar.Press(buttonId);
  RunHandler(FHandle, [this] { ToolButton3Click(); });
}

void TMainForm::SetStatusText(const String16& text) {
  FStatusBar.SetText(text);
}

void TMainForm::EditWordChange() {
  // The status bar is written once a run, at its end: the count, or empty when nothing
  // was searched or a lookup failed; one repaint a keystroke, not two. A run that
  // cleans the box leaves it to the run its write starts.
  std::optional<String16> status;
  try {
    status = SearchTypedText();
  } catch (...) {
    SetStatusText(L"");
    throw;
  }
  if (status) SetStatusText(*status);
}

std::optional<String16> TMainForm::SearchTypedText() {
  if (!FTranslator || FTranslator->DataFileName().empty()) return String16();
  DWORD selectionStart = 0;
  SendMessageW(FEditWord, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), 0);
  const String16 text = WindowText(FEditWord);
  const TDirection direction = FToolBar.Direction();
  const String16 word = LettersOnly(text, direction);
  if (word != text) {
    // The write runs this handler again, to its end, on the cleaned text.
    SetWindowTextW(FEditWord, word.c_str());
    SendMessageW(FEditWord, EM_SETSEL, selectionStart, selectionStart);
    return std::nullopt;
  }
  size_t rows = 0;
  {
    // The grid shows the rows once, when they are all in; its scroll bar is then in
    // place before the columns are fitted.
    TGridUpdate update(FVList);
    FVList.ClearRows();
    if (text.empty()) return String16();
    rows = SearchTypedWord(
        *FTranslator, word,
        [this](StringView16 headword, StringView16 translation) {
          FVList.AddRow(headword, translation);
        },
        direction);
  }
  GrdColWidth(FVList);
  return L" Found: " + std::to_wstring(rows);
}

void TMainForm::GrdColWidth(TResultGrid& grid) {
  int widest = 0;
  {
    const TWindowDC dc(FHandle);
    const TSelect font(dc, FFonts.MeasureFont.get());
    widest = WidestKey(dc, grid);
  }
  grid.SetColWidth(0, widest + TResultGrid::kGridLineWidth + Scale(10));
  grid.SetColWidth(1, grid.ClientWidth() - grid.ColWidth(0));
}

void TMainForm::VListDrawCell(HDC dc, int column, int row, const RECT& rect) {
  RECT r = rect;
  SetDCBrushColor(dc, FHighContrast  ? GetSysColor(COLOR_WINDOW)
                      : row % 2 == 0 ? kEvenRowColour
                                     : kOddRowColour);
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  const String16 text = FVList.Cell(column, row);
  if (text.empty()) return;
  SelectObject(dc, FVList.CellFont(column == 0));
  r.left += Scale(3);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK);
  const int needed = r.bottom - r.top + Scale(3);
  if (column == 1) {
    // A key that wraps into more lines than its text keeps the row at the key's
    // height; otherwise each paint would undo the last.
    const int keyHeight = FKeyMeasured.Row == row ? FKeyMeasured.Height : 0;
    FVList.SetRowHeight(row, std::max(needed, keyHeight));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK);
  } else {
    FKeyMeasured = {row, needed};
    if (FVList.RowHeight(row) < needed) FVList.SetRowHeight(row, needed);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE);
  }
}

void TMainForm::FormDpiChanged(int dpi, const RECT& suggested) {
  FDpi = dpi;
  TFormFonts fonts(dpi);
  ApplyFonts(fonts, true);
  FFonts = std::move(fonts);  // the old fonts go once nothing uses them
  FKeyMeasured = {};
  FTopPanel.SetDpi(dpi);
  FToolBar.SetDpi(dpi);
  FStatusBar.SetDpi(dpi);
  SetWindowPos(FHandle, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  // The strips take their new heights even where the window kept its size.
  LayOut();
  // Fitted columns are fitted again to the keys in the new font.
  if (FVList.ColWidth(0) > 0) GrdColWidth(FVList);
  RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

void TMainForm::FormMouseWheel(int wheelDelta, bool& handled) {
  if (wheelDelta > 0) {
    SendMessageW(FVList.Handle(), WM_VSCROLL, SB_TOP, 0);
    SendMessageW(FVList.Handle(), WM_VSCROLL, SB_LINEUP, 0);
  } else if (wheelDelta < 0) {
    SendMessageW(FVList.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    SendMessageW(FVList.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  }
  handled = true;
}

void TMainForm::RouteMouseWheel(int wheelDelta) {
  // Windows and Wine deliver the wheel to the control under the pointer, which passes
  // it up to here; it goes first to the control that has the keyboard focus.
  const HWND focus = GetFocus();
  const HWND grid = FVList.Handle();
  if (focus && (focus == grid || IsChild(grid, focus)) && FVList.MouseWheel(wheelDelta)) return;
  bool handled = false;
  FormMouseWheel(wheelDelta, handled);
}

void TMainForm::VListMouseWheelDown() {
  SendMessageW(FVList.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
}

void TMainForm::VListMouseWheelUp() {
  SendMessageW(FVList.Handle(), WM_VSCROLL, SB_TOP, 0);
}

LRESULT CALLBACK TMainForm::EditWordProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR) {
  // The word box handles no wheel: the window does.
  if (message == WM_MOUSEWHEEL) return SendMessageW(GetParent(edit), message, wParam, lParam);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, EditWordProc, kEditWordSubclass);
  return DefSubclassProc(edit, message, wParam, lParam);
}

void TMainForm::TopPanelClick() {
  ShellExecuteW(FHandle, L"open", kHomePage, nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      RunHandler(FHandle, [this] { CreateControls(); });
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_DPICHANGED:
      // The window moved to a monitor of another scale, or the scale changed: Windows
      // suggests the place and size that keep it where it was at the new scale.
      RunHandler(FHandle,
                 [&] { FormDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); });
      return 0;
    case WM_GETMINMAXINFO:
      MinimumSize(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGING:
      SnapToWorkArea(*reinterpret_cast<WINDOWPOS*>(lParam));
      break;  // the default handling holds the minimum size, however the size is set
    case WM_SHOWWINDOW:
      if (wParam && !FShown) {
        FShown = true;
        RunHandler(FHandle, [this] { FormShow(); });
      }
      break;
    case WM_ACTIVATE:
      // The control that had the keyboard focus gets it back with the window.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(FHandle, focus)) FLastFocus = focus;
      } else if (!HIWORD(wParam)) {
        SetFocus(FLastFocus && IsWindow(FLastFocus) ? FLastFocus : FEditWord);
      }
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == idTopPanel && HIWORD(wParam) == BN_CLICKED) {
        RunHandler(FHandle, [this] { TopPanelClick(); });
        return 0;
      }
      if (LOWORD(wParam) == idEditWord && HIWORD(wParam) == EN_CHANGE) {
        RunHandler(FHandle, [this] { EditWordChange(); });
        return 0;
      }
      if (LOWORD(wParam) == kArrowButton) {
        RunHandler(FHandle, [this] { ToolButton2Click(); });
        return 0;
      }
      if (IsLanguageButton(LOWORD(wParam))) {
        // The bar reports a click only for a press released on its button.
        ChooseLanguage(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_MOUSEWHEEL:
      RunHandler(FHandle, [&] { RouteMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); });
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      // A high-contrast theme switched on or off: everything paints anew.
      FHighContrast = HighContrastOn();
      RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
      break;
    case WM_NOTIFY: {
      LRESULT result = 0;
      if (FToolBar.OnNotify(*reinterpret_cast<NMHDR*>(lParam), result)) return result;
      break;
    }
    case WM_CLOSE:
      // Closing the main window ends the program: the loop ends, then the window goes.
      RunHandler(FHandle, [this] { FormClose(); });
      PostQuitMessage(0);
      return 0;
    case WM_ENDSESSION:
      // Windows is ending: nothing is saved and the mutex is left to the system.
      if (wParam) {
        DestroyWindow(FHandle);
        ExitProcess(0);
      }
      return 0;
    case WM_DESTROY:
      RunHandler(FHandle, [this] { FormDestroy(); });
      return 0;
  }
  return DefWindowProcW(FHandle, message, wParam, lParam);
}

}  // namespace parlivo
