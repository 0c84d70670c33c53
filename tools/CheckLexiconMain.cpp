// parlivo-check-lexicon: validates Index.plv and the language files in a folder.
#include <filesystem>
#include <iostream>

#include "Languages.h"
#include "LexiconChecker.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: parlivo-check-lexicon FOLDER\n";
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::vector<std::string> languages;
  for (const auto& language : parlivo::Languages) {
    // Whatever stands under a language file's name is checked: a folder, a FIFO or a
    // broken link is reported, not passed over.
    const auto path = folder / parlivo::ToUtf8(language.FileName);
    std::error_code error;
    if (std::filesystem::symlink_status(path, error).type() !=
        std::filesystem::file_type::not_found)
      languages.push_back(path.string());
  }
  const auto report =
      parlivo::CheckLexicon((folder / parlivo::ToUtf8(parlivo::IndexFileName)).string(), languages);
  for (const auto& problem : report.Problems) std::cout << problem << '\n';
  if (report.ProblemCount > report.Problems.size()) {
    std::cout << "... and " << report.ProblemCount - report.Problems.size() << " more\n";
  }
  std::cout << (report.Ok() ? "OK: " : "FAILED: ") << "Index.plv and " << languages.size()
            << " language files, " << report.ProblemCount << " problems\n";
  return report.Ok() ? 0 : 1;
}
