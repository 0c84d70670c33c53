// parlivo-build-lexicon: writes a lexicon folder from dictionary sources and checks it.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "Languages.h"
#include "LexiconBuilder.h"
#include "LexiconChecker.h"

namespace {

constexpr char kUsage[] =
    "usage: parlivo-build-lexicon [--max-text N] [--cross-references] FOLDER "
    "LANGUAGE=FORMAT:PATH...\n"
    "  LANGUAGE  German, French, Dutch, Italian, Spanish, Portuguese or English\n"
    "  FORMAT    freedict or wordnet (PATH: a dictd dictionary without .index/.dict[.dz]),\n"
    "            tsv (PATH: a UTF-8 file of headword<TAB>text lines),\n"
    "            reversed (PATH: a FreeDict dictionary of LANGUAGE to English, turned around),\n"
    "            pivot ([VIA:]PATH: a FreeDict dictionary of VIA (German unless given) to\n"
    "            LANGUAGE, reached through VIA's freedict source in the same build; texts\n"
    "            begin with \"~ \"),\n"
    "            inflected (PATH: an English word list, one word a line: its forms that no\n"
    "            earlier source gave a text show their base word's, after \"(base) \"; the\n"
    "            base words come from WordNet's database, --wordnet DIR, default\n"
    "            /usr/share/wordnet)\n"
    "A language may have several sources, most trusted first: a headword's text comes from\n"
    "the first that has one. --pivot-threshold [LANGUAGE=]S keeps translations through\n"
    "another language whose score reaches S (default 1), for all or for the one named.\n"
    "FOLDER is replaced as one set, only once everything is built: its Index.plv and the\n"
    "languages given. Language files it held for other languages are removed, since they\n"
    "belong to the index they were built with; a folder holding other files is refused.\n";

parlivo::TLanguageSource ParseSource(const std::string& argument) {
  const size_t equals = argument.find('=');
  const size_t colon = argument.find(':', equals == std::string::npos ? 0 : equals);
  if (equals == std::string::npos || colon == std::string::npos) {
    throw std::invalid_argument("expected LANGUAGE=FORMAT:PATH, not \"" + argument + "\"");
  }
  const std::string format = argument.substr(equals + 1, colon - equals - 1);
  parlivo::TLanguageSource source{argument.substr(0, equals), parlivo::TSourceFormat::Freedict,
                                  argument.substr(colon + 1)};
  for (auto known : {parlivo::TSourceFormat::Freedict, parlivo::TSourceFormat::Wordnet,
                     parlivo::TSourceFormat::TabSeparated, parlivo::TSourceFormat::Reversed,
                     parlivo::TSourceFormat::Pivot, parlivo::TSourceFormat::Inflected}) {
    if (format == parlivo::FormatName(known)) {
      source.Format = known;
      // pivot:LANGUAGE:PATH passes through LANGUAGE instead of German.
      const size_t via = source.Path.find(':');
      if (known == parlivo::TSourceFormat::Pivot && via != std::string::npos &&
          parlivo::FindLanguage(parlivo::FromUtf8(source.Path.substr(0, via)))) {
        source.Via = source.Path.substr(0, via);
        source.Path.erase(0, via + 1);
      }
      return source;
    }
  }
  throw std::invalid_argument("unknown format \"" + format + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    parlivo::TBuildOptions options;
    std::string folder;
    std::vector<parlivo::TLanguageSource> sources;
    for (int i = 1; i < argc; ++i) {
      const std::string argument = argv[i];
      if (argument == "--max-text" && i + 1 < argc) {
        options.MaxTextLength = std::stoul(argv[++i]);
        if (options.MaxTextLength == 0 || options.MaxTextLength > 255)
          throw std::invalid_argument("--max-text takes 1 to 255");
      } else if (argument == "--pivot-threshold" && i + 1 < argc) {
        const std::string value = argv[++i];
        const size_t equals = value.find('=');
        if (equals == std::string::npos) {
          options.PivotThreshold = std::stod(value);
        } else {
          options.PivotThresholds[value.substr(0, equals)] = std::stod(value.substr(equals + 1));
        }
      } else if (argument == "--wordnet" && i + 1 < argc) {
        options.WordNetFolder = argv[++i];
      } else if (argument == "--cross-references") {
        options.Sharing = parlivo::TSharing::CrossReferences;
      } else if (folder.empty()) {
        folder = argument;
      } else {
        sources.push_back(ParseSource(argument));
      }
    }
    if (folder.empty() || sources.empty()) {
      std::cerr << kUsage;
      return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const auto summary = parlivo::BuildLexicon(folder, sources, options, std::clog);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    parlivo::PrintSummary(summary, std::cout);
    std::cout << "Built in " << static_cast<int>(seconds * 10) / 10.0 << " s" << std::endl;

    std::vector<std::string> written;
    for (const auto& language : summary.Languages)
      written.push_back(folder + "/" + language.FileName);
    const auto report =
        parlivo::CheckLexicon(folder + "/" + parlivo::ToUtf8(parlivo::IndexFileName), written);
    for (const auto& problem : report.Problems) std::cerr << problem << '\n';
    if (!report.Ok()) {
      std::cerr << report.ProblemCount << " problems in the files written\n";
      return 1;
    }
    std::cout << "Checked: every file keeps the format's rules" << std::endl;
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "parlivo-build-lexicon: " << error.what() << '\n';
    return 1;
  }
}
