// The one place that decides what a row shows: the proposals of every source for a
// headword are grouped by translation, each translation weighed by the sources that
// give it, its words checked, and the row ordered and marked.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Candidates.h"

namespace parlivo {

class TSpelling;

// The weights and limits of the judge, in one place, so that the measures and the
// shipped lexicon come from the same rules.
struct TJudgeRules {
  // How much a source of each kind is trusted (by TSourceKind).
  std::array<float, kSourceKindCount> Trust = {0.2f, 0.5f, 1.5f, 0.3f, 1.0f};
  // A translation given by more than one source weighs this much more for each further
  // source: agreement is the strongest evidence there is.
  float AgreementBonus = 0.25f;
  // A translation of a part of speech the headword has rarely weighs less, down to this
  // share, by how much rarer that part of speech is than its most common one.
  float RarePartFloor = 0.25f;
  // Translations that come through another language and nothing confirms are kept only
  // where nothing better exists, and only with this much evidence.
  float PivotThreshold = 0.35f;
  // What this many pivots through different languages agree on is confirmed: it
  // follows the direct sources' translations, where it would otherwise go.
  int AgreeingPivots = 2;
  // Such a translation weighs this many times less than the direct sources' would: it
  // leads only where they are far less sure of theirs ("can": "kunnen", not "blikje").
  float ConfirmedPivotDiscount = 4.0f;
  size_t MaxPivotTranslations = 4;
  // A translation that the sources give for many headwords is a common word of its
  // language, and a common word is the likelier first translation: its evidence grows
  // by the number of those headwords to this power.
  float CommonnessExponent = 0.1f;
  // A translation among the language's most frequent words weighs up to 1 + this much
  // more: the first word of a frequency list the most, one at its end nothing.
  float FrequencyWeight = 2.0f;
  // A translation spelt as the headword, accents and case aside, weighs this much more.
  float SameWordFactor = 1.0f;
};

// The words of a language by their place in a frequency list (1 for the most frequent),
// Latin-1 in lower case, and the length of the list.
struct TWordFrequencies {
  std::unordered_map<std::string, uint32_t> Ranks;
  uint32_t Count = 0;
};

// What the judge knows of the row besides its proposals.
struct TRowContext {
  const std::vector<TSourceKind>* Kinds = nullptr;  // by source place
  // How common each part of speech of the English headword is, 1 for its most common
  // (by TPartOfSpeech); empty when not known.
  std::array<float, kPartCount> PartShare{};
  bool PartShareKnown = false;
  // For a word form's row: only translations of this part of speech, or untagged ones.
  TPartOfSpeech OnlyPart = TPartOfSpeech::Unknown;
  bool OnlyTagged = false;  // with OnlyPart: translations of no known part of speech go too
  // The endings of the translations' language's infinitives ("en", "er", "re", ...):
  // in a verb form's row, an untagged translation none of whose words ends so is no
  // verb. Empty where the language's infinitives have no such shape.
  std::vector<std::string_view> InfinitiveEndings;
  bool Definitions = false;  // English explained: definitions apart by "; "
  // The translations are English words, a word of the language looked up in English.
  bool EnglishTranslations = false;
  // The headword is a common word in small letters: the translations of a name spelt
  // like it ("Warren", "Nick") have no place in its row.
  bool CommonWord = false;
  const TSpelling* Spelling = nullptr;
  // For each translation, the number of headwords the language's sources give it for.
  const std::unordered_map<std::string, uint32_t>* Commonness = nullptr;
  const TWordFrequencies* Frequencies = nullptr;
  // Where set, the row's translations as it shows them once their order is settled
  // ("lit" for light in a participle's row); a translation it lacks is left out.
  const std::unordered_map<std::string, std::string>* Respelt = nullptr;
  std::string_view Headword;  // as stored; a translation spelt like it needs no check
  size_t MaxCounted = 255;
};

struct TJudgedRow {
  std::string Text;  // Latin-1, packable; empty when nothing is kept
  // The translations the text shows, in its order, UTF-8, with their parts of speech.
  std::vector<std::pair<std::string, TPartOfSpeech>> Translations;
  // The sources that gave the first translation, a bit by source place.
  uint64_t FirstSources = 0;
  bool ThroughOther = false;  // marked: its translations all came through another language
};

TJudgedRow JudgeRow(const std::vector<TProposal>& proposals, const TRowContext& context,
                    const TJudgeRules& rules);

// Writes how the judge weighs each translation of the row, for whoever tunes the rules.
void ExplainRow(const std::vector<TProposal>& proposals, const TRowContext& context,
                const TJudgeRules& rules, std::ostream& out);

}  // namespace parlivo
