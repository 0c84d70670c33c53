#include "WordNet.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "Latin1.h"

namespace parlivo {

namespace {

// The database's parts of speech, in the order of TWordNet's tables.
constexpr const char* kPartNames[] = {"noun", "verb", "adj", "adv"};
constexpr TPartOfSpeech kParts[] = {TPartOfSpeech::Noun, TPartOfSpeech::Verb,
                                    TPartOfSpeech::Adjective, TPartOfSpeech::Adverb};
constexpr size_t kNoun = 0, kVerb = 1, kAdjective = 2, kAdverb = 3;

struct TEnding {
  std::string_view Suffix;
  std::string_view Replacement;
};

// WordNet's detachment rules for nouns, verbs and adjectives.
constexpr TEnding kNounEndings[] = {{"s", ""},      {"ses", "s"},   {"xes", "x"},   {"zes", "z"},
                                    {"ches", "ch"}, {"shes", "sh"}, {"men", "man"}, {"ies", "y"}};
constexpr TEnding kVerbEndings[] = {{"s", ""},   {"ies", "y"}, {"es", "e"},  {"es", ""},
                                    {"ed", "e"}, {"ed", ""},   {"ing", "e"}, {"ing", ""}};
constexpr TEnding kAdjectiveEndings[] = {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};

bool IsVowel(char letter) {
  return std::string_view("aeiou").find(letter) != std::string_view::npos;
}

// Whether English doubles the word's last letter before an ending that starts with a
// vowel: a word of one syllable that ends in one vowel and a consonant ("din" makes
// "dinning", so "dining" is of "dine" alone; "hop" makes "hopped").
bool DoublesLastLetter(std::string_view word) {
  if (word.size() < 2) return false;
  const char last = word.back();
  if (IsVowel(last) || last == 'w' || last == 'x' || last == 'y') return false;
  if (!IsVowel(word[word.size() - 2])) return false;
  if (word.size() >= 3 && IsVowel(word[word.size() - 3])) return false;
  size_t syllables = 0;
  for (size_t at = 0; at < word.size(); ++at)
    syllables += IsVowel(word[at]) && (at == 0 || !IsVowel(word[at - 1]));
  return syllables == 1;
}

// Whether the rule could have made the form of that base: an ending that starts with a
// vowel goes onto the base as it stands only where English does not double its letter.
bool EndingFits(const TEnding& ending, std::string_view base) {
  return !ending.Replacement.empty() || ending.Suffix == "s" || ending.Suffix == "es" ||
         !DoublesLastLetter(base);
}

std::ifstream OpenWordNetFile(const std::string& folder, const std::string& name) {
  std::ifstream file(folder + "/" + name);
  if (!file) throw std::runtime_error("cannot read WordNet's " + folder + "/" + name);
  return file;
}

std::string WithSpaces(std::string word) {
  std::replace(word.begin(), word.end(), '_', ' ');
  return word;
}

std::string Lower(std::string word) {
  for (char& ch : word)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
  return word;
}

// The part index of a synset type: n, v, a and s (satellite adjectives), r.
size_t PartIndexOf(char type) {
  switch (type) {
    case 'n':
      return kNoun;
    case 'v':
      return kVerb;
    case 'r':
      return kAdverb;
    default:
      return kAdjective;
  }
}

std::string SenseKey(const std::string& lemma, size_t part, int number) {
  return lemma + "%" + std::to_string(part) + "%" + std::to_string(number);
}

// One line of a data file taken apart; false for the licence lines.
struct TDataLine {
  std::string Offset;
  std::vector<std::string> Words;  // markers such as "(a)" taken off
  struct TPointer {
    std::string Symbol, Target, SourceTarget;
  };
  std::vector<TPointer> Pointers;
  std::string Gloss;
};

bool ParseDataLine(const std::string& line, TDataLine& data) {
  if (line.empty() || line[0] == ' ') return false;
  const size_t bar = line.find(" | ");
  std::istringstream fields(line.substr(0, bar));
  std::string lexicographerFile, type, count;
  fields >> data.Offset >> lexicographerFile >> type >> count;
  data.Words.clear();
  for (unsigned long i = 0, n = std::stoul(count, nullptr, 16); i < n; ++i) {
    std::string word, lexicalId;
    fields >> word >> lexicalId;
    data.Words.push_back(WithSpaces(word.substr(0, word.find('('))));
  }
  data.Pointers.clear();
  unsigned long pointers = 0;
  fields >> pointers;
  for (unsigned long i = 0; i < pointers; ++i) {
    TDataLine::TPointer pointer;
    std::string partOfSpeech;
    fields >> pointer.Symbol >> pointer.Target >> partOfSpeech >> pointer.SourceTarget;
    data.Pointers.push_back(pointer);
  }
  // The definition, without the examples that follow it in quotes.
  std::string gloss = bar == std::string::npos ? std::string() : line.substr(bar + 3);
  gloss = gloss.substr(0, gloss.find("; \""));
  while (!gloss.empty() && (gloss.back() == ' ' || gloss.back() == ';')) gloss.pop_back();
  if (!gloss.empty() && gloss.front() == '"') gloss.clear();
  data.Gloss = gloss;
  return true;
}

}  // namespace

TWordNet::TWordNet(const std::string& folder) {
  std::unordered_map<std::string, size_t> synsetAt;  // part letter and offset -> FSynsets
  std::unordered_map<std::string, std::vector<std::string>> adjectiveWords;  // by offset
  std::vector<std::pair<std::vector<std::string>, std::vector<TDataLine::TPointer>>> adverbs;
  for (size_t part = 0; part < kIndexedParts; ++part) {
    std::ifstream data = OpenWordNetFile(folder, std::string("data.") + kPartNames[part]);
    TDataLine line;
    for (std::string text; std::getline(data, text);) {
      if (!ParseDataLine(text, line)) continue;
      synsetAt.emplace(std::to_string(part) + line.Offset, FSynsets.size());
      FSynsets.push_back({line.Gloss, line.Words});
      if (part == kAdjective) {
        adjectiveWords[line.Offset] = line.Words;
      } else if (part == kAdverb) {
        adverbs.emplace_back(line.Words, line.Pointers);
      }
    }
  }
  for (size_t part = 0; part < kIndexedParts; ++part) {
    std::ifstream index = OpenWordNetFile(folder, std::string("index.") + kPartNames[part]);
    for (std::string text; std::getline(index, text);) {
      // The licence at the top is indented; each other line begins with its word.
      if (text.empty() || text[0] == ' ') continue;
      std::istringstream fields(text);
      std::string lemma, type;
      size_t synsets = 0, pointers = 0;
      fields >> lemma >> type >> synsets >> pointers;
      for (size_t i = 0; i < pointers; ++i) fields >> type;
      size_t senses = 0, tagged = 0;
      fields >> senses >> tagged;
      lemma = WithSpaces(lemma);
      FWords[part].insert(lemma);
      auto& own = FLemmas[lemma];
      std::string offset;
      for (int number = 1; fields >> offset; ++number) {
        const auto synset = synsetAt.find(std::to_string(part) + offset);
        if (synset != synsetAt.end()) own.push_back({synset->second, number, kParts[part]});
      }
    }
    std::ifstream irregular = OpenWordNetFile(folder, std::string(kPartNames[part]) + ".exc");
    for (std::string text; std::getline(irregular, text);) {
      std::istringstream fields(text);
      std::string form, base;
      fields >> form;
      while (fields >> base) FIrregular[part][WithSpaces(form)].push_back(WithSpaces(base));
    }
  }
  std::ifstream counts = OpenWordNetFile(folder, "cntlist.rev");
  for (std::string text; std::getline(counts, text);) {
    // "lemma%type:file:id:head:headid number count", type 1 to 5 for n v a r s.
    std::istringstream fields(text);
    std::string key;
    int number = 0;
    unsigned count = 0;
    fields >> key >> number >> count;
    const size_t percent = key.find('%');
    if (percent == std::string::npos || percent + 1 >= key.size()) continue;
    const char type = "?nvars"[std::clamp(key[percent + 1] - '0', 0, 5)];
    FTagCounts[SenseKey(WithSpaces(Lower(key.substr(0, percent))), PartIndexOf(type), number)] =
        count;
  }
  // An adverb's pertainym names the adjective it comes from: "\" with the source and
  // target word numbers in hexadecimal, 00 for the whole synset.
  for (const auto& [words, pointers] : adverbs) {
    for (const auto& pointer : pointers) {
      const auto adjective = adjectiveWords.find(pointer.Target);
      if (pointer.Symbol != "\\" || adjective == adjectiveWords.end() ||
          pointer.SourceTarget.size() != 4)
        continue;
      const unsigned long source = std::stoul(pointer.SourceTarget.substr(0, 2), nullptr, 16);
      const unsigned long target = std::stoul(pointer.SourceTarget.substr(2), nullptr, 16);
      if (target > adjective->second.size()) continue;
      const std::string& base = adjective->second[target == 0 ? 0 : target - 1];
      for (size_t i = 0; i < words.size(); ++i)
        if (source == 0 || source == i + 1) FAdverbSources[words[i]].push_back(base);
    }
  }
}

std::vector<TWordNet::TSense> TWordNet::Senses(const std::string& lemma) const {
  std::vector<TSense> senses;
  const auto own = FLemmas.find(lemma);
  if (own == FLemmas.end()) return senses;
  for (const TLemmaSense& sense : own->second) {
    const TSynset& synset = FSynsets[sense.Synset];
    const size_t part = static_cast<size_t>(
        std::find(std::begin(kParts), std::end(kParts), sense.Part) - std::begin(kParts));
    const auto count = FTagCounts.find(SenseKey(lemma, part, sense.Number));
    // A name when the synset spells the word only with capitals ("A", "Warren").
    const bool capital =
        std::find(synset.Words.begin(), synset.Words.end(), lemma) == synset.Words.end();
    const bool capitals =
        capital && std::any_of(synset.Words.begin(), synset.Words.end(), [&](const auto& word) {
          return word.size() > 1 && SameIgnoringAsciiCase(word, lemma) &&
                 std::none_of(word.begin(), word.end(),
                              [](char ch) { return ch >= 'a' && ch <= 'z'; });
        });
    senses.push_back({sense.Part, sense.Number, count == FTagCounts.end() ? 0u : count->second,
                      synset.Gloss, capital, capitals});
  }
  std::stable_sort(senses.begin(), senses.end(), [](const TSense& a, const TSense& b) {
    if (a.TagCount != b.TagCount) return a.TagCount > b.TagCount;
    return a.Part != b.Part ? a.Part < b.Part : a.Number < b.Number;
  });
  return senses;
}

std::vector<std::string> TWordNet::Lemmas() const {
  std::vector<std::string> lemmas;
  lemmas.reserve(FLemmas.size());
  for (const auto& [lemma, senses] : FLemmas) lemmas.push_back(lemma);
  std::sort(lemmas.begin(), lemmas.end());
  return lemmas;
}

bool TWordNet::PartShares(const std::string& lemma, std::array<float, kPartCount>& shares) const {
  const auto senses = Senses(lemma);
  if (senses.empty()) return false;
  shares.fill(0);
  // A sense never met still says the word can be used so: it counts half a meeting.
  for (const TSense& sense : senses)
    shares[static_cast<size_t>(sense.Part)] += static_cast<float>(sense.TagCount) + 0.5f;
  const float most = *std::max_element(shares.begin(), shares.end());
  for (float& share : shares) share /= most;
  return true;
}

unsigned TWordNet::MostMet(const std::string& lemma, TPartOfSpeech part) const {
  unsigned most = 0;
  for (const TSense& sense : Senses(lemma))
    if (part == TPartOfSpeech::Unknown || sense.Part == part) most = std::max(most, sense.TagCount);
  return most;
}

bool TWordNet::HasCommonSense(const std::string& lemma) const {
  const auto senses = Senses(lemma);
  return std::any_of(senses.begin(), senses.end(),
                     [](const TSense& sense) { return !sense.Capital; });
}

bool TWordNet::OnlyAbbreviations(const std::string& lemma) const {
  const auto senses = Senses(lemma);
  return !senses.empty() && std::all_of(senses.begin(), senses.end(),
                                        [](const TSense& sense) { return sense.Capitals; });
}

std::vector<TWordNet::TBase> TWordNet::Bases(const std::string& form) const {
  std::vector<TBase> bases;
  auto add = [&](const std::string& base, TPartOfSpeech part) {
    const bool known = std::any_of(bases.begin(), bases.end(), [&](const TBase& other) {
      return other.Word == base && other.Part == part;
    });
    if (base != form && !known) bases.push_back({base, part});
  };
  for (size_t part = 0; part < kIndexedParts; ++part) {
    const auto listed = FIrregular[part].find(form);
    if (listed != FIrregular[part].end())
      for (const auto& base : listed->second) add(base, kParts[part]);
  }
  const auto adverb = FAdverbSources.find(form);
  if (adverb != FAdverbSources.end())
    for (const auto& base : adverb->second) add(base, TPartOfSpeech::Adverb);
  const std::pair<const TEnding*, const TEnding*> endings[] = {
      {std::begin(kNounEndings), std::end(kNounEndings)},
      {std::begin(kVerbEndings), std::end(kVerbEndings)},
      {std::begin(kAdjectiveEndings), std::end(kAdjectiveEndings)}};
  // A noun or verb of its own that is no adjective is no comparative of an adjective
  // met less often than it: "founder" is a noun, not more "found"; "closer" is more
  // "close".
  const bool wordOfItsOwn =
      !FWords[kAdjective].count(form) && (FWords[kNoun].count(form) || FWords[kVerb].count(form));
  const unsigned formMet = wordOfItsOwn ? MostMet(form) : 0;
  for (size_t part = 0; part < std::size(endings); ++part) {
    for (auto ending = endings[part].first; ending != endings[part].second; ++ending) {
      if (form.size() <= ending->Suffix.size() || !form.ends_with(ending->Suffix)) continue;
      std::string base = form.substr(0, form.size() - ending->Suffix.size());
      base += ending->Replacement;
      // A letter's plural is written "u's": "us" is no plural of "u".
      if (base.size() < 2 || !FWords[part].count(base) || !EndingFits(*ending, base)) continue;
      if (part == kAdjective && wordOfItsOwn && formMet >= MostMet(base, TPartOfSpeech::Adjective))
        continue;
      add(base, kParts[part]);
    }
  }
  return bases;
}

}  // namespace parlivo
