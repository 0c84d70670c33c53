#include "Inflection.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "EntryText.h"
#include "SourceEntry.h"
#include "TextPacker.h"

namespace parlivo {

namespace {

constexpr const char* kPartNames[] = {"noun", "verb", "adj"};
constexpr size_t kVerb = 1;  // in kPartNames

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

// One line of a WordNet data file: its synset's offset, words (markers such as "(a)"
// taken off) and pointers; nothing for the licence lines.
struct TSynset {
  std::string Offset;
  std::vector<std::string> Words;
  struct TPointer {
    std::string Symbol, Target, PartOfSpeech, SourceTarget;
  };
  std::vector<TPointer> Pointers;
};

bool ReadSynset(std::istream& data, TSynset& synset) {
  for (std::string line; std::getline(data, line);) {
    if (line.empty() || line[0] == ' ') continue;
    std::istringstream fields(line.substr(0, line.find(" | ")));
    std::string lexicographerFile, type, count;
    fields >> synset.Offset >> lexicographerFile >> type >> count;
    synset.Words.clear();
    for (unsigned long i = 0, n = std::stoul(count, nullptr, 16); i < n; ++i) {
      std::string word, lexicalId;
      fields >> word >> lexicalId;
      synset.Words.push_back(word.substr(0, word.find('(')));
    }
    synset.Pointers.clear();
    unsigned long pointers = 0;
    fields >> pointers;
    for (unsigned long i = 0; i < pointers; ++i) {
      TSynset::TPointer pointer;
      fields >> pointer.Symbol >> pointer.Target >> pointer.PartOfSpeech >> pointer.SourceTarget;
      synset.Pointers.push_back(pointer);
    }
    return true;
  }
  return false;
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
  TSynset synset;
  std::ifstream nouns = OpenWordNetFile(wordNetFolder, "data.noun");
  while (ReadSynset(nouns, synset)) {
    for (const auto& word : synset.Words)
      if (std::none_of(word.begin(), word.end(), [](char ch) { return ch >= 'A' && ch <= 'Z'; }))
        FCommonNouns.insert(word);
  }
  std::unordered_map<std::string, std::vector<std::string>> adjectives;  // offset -> words
  std::ifstream adjectiveData = OpenWordNetFile(wordNetFolder, "data.adj");
  while (ReadSynset(adjectiveData, synset)) adjectives[synset.Offset] = synset.Words;
  // An adverb's pertainym names the adjective it comes from: "\" with the source and
  // target word numbers in hexadecimal, 00 for the whole synset.
  std::ifstream adverbs = OpenWordNetFile(wordNetFolder, "data.adv");
  while (ReadSynset(adverbs, synset)) {
    for (const auto& pointer : synset.Pointers) {
      const auto adjective = adjectives.find(pointer.Target);
      if (pointer.Symbol != "\\" || adjective == adjectives.end() ||
          pointer.SourceTarget.size() != 4)
        continue;
      const unsigned long source = std::stoul(pointer.SourceTarget.substr(0, 2), nullptr, 16);
      const unsigned long target = std::stoul(pointer.SourceTarget.substr(2), nullptr, 16);
      if (target > adjective->second.size()) continue;
      const std::string& base = adjective->second[target == 0 ? 0 : target - 1];
      for (size_t i = 0; i < synset.Words.size(); ++i)
        if (source == 0 || source == i + 1) FAdverbSources[synset.Words[i]].push_back(base);
    }
  }
}

std::vector<std::string> TEnglishMorphology::BaseWords(const std::string& form) const {
  std::vector<std::string> bases;
  if ((FCommonNouns.count(form) && !form.ends_with("ing")) || FWords[kVerb].count(form))
    return bases;
  auto add = [&](const std::string& base) {
    if (base != form && std::find(bases.begin(), bases.end(), base) == bases.end())
      bases.push_back(base);
  };
  for (const auto& irregular : FIrregular) {
    const auto listed = irregular.find(form);
    if (listed != irregular.end())
      for (const auto& base : listed->second) add(base);
  }
  const auto adverb = FAdverbSources.find(form);
  if (adverb != FAdverbSources.end())
    for (const auto& base : adverb->second) add(base);
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

std::vector<std::string> ReadWordForms(const std::string& path) {
  std::ifstream list = OpenSourceFile(path);
  std::vector<std::string> forms;
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() &&
        std::all_of(line.begin(), line.end(), [](char ch) { return ch >= 'a' && ch <= 'z'; }))
      forms.push_back(line);
  }
  return forms;
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
