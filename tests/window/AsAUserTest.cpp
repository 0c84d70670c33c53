// The real window driven the way a user drives it: X mouse and keyboard events on the
// display Wine draws on, so that Windows' routing decides which control gets them; the
// results read back from the screen where that is what the user sees.
#include <gtest/gtest.h>

#include "Languages.h"
#include "Registry.h"
#include "Resources.h"
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
    Shown = ShowFormOn([](const std::filesystem::path& folder) {
      TEntries german, french, dutch;
      // "row..": 100 one-line rows; "tall..": 40 rows of three lines each.
      for (int i = 0; i < 100; ++i) german.push_back({"row" + TwoLetters(i), "x"});
      for (int i = 0; i < 40; ++i) german.push_back({"tall" + TwoLetters(i), kThreeLines});
      french.push_back({"rowaa", "rang"});
      dutch.push_back({"rowaa", "rij"});
      WriteLexicon(folder, {{"German.plv", german}, {"French.plv", french}, {"Dutch.plv", dutch}});
    });
    Form = Shown->Form.get();
    SetWindowPos(Form->Handle(), HWND_TOPMOST, 100, 60, 0, 0, SWP_NOSIZE);
    GetWindowRect(Form->Handle(), &StartRect);
    PumpMessages();
  }
  static void TearDownTestSuite() {
    Shown.reset();
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

}  // namespace
}  // namespace parlivo::test
