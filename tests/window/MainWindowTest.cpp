// The main window under Wine: start-up with and without a lexicon, the open errors,
// the layout at the start size, the minimum size, snapping and the Tab key.
#include <gtest/gtest.h>

#include "ErrorBox.h"
#include "Languages.h"
#include "ParlivoVersion.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

void ExpectRect(const RECT& rect, int left, int top, int width, int height, const char* what) {
  EXPECT_EQ(rect.left, left) << what;
  EXPECT_EQ(rect.top, top) << what;
  EXPECT_EQ(rect.right - rect.left, width) << what;
  EXPECT_EQ(rect.bottom - rect.top, height) << what;
}

TEST(ErrorBoxText, AddsAFullStopUnlessTheMessageEndsInOneOrLower) {
  EXPECT_EQ(ErrorBoxText(L"File not found"), L"File not found.");
  EXPECT_EQ(ErrorBoxText(L"Done."), L"Done.");
  EXPECT_EQ(ErrorBoxText(L"Why?"), L"Why?.");
  EXPECT_EQ(ErrorBoxText(L"(x)"), L"(x)");  // ')' is below '.'
  EXPECT_EQ(ErrorBoxText(L"a -"), L"a -");
  EXPECT_EQ(ErrorBoxText(L""), L"");
}

TEST(ErrorBoxText, HandlerErrorsAreShownAndGoNoFurther) {
  TErrorCatcher errors;
  bool after = false;
  EXPECT_FALSE(RunHandler(nullptr, [&] {
    throw EFOpenError(L"Cannot open file \"x\". Denied");
    after = true;
  }));
  EXPECT_FALSE(after);
  EXPECT_TRUE(RunHandler(nullptr, [] {}));
  EXPECT_EQ(errors.Messages(), std::vector<String16>{L"Cannot open file \"x\". Denied."});
}

TEST(ProgramFolder, CutAfterTheLastBackslashOrColon) {
  EXPECT_EQ(ProgramFolderOf(L"C:\\Tools\\Lex\\prog.exe"), L"C:\\Tools\\Lex\\");
  EXPECT_EQ(ProgramFolderOf(L"C:prog.exe"), L"C:");
  EXPECT_EQ(ProgramFolderOf(L"prog.exe"), L"");
  const String16 own = ProgramFolder();
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(own.back(), L'\\');
}

TEST(StartUp, WithoutFilesShowsTheOpenErrorAndAllLanguages) {
  TTempDir dir;
  TErrorCatcher errors;
  TMainForm form(Folder(dir));
  const String16 index = Folder(dir) + L"Files\\Index.plv";
  EXPECT_EQ(form.FilesPath(), Folder(dir) + L"Files\\");
  ASSERT_EQ(errors.Messages().size(), 1u);
  EXPECT_EQ(errors.Messages()[0],
            ErrorBoxText(OpenErrorMessage(index, SystemText(ERROR_PATH_NOT_FOUND))));
  ASSERT_NE(form.Translator(), nullptr);
  EXPECT_EQ(form.Translator()->IndexFileName(), index);
  for (int number = 1; number <= 9; ++number) {
    EXPECT_TRUE(form.LanguageBar().IsVisible(ToolButtonId(number))) << number;
    EXPECT_FALSE(form.LanguageBar().IsDown(ToolButtonId(number))) << number;
  }
}

TEST(StartUp, WithACompleteLexiconShowsNoError) {
  TTempDir dir;
  WriteSampleFiles(dir.Path(), AllLanguageFiles());
  TErrorCatcher errors;
  TMainForm form(Folder(dir));
  EXPECT_TRUE(errors.Messages().empty());
  EXPECT_EQ(form.Translator()->Translate(L"mip"), trNoBucket);  // no language chosen yet
}

TEST(StartUp, ASecondCopyFindsTheIndexHeld) {
  TTempDir dir;
  WriteSampleFiles(dir.Path(), {"German.plv"});
  TErrorCatcher errors;
  TMainForm first(Folder(dir));
  ASSERT_TRUE(errors.Messages().empty());
  TMainForm second(Folder(dir));
  ASSERT_EQ(errors.Messages().size(), 1u);
  EXPECT_EQ(errors.Messages()[0],
            ErrorBoxText(OpenErrorMessage(Folder(dir) + L"Files\\Index.plv",
                                          SystemText(ERROR_SHARING_VIOLATION))));
  // The second window opens all the same.
  EXPECT_TRUE(IsWindow(second.Handle()));
}

// One window for these tests: showing a window costs Wine about two seconds. Every
// test starts from the start size, placed off to the side, the focus in the word box.
class StartSize : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Shown = ShowFormOn(
        [](const std::filesystem::path& folder) { WriteSampleFiles(folder, AllLanguageFiles()); });
    Form = Shown->Form.get();
    RECT window;
    GetWindowRect(Form->Handle(), &window);
    StartExtent = {window.right - window.left, window.bottom - window.top};
  }
  static void TearDownTestSuite() { Shown.reset(); }
  void SetUp() override {
    SetWindowPos(Form->Handle(), nullptr, 500, 300, StartExtent.cx, StartExtent.cy, SWP_NOZORDER);
    SetFocus(Form->EditWord());
    PumpMessages();
    FForm = Form;
  }
  static inline std::unique_ptr<TShownForm> Shown;
  static inline TMainForm* Form = nullptr;
  static inline SIZE StartExtent{};
  TMainForm* FForm = nullptr;
};

