#include "ProgramRun.h"

#include <iterator>
#include <stdexcept>

#include "MainForm.h"
#include "Registry.h"
#include "ReverseLexicon.h"
#include "UserInput.h"
#include "WindowTestSupport.h"

namespace parlivo::test {

namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";

// The screen's dpi for processes started while it lives, as the display settings set it;
// the value there was before comes back at the end. The system reads it as a process
// starts.
class TDpiForNewProcesses {
 public:
  explicit TDpiForNewProcesses(int dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    nullptr, &FKey, nullptr);
    DWORD size = sizeof FBefore;
    FHadValue = RegQueryValueExW(FKey, kLogPixels, nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&FBefore), &size) == ERROR_SUCCESS;
    Set(static_cast<DWORD>(dpi));
  }
  ~TDpiForNewProcesses() {
    if (FHadValue) {
      Set(FBefore);
    } else {
      RegDeleteValueW(FKey, kLogPixels);
    }
    RegCloseKey(FKey);
  }
  TDpiForNewProcesses(const TDpiForNewProcesses&) = delete;
  TDpiForNewProcesses& operator=(const TDpiForNewProcesses&) = delete;

 private:
  void Set(DWORD dpi) {
    RegSetValueExW(FKey, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
  }
  HKEY FKey = nullptr;
  DWORD FBefore = 0;
  bool FHadValue = false;
};

struct TSearch {
  DWORD ProcessId;
  HWND Found;
};

BOOL CALLBACK FindShownForm(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<TSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[64] = {};
  GetClassNameW(window, className, static_cast<int>(std::size(className)));
  if (process == search.ProcessId && IsWindowVisible(window) &&
      String16(className) == TMainForm::kClassName) {
    search.Found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

TProgramRun::TProgramRun(int dpi, TDirection direction) {
  const std::filesystem::path program = ProgramFolder() + L"..\\bin\\Parlivo.exe";
  std::filesystem::copy_file(program, FDir / "Parlivo.exe");
  WriteLexicon(
      FDir.Path(),
      {{"German.plv",
        {{"sun", "Sonne"}, {"sunny", "sonnig"}, {"sunday", "Sonntag"}, {"house", "Haus"}}}});
  RegWriteString(L"", HKEY_CURRENT_USER, 0, RegistryKey, kLanguageValue, L"German");
  if (direction == TDirection::ToEnglish) {
    WriteReverseSet(FDir / "Files", "German",
                    {{"sonne", "Sonne", "sun"},
                     {"sonnig", "sonnig", "sunny"},
                     {"sonntag", "Sonntag", "Sunday"},
                     {"haus", "Haus", "house"},
                     {"hauser", "Häuser", "houses"}});
    RegWriteString(L"", HKEY_CURRENT_USER, 0, RegistryKey, kDirectionValue, kTurnedRoundText);
  }

  const TDpiForNewProcesses screen(dpi);
  String16 command = L"\"" + ToText(FDir / "Parlivo.exe") + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      ToText(FDir.Path()).c_str(), &startup, &FProcess))
    throw std::runtime_error("cannot start Parlivo.exe");
  WaitUntil(
      [&] {
        TSearch search{FProcess.dwProcessId, nullptr};
        EnumWindows(FindShownForm, reinterpret_cast<LPARAM>(&search));
        FWindow = search.Found;
        return FWindow != nullptr;
      },
      30000);
  // Once shown, it has painted and is waiting for input.
  WaitForInputIdle(FProcess.hProcess, 10000);
}

TProgramRun::~TProgramRun() {
  if (FWindow) PostMessageW(FWindow, WM_CLOSE, 0, 0);
  if (!WaitUntil([&] { return WaitForSingleObject(FProcess.hProcess, 0) == WAIT_OBJECT_0; }, 10000))
    TerminateProcess(FProcess.hProcess, 1);
  WaitForSingleObject(FProcess.hProcess, 5000);
  CloseHandle(FProcess.hThread);
  CloseHandle(FProcess.hProcess);
  RegDeleteTreeW(HKEY_CURRENT_USER, RegistryKey);
}

HWND TProgramRun::Control(const wchar_t* className) const {
  return FindWindowExW(FWindow, nullptr, className, nullptr);
}

}  // namespace parlivo::test
