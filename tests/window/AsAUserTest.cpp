// The real window driven the way a user drives it: X mouse and keyboard events on the
// display Wine draws on, so that Windows' routing decides which control gets them; the
// results read back from the screen where that is what the user sees.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which they need
#include <oleacc.h>

#include <algorithm>

#include "HighContrast.h"
#include "Languages.h"
#include "Registry.h"
#include "Resources.h"
#include "ScreenReader.h"
#include "UserInput.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

constexpr char kThreeLines[] =
    "eins zwei drei vier fuenf sechs sieben acht neun zehn elf zwoelf dreizehn vierzehn fuenfzehn "
    "sechzehn siebzehn achtzehn neunzehn zwanzig";

class AsAUser : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
    Shown = ShowFormForInput([](const std::filesystem::path& folder) {
      TEntries german, french, dutch;
      // "row..": 100 one-line rows; "tall..": 40 rows of three lines each.
      for (int i = 0; i < 100; ++i) german.push_back({"row" + TwoLetters(i), "x"});
      for (int i = 0; i < 40; ++i) german.push_back({"tall" + TwoLetters(i), kThreeLines});
      french.push_back({"rowaa", "rang"});
      dutch.push_back({"rowaa", "rij"});
      WriteLexicon(folder, {{"German.plv", german}, {"French.plv", french}, {"Dutch.plv", dutch}});
    });
    Form = Shown->Form.get();
    GetWindowRect(Form->Handle(), &StartRect);
  }
  static void TearDownTestSuite() {
    EndInput(Shown);
    RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
  }
  void SetUp() override {
    FForm = Form;
    SetWindowPos(FForm->Handle(), HWND_TOPMOST, StartRect.left, StartRect.top,
                 StartRect.right - StartRect.left, StartRect.bottom - StartRect.top, 0);
    SetForegroundWindow(FForm->Handle());
    FForm->LanguageBar().Press(LanguageButtonId(0));  // German
    FForm->ToolButton3Click();
    Type(L"");
    SetFocus(FForm->EditWord());
    PumpMessages();
  }
  static std::string TwoLetters(int i) {
    return {static_cast<char>('a' + i / 26), static_cast<char>('a' + i % 26)};
  }
  void Type(const wchar_t* text) {
    SetWindowTextW(FForm->EditWord(), text);
    PumpMessages();
  }
  POINT ButtonCentre(int number) {
    const RECT rect = FForm->LanguageBar().ButtonRect(ToolButtonId(number));
    return OnScreen(FForm->ToolBar(), (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  }
  // The language buttons that are down, by the bar's own account and by the highlight
  // frame on screen once the pointer has left the bar.
  std::vector<int> DownButtons() {
    MouseMove(CentreOf(FForm->VList().Handle()));
    HDC dc = GetDC(FForm->ToolBar());
    auto framed = [&](int number) {
      const RECT rect = FForm->LanguageBar().ButtonRect(ToolButtonId(number));
      return GetPixel(dc, rect.left, (rect.top + rect.bottom) / 2) == RGB(116, 149, 216);
    };
    // The highlight of a button the pointer left goes with a timer.
    WaitUntil(
        [&] {
          for (int number = 3; number <= 9; ++number) {
            if (framed(number) != FForm->LanguageBar().IsDown(ToolButtonId(number))) return false;
          }
          return true;
        },
        1000);
    std::vector<int> down;
    for (int number = 3; number <= 9; ++number) {
      EXPECT_EQ(framed(number), FForm->LanguageBar().IsDown(ToolButtonId(number))) << number;
      if (framed(number)) down.push_back(number);
    }
    ReleaseDC(FForm->ToolBar(), dc);
    return down;
  }
  // The bottom edge of the last row, in the grid's client coordinates.
  int LastRowBottom() {
    const TResultGrid& grid = FForm->VList();
    int bottom = 0;
    for (int row = grid.TopRow(); row < grid.RowCount(); ++row) bottom += grid.RowHeight(row);
    return bottom;
  }
  void ExpectTheEndFullyInView() {
    const TResultGrid& grid = FForm->VList();
    EXPECT_LE(LastRowBottom(), grid.ClientHeight());
    // Nothing more would fit: the row above the top row does not.
    EXPECT_GT(LastRowBottom() + grid.RowHeight(grid.TopRow() - 1), grid.ClientHeight());
    // On screen: the last row's tint reaches down to its bottom edge.
    HDC dc = GetDC(grid.Handle());
    const COLORREF tint = (grid.RowCount() - 1) % 2 ? RGB(242, 244, 255) : RGB(255, 255, 255);
    EXPECT_EQ(GetPixel(dc, grid.ClientWidth() - 4, LastRowBottom() - 1), tint);
    ReleaseDC(grid.Handle(), dc);
  }
  static String16 SavedLanguage() {
    return RegReadString(L"", HKEY_CURRENT_USER, 0, RegistryKey, L"Language", L"<none>");
  }

  static inline std::unique_ptr<TShownForm> Shown;
  static inline TMainForm* Form = nullptr;
  static inline RECT StartRect{};
  TMainForm* FForm = nullptr;
  TErrorCatcher FErrors;
};

TEST_F(AsAUser, APressThatSlipsOffItsButtonChangesNothing) {
  auto slip = [&](int number) {
    MouseMove(ButtonCentre(number));
    MouseDown();
    MouseMove(CentreOf(FForm->EditWord()));
    MouseUp();
  };
  const String16 german = FForm->FilesPath() + L"German.plv";
  ASSERT_EQ(DownButtons(), std::vector<int>{3});
  for (int i = 0; i < 3; ++i) {
    slip(4);
    slip(5);
    EXPECT_EQ(DownButtons(), std::vector<int>{3});
    EXPECT_EQ(FForm->Translator()->DataFileName(), german);
  }
  // Released on a neighbour: no button was clicked either.
  MouseMove(ButtonCentre(4));
  MouseDown();
  MouseMove(ButtonCentre(5));
  MouseUp();
  EXPECT_EQ(DownButtons(), std::vector<int>{3});

  // A real click chooses what it shows, and closing saves what is shown.
  Type(L"rowaa");
  Click(ButtonCentre(5));
  EXPECT_EQ(DownButtons(), std::vector<int>{5});
  EXPECT_EQ(FForm->Translator()->DataFileName(), FForm->FilesPath() + L"Dutch.plv");
  EXPECT_EQ(FForm->VList().Rows(), std::vector<String16>{L"rowaa=rij"});
  slip(4);
  FForm->FormClose();
  EXPECT_EQ(SavedLanguage(), L"Dutch");
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(AsAUser, TheWheelGoesToTheFocusedControlWhereverThePointerIs) {
  Type(L"row");
  ASSERT_EQ(FForm->VList().Rows().size(), 100u);
  const HWND grid = FForm->VList().Handle();
  // Focus in the word box, pointer over the grid: a notch towards the user shows the
  // end of the list and takes the focus into the grid.
  Wheel(CentreOf(grid), -1);
  EXPECT_EQ(FForm->VList().TopRow(), FForm->VList().LastTopRow());
  EXPECT_GT(FForm->VList().TopRow(), 0);
  EXPECT_EQ(GetFocus(), grid);
  // Focus in the grid, pointer over the word box: each notch steps one row.
  Wheel(CentreOf(FForm->EditWord()), -1);
  EXPECT_EQ(FForm->VList().TopRow(), 1);
  Wheel(CentreOf(FForm->ToolBar()), -1);
  EXPECT_EQ(FForm->VList().TopRow(), 2);
  // Away from the user, over the banner: the first row, the current row one up.
  Wheel(CentreOf(FForm->TopPanel()), 1);
  EXPECT_EQ(FForm->VList().TopRow(), 0);
  EXPECT_EQ(FForm->VList().CurrentRow(), 1);

  // Focus back in the word box, pointer over the status bar: the window's handler.
  SetFocus(FForm->EditWord());
  Wheel(CentreOf(FForm->StatusBar()), -1);
  EXPECT_EQ(FForm->VList().TopRow(), FForm->VList().LastTopRow());
  EXPECT_EQ(GetFocus(), grid);
}

TEST_F(AsAUser, EndAndTheFirstNotchShowTheLastRowWhole) {
  Type(L"tall");
  ASSERT_EQ(FForm->VList().Rows().size(), 40u);
  Click(CentreOf(FForm->VList().Handle()));
  Keys("End");
  EXPECT_EQ(FForm->VList().CurrentRow(), 39);
  ExpectTheEndFullyInView();

  Type(L"");
  Type(L"tall");
  SetFocus(FForm->EditWord());
  Wheel(CentreOf(FForm->VList().Handle()), -1);
  ExpectTheEndFullyInView();
}

// The banner on screen: its picture once, centred, white on both sides.
void ExpectBannerCentred(HWND banner) {
  HBITMAP picture = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0));
  ASSERT_NE(picture, nullptr);
  BITMAP size{};
  GetObjectW(picture, sizeof size, &size);
  HDC pictureDc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(pictureDc, picture);
  RECT client;
  GetClientRect(banner, &client);
  const int left = (client.right - size.bmWidth) / 2;
  HDC screen = GetDC(banner);
  int whiteMisses = 0, pictureMisses = 0;
  for (int y = 0; y < client.bottom; y += 3) {
    for (int x = 0; x < client.right; x += 2) {
      const COLORREF shown = GetPixel(screen, x, y);
      if (x < left || x >= left + size.bmWidth) {
        whiteMisses += shown != RGB(255, 255, 255);
      } else {
        pictureMisses += shown != GetPixel(pictureDc, x - left, y);
      }
    }
  }
  ReleaseDC(banner, screen);
  SelectObject(pictureDc, old);
  DeleteDC(pictureDc);
  DeleteObject(picture);
  EXPECT_EQ(whiteMisses, 0) << "at width " << client.right;
  EXPECT_EQ(pictureMisses, 0) << "at width " << client.right;
}

