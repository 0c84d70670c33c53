// parlivo-build-lexicon: writes a lexicon folder from dictionary sources and checks it.
#include <chrono>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "Languages.h"
#include "LexiconBuilder.h"

namespace {

constexpr char kUsage[] =
    "usage: parlivo-build-lexicon [--max-text N] [--cross-references] [--wordnet DIR]\n"
    "         [--spelling LANGUAGE=PATH]... [--other-spelling LANGUAGE=PATH]...\n"
    "         [--analyser LANGUAGE=PATH]...\n"
    "         [--tags LANGUAGE=PATH]... [--frequencies LANGUAGE=PATH]...\n"
    "         [--base-words LANGUAGE=PATH]... [--generator LANGUAGE=PATH]...\n"
    "         [--pivot-threshold [LANGUAGE=]S]... [--explain HEADWORD]...\n"
    "         [--tune GOLDFOLDER | --agreement]\n"
    "         FOLDER LANGUAGE=FORMAT:PATH...\n"
    "  LANGUAGE  German, French, Dutch, Italian, Spanish, Portuguese or English; or\n"
    "            GermanEnglish, FrenchEnglish, ... for the other direction, the language's\n"
    "            words looked up in English (IndexGerman.plv and GermanEnglish.plv)\n"
    "  FORMAT    freedict (PATH: a dictd dictionary of English to LANGUAGE, without\n"
    "            .index/.dict[.dz]; the other way, of the language to English),\n"
    "            reversed (PATH: a FreeDict dictionary of LANGUAGE to English, turned round;\n"
    "            the other way, of English to the language),\n"
    "            pivot ([VIA:][turned:]PATH: a FreeDict dictionary of VIA (German unless\n"
    "            given) to LANGUAGE, reached through VIA's freedict source in the same\n"
    "            build; turned: of LANGUAGE to VIA, read the other way round),\n"
    "            apertium (PATH: Apertium pairs' path prefixes joined by +, English's\n"
    "            first: .../eng-spa+.../spa-ita; the other way, the language's first:\n"
    "            .../ita-spa+.../spa-eng),\n"
    "            ding (PATH: Ding's German-English dictionary, trans-de-en; either way),\n"
    "            turned (PATH: a LANGUAGE of the same build, whose rows from English are\n"
    "            turned round for its words looked up in English),\n"
    "            borrowed (PATH: another LANGUAGE of the same build: the English words it\n"
    "            gives as they stand, \"software\", which this language's --spelling\n"
    "            knows, are its own where its own sources have nothing; marked \"~ \"),\n"
    "            wordnet (PATH: WordNet's database folder: English explained),\n"
    "            gcide (PATH: the dictd database of the Collaborative International\n"
    "            Dictionary of English: English explained, for the words of the\n"
    "            inflected source's list that WordNet has nothing for: \"the\", \"my\"),\n"
    "            tsv (PATH: a UTF-8 file of headword<TAB>text lines: your own texts, which\n"
    "            stand as written),\n"
    "            inflected (PATH: an English word list, one word a line: its forms without\n"
    "            a row of their own show their base word's translations of their part of\n"
    "            speech, after \"(base) \"; the base words come from WordNet, --wordnet DIR,\n"
    "            default /usr/share/wordnet; the other way, a word list of the language,\n"
    "            whose base words come from its --analyser, else its --spelling)\n"
    "Every source of a language proposes translations; a translation's place in its row\n"
    "comes from how many sources give it and how sure each is. Translations that came\n"
    "through another language only are kept where nothing else exists, when their score\n"
    "reaches S (--pivot-threshold), and marked \"~ \". --spelling names a language's\n"
    "Hunspell dictionary (PATH without .aff/.dic): words it does not know go last, words\n"
    "run together are put apart. --other-spelling names the Hunspell dictionary of\n"
    "another spelling of a language read the other way (British English): English words\n"
    "neither it, --spelling nor WordNet knows are put apart into known words.\n"
    "--analyser names an Apertium analyser of the language (.automorf.bin), which\n"
    "tells the part of speech of translations a source leaves untagged; --tags names a\n"
    "dictionary of the language (dictd) whose headwords' parts of speech do so too;\n"
    "--frequencies names a list of the language's words, the most frequent first, one a\n"
    "line. --base-words names an Apertium analyser that tells the\n"
    "base words of the language's forms read the other way, where --analyser does not.\n"
    "--generator names Apertium's generator of English (.autogen.bin) for a language\n"
    "read the other way: a participle's row shows its verb's translations as English\n"
    "participles (\"accesa=(accendere) lit, turned on\").\n"
    "--explain writes how the rows of a headword are weighed.\n"
    "--tune GOLDFOLDER builds nothing: it judges the words of the gold lists in\n"
    "GOLDFOLDER (LANGUAGE.tsv) under a grid of rules and prints how each fares.\n"
    "--agreement builds nothing: it prints how often each source's first translation\n"
    "leads the row the other sources make without it.\n"
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
                     parlivo::TSourceFormat::Pivot, parlivo::TSourceFormat::Inflected,
                     parlivo::TSourceFormat::Apertium, parlivo::TSourceFormat::Ding,
                     parlivo::TSourceFormat::Turned, parlivo::TSourceFormat::Borrowed,
                     parlivo::TSourceFormat::Gcide}) {
    if (format == parlivo::FormatName(known)) {
      source.Format = known;
      // pivot:LANGUAGE:PATH passes through LANGUAGE (or, for a set of the other
      // direction, through another such set) instead of German.
      const size_t via = source.Path.find(':');
      const std::string middle = source.Path.substr(0, via);
      if (known == parlivo::TSourceFormat::Pivot && via != std::string::npos &&
          (parlivo::FindLanguage(parlivo::FromUtf8(middle)) || parlivo::ReverseSetNamed(middle))) {
        source.Via = source.Path.substr(0, via);
        source.Path.erase(0, via + 1);
        const std::string turned = "turned:";
        if (source.Path.starts_with(turned)) {
          source.TurnedRound = true;
          source.Path.erase(0, turned.size());
        }
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
    std::string tuneGold;
    bool agreement = false;
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
          options.Rules.PivotThreshold = std::stof(value);
        } else {
          options.PivotThresholds[value.substr(0, equals)] = std::stof(value.substr(equals + 1));
        }
      } else if (argument == "--tune" && i + 1 < argc) {
        tuneGold = argv[++i];
      } else if (argument == "--agreement") {
        agreement = true;
      } else if (argument == "--explain" && i + 1 < argc) {
        options.Explain.insert(argv[++i]);
      } else if ((argument == "--spelling" || argument == "--other-spelling" ||
                  argument == "--analyser" || argument == "--tags" || argument == "--frequencies" ||
                  argument == "--base-words" || argument == "--generator") &&
                 i + 1 < argc) {
        const std::string value = argv[++i];
        const size_t equals = value.find('=');
        if (equals == std::string::npos)
          throw std::invalid_argument(argument + " takes LANGUAGE=PATH");
        const std::string language = value.substr(0, equals), path = value.substr(equals + 1);
        if (argument == "--tags") {
          options.TaggedWords.emplace(language, path);
        } else if (argument == "--frequencies") {
          options.Frequencies[language] = path;
        } else if (argument == "--base-words") {
          options.BaseWords[language] = path;
        } else if (argument == "--generator") {
          options.Generators[language] = path;
        } else if (argument == "--other-spelling") {
          options.OtherSpelling[language] = path;
        } else {
          (argument == "--spelling" ? options.Spelling : options.Analysers)[language] = path;
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
    if ((!tuneGold.empty() || agreement) && !folder.empty()) {
      // No folder is written: what looked like one is a source.
      sources.insert(sources.begin(), ParseSource(folder));
      folder.clear();
    }
    if (!tuneGold.empty()) {
      parlivo::TuneRules(sources, options, tuneGold, std::clog, std::cout);
      return 0;
    }
    if (agreement) {
      parlivo::MeasureAgreement(sources, options, std::clog, std::cout);
      return 0;
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

    // The builder checked the set before it went in.
    std::cout << "Checked: every file keeps the format's rules" << std::endl;
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "parlivo-build-lexicon: " << error.what() << '\n';
    return 1;
  }
}
