// The curated lexicons of a machine-translation system, read with lttoolbox: an English
// analyser tells which parts of speech an English word has, a bilingual dictionary
// gives its translations into a first language, further bilingual dictionaries carry
// those on to other languages, and the last language's generator spells each one's
// dictionary form ("hija", not "hijo", for "daughter").
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Candidates.h"
#include "EntryText.h"
#include "Inflection.h"

namespace parlivo {

class TApertiumChain {
 public:
  // steps: the path prefixes of the compiled pairs, English's first ("…/eng-spa": it
  // needs eng-spa.automorf.bin and eng-spa.autobil.bin), then one further pair a step
  // ("…/spa-ita": spa-ita.autobil.bin); the last pair's .autogen.bin spells the words.
  // Throws std::runtime_error when a file cannot be read.
  explicit TApertiumChain(const std::vector<std::string>& steps);
  ~TApertiumChain();
  TApertiumChain(const TApertiumChain&) = delete;
  TApertiumChain& operator=(const TApertiumChain&) = delete;

  struct TTranslation {
    std::string Text;  // UTF-8, the dictionary form
    TPartOfSpeech Part;
    size_t Rank;   // 0 for the bilingual dictionaries' first choice
    bool Capital;  // a reading only the word spelt with a capital has
  };
  // The translations of each of the English words (lower case, UTF-8), in the words'
  // order: of every part of speech the analyser finds the word itself to have. Where
  // asked, also whether the analyser knows each word as it is spelt, as any form of any
  // word, translated or not.
  std::vector<std::vector<TTranslation>> Translate(const std::vector<std::string>& words,
                                                   std::vector<bool>* read = nullptr);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// A language's analyser from the same system: the parts of speech a word of that
// language has as a dictionary form.
class TApertiumAnalyser {
 public:
  // path: a compiled analyser (".automorf.bin"); throws std::runtime_error.
  explicit TApertiumAnalyser(const std::string& path);
  ~TApertiumAnalyser();
  TApertiumAnalyser(const TApertiumAnalyser&) = delete;
  TApertiumAnalyser& operator=(const TApertiumAnalyser&) = delete;

  // For each word (UTF-8), its one part of speech as a dictionary form (the readings
  // whose lemma is the word itself); Unknown where it has none or several. A phrase
  // takes that of its first word.
  std::vector<TPartOfSpeech> PartsOf(const std::vector<std::string>& words);

  // For each form (UTF-8), the words it is inflected from ("sont": être, a verb), the
  // form itself and compounds of several words left out.
  std::vector<std::vector<TBaseWord>> BasesOf(const std::vector<std::string>& forms);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// English verbs in the forms of another language's participles, spelt by Apertium's
// English generator: "lit" for light as a past participle, "boiling" for boil.
class TEnglishVerbForms {
 public:
  // path: a compiled generator of English (".autogen.bin"); throws std::runtime_error.
  explicit TEnglishVerbForms(const std::string& path);
  ~TEnglishVerbForms();
  TEnglishVerbForms(const TEnglishVerbForms&) = delete;
  TEnglishVerbForms& operator=(const TEnglishVerbForms&) = delete;

  // Each verb (a dictionary form, or a phrase beginning with one: "turn on") in the
  // form; empty where the generator knows no such verb.
  std::vector<std::string> Spell(const std::vector<std::string>& verbs, TVerbForm form);

 private:
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

// Adds the chain's translations of the words, as proposals of the source at place, keyed
// as the build keys its rows.
void ProduceApertium(TApertiumChain& chain, const std::vector<std::string>& words, uint8_t place,
                     TProposals& proposals, TKeying keying = TKeying::English);

}  // namespace parlivo
