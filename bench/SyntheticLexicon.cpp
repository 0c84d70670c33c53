#include "SyntheticLexicon.h"

#include <random>
#include <unordered_set>

#include "LexiconWriter.h"

namespace parlivo::bench {

namespace {

// Syllables weighted roughly as English spelling has them, so that some buckets are
// crowded ("con", "pre", "str") and many are empty.
const char* const kOnsets[] = {"b",  "c",  "d",  "f",  "g",  "h",  "l",  "m",   "n",
                               "p",  "r",  "s",  "t",  "w",  "st", "pr", "tr",  "ch",
                               "sh", "th", "br", "cr", "gr", "pl", "sp", "str", "wh",
                               "qu", "fl", "bl", "sc", "dr", "c",  "s",  "p",   "m"};
const char* const kNuclei[] = {"a",  "e",  "i", "o", "u", "ea", "ou", "ai",
                               "ee", "oo", "y", "a", "e", "i",  "o"};
const char* const kCodas[] = {"",   "",   "",  "n", "r",  "t",  "s",  "l",    "nd",  "ng", "st",
                              "ck", "ll", "m", "p", "nt", "rd", "ss", "tion", "ing", "er", "ed"};
const char* const kTextWords[] = {"Haus",
                                  "gehen",
                                  "schnell",
                                  "Baum",
                                  "Wasser",
                                  "klein",
                                  "gross",
                                  "Stadt",
                                  "Zeit",
                                  "machen",
                                  "Weg",
                                  "Licht",
                                  "sprechen",
                                  "Schiff",
                                  "offen",
                                  "Strasse",
                                  "Arbeit",
                                  "Hand",
                                  "Tag",
                                  "Feuer",
                                  "Leute",
                                  "tragen",
                                  "\xFC"
                                  "ber",
                                  "sch\xF6n"};

template <size_t N>
const char* Pick(std::mt19937& random, const char* const (&from)[N]) {
  return from[random() % N];
}

std::string MakeWord(std::mt19937& random) {
  std::string word;
  const unsigned syllables = 1 + random() % 4;
  for (unsigned s = 0; s < syllables; ++s) {
    word += Pick(random, kOnsets);
    word += Pick(random, kNuclei);
    word += Pick(random, kCodas);
  }
  return word;
}

std::string MakeText(std::mt19937& random) {
  std::string text;
  const unsigned words = 1 + random() % 6;
  for (unsigned w = 0; w < words; ++w) {
    if (w > 0) text += random() % 3 == 0 ? "; " : ", ";
    text += Pick(random, kTextWords);
  }
  return text;
}

}  // namespace

TSyntheticLexicon MakeSyntheticLexicon(size_t headwords, unsigned seed) {
  std::mt19937 random(seed);
  TSyntheticLexicon lexicon;
  std::unordered_set<std::string> seen;
  while (lexicon.Headwords.size() < headwords) {
    std::string word = MakeWord(random);
    const unsigned kind = random() % 20;
    if (kind == 0) {  // a phrase
      word.push_back(' ');
      word.append(MakeWord(random));
    }
    if (kind == 1) word = word.substr(0, 1 + random() % 2);  // a short word
    if (word.size() > 30 || !seen.insert(word).second) continue;
    lexicon.Headwords.push_back(word);
    lexicon.Texts.push_back(MakeText(random));
  }
  return lexicon;
}

void WriteSyntheticLexicon(const TSyntheticLexicon& lexicon, const std::string& folder) {
  TLexiconIndex index(lexicon.Headwords);
  TLanguageFileBuilder language(index, TSharing::EqualOffsets);
  for (size_t i = 0; i < lexicon.Headwords.size(); ++i)
    language.Set(lexicon.Headwords[i], PackText(lexicon.Texts[i]));
  WriteFileBytes(folder + "/Index.plv", index.FileBytes());
  WriteFileBytes(folder + "/German.plv", language.FileBytes());
}

}  // namespace parlivo::bench
