// The shipped Parlivo.exe started as a user starts it, in a process of its own, so that
// this test process can look at it as other programs do (screen readers, the screen).
#pragma once

#include <windows.h>

#include "Languages.h"
#include "TestFiles.h"

namespace parlivo::test {

// Parlivo.exe copied into a folder of its own beside a small German lexicon (sun, sunny,
// sunday), German chosen, started at the given dpi, and closed when this goes. Turned
// round towards English, the folder also holds the other direction's German files
// (Sonne, sonnig, Sonntag, Haus, Häuser).
class TProgramRun {
 public:
  explicit TProgramRun(int dpi = 96, TDirection direction = TDirection::FromEnglish);
  ~TProgramRun();
  TProgramRun(const TProgramRun&) = delete;
  TProgramRun& operator=(const TProgramRun&) = delete;

  // The main window once it is shown; nullptr if it did not come.
  HWND Window() const { return FWindow; }
  DWORD ProcessId() const { return FProcess.dwProcessId; }
  // A child window of the main window by its class.
  HWND Control(const wchar_t* className) const;

 private:
  TTempDir FDir;
  PROCESS_INFORMATION FProcess{};
  HWND FWindow = nullptr;
};

}  // namespace parlivo::test
