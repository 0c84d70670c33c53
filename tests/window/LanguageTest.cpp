// The language buttons and the saved language, end to end against files the tests
// write and Wine's real registry; and the shipped Parlivo.exe typed into as a user
// types.
#include <gtest/gtest.h>

#include <windows.h>
// after windows.h, which they need
#include <oleacc.h>
#include <psapi.h>
#include <shlobj.h>

#include <fstream>

#include "ErrorBox.h"
#include "Languages.h"
#include "Registry.h"
#include "ScreenReader.h"
#include "WindowTestSupport.h"

namespace parlivo::test {
namespace {

constexpr wchar_t kKey[] = L"Software\\Parlivo";

class LanguageButtons : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kKey); }
  // Created and shown as the main block would, but without waiting for the screen:
  // FormShow runs as it does when the window becomes visible.
  std::unique_ptr<TMainForm> Start() {
    auto form = std::make_unique<TMainForm>(Folder(FDir));
    RunHandler(form->Handle(), [&] { form->FormShow(); });
    PumpMessages();
    return form;
  }
  // A click with the mouse on a tool bar button.
  void Click(TMainForm& form, int button) {
    const RECT rect = form.LanguageBar().ButtonRect(button);
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMessageW(form.ToolBar(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(form.ToolBar(), WM_LBUTTONUP, 0, at);
    PumpMessages();
  }
  void Type(TMainForm& form, const wchar_t* text) {
    SetWindowTextW(form.EditWord(), text);
    PumpMessages();
  }
  std::vector<int> PressedButtons(TMainForm& form) {
    std::vector<int> pressed;
    for (int number = 3; number <= 9; ++number) {
      if (form.LanguageBar().IsDown(ToolButtonId(number))) pressed.push_back(number);
    }
    return pressed;
  }
  std::pair<DWORD, std::vector<BYTE>> SavedValue() {
    DWORD type = 0, size = 0;
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, L"Language", RRF_RT_ANY | RRF_NOEXPAND, &type,
                     nullptr, &size) != ERROR_SUCCESS) {
      return {REG_NONE, {}};
    }
    std::vector<BYTE> data(size);
    RegGetValueW(HKEY_CURRENT_USER, kKey, L"Language", RRF_RT_ANY | RRF_NOEXPAND, &type,
                 data.data(), &size);
    data.resize(size);
    return {type, data};
  }
  TTempDir FDir;
  TErrorCatcher FErrors;
};

TEST_F(LanguageButtons, OnlyPresentLanguagesCloseUpFromTheLeft) {
  WriteLexicon(FDir.Path(),
               {{"German.plv", {{"sun", "Sonne"}}}, {"English.plv", {{"sun", "a star"}}}});
  std::filesystem::create_directory(FDir / "Files" / "French.plv");  // a folder does not count
  auto form = Start();
  for (int number : {1, 2, 9, 3})
    EXPECT_TRUE(form->LanguageBar().IsVisible(ToolButtonId(number))) << number;
  for (int number : {4, 5, 6, 7, 8})
    EXPECT_FALSE(form->LanguageBar().IsVisible(ToolButtonId(number))) << number;
  int right = form->LanguageBar().ButtonRect(ToolButtonId(1)).left;
  for (int number : {1, 2, 9, 3}) {
    const RECT rect = form->LanguageBar().ButtonRect(ToolButtonId(number));
    EXPECT_EQ(rect.left, right) << number;
    right = rect.right;
  }
  EXPECT_TRUE(PressedButtons(*form).empty());
}

TEST_F(LanguageButtons, AnotherLanguageReplacesTheRowsForTheSameWord) {
  WriteLexicon(FDir.Path(), {{"German.plv", {{"sun", "Sonne"}, {"sunny", "sonnig"}}},
                             {"French.plv", {{"sun", "soleil"}}}});
  auto form = Start();
  Click(*form, ToolButtonId(3));
  Type(*form, L"sun");
  EXPECT_EQ(form->VList().Rows(), (std::vector<String16>{L"sun=Sonne", L"sunny=sonnig"}));
  Click(*form, ToolButtonId(4));
  EXPECT_EQ(PressedButtons(*form), std::vector<int>{4});
  EXPECT_EQ(form->VList().Rows(), std::vector<String16>{L"sun=soleil"});
  EXPECT_EQ(form->StatusText(), L" Found: 1");
  // The pressed button stays pressed and searches again.
  SendMessageW(form->EditWord(), EM_SETSEL, 0, 0);
  form->VList().ClearRows();
  Click(*form, ToolButtonId(4));
  EXPECT_EQ(PressedButtons(*form), std::vector<int>{4});
  EXPECT_EQ(form->VList().Rows(), std::vector<String16>{L"sun=soleil"});
  EXPECT_TRUE(FErrors.Messages().empty());
}