// The status bar on screen: plain from after its text to just before its one grip.
void ExpectOneGripAtTheRight(HWND statusBar) {
  RECT client;
  GetClientRect(statusBar, &client);
  HDC dc = GetDC(statusBar);
  const int y = client.bottom - 4;
  const COLORREF plain = GetPixel(dc, 120, y);
  int marks = 0;
  for (int x = 120; x < client.right - 20; ++x) marks += GetPixel(dc, x, y) != plain;
  int grip = 0;
  for (int x = client.right - 14; x < client.right; ++x) grip += GetPixel(dc, x, y) != plain;
  ReleaseDC(statusBar, dc);
  EXPECT_EQ(marks, 0) << "at width " << client.right;
  EXPECT_GT(grip, 0) << "at width " << client.right;
}

// The grid's scroll bar as the screen shows it: the pixels down its middle.
std::vector<COLORREF> ScrollBarOnScreen(HWND grid) {
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  GetScrollBarInfo(grid, OBJID_VSCROLL, &bar);
  HDC screen = GetDC(nullptr);
  const int x = (bar.rcScrollBar.left + bar.rcScrollBar.right) / 2;
  std::vector<COLORREF> pixels;
  for (int y = bar.rcScrollBar.top; y < bar.rcScrollBar.bottom; ++y)
    pixels.push_back(GetPixel(screen, x, y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(AsAUser, TheScrollBarOnScreenFollowsEveryKeystroke) {
  // Typed key by key: the bar appears with 100 rows, its thumb grows with 26 and shrinks
  // again with 100, the bar staying all along. Once the window has painted after a
  // keystroke, the screen shows the bar as a fresh paint of it does.
  const HWND grid = FForm->VList().Handle();
  Click(CentreOf(FForm->EditWord()));
  Keys("r o w");
  std::vector<std::vector<COLORREF>> seen;
  for (const char* next : {"a", "BackSpace", "a"}) {
    WaitUntil([] { return false; }, 300);  // the paint that follows the keystroke
    ASSERT_NE(GetWindowLongW(grid, GWL_STYLE) & WS_VSCROLL, 0) << "no bar before " << next;
    seen.push_back(ScrollBarOnScreen(grid));
    RedrawWindow(grid, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    EXPECT_EQ(seen.back(), ScrollBarOnScreen(grid)) << "a stale bar before " << next;
    Keys(next);
  }
  EXPECT_EQ(FForm->VList().Rows().size(), 26u);
  EXPECT_NE(seen[0], seen[1]);  // the thumb did change
  EXPECT_EQ(seen[0], seen[2]);
}

TEST_F(AsAUser, WideningRepaintsTheBannerAndTheStatusBarWhole) {
  const int width = StartRect.right - StartRect.left;
  const int height = StartRect.bottom - StartRect.top;
  for (int extra : {40, 130, 250}) {
    SetWindowPos(FForm->Handle(), nullptr, 0, 0, width + extra, height, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    ExpectBannerCentred(FForm->TopPanel());
    ExpectOneGripAtTheRight(FForm->StatusBar());
  }
  // By the size grip, in steps.
  RECT client;
  GetClientRect(FForm->StatusBar(), &client);
  const POINT grip = OnScreen(FForm->StatusBar(), client.right - 4, client.bottom - 4);
  Drag(grip, {grip.x + 120, grip.y});
  RECT after;
  GetWindowRect(FForm->Handle(), &after);
  EXPECT_EQ(after.right - after.left, width + 250 + 120);
  ExpectBannerCentred(FForm->TopPanel());
  ExpectOneGripAtTheRight(FForm->StatusBar());
}

TEST_F(AsAUser, TheToolBarKeepsItsBorderAtTheTopTooAndHighlightsTheButtonUnderThePointer) {
  const RECT first = FForm->LanguageBar().ButtonRect(ToolButtonId(1));
  EXPECT_EQ(first.left, 2);
  EXPECT_EQ(first.top, 2);
  EXPECT_EQ(first.bottom - first.top, 38);
  HDC dc = GetDC(FForm->ToolBar());
  const RECT french = FForm->LanguageBar().ButtonRect(ToolButtonId(4));
  MouseMove(ButtonCentre(4));
  EXPECT_EQ(GetPixel(dc, french.left, french.top + 10), RGB(116, 149, 216));
  EXPECT_EQ(GetPixel(dc, french.left + 1, french.top + 1), RGB(198, 211, 239));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
  // The pointer's leaving is noticed by a timer: within a second.
  MouseMove(CentreOf(FForm->EditWord()));
  EXPECT_TRUE(WaitUntil(
      [&] { return GetPixel(dc, french.left, french.top + 10) == RGB(255, 255, 255); }, 1000));
  ReleaseDC(FForm->ToolBar(), dc);
}

TEST_F(AsAUser, NoWayOfSettingTheSizeGoesBelowTheMinimum) {
  SetWindowPos(FForm->Handle(), nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER);
  RECT client, window;
  GetClientRect(FForm->Handle(), &client);
  GetWindowRect(FForm->Handle(), &window);
  EXPECT_EQ(client.right, 366);
  EXPECT_EQ(window.bottom - window.top, 150);
  MoveWindow(FForm->Handle(), window.left, window.top, 10, 10, TRUE);
  GetClientRect(FForm->Handle(), &client);
  EXPECT_EQ(client.right, 366);
}

TEST_F(AsAUser, AScreenReaderHearsTheRowsTheFocusedRowAndTheCount) {
  TEventListener listener;
  Type(L"rowa");
  PumpMessages();
  const HWND grid = FForm->VList().Handle();
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_REORDER, grid, CHILDID_SELF));
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_NAMECHANGE, FForm->StatusBar(), -1));
  const TReaderView rows(grid);
  ASSERT_NE(rows.Object(), nullptr);
  ASSERT_EQ(rows.Count(), 26);
  EXPECT_EQ(rows.Role(CHILDID_SELF), ROLE_SYSTEM_LIST);
  EXPECT_EQ(rows.Name(1), L"rowaa: x");
  EXPECT_EQ(rows.Name(26), L"rowaz: x");
  EXPECT_EQ(rows.Role(3), ROLE_SYSTEM_LISTITEM);
  EXPECT_TRUE(rows.State(26) & STATE_SYSTEM_OFFSCREEN);  // below the grid's bottom

  // Arrow keys in the grid: the reader follows the current row.
  Click(CentreOf(FForm->VList().Handle()));
  listener.Events.clear();
  Keys("Home Down Down");
  EXPECT_EQ(FForm->VList().CurrentRow(), 2);
  EXPECT_EQ(rows.Focus(), ChildIdOfItem(2));
  EXPECT_TRUE(rows.State(3) & STATE_SYSTEM_FOCUSED);
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_FOCUS, grid, ChildIdOfItem(2)));
}

