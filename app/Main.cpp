// The program's main block: hold the instance mutex, create the main window, run the
// message loop, then release the mutex before the window and the lexicon go.
#include <windows.h>

#include <memory>

#include "ErrorBox.h"
#include "MainForm.h"

namespace {

constexpr wchar_t kMutexName[] = L"ParlivoMtx";

// The mutex is held for the whole run; nothing waits on it.
HANDLE MutexHandle = nullptr;

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MutexHandle = CreateMutexW(nullptr, TRUE, kMutexName);
  auto form = std::make_unique<parlivo::TMainForm>();
  form->Show();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (form->PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (MutexHandle) {
    ReleaseMutex(MutexHandle);
    CloseHandle(MutexHandle);
  }
  form.reset();
  return 0;
}
