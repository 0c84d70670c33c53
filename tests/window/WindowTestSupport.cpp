#include "WindowTestSupport.h"

#include "ErrorBox.h"
#include "GdiHandles.h"
#include "Languages.h"
#include "LexiconWriter.h"
#include "WorkedExample.h"

namespace parlivo::test {

TErrorCatcher::TErrorCatcher() {
  SetErrorSink([this](const String16& text) { FMessages.push_back(text); });
}

TErrorCatcher::~TErrorCatcher() {
  SetErrorSink({});
}

namespace {
std::function<bool(const MSG&)> gMessageFilter;
}  // namespace

void SetMessageFilter(std::function<bool(const MSG&)> filter) {
  gMessageFilter = std::move(filter);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (gMessageFilter && gMessageFilter(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void WriteSampleFiles(const std::filesystem::path& programFolder,
                      const std::vector<std::string>& languageFiles) {
  const TSampleFiles files = WorkedExampleFiles();
  std::filesystem::create_directories(programFolder / "Files");
  WriteBytes(programFolder / "Files" / "Index.plv", files.Index);
  for (const auto& name : languageFiles) WriteBytes(programFolder / "Files" / name, files.Language);
}

RECT ChildRect(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

String16 WindowText(HWND window) {
  // Asked of the window itself: GetWindowText answers for another program's controls
  // with their creation caption.
  const auto length = static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  String16 text(length + 1, L'\0');
  text.resize(static_cast<size_t>(
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

int CellLineHeight(const TResultGrid& grid) {
  const TWindowDC dc(grid.Handle());
  const TSelect font(dc, grid.CellFont(false));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight;
}

void WriteLexicon(const std::filesystem::path& programFolder,
                  const std::map<std::string, TEntries>& languages) {
  std::vector<std::string> headwords;
  for (const auto& [file, entries] : languages) {
    for (const auto& entry : entries) headwords.push_back(entry.first);
  }
  const TLexiconIndex index(headwords);
  std::filesystem::create_directories(programFolder / "Files");
  WriteFileBytes((programFolder / "Files" / "Index.plv").string(), index.FileBytes());
  for (const auto& [file, entries] : languages) {
    TLanguageFileBuilder language(index, TSharing::EqualOffsets);
    for (const auto& [headword, text] : entries) language.Set(headword, PackText(text));
    WriteFileBytes((programFolder / "Files" / file).string(), language.FileBytes());
  }
}

std::unique_ptr<TShownForm> ShowFormOn(
    const std::function<void(const std::filesystem::path&)>& writeFiles) {
  auto shown = std::make_unique<TShownForm>();
  writeFiles(shown->Dir.Path());
  shown->Form = std::make_unique<TMainForm>(Folder(shown->Dir));
  shown->Form->Show();
  PumpMessages();
  return shown;
}

std::unique_ptr<TShownForm> ShowFormForInput(
    const std::function<void(const std::filesystem::path&)>& writeFiles) {
  auto shown = ShowFormOn(writeFiles);
  TMainForm* form = shown->Form.get();
  SetMessageFilter([form](const MSG& message) { return form->PreTranslateMessage(message); });
  SetWindowPos(form->Handle(), HWND_TOPMOST, 100, 60, 0, 0, SWP_NOSIZE);
  PumpMessages();
  return shown;
}

void EndInput(std::unique_ptr<TShownForm>& shown) {
  SetMessageFilter({});
  shown.reset();
}

String16 Folder(const TTempDir& dir) {
  return ToText(dir.Path()) + L"\\";
}

std::vector<std::string> AllLanguageFiles() {
  std::vector<std::string> all;
  for (const auto& language : Languages) all.push_back(ToUtf8(language.FileName));
  return all;
}

}  // namespace parlivo::test
