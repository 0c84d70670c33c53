// The program's main block: hold the instance mutex, create the main window, run the
// message loop, then release the mutex before the window and the lexicon go.
#include <windows.h>
// after windows.h, which it needs
#include <objbase.h>

#include <memory>

#include "ErrorBox.h"
#include "MainForm.h"

namespace {

constexpr wchar_t kMutexName[] = L"ParlivoMtx";

// The mutex is held for the whole run; nothing waits on it.
HANDLE MutexHandle = nullptr;

}  // namespace

// COM for the thread's life: screen readers reach the window's accessible objects
// through it.
class TComApartment {
 public:
  TComApartment() : FInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComApartment() {
    if (FInitialized) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

 private:
  bool FInitialized;
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const TComApartment com;
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