TEST_F(LanguageButtons, ALanguageFileGoneSinceStartShowsTheErrorAndKeepsTheRows) {
  WriteLexicon(FDir.Path(), {{"German.plv", {{"sun", "Sonne"}}}, {"Dutch.plv", {{"sun", "zon"}}}});
  auto form = Start();
  Click(*form, ToolButtonId(3));
  Type(*form, L"sun");
  std::filesystem::remove(FDir / "Files" / "Dutch.plv");
  Click(*form, ToolButtonId(5));
  const String16 path = Folder(FDir) + L"Files\\Dutch.plv";
  EXPECT_EQ(FErrors.Messages(), std::vector<String16>{ErrorBoxText(
                                    OpenErrorMessage(path, SystemText(ERROR_FILE_NOT_FOUND)))});
  EXPECT_EQ(PressedButtons(*form), std::vector<int>{5});
  EXPECT_EQ(form->VList().Rows(), std::vector<String16>{L"sun=Sonne"});
}

TEST_F(LanguageButtons, FirstRunPressesNothingAndFocusesTheWordBox) {
  WriteLexicon(FDir.Path(), {{"German.plv", {{"sun", "Sonne"}}}});
  TMainForm form(Folder(FDir));
  form.Show();  // FormShow runs as the window becomes visible
  PumpMessages();
  EXPECT_TRUE(PressedButtons(form).empty());
  EXPECT_TRUE(form.Translator()->DataFileName().empty());
  EXPECT_EQ(GetFocus(), form.EditWord());
  Type(form, L"sun");
  EXPECT_TRUE(form.VList().Rows().empty());
  EXPECT_EQ(form.StatusText(), L"");
}

TEST_F(LanguageButtons, TheChosenLanguageIsSavedAndPressedAtTheNextStart) {
  WriteLexicon(FDir.Path(),
               {{"German.plv", {{"sun", "Sonne"}}}, {"Spanish.plv", {{"sun", "sol"}}}});
  {
    auto form = Start();
    Click(*form, ToolButtonId(7));
    form->FormClose();
  }
  const auto [type, data] = SavedValue();
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data.size(), 14u);
  auto form = Start();
  EXPECT_EQ(PressedButtons(*form), std::vector<int>{7});
  EXPECT_EQ(form->Translator()->DataFileName(), Folder(FDir) + L"Files\\Spanish.plv");
  Type(*form, L"sun");
  EXPECT_EQ(form->VList().Rows(), std::vector<String16>{L"sun=sol"});
}

TEST_F(LanguageButtons, SavedNamesPressOnlyPresentLanguagesInTheirExactCase) {
  WriteLexicon(FDir.Path(),
               {{"German.plv", {{"sun", "Sonne"}}}, {"Spanish.plv", {{"sun", "sol"}}}});
  RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"spanish");
  EXPECT_TRUE(PressedButtons(*Start()).empty());
  RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"Italian");  // its file is missing
  auto form = Start();
  EXPECT_TRUE(PressedButtons(*form).empty());
  Type(*form, L"sun");
  EXPECT_EQ(form->StatusText(), L"");
  // Closed with no button down: the empty text replaces the choice.
  form->FormClose();
  const auto [type, data] = SavedValue();
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data.size(), 0u);
}

TEST_F(LanguageButtons, WithoutTheIndexTheSavedLanguageIsPressedAndItsErrorFollows) {
  RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"German");
  auto form = Start();
  EXPECT_EQ(PressedButtons(*form), std::vector<int>{3});
  ASSERT_EQ(FErrors.Messages().size(), 2u);
  EXPECT_NE(FErrors.Messages()[0].find(L"Files\\Index.plv"), String16::npos);
  EXPECT_NE(FErrors.Messages()[1].find(L"Files\\German.plv"), String16::npos);
  // The search runs against no open files without failing.
  Type(*form, L"sun");
  EXPECT_EQ(WindowText(form->EditWord()), L"sun");
}

