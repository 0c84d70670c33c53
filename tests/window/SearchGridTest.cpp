// The type-ahead search and the result grid in the real window under Wine: cleaning
// the word box, the rows and count, row heights from Wine's fonts, tints, the column
// fit, the wheel and editing.
#include <gtest/gtest.h>

#include <algorithm>

#include "ErrorBox.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

constexpr char kLongText[] =
    "eins zwei drei vier fuenf sechs sieben acht neun zehn elf zwoelf dreizehn vierzehn fuenfzehn "
    "sechzehn siebzehn "
    "achtzehn neunzehn zwanzig";

class SearchGrid : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Shown = ShowFormOn([](const std::filesystem::path& folder) {
      TEntries german = {{"sun", "Sonne"},
                         {"sunday", kLongText},
                         {"sunny", "sonnig"},
                         {"sunflower", "Sonnenblume"},
                         {"sun hat", "Sonnenhut"},
                         {"sung", "gesungen"},
                         // Narrow and wide letters: the longest key is not the widest.
                         {"wimiiiiiiiiiiiiiiiiii", "x"},
                         {"wimmmmmmmmm", "x"},
                         {"wimple", "Schleier"}};
      for (int i = 0; i < 100; ++i) {
        german.push_back(
            {std::string("row") + static_cast<char>('a' + i / 26) + static_cast<char>('a' + i % 26),
             "x"});
      }
      WriteLexicon(folder, {{"German.plv", german}, {"French.plv", {{"sun", "soleil"}}}});
    });
    Form = Shown->Form.get();
    SetWindowPos(Form->Handle(), HWND_TOPMOST, 300, 100, 0, 0, SWP_NOSIZE);
    PumpMessages();
  }
  static void TearDownTestSuite() { Shown.reset(); }
  void SetUp() override {
    FForm = Form;
    FForm->LanguageBar().Press(LanguageButtonId(0));
    FForm->ToolButton3Click();
    Type(L"");
    SetFocus(FForm->EditWord());
  }
  void Type(const String16& text) {
    SetWindowTextW(FForm->EditWord(), text.c_str());
    PumpMessages();
  }
  // Paints until the row heights settle.
  void Paint() {
    for (int i = 0; i < 4; ++i) {
      RedrawWindow(FForm->VList().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      PumpMessages();
    }
  }
  int KeyWidth(const String16& key) {
    HDC dc = GetDC(FForm->Handle());
    HFONT font =
        CreateFontW(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, key.c_str(), static_cast<int>(key.size()), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(FForm->Handle(), dc);
    return size.cx;
  }
  void Wheel(HWND target, int delta) {
    SendMessageW(target, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(400, 400));
    PumpMessages();
  }
  static inline std::unique_ptr<TShownForm> Shown;
  static inline TMainForm* Form = nullptr;
  TMainForm* FForm = nullptr;
  TErrorCatcher FErrors;
};

TEST_F(SearchGrid, RowsShorterQueriesFirstAndTheCount) {
  Type(L"Sun");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"Sun");  // the box keeps its capital
  const std::vector<String16> expected = {L"sun=Sonne",         L"sung=gesungen",
                                          L"sunny=sonnig",      L"sunday=" + FromUtf8(kLongText),
                                          L"sun hat=Sonnenhut", L"sunflower=Sonnenblume"};
  EXPECT_EQ(FForm->VList().Rows(), expected);
  EXPECT_EQ(FForm->StatusText(), L" Found: 6");
  EXPECT_EQ(WindowText(FForm->VList().Handle()),
            L"sun=Sonne\r\nsung=gesungen\r\nsunny=sonnig\r\nsunday=" + FromUtf8(kLongText) +
                L"\r\nsun hat=Sonnenhut\r\nsunflower=Sonnenblume");
  Type(L"");
  EXPECT_TRUE(FForm->VList().Rows().empty());
  EXPECT_EQ(FForm->VList().RowCount(), 1);
  EXPECT_EQ(FForm->StatusText(), L"");
}