TEST_F(AsAUser, TheLanguageButtonsHaveNamesAndTheChosenOneIsChecked) {
  const TReaderView bar(FForm->ToolBar());
  ASSERT_NE(bar.Object(), nullptr);
  EXPECT_EQ(bar.Role(CHILDID_SELF), ROLE_SYSTEM_TOOLBAR);
  // The two pictures, then the three languages whose files exist.
  ASSERT_EQ(bar.Count(), 5);
  EXPECT_EQ(bar.Name(1), L"From English");
  EXPECT_TRUE(bar.State(1) & STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(bar.Name(3), L"German");
  EXPECT_EQ(bar.Name(4), L"French");
  EXPECT_EQ(bar.Name(5), L"Dutch");
  EXPECT_EQ(bar.Role(4), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_TRUE(bar.State(3) & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(bar.State(4) & STATE_SYSTEM_CHECKED);
  TEventListener listener;
  Click(ButtonCentre(4));
  EXPECT_TRUE(bar.State(4) & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(bar.State(3) & STATE_SYSTEM_CHECKED);
  PumpMessages();
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_STATECHANGE, FForm->ToolBar(), 4));
}

TEST_F(AsAUser, TheWordBoxIsCalledWordUntilItIsRenamed) {
  const TReaderView box(FForm->EditWord());
  ASSERT_NE(box.Object(), nullptr);
  EXPECT_EQ(box.Name(CHILDID_SELF), L"Word");
  TEventListener listener;
  FForm->SetEditWordName(L"German word");
  PumpMessages();
  EXPECT_EQ(box.Name(CHILDID_SELF), L"German word");
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_NAMECHANGE, FForm->EditWord(), CHILDID_SELF));
  FForm->SetEditWordName(kEditWordName);
  EXPECT_EQ(box.Name(CHILDID_SELF), L"Word");
}

