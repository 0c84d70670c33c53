// English word forms traced to the words they are inflected from ("accepted" to
// "accept", "went" to "go"), so that a form no dictionary lists can show its base
// word's text.
#pragma once

#include <array>
#include <map>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace parlivo {

// WordNet's way of finding base words: the irregular forms its exception lists name,
// then the regular endings of nouns, verbs and adjectives, each base kept only when
// WordNet knows it as a word of that part of speech; and for an adverb, the adjective
// WordNet derives it from ("alternatively" from "alternative").
class TEnglishMorphology {
 public:
  // Reads index.noun, index.verb, index.adj, their .exc lists, data.noun, data.adj and
  // data.adv from a WordNet database folder; throws std::runtime_error when one cannot
  // be read.
  explicit TEnglishMorphology(const std::string& wordNetFolder);

  // The base words of a form in lower case, most likely first. None for a form that
  // WordNet knows as a verb or as a common noun of its own ("glasses", "news": it means
  // more than its base); nouns in -ing ("acting") and names ("Banks") do not count.
  std::vector<std::string> BaseWords(const std::string& form) const;

 private:
  static constexpr size_t kPartsOfSpeech = 3;  // noun, verb, adjective
  std::array<std::unordered_set<std::string>, kPartsOfSpeech> FWords;
  std::array<std::unordered_map<std::string, std::vector<std::string>>, kPartsOfSpeech> FIrregular;
  std::unordered_set<std::string> FCommonNouns;  // spelt in small letters in a synset
  std::unordered_map<std::string, std::vector<std::string>> FAdverbSources;
};

// The forms of a word list, one a line: the words of small letters only. Throws
// std::runtime_error when the list cannot be read.
std::vector<std::string> ReadWordForms(const std::string& path);

// What marks a text as its base word's: "(accept) " before the text of "accept".
std::string InflectedMark(const std::string& base);

// Texts (keyed by stored headword) for the forms of a word list that have none in
// texts yet: the first base word's text that has one, after InflectedMark, cut at a
// separator to maxCounted counted characters; a form whose text cannot be cut so is
// left out.
std::map<std::string, std::string> InflectedTexts(const std::vector<std::string>& forms,
                                                  const TEnglishMorphology& morphology,
                                                  const std::map<std::string, std::string>& texts,
                                                  size_t maxCounted);

}  // namespace parlivo