TEST_F(LanguageButtons, ALanguageThatFailedToOpenIsTriedAgainOnTheNextClick) {
  WriteLexicon(FDir.Path(), {{"German.plv", {{"sun", "Sonne"}}}, {"Dutch.plv", {{"sun", "zon"}}}});
  auto form = Start();
  Click(*form, ToolButtonId(3));
  Type(*form, L"sun");
  const String16 dutch = Folder(FDir) + L"Files\\Dutch.plv";
  // Another program holds the file without sharing it.
  HANDLE held = CreateFileW(dutch.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const String16 error = ErrorBoxText(OpenErrorMessage(dutch, SystemText(ERROR_SHARING_VIOLATION)));
  Click(*form, ToolButtonId(5));
  Click(*form, ToolButtonId(5));  // still held: the error again, not a silent " Found: 0"
  EXPECT_EQ(FErrors.Messages(), (std::vector<String16>{error, error}));
  EXPECT_EQ(PressedButtons(*form), std::vector<int>{5});
  EXPECT_EQ(form->VList().Rows(), std::vector<String16>{L"sun=Sonne"});
  CloseHandle(held);
  Click(*form, ToolButtonId(5));
  EXPECT_EQ(FErrors.Messages().size(), 2u);
  EXPECT_EQ(form->VList().Rows(), std::vector<String16>{L"sun=zon"});
  EXPECT_EQ(form->StatusText(), L" Found: 1");
}

TEST_F(LanguageButtons, AWordBlockClaimingEverythingCostsAKeystrokeNothing) {
  TEntries german;
  for (const char* word : {"hound", "house", "housing", "hour"}) german.push_back({word, "x"});
  WriteLexicon(FDir.Path(), {{"German.plv", german}});
  // Every length count of the "hou" bucket becomes 65535.
  const auto indexPath = FDir / "Files" / "Index.plv";
  std::vector<uint8_t> index(std::filesystem::file_size(indexPath));
  std::ifstream(indexPath, std::ios::binary)
      .read(reinterpret_cast<char*>(index.data()), static_cast<std::streamsize>(index.size()));
  const size_t block = LoadU32(&index[100 + 4 * TTranslator::BucketOf(PLV_TEXT("hou"))]);
  for (size_t at = block + 2; at < block + 2 + 2 * (index[block + 1] - index[block] + 1); ++at)
    index[at] = 0xFF;
  WriteBytes(indexPath, index);

  auto form = Start();
  Click(*form, ToolButtonId(3));
  PROCESS_MEMORY_COUNTERS before{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  const DWORD start = GetTickCount();
  Type(*form, L"hou");
  const DWORD took = GetTickCount() - start;
  PROCESS_MEMORY_COUNTERS after{};
  K32GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_LT(took, 100u);
  EXPECT_LT(after.PeakWorkingSetSize - before.PeakWorkingSetSize, 8u << 20);
  EXPECT_TRUE(form->VList().Rows().empty());
  EXPECT_EQ(form->StatusText(), L" Found: 0");
}

// The shipped program as drive-program.sh runs it: from a folder of its own, typed
// into on the X keyboard between these steps. Each step reads what it needs from the
// environment and is skipped without it.
String16 Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  GetEnvironmentVariableW(name, value, MAX_PATH);
  return value;
}

TEST(ShippedProgram, WriteSampleLexicon) {
  const String16 folder = Environment(L"PARLIVO_PROGRAM_FOLDER");
  if (folder.empty()) GTEST_SKIP() << "run by drive-program.sh";
  WriteLexicon(std::filesystem::path(folder),
               {{"German.plv", {{"sun", "Sonne"}, {"sunny", "sonnig"}}}});
}

TEST(ShippedProgram, ChooseGerman) {
  if (Environment(L"PARLIVO_FIRST_ROW").empty()) GTEST_SKIP() << "run by drive-program.sh";
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  RegWriteString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L"German");
}

