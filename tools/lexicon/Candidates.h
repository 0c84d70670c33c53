// What the sources of a language say: each source proposes translations for English
// headwords, and only the judge decides what a row shows.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "PartOfSpeech.h"

namespace parlivo {

// The kinds of source the judge weighs. A dictionary goes from the headwords' language
// to the texts'; one turned round goes the other way. A pivot comes through another
// language's dictionary; a curated source is a hand-built lexicon (a machine-translation
// system's, a dictionary kept by one editor).
enum class TSourceKind : uint8_t {
  Dictionary,
  TurnedRound,
  Curated,
  Pivot,
  Definitions,  // English explained in English
};
inline constexpr size_t kSourceKindCount = 5;

// One source's word for one translation of a headword.
struct TProposal {
  std::string Translation;  // UTF-8, one translation as the language spells it
  TPartOfSpeech Part = TPartOfSpeech::Unknown;
  uint8_t Source = 0;    // the source's place among the language's sources
  bool Capital = false;  // the source's headword has a capital: a name, a nationality
  float Strength = 1;    // how sure the source is: 1 for its first choice, less for later ones
};

// The proposals of a language's sources, keyed by stored headword.
using TProposals = std::unordered_map<std::string, std::vector<TProposal>>;

// How sure a source is of the translation it lists at rank r (0 for its first) in
// sense s (1 for the first): later ones are weaker. With r counted over the whole entry,
// not within the sense, one source alone keeps its order.
float RankStrength(size_t rank, int sense = 1);

}  // namespace parlivo