TEST_F(SearchGrid, CleaningKeepsLettersAndPutsTheCaretAtP) {
  Type(L"a1b");
  SendMessageW(FForm->EditWord(), EM_SETSEL, 2, 2);
  // Typing happens at the caret: emulate the box holding a1b with the caret after 1.
  SetWindowTextW(FForm->EditWord(), L"ab");
  SendMessageW(FForm->EditWord(), EM_SETSEL, 1, 1);
  SendMessageW(FForm->EditWord(), WM_CHAR, L'1', 0);  // a1b, caret at 2
  PumpMessages();
  EXPECT_EQ(WindowText(FForm->EditWord()), L"ab");
  DWORD start = 0, end = 0;
  SendMessageW(FForm->EditWord(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 2u);

  Type(L"x-ray 2");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"xray");
  Type(L"12");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"");
  EXPECT_EQ(FForm->StatusText(), L"");
  Type(L"s\u00E9un");
  EXPECT_EQ(WindowText(FForm->EditWord()), L"sun");
  Type(String16(31, L'a'));
  EXPECT_EQ(FForm->StatusText(), L" Found: 0");
  EXPECT_TRUE(FForm->VList().Rows().empty());
}

TEST_F(SearchGrid, RowHeightsFollowTheWrappedText) {
  Type(L"sun");
  Paint();
  const int line = CellLineHeight(FForm->VList());
  std::printf("cell font line height under Wine: %d pixels; one-line row %d, three-line row %d\n",
              line, FForm->VList().RowHeight(0), FForm->VList().RowHeight(3));
  EXPECT_EQ(FForm->VList().RowHeight(0), line + 3);      // sun=Sonne
  EXPECT_EQ(FForm->VList().RowHeight(3), 3 * line + 3);  // sunday, three lines
  // Wider: the text re-flows and its row shrinks at the next paint.
  RECT window;
  GetWindowRect(FForm->Handle(), &window);
  SetWindowPos(FForm->Handle(), nullptr, 0, 0, window.right - window.left + 600,
               window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
  Paint();
  EXPECT_EQ(FForm->VList().RowHeight(3), line + 3);
  EXPECT_EQ(FForm->VList().ColWidth(1),
            FForm->VList().ClientWidth() - FForm->VList().ColWidth(0) - 2);
  SetWindowPos(FForm->Handle(), nullptr, 0, 0, window.right - window.left,
               window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
  Paint();
}

TEST_F(SearchGrid, ColumnFitToTheWidestHeadword) {
  Type(L"sun");
  EXPECT_EQ(FForm->VList().ColWidth(0), KeyWidth(L"sunflower") + 10);
  EXPECT_EQ(FForm->VList().ColWidth(0) + FForm->VList().ColWidth(1),
            FForm->VList().ClientWidth() - 2);
  Type(L"wim");
  EXPECT_EQ(FForm->VList().ColWidth(0),
            std::max(KeyWidth(L"wimiiiiiiiiiiiiiiiiii"), KeyWidth(L"wimmmmmmmmm")) + 10);
  Type(L"sunx");
  EXPECT_EQ(FForm->StatusText(), L" Found: 0");
  EXPECT_EQ(FForm->VList().ColWidth(0), 10);
  Type(L"");
  EXPECT_EQ(FForm->VList().ColWidth(0), 10);  // an empty box leaves the widths alone
}

TEST_F(SearchGrid, TintsFollowTheRowNumberAfterScrolling) {
  Type(L"row");
  Paint();
  SendMessageW(FForm->VList().Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  Paint();
  ASSERT_EQ(FForm->VList().TopRow(), 1);
  HDC dc = GetDC(FForm->VList().Handle());
  const COLORREF top = GetPixel(dc, FForm->VList().ClientWidth() - 5, 2);
  const COLORREF second =
      GetPixel(dc, FForm->VList().ClientWidth() - 5, FForm->VList().RowHeight(1) + 2);
  ReleaseDC(FForm->VList().Handle(), dc);
  EXPECT_EQ(top, RGB(242, 244, 255));  // row 1 is odd: pale blue, also at the top
  EXPECT_EQ(second, RGB(255, 255, 255));
}

TEST_F(SearchGrid, WheelJumpsThenStepsOneRowAtATime) {
  Type(L"row");
  Paint();
  ASSERT_EQ(FForm->VList().Rows().size(), 100u);
  ASSERT_EQ(GetFocus(), FForm->EditWord());
  Wheel(FForm->EditWord(), -WHEEL_DELTA);  // towards the user: the end, focus to the grid
  EXPECT_EQ(FForm->VList().TopRow(), FForm->VList().LastTopRow());
  EXPECT_GT(FForm->VList().TopRow(), 0);
  EXPECT_EQ(GetFocus(), FForm->VList().Handle());
  Wheel(GetFocus(), -WHEEL_DELTA);
  EXPECT_EQ(FForm->VList().TopRow(), 1);
  Wheel(GetFocus(), -WHEEL_DELTA);
  EXPECT_EQ(FForm->VList().TopRow(), 2);
  // Half a notch does nothing in the grid and goes to the window, which jumps.
  Wheel(GetFocus(), 60);
  EXPECT_EQ(FForm->VList().TopRow(), 0);
  Wheel(GetFocus(), 60);  // completes a notch in the grid: up, the current row steps up
  EXPECT_EQ(FForm->VList().TopRow(), 0);
  EXPECT_EQ(FForm->VList().CurrentRow(), 1);
}

TEST_F(SearchGrid, WheelOverTheWindowWithOneRowOnlyMovesTheFocus) {
  Type(L"sunny");
  bool handled = false;
  FForm->FormMouseWheel(0, handled);
  EXPECT_TRUE(handled);
  Wheel(FForm->EditWord(), WHEEL_DELTA);
  EXPECT_EQ(FForm->VList().TopRow(), 0);
  EXPECT_EQ(GetFocus(), FForm->VList().Handle());
}

TEST_F(SearchGrid, EditingCellsChangesOnlyTheRow) {
  Type(L"sunny");
  SetFocus(FForm->VList().Handle());
  FForm->VList().MoveCurrent(0, 0);
  SendMessageW(FForm->VList().Handle(), WM_KEYDOWN, VK_F2, 0);
  ASSERT_TRUE(FForm->VList().IsEditing());
  SendMessageW(FForm->VList().Editor(), WM_CHAR, L'=', 0);
  // It ends in ')', below '.': no full stop is added.
  EXPECT_EQ(FErrors.Messages(), std::vector<String16>{L"Key may not contain equals sign (\"=\")"});
  EXPECT_EQ(FForm->VList().Rows()[0], L"sunny=sonnig");
  SetWindowTextW(FForm->VList().Editor(), L"");
  SendMessageW(FForm->VList().Editor(), WM_KEYDOWN, VK_RETURN, 0);
  FForm->VList().MoveCurrent(1, 0);
  FForm->VList().BeginEdit(true);
  SetWindowTextW(FForm->VList().Editor(), L"");
  FForm->VList().EndEdit();
  EXPECT_EQ(FForm->VList().Rows()[0], L"=");
  EXPECT_EQ(FForm->StatusText(), L" Found: 1");  // editing leaves the count alone

  // A row whose key and text were both emptied goes when the current cell leaves it.
  Type(L"sun");
  FForm->VList().MoveCurrent(0, 1);
  FForm->VList().BeginEdit(true);
  SetWindowTextW(FForm->VList().Editor(), L"");
  FForm->VList().EndEdit();
  FForm->VList().MoveCurrent(1, 1);
  FForm->VList().BeginEdit(true);
  SetWindowTextW(FForm->VList().Editor(), L"");
  FForm->VList().EndEdit();
  EXPECT_EQ(FForm->VList().Rows()[1], L"=");
  FForm->VList().MoveCurrent(1, 2);
  EXPECT_EQ(FForm->VList().Rows().size(), 5u);
  EXPECT_EQ(FForm->VList().Rows()[1], L"sunny=sonnig");

  // The blank row of an empty list becomes a row as text is typed into it.
  Type(L"sunx");
  SetFocus(FForm->VList().Handle());
  FForm->VList().MoveCurrent(0, 0);
  SendMessageW(FForm->VList().Handle(), WM_CHAR, L'q', 0);
  PumpMessages();
  EXPECT_EQ(FForm->VList().Rows(), std::vector<String16>{L"q="});
}

TEST_F(SearchGrid, NothingBeforeALanguageIsChosen) {
  TTempDir dir;
  WriteLexicon(dir.Path(), {{"German.plv", {{"sun", "Sonne"}}}});
  TMainForm form(Folder(dir));
  SetWindowTextW(form.EditWord(), L"12ab");
  PumpMessages();
  EXPECT_EQ(WindowText(form.EditWord()), L"12ab");
  EXPECT_TRUE(form.VList().Rows().empty());
  EXPECT_EQ(form.StatusText(), L"");
  EXPECT_EQ(form.VList().ColWidth(0), 0);  // no search yet
  form.LanguageBar().Press(LanguageButtonId(0));
  form.ToolButton3Click();
  EXPECT_EQ(WindowText(form.EditWord()), L"ab");
  EXPECT_EQ(form.StatusText(), L" Found: 0");
}

}  // namespace
}  // namespace parlivo::test
