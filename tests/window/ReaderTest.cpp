// The shipped program as a screen reader in another process meets it: the count in
// the status bar and the word box's name, read through the system's accessibility
// calls while the program is typed into on the X keyboard.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <oleacc.h>

#include "MainForm.h"
#include "ProgramRun.h"
#include "ScreenReader.h"
#include "UserInput.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

// One program for the suite: starting it costs Wine a few seconds.
class AReaderInAnotherProcess : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { Program = std::make_unique<TProgramRun>(); }
  static void TearDownTestSuite() { Program.reset(); }
  void SetUp() override {
    ASSERT_NE(Program->Window(), nullptr);
    FEdit = Program->Control(WC_EDITW);
    FStatusBar = Program->Control(STATUSCLASSNAMEW);
    ASSERT_TRUE(FEdit && FStatusBar);
  }
  // Keys typed into the word box; returns what a reader gets for the status bar that
  // the last of its name changes named (the object AccessibleObjectFromEvent gives).
  String16 TypeAndHearTheCount(const std::string& keys) {
    TEventListener listener(Program->ProcessId());
    Click(CentreOf(FEdit));
    Keys(keys);
    const auto heard = [&] {
      for (auto e = listener.Events.rbegin(); e != listener.Events.rend(); ++e)
        if (e->Event == EVENT_OBJECT_NAMECHANGE && e->Window == FStatusBar) return &*e;
      return static_cast<TEventListener::TEvent*>(nullptr);
    };
    // The keys reach the program one by one, each search raising its change: wait
    // until the changes stop coming.
    size_t before = 0;
    WaitUntil(
        [&] {
          const bool quiet = heard() && listener.Events.size() == before;
          before = listener.Events.size();
          if (!quiet) WaitUntil([] { return false; }, 300);
          return quiet;
        },
        5000);
    const TEventListener::TEvent* change = heard();
    if (!change) return L"<no name change heard>";
    const TReaderView reader(change->Window, change->Object, change->Child);
    if (!reader.Object()) return L"<no object for the event>";
    return reader.Name(reader.Child());
  }

  static inline std::unique_ptr<TProgramRun> Program;
  HWND FEdit = nullptr;
  HWND FStatusBar = nullptr;
};

TEST_F(AReaderInAnotherProcess, HearsTheCountAfterEachSearch) {
  EXPECT_EQ(TypeAndHearTheCount("s u n"), L"Found: 3");
  EXPECT_EQ(TypeAndHearTheCount("n"), L"Found: 1");
  EXPECT_EQ(TypeAndHearTheCount("x"), L"Found: 0");
  // An empty box shows no count, and the reader hears none.
  EXPECT_EQ(TypeAndHearTheCount("End shift+Home BackSpace"), L"");

  // Asked of the window itself, as a reader asks when the user wants the status bar;
  // the count is that of the rows the grid shows.
  EXPECT_EQ(TypeAndHearTheCount("h o u"), L"Found: 1") << ToUtf8(WindowText(FEdit));
  const TReaderView bar(FStatusBar);
  ASSERT_NE(bar.Object(), nullptr);
  EXPECT_EQ(bar.Name(CHILDID_SELF), L"Found: 1");
  EXPECT_EQ(bar.Role(CHILDID_SELF), ROLE_SYSTEM_STATUSBAR);
  EXPECT_FALSE(bar.State(CHILDID_SELF) & STATE_SYSTEM_FOCUSABLE);
  EXPECT_EQ(WindowText(Program->Control(TResultGrid::kClassName)), L"house=Haus");
}

TEST_F(AReaderInAnotherProcess, CallsTheWordBoxWordAndReadsWhatIsTyped) {
  TypeAndHearTheCount("End shift+Home s u n");
  const TReaderView box(FEdit);
  ASSERT_NE(box.Object(), nullptr);
  EXPECT_EQ(box.Name(CHILDID_SELF), L"Word");
  EXPECT_EQ(box.Role(CHILDID_SELF), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(box.Value(CHILDID_SELF), L"sun");
  // The label that names it shows nothing.
  const HWND label = GetWindow(FEdit, GW_HWNDPREV);
  ASSERT_NE(label, nullptr);
  EXPECT_FALSE(IsWindowVisible(label));
}

// The program started turned round from German, as a reader in another process meets it;
// turned back with Ctrl+D on the X keyboard, and round again by the reader, through the
// arrow's default action.
TEST(ATurnedRoundProgram, IsReadFromAnotherProcessAndTurnedByKeyOrByTheReader) {
  const TProgramRun program(96, TDirection::ToEnglish);
  ASSERT_NE(program.Window(), nullptr);
  const HWND edit = program.Control(WC_EDITW);
  const HWND grid = program.Control(TResultGrid::kClassName);
  const TReaderView bar(program.Control(TOOLBARCLASSNAMEW));
  ASSERT_NE(bar.Object(), nullptr);
  // The picture of the words' language, the arrow, and German, the only language there.
  ASSERT_EQ(bar.Count(), 3);
  EXPECT_EQ(bar.Name(1), L"From German");
  EXPECT_EQ(bar.State(1), STATE_SYSTEM_UNAVAILABLE);
  EXPECT_EQ(bar.Name(2), L"to English");
  EXPECT_EQ(bar.Role(2), ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(bar.State(2), STATE_SYSTEM_PRESSED);
  EXPECT_EQ(bar.Shortcut(2), L"Ctrl+D");
  EXPECT_EQ(bar.DefaultAction(2), L"Turn round");
  EXPECT_EQ(bar.State(3), STATE_SYSTEM_CHECKED);
  EXPECT_EQ(TReaderView(edit).Name(CHILDID_SELF), L"German word");

  Click(CentreOf(edit));
  KeysAtTypingSpeed("h adiaeresis u s");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == L"h\u00E4us"; }, 5000));
  EXPECT_TRUE(
      WaitUntil([&] { return WindowText(grid) == L"Haus=house\r\nH\u00E4user=houses"; }, 5000))
      << ToUtf8(WindowText(grid));

  TEventListener listener(program.ProcessId());
  Keys("ctrl+d");
  EXPECT_TRUE(WaitUntil([&] { return bar.Name(1) == L"From English"; }, 5000));
  EXPECT_EQ(bar.Name(2), L"to");
  EXPECT_EQ(bar.State(2), 0);
  EXPECT_EQ(TReaderView(edit).Name(CHILDID_SELF), L"Word");
  const HWND toolBar = program.Control(TOOLBARCLASSNAMEW);
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_NAMECHANGE, toolBar, 1));
  EXPECT_TRUE(listener.Heard(EVENT_OBJECT_STATECHANGE, toolBar, 2));

  EXPECT_EQ(bar.DoDefaultAction(2), S_OK);
  EXPECT_TRUE(WaitUntil([&] { return bar.Name(1) == L"From German"; }, 5000));
  EXPECT_EQ(bar.State(2), STATE_SYSTEM_PRESSED);
  EXPECT_EQ(TReaderView(edit).Name(CHILDID_SELF), L"German word");
  // The flag and the items that are no buttons have no action.
  EXPECT_EQ(bar.DefaultAction(1), L"");
  EXPECT_EQ(bar.DoDefaultAction(1), DISP_E_MEMBERNOTFOUND);
}

}  // namespace
}  // namespace parlivo::test