TEST(ShippedProgram, ReadByAScreenReaderFromAnotherProcess) {
  const String16 firstRow = Environment(L"PARLIVO_FIRST_ROW");
  if (firstRow.empty()) GTEST_SKIP() << "run by drive-program.sh";
  const HWND window = FindWindowW(TMainForm::kClassName, L"Parlivo");
  ASSERT_NE(window, nullptr);
  const HWND grid = FindWindowExW(window, nullptr, TResultGrid::kClassName, nullptr);
  const HWND bar = FindWindowExW(window, nullptr, TOOLBARCLASSNAMEW, nullptr);
  ASSERT_TRUE(grid && bar);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible* rows = nullptr;
  const HRESULT result =
      AccessibleObjectFromWindow(grid, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 reinterpret_cast<void**>(&rows));
  ASSERT_EQ(result, S_OK);
  long count = 0;
  rows->get_accChildCount(&count);
  EXPECT_GT(count, 0);
  VARIANT first;
  VariantInit(&first);
  first.vt = VT_I4;
  first.lVal = 1;
  BSTR name = nullptr;
  rows->get_accName(first, &name);
  const String16 expected =
      firstRow.substr(0, firstRow.find(L'=')) + L": " + firstRow.substr(firstRow.find(L'=') + 1);
  EXPECT_EQ(String16(name ? name : L""), expected);
  SysFreeString(name);
  rows->Release();
  // The word box's name and the count, which the system's own objects leave out.
  const HWND edit = FindWindowExW(window, nullptr, WC_EDITW, nullptr);
  const HWND status = FindWindowExW(window, nullptr, STATUSCLASSNAMEW, nullptr);
  ASSERT_TRUE(edit && status);
  EXPECT_EQ(TReaderView(edit).Name(CHILDID_SELF), L"Word");
  EXPECT_EQ(TReaderView(status).Name(CHILDID_SELF).substr(0, 7), L"Found: ");
  CoUninitialize();
}

TEST(ShippedProgram, TypedRowsThenTheLanguageIsSavedOnClose) {
  const String16 typed = Environment(L"PARLIVO_TYPED");
  const String16 firstRow = Environment(L"PARLIVO_FIRST_ROW");
  if (typed.empty() || firstRow.empty()) GTEST_SKIP() << "run by drive-program.sh";
  const HWND window = FindWindowW(TMainForm::kClassName, L"Parlivo");
  ASSERT_NE(window, nullptr);
  HWND edit = FindWindowExW(window, nullptr, L"Edit", nullptr);
  HWND grid = FindWindowExW(window, nullptr, TResultGrid::kClassName, nullptr);
  ASSERT_TRUE(edit && grid);
  String16 rows;
  for (int i = 0; i < 200 && (WindowText(edit) != typed || rows.empty()); ++i) {
    Sleep(50);
    rows = WindowText(grid);
  }
  EXPECT_EQ(WindowText(edit), typed);
  EXPECT_EQ(rows.substr(0, rows.find(L'\r')), firstRow);
  PostMessageW(window, WM_CLOSE, 0, 0);
  for (int i = 0; i < 200 && IsWindow(window); ++i) Sleep(50);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L""), L"German");
}

TEST(ShippedProgram, InstalledWithAStartMenuShortcut) {
  const String16 folder = Environment(L"PARLIVO_INSTALLED_FOLDER");
  if (folder.empty()) GTEST_SKIP() << "run by drive-program.sh";
  wchar_t programs[MAX_PATH];
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, programs), S_OK);
  EXPECT_TRUE(std::filesystem::is_regular_file(String16(programs) + L"\\Parlivo\\Parlivo.lnk"));
  for (const wchar_t* name :
       {L"Parlivo.exe", L"UserGuide.txt", L"Uninstall.exe", L"Files\\Index.plv",
        L"Files\\German.plv", L"Licences\\dict-wn.txt"}) {
    EXPECT_TRUE(std::filesystem::is_regular_file(folder + L"\\" + name)) << ToUtf8(name);
  }
}

TEST(ShippedProgram, UninstalledButTheChosenLanguageKept) {
  const String16 folder = Environment(L"PARLIVO_INSTALLED_FOLDER");
  if (folder.empty()) GTEST_SKIP() << "run by drive-program.sh";
  EXPECT_FALSE(std::filesystem::exists(folder + L"\\Parlivo.exe"));
  EXPECT_FALSE(std::filesystem::exists(folder + L"\\Files"));
  EXPECT_EQ(RegReadString(L"", HKEY_CURRENT_USER, 0, kKey, L"Language", L""), L"German");
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

}  // namespace
}  // namespace parlivo::test
