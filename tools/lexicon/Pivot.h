// Translations through a third language: English -> middle language (German, French)
// -> X for the English headwords that no dictionary of X has, each candidate scored by
// the paths that lead to it, and dictionaries of X to English turned around.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "SourceEntry.h"

namespace parlivo {

// A dictionary keyed by its headwords' PivotKey (UTF-8): each with its entries' items
// in the source's order, and the sense of each (1 for the first). caseMatters where the
// middle language's capital tells words apart: German "Würde" (dignity) is no "würde"
// (would).
struct TKeyedItems {
  std::vector<std::string> Items;
  std::vector<int> Senses;
};
using TKeyedDictionary = std::unordered_map<std::string, TKeyedItems>;
TKeyedDictionary Keyed(const std::vector<TSourceEntry>& entries, bool caseMatters = false);
// A dictionary of X to the middle language read the other way round: each middle word
// with the X headwords that give it, in the source's order, and the sense of the X
// headword it is in.
TKeyedDictionary KeyedTurned(const std::vector<TSourceEntry>& xToMiddle, bool caseMatters = false);

// The form in which words of two dictionaries are compared: lower case, as stored.
std::string ComparableWord(const std::string& word);
// A middle word as a keyed dictionary holds it: its ComparableWord, marked where
// caseMatters and it begins with a capital.
std::string PivotKey(const std::string& word, bool caseMatters);

// A dictionary of X to English turned around: for each English item (its stored
// headword form), the X headwords that give it, in the source's order.
std::unordered_map<std::string, std::vector<std::string>> Reversed(
    const std::vector<TSourceEntry>& xToEnglish);

struct TPivotCandidate {
  std::string Text;  // UTF-8
  double Score;
  TPartOfSpeech Part;  // that of the middle word whose paths add the most
  bool Capital;        // that middle word translates the headword spelt with a capital
};

// The translations into X of an English word whose translations into the middle
// language are given, best first. Each path English -> middle word of rank r (0 for the
// first) -> X word of that middle word's sense s (1 for the first) adds
// 1 / (r + 1) / 2^(s - 1): the more and the better the paths to a word, the higher it
// scores.
std::vector<TPivotCandidate> PivotCandidates(const std::vector<TSourceItem>& middle,
                                             const TKeyedDictionary& middleToX,
                                             bool caseMatters = false);

// The leading mark of a text that came through another language, which the user guide
// explains.
inline constexpr char kPivotMark[] = "~ ";

}  // namespace parlivo
