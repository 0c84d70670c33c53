#include "LookupCommand.h"

#include <filesystem>
#include <optional>
#include <ostream>

#include "Errors.h"
#include "FileStream.h"
#include "Languages.h"
#include "Search.h"
#include "Translator.h"

namespace parlivo {

namespace {

constexpr char kUsage[] =
    "usage: parlivo-lookup [--files FOLDER] LANGUAGE WORD\n"
    "       parlivo-lookup [--files FOLDER] --from LANGUAGE WORD\n";
constexpr char kDamaged[] = " is damaged: run parlivo-check-lexicon\n";

String16 WithSeparator(String16 folder) {
  if (!folder.empty() && folder.back() != Char16{'/'} && folder.back() != Char16{'\\'}) {
#ifdef _WIN32
    folder.push_back(L'\\');
#else
    folder.push_back(u'/');
#endif
  }
  return folder;
}

bool IsFolder(const String16& path) {
  std::error_code ignored;
#ifdef _WIN32
  return std::filesystem::is_directory(std::filesystem::path(path), ignored);
#else
  return std::filesystem::is_directory(std::filesystem::path(ToUtf8(path)), ignored);
#endif
}

// Opens the index and the language file of one set. A build that swaps in a new set
// between the two opens takes the old files away: then the new set is opened whole.
void OpenSet(TTranslator& translator, const String16& files, const TFileSet& set,
             const std::function<void()>& betweenOpens) {
  if (!IsFolder(files)) {
    // Says which file is missing, as the window does.
    translator.SetIndexFileName(files + String16(set.Index));
    translator.SetDataFileName(files + String16(set.Data));
    return;
  }
  for (int attempt = 1;; ++attempt) {
    const auto folder = TFolder::Open(files);
    try {
      auto index = TFileStream::OpenRead(*folder, set.Index);
      if (betweenOpens) betweenOpens();
      auto data = TFileStream::OpenRead(*folder, set.Data);
      translator.AdoptFiles(std::move(index), folder->Path() + String16(set.Index), std::move(data),
                            folder->Path() + String16(set.Data));
      return;
    } catch (const EFOpenError&) {
      if (attempt == 2 || folder->StillAtPath()) throw;
    }
  }
}

}  // namespace

int RunLookup(const std::vector<String16>& args, const String16& programFolder, std::ostream& out,
              std::ostream& err, const std::function<void()>& betweenOpens) {
  String16 files;
  std::optional<String16> from;  // the language of the word, looked up in English
  std::vector<String16> words;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == PLV_TEXT("--files") && i + 1 < args.size()) {
      files = args[++i];
    } else if (args[i] == PLV_TEXT("--from") && i + 1 < args.size() && !from) {
      from = args[++i];
    } else {
      words.push_back(args[i]);
    }
  }
  if (words.size() != (from ? 1u : 2u)) {
    err << kUsage;
    return 2;
  }
  const String16& name = from ? *from : words[0];
  const TDirection direction = from ? TDirection::ToEnglish : TDirection::FromEnglish;
  const TLanguage* language = FindLanguage(name);
  if (!language || (from && !HasReverse(*language))) {
    err << (language ? "no other direction for \"" : "unknown language \"") << ToUtf8(name)
        << "\"; one of:";
    for (const TLanguage& known : Languages) {
      if (!from || HasReverse(known)) err << ' ' << ToUtf8(known.Name);
    }
    err << '\n';
    return 2;
  }
  if (files.empty()) {
    files = WithSeparator(programFolder) + PLV_TEXT("Files");
    if (!IsFolder(files)) files = PLV_TEXT("Files");
  }
  files = WithSeparator(files);

  const TFileSet set = FilesOf(*language, direction);
  TTranslator translator;
  translator.SetHeadwordsAsSpelt(direction == TDirection::ToEnglish);
  try {
    OpenSet(translator, files, set, betweenOpens);
  } catch (const Exception& error) {
    err << error.what() << '\n';
    return 1;
  }
  const size_t rows = SearchTypedWord(
      translator, LettersOnly(words.back(), direction),
      [&](StringView16 word, StringView16 text) { out << ToUtf8(ResultRow(word, text)) << '\n'; },
      direction);
  out << "Found: " << rows << '\n';
  const unsigned damage = translator.Damage();
  if (damage & TTranslator::dmIndex) err << ToUtf8(set.Index) << kDamaged;
  if (damage & TTranslator::dmData) err << ToUtf8(set.Data) << kDamaged;
  return damage == TTranslator::dmNone ? 0 : 1;
}

}  // namespace parlivo