TEST_F(AsAUser, AHighContrastThemePaintsTheGridAndBannerInSystemColours) {
  // Switched as Windows switches it; where the system cannot (Wine), its answer is
  // stood in for.
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  contrast.dwFlags = HCF_HIGHCONTRASTON;
  if (!SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0))
    HighContrastForTesting = [] { return true; };
  // A dark window colour, as high-contrast themes have, unlike every tint of ours.
  const int element = COLOR_WINDOW;
  const COLORREF windowColour = GetSysColor(COLOR_WINDOW), dark = RGB(0, 0, 32);
  SetSysColors(1, &element, &dark);
  SendMessageW(FForm->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  // Wider than the banner picture, so that the banner's own colour shows beside it.
  SetWindowPos(FForm->Handle(), nullptr, 0, 0, StartRect.right - StartRect.left + 40,
               StartRect.bottom - StartRect.top, SWP_NOMOVE | SWP_NOZORDER);
  Type(L"rowa");
  RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpMessages();
  HDC grid = GetDC(FForm->VList().Handle());
  const COLORREF oddRow =
      GetPixel(grid, FForm->VList().ClientWidth() - 4, FForm->VList().RowHeight(0) + 2);
  ReleaseDC(FForm->VList().Handle(), grid);
  HDC banner = GetDC(FForm->TopPanel());
  const COLORREF besidePicture = GetPixel(banner, 1, 1);
  ReleaseDC(FForm->TopPanel(), banner);
  contrast.dwFlags = 0;
  SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof contrast, &contrast, 0);
  HighContrastForTesting = nullptr;
  SetSysColors(1, &element, &windowColour);
  SendMessageW(FForm->Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_EQ(oddRow, dark);
  EXPECT_EQ(besidePicture, dark);
}