TEST_F(StartSize, StripsColumnsAndTitle) {
  RECT client;
  GetClientRect(FForm->Handle(), &client);
  EXPECT_EQ(client.right, 366);
  EXPECT_EQ(client.bottom, 463);
  EXPECT_EQ(WindowText(FForm->Handle()), L"Parlivo");
  ExpectRect(ChildRect(FForm->TopPanel()), 0, 0, 366, 50, "TopPanel");
  ExpectRect(ChildRect(FForm->ToolBar()), 0, 50, 366, 46, "ToolBar");
  ExpectRect(ChildRect(FForm->EditWord()), 0, 96, 366, 32, "EditWord");
  ExpectRect(ChildRect(FForm->VList().Handle()), 0, 128, 366, 315, "VList");
  ExpectRect(ChildRect(FForm->StatusBar()), 0, 443, 366, 20, "StatusBar");
  EXPECT_EQ(FForm->VList().ColWidth(0), 0);
  EXPECT_EQ(FForm->VList().ColWidth(1), 360);
  EXPECT_EQ(FForm->VList().ClientWidth(), 362);
}

TEST_F(StartSize, ToolButtonsSideBySideFromTheLeft) {
  const int order[] = {1, 2, 9, 3, 4, 5, 6, 7, 8};
  int left = -1;
  for (int number : order) {
    const RECT rect = FForm->LanguageBar().ButtonRect(ToolButtonId(number));
    EXPECT_EQ(rect.right - rect.left, 39) << number;
    EXPECT_EQ(rect.bottom - rect.top, 38) << number;
    if (left >= 0) {
      EXPECT_EQ(rect.left, left) << number;
    }
    left = rect.right;
  }
  EXPECT_EQ(ToolButtonHint(ToolButtonId(9)), L"English");
  EXPECT_EQ(ToolButtonHint(ToolButtonId(3)), L"German");
  EXPECT_EQ(ToolButtonHint(ToolButtonId(8)), L"Portuguese");
  EXPECT_TRUE(ToolButtonHint(ToolButtonId(1)).empty());
  EXPECT_FALSE(SendMessageW(FForm->ToolBar(), TB_ISBUTTONENABLED, ToolButtonId(1), 0));
  EXPECT_FALSE(SendMessageW(FForm->ToolBar(), TB_ISBUTTONENABLED, ToolButtonId(2), 0));
}

TEST_F(StartSize, ClientNeverNarrowerThanTheBanner) {
  MINMAXINFO info{};
  SendMessageW(FForm->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  RECT frame{0, 0, 366, 0};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(FForm->Handle(), GWL_STYLE)),
                     FALSE, 0);
  EXPECT_EQ(info.ptMinTrackSize.x, frame.right - frame.left);
  EXPECT_EQ(info.ptMinTrackSize.y, 150);

  // At the minimum height the strips keep their places and the grid has no height.
  SetWindowPos(FForm->Handle(), nullptr, 0, 0, 600, 150, SWP_NOMOVE | SWP_NOZORDER);
  ExpectRect(ChildRect(FForm->EditWord()), 0, 96, 600 - (frame.right - frame.left - 366), 32,
             "EditWord");
  const RECT grid = ChildRect(FForm->VList().Handle());
  EXPECT_EQ(grid.bottom - grid.top, 0);
  // Wider: the text column takes the extra width.
  EXPECT_EQ(FForm->VList().ColWidth(1), FForm->VList().ClientWidth() - 2);
}

TEST_F(StartSize, MovesSnapToTheWorkAreaWithinNinePixels) {
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  RECT window;
  GetWindowRect(FForm->Handle(), &window);
  SetWindowPos(FForm->Handle(), nullptr, area.left + 9, area.top + 10, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(FForm->Handle(), &window);
  EXPECT_EQ(window.left, area.left);
  EXPECT_EQ(window.top, area.top + 10);
  const int width = window.right - window.left;
  SetWindowPos(FForm->Handle(), nullptr, area.right - width - 5, area.top + 40, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(FForm->Handle(), &window);
  EXPECT_EQ(window.right, area.right);
  EXPECT_EQ(window.top, area.top + 40);
}

TEST_F(StartSize, TabMovesBetweenGridAndWordBoxOnly) {
  EXPECT_EQ(GetFocus(), FForm->EditWord());
  MSG tab{};
  tab.message = WM_KEYDOWN;
  tab.wParam = VK_TAB;
  tab.hwnd = GetFocus();
  EXPECT_TRUE(FForm->PreTranslateMessage(tab));
  EXPECT_EQ(GetFocus(), FForm->VList().Handle());
  tab.hwnd = GetFocus();
  EXPECT_TRUE(FForm->PreTranslateMessage(tab));
  EXPECT_EQ(GetFocus(), FForm->EditWord());
}

TEST(VersionResource, ProductNameAndVersionOfTheShippedProgram) {
  const String16 program = ProgramFolder() + L"..\\bin\\Parlivo.exe";
  DWORD ignored = 0;
  std::vector<BYTE> data(GetFileVersionInfoSizeW(program.c_str(), &ignored));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(
      GetFileVersionInfoW(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
  auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const String16 path = String16(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(data.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
      return String16();
    return String16(text, length ? length - 1 : 0);
  };
  EXPECT_EQ(value(L"ProductName"), L"Parlivo");
  EXPECT_EQ(ToUtf8(value(L"ProductVersion")), PARLIVO_VERSION_TEXT);
}

}  // namespace
}  // namespace parlivo::test
