#include "Inflection.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "EntryText.h"
#include "TextPacker.h"

namespace parlivo {

namespace {

constexpr const char* kPartNames[] = {"noun", "verb", "adj"};

struct TEnding {
  std::string_view Suffix;
  std::string_view Replacement;
};

// WordNet's detachment rules, per part of speech in the order above.
constexpr TEnding kNounEndings[] = {{"s", ""},      {"ses", "s"},   {"xes", "x"},   {"zes", "z"},
                                    {"ches", "ch"}, {"shes", "sh"}, {"men", "man"}, {"ies", "y"}};
constexpr TEnding kVerbEndings[] = {{"s", ""},   {"ies", "y"}, {"es", "e"},  {"es", ""},
                                    {"ed", "e"}, {"ed", ""},   {"ing", "e"}, {"ing", ""}};
constexpr TEnding kAdjectiveEndings[] = {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

std::ifstream OpenWordNetFile(const std::string& folder, const std::string& name) {
  std::ifstream file(folder + "/" + name);
  if (!file) throw std::runtime_error("cannot read WordNet's " + folder + "/" + name);
  return file;
}

}  // namespace

TEnglishMorphology::TEnglishMorphology(const std::string& wordNetFolder) {
  for (size_t part = 0; part < kPartsOfSpeech; ++part) {
    std::ifstream index = OpenWordNetFile(wordNetFolder, std::string("index.") + kPartNames[part]);
    for (std::string line; std::getline(index, line);) {
      // The licence at the top is indented; each other line begins with its word.
      if (line.empty() || line[0] == ' ') continue;
      FWords[part].insert(line.substr(0, line.find(' ')));
    }
    std::ifstream irregular =
        OpenWordNetFile(wordNetFolder, std::string(kPartNames[part]) + ".exc");
    for (std::string line; std::getline(irregular, line);) {
      std::istringstream fields(line);
      std::string form, base;
      fields >> form;
      while (fields >> base) FIrregular[part][form].push_back(base);
    }
  }
}

std::vector<std::string> TEnglishMorphology::BaseWords(const std::string& form) const {
  std::vector<std::string> bases;
  if (FWords[0].count(form) || FWords[1].count(form)) return bases;
  auto add = [&](const std::string& base) {
    if (base != form && std::find(bases.begin(), bases.end(), base) == bases.end())
      bases.push_back(base);
  };
  for (const auto& irregular : FIrregular) {
    const auto listed = irregular.find(form);
    if (listed != irregular.end())
      for (const auto& base : listed->second) add(base);
  }
  const std::pair<const TEnding*, const TEnding*> endings[] = {
      {std::begin(kNounEndings), std::end(kNounEndings)},
      {std::begin(kVerbEndings), std::end(kVerbEndings)},
      {std::begin(kAdjectiveEndings), std::end(kAdjectiveEndings)}};
  for (size_t part = 0; part < kPartsOfSpeech; ++part) {
    for (auto ending = endings[part].first; ending != endings[part].second; ++ending) {
      if (form.size() <= ending->Suffix.size() || !form.ends_with(ending->Suffix)) continue;
      std::string base = form.substr(0, form.size() - ending->Suffix.size());
      base += ending->Replacement;
      if (FWords[part].count(base)) add(base);
    }
  }
  return bases;
}

std::string InflectedMark(const std::string& base) {
  return "(" + base + ") ";
}

std::map<std::string, std::string> InflectedTexts(const std::vector<std::string>& forms,
                                                  const TEnglishMorphology& morphology,
                                                  const std::map<std::string, std::string>& texts,
                                                  size_t maxCounted) {
  std::map<std::string, std::string> inflected;
  for (const auto& form : forms) {
    const THeadword stored = StoredHeadword(form);
    if (stored.LeftOut || texts.count(stored.Key) || inflected.count(stored.Key)) continue;
    for (const auto& base : morphology.BaseWords(form)) {
      const auto text = texts.find(StoredHeadword(base).Key);
      if (text == texts.end()) continue;
      const std::string mark = InflectedMark(base);
      std::string cut = text->second;
      // Whole translations only: the text ends at the last separator that fits.
      while (!cut.empty() && CountedLength(mark) + CountedLength(cut) > maxCounted) {
        const size_t comma = cut.rfind(", ");
        const size_t semicolon = cut.rfind("; ");
        size_t end = comma;
        if (semicolon != std::string::npos && (end == std::string::npos || semicolon > end))
          end = semicolon;
        cut.resize(end == std::string::npos ? 0 : end);
      }
      if (!cut.empty()) inflected.emplace(stored.Key, mark + cut);
      break;
    }
  }
  return inflected;
}

}  // namespace parlivo