String16 ClipboardText() {
  String16 text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

TEST_F(AsAUser, CtrlAndADigitChoosesALanguageAndCtrlCCopiesRows) {
  Type(L"rowa");
  Keys("ctrl+2");  // the second visible language button: French
  EXPECT_TRUE(FForm->LanguageBar().IsDown(ToolButtonId(4)));
  EXPECT_EQ(FForm->VList().Rows(), std::vector<String16>{L"rowaa=rang"});
  Keys("ctrl+3");
  EXPECT_TRUE(FForm->LanguageBar().IsDown(ToolButtonId(5)));
  EXPECT_EQ(FForm->VList().Rows(), std::vector<String16>{L"rowaa=rij"});
  Keys("ctrl+7");  // no seventh button: nothing changes
  EXPECT_TRUE(FForm->LanguageBar().IsDown(ToolButtonId(5)));
  Keys("ctrl+1");
  EXPECT_TRUE(FForm->LanguageBar().IsDown(ToolButtonId(3)));
  ASSERT_EQ(FForm->VList().Rows().size(), 26u);

  Click(CentreOf(FForm->VList().Handle()));
  Keys("Home Down ctrl+c");
  EXPECT_EQ(ClipboardText(), L"rowab\tx");
  Keys("ctrl+shift+c");
  const String16 all = ClipboardText();
  EXPECT_EQ(all.substr(0, 16), L"rowaa\tx\r\nrowab\tx");
  EXPECT_EQ(std::count(all.begin(), all.end(), L'\n'), 25);
}

}  // namespace
}  // namespace parlivo::test
