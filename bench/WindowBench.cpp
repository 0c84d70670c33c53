// Under Wine: the time from setting the word box's text to final rows and status text,
// and of the paint that follows, with the real lexicon beside the program.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "ErrorBox.h"
#include "MainForm.h"
#include "Search.h"

using namespace parlivo;
using Clock = std::chrono::steady_clock;

namespace {

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

double Milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const String16 folder = argc > 1 ? String16(argv[1]) : ProgramFolder();
  TMainForm form(folder);
  form.Show();
  form.LanguageBar().Press(LanguageButtonId(0));
  form.ToolButton3Click();
  Pump();
  // Typed letter by letter, as a user types: each word follows the one before.
  const std::vector<const wchar_t*> words = {L"h", L"ho", L"hou", L"hous", L"house", L"housew",
                                             L"c", L"co", L"con", L"cont", L"contr", L"contra",
                                             L"s", L"st", L"str", L"stra", L"strai", L"straig"};
  std::printf("%-8s %8s %12s %12s %12s\n", "typed", "rows", "search ms", "lookups ms", "paint ms");
  for (int round = 0; round < 2; ++round) {
    for (const wchar_t* word : words) {
      const auto start = Clock::now();
      SetWindowTextW(form.EditWord(), word);  // runs the search before it returns
      const auto searched = Clock::now();
      RedrawWindow(form.VList().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      const auto painted = Clock::now();
      Pump();
      // The engine's share of the search: the same lookups without the window.
      const auto lookupStart = Clock::now();
      SearchTypedWord(*form.Translator(), word, [](StringView16, StringView16) {});
      const auto lookedUp = Clock::now();
      if (round == 1) {
        std::printf("%-8ls %8zu %12.2f %12.2f %12.2f\n", word, form.VList().Rows().size(),
                    Milliseconds(searched - start), Milliseconds(lookedUp - lookupStart),
                    Milliseconds(painted - searched));
      }
    }
  }
  return 0;
}
