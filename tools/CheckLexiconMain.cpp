// parlivo-check-lexicon: validates Index.plv, the language files and the sets of the
// other direction in a folder.
#include <iostream>

#include "LexiconChecker.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: parlivo-check-lexicon FOLDER\n";
    return 2;
  }
  const auto check = parlivo::CheckLexiconFolder(argv[1]);
  const auto& report = check.Report;
  for (const auto& problem : report.Problems) std::cout << problem << '\n';
  if (report.ProblemCount > report.Problems.size()) {
    std::cout << "... and " << report.ProblemCount - report.Problems.size() << " more\n";
  }
  std::cout << (report.Ok() ? "OK: " : "FAILED: ") << "Index.plv and " << check.LanguageFiles
            << " language files, ";
  if (check.ReverseSets > 0) std::cout << check.ReverseSets << " sets of the other direction, ";
  std::cout << report.ProblemCount << " problems\n";
  return report.Ok() ? 0 : 1;
}
