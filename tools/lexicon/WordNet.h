// WordNet's database (index.*, data.*, *.exc, cntlist.rev): the senses of English words
// with their definitions, how often each sense was met in tagged text, which parts of
// speech a word mostly has, and the base words of its inflected forms.
#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "Inflection.h"
#include "PartOfSpeech.h"

namespace parlivo {

class TWordNet {
 public:
  // Reads the database folder; throws std::runtime_error when a file cannot be read.
  explicit TWordNet(const std::string& folder);

  struct TSense {
    TPartOfSpeech Part;
    int Number;         // WordNet's sense number within the part of speech, 1 for the first
    unsigned TagCount;  // how often the sense was met in tagged text
    std::string Gloss;  // the definition without its examples
    bool Capital;       // the word is spelt with a capital in this sense: a name
    bool Capitals;      // it is spelt in capitals only: an abbreviation ("AN", "US")
  };
  // The senses of a word (lower case, words apart by spaces), the most met first; those
  // never met in the order of their parts of speech (noun, verb, adjective, adverb)
  // and numbers.
  std::vector<TSense> Senses(const std::string& lemma) const;

  // Every word WordNet has senses for, lower case.
  std::vector<std::string> Lemmas() const;

  // How common each part of speech of the word is against its most common one, by
  // TPartOfSpeech (1 for the most common); false when WordNet does not know the word.
  bool PartShares(const std::string& lemma, std::array<float, kPartCount>& shares) const;

  // How often the word's most met sense was met in tagged text, of the part of speech
  // given or of any; and whether all its senses are names.
  unsigned MostMet(const std::string& lemma, TPartOfSpeech part = TPartOfSpeech::Unknown) const;

  // Whether the word has a sense spelt in small letters: a common word, not only a name.
  bool HasCommonSense(const std::string& lemma) const;
  // Whether every sense of the word is an abbreviation spelt in capitals: "an" is only
  // AN, "us" only US.
  bool OnlyAbbreviations(const std::string& lemma) const;

  using TBase = TBaseWord;
  // The base words of a form in lower case, most likely first, found by WordNet's
  // irregular forms and regular endings, and for an adverb the adjective it comes from.
  // A form that is a word of its own too ("glasses", "found") has its bases all the
  // same: whether its own senses come first is for its sources to say.
  std::vector<TBase> Bases(const std::string& form) const;

 private:
  struct TLemmaSense {
    size_t Synset;  // in FSynsets
    int Number;
    TPartOfSpeech Part;
  };
  struct TSynset {
    std::string Gloss;
    std::vector<std::string> Words;  // as spelt, spaces for underscores
  };
  static constexpr size_t kIndexedParts = 4;  // noun, verb, adjective, adverb
  std::vector<TSynset> FSynsets;
  std::unordered_map<std::string, std::vector<TLemmaSense>> FLemmas;
  // Tag counts by "lemma%part%number".
  std::unordered_map<std::string, unsigned> FTagCounts;
  std::array<std::unordered_set<std::string>, kIndexedParts> FWords;
  std::array<std::unordered_map<std::string, std::vector<std::string>>, kIndexedParts> FIrregular;
  std::unordered_map<std::string, std::vector<std::string>> FAdverbSources;
};

}  // namespace parlivo
