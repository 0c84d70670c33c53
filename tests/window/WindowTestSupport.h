// Driving the real main window in tests: error messages are collected instead of
// shown in a modal box, and the window is placed off to the side of the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "MainForm.h"
#include "TestFiles.h"

namespace parlivo::test {

// Collects every error the window framework would show while it lives.
class TErrorCatcher {
 public:
  TErrorCatcher();
  ~TErrorCatcher();
  const std::vector<String16>& Messages() const { return FMessages; }
  void Clear() { FMessages.clear(); }

 private:
  std::vector<String16> FMessages;
};

// Dispatches the messages waiting in this thread's queue, offering each to the filter
// first, as the program's loop offers them to the window.
void PumpMessages();
void SetMessageFilter(std::function<bool(const MSG&)> filter);

// A program folder with a Files folder holding the sample lexicon as Index.plv and
// the given language files.
void WriteSampleFiles(const std::filesystem::path& programFolder,
                      const std::vector<std::string>& languageFiles);

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND child);

String16 WindowText(HWND window);

// The height of a line of the grid's cell font, as painting measures a row.
int CellLineHeight(const TResultGrid& grid);

// Writes Files\Index.plv and one file per entry of languages (file name -> headword,
// text pairs) into programFolder, with the writer the lexicon builder uses.
using TEntries = std::vector<std::pair<std::string, std::string>>;
void WriteLexicon(const std::filesystem::path& programFolder,
                  const std::map<std::string, TEntries>& languages);

// A window on a lexicon of its own, shown once for a whole suite: showing a window
// costs Wine about two seconds.
struct TShownForm {
  TTempDir Dir;
  std::unique_ptr<TMainForm> Form;
};
std::unique_ptr<TShownForm> ShowFormOn(
    const std::function<void(const std::filesystem::path&)>& writeFiles);
// ShowFormOn for a user's input: on top of the screen at (100, 60), the window's keyboard
// handling offered every message first, as the program's loop offers them, until
// EndInput.
std::unique_ptr<TShownForm> ShowFormForInput(
    const std::function<void(const std::filesystem::path&)>& writeFiles);
void EndInput(std::unique_ptr<TShownForm>& shown);

// The folder as the window takes it: ending in a backslash.
String16 Folder(const TTempDir& dir);
std::vector<std::string> AllLanguageFiles();

}  // namespace parlivo::test
