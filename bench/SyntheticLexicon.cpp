#include "SyntheticLexicon.h"

#include <random>
#include <unordered_set>

#include "Languages.h"
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

// A headword as a lexicon holds it: now and then a phrase of two words, or a word of one
// or two letters.
std::string MakeHeadword(std::mt19937& random) {
  std::string word = MakeWord(random);
  const unsigned kind = random() % 20;
  if (kind == 0) {  // a phrase
    word.push_back(' ');
    word.append(MakeWord(random));
  }
  if (kind == 1) word = word.substr(0, 1 + random() % 2);  // a short word
  return word;
}

// The word as German might spell it, in Latin-1: an umlaut in some vowels, ß for some
// "ss", a noun's capital in two words of five. Its key is the word it came from.
std::string Germanized(std::mt19937& random, std::string word) {
  for (char& ch : word) {
    if (random() % 8 != 0) continue;
    if (ch == 'a') ch = '\xE4';
    if (ch == 'o') ch = '\xF6';
    if (ch == 'u') ch = '\xFC';
  }
  const size_t ss = word.find("ss");
  if (ss != std::string::npos && random() % 2 == 0) word.replace(ss, 2, "\xDF");
  if (random() % 5 < 2) word[0] = static_cast<char>(word[0] - 'a' + 'A');
  return word;
}

}  // namespace

TSyntheticLexicon MakeSyntheticLexicon(size_t headwords, unsigned seed) {
  std::mt19937 random(seed);
  TSyntheticLexicon lexicon;
  std::unordered_set<std::string> seen;
  while (lexicon.Headwords.size() < headwords) {
    std::string word = MakeHeadword(random);
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

TSyntheticReverseLexicon MakeSyntheticReverseLexicon(size_t words, unsigned seed) {
  // The English lexicon's headwords are the keys, its texts the texts: the two kinds
  // list the same rows for the same letters, and differ only in what the other
  // direction adds, the words as they are spelt.
  const TSyntheticLexicon english = MakeSyntheticLexicon(words, seed);
  std::mt19937 random(seed);
  TSyntheticReverseLexicon lexicon;
  lexicon.Keys = english.Headwords;
  lexicon.Texts = english.Texts;
  for (const std::string& key : english.Headwords) lexicon.Spelt.push_back(Germanized(random, key));
  return lexicon;
}

void WriteSyntheticReverseLexicon(const TSyntheticReverseLexicon& lexicon,
                                  const std::string& folder) {
  TLexiconIndex index(lexicon.Keys);
  TLanguageFileBuilder language(index, TSharing::EqualOffsets);
  // As the lexicon builder stores them: a word's spelling only where it is not its key.
  for (size_t i = 0; i < lexicon.Keys.size(); ++i) {
    language.Set(lexicon.Keys[i], PackText(lexicon.Texts[i]),
                 lexicon.Spelt[i] == lexicon.Keys[i] ? TPackedText{0} : PackText(lexicon.Spelt[i]));
  }
  const TLanguage& german = *FindLanguage(PLV_TEXT("German"));
  WriteFileBytes(folder + "/" + ToUtf8(german.ReverseIndexFileName), index.FileBytes());
  WriteFileBytes(folder + "/" + ToUtf8(german.ReverseFileName), language.FileBytes());
}

}  // namespace parlivo::bench
