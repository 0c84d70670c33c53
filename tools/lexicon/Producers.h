// The sources as producers of proposals: each reads its dictionary and says, for every
// English headword it knows, which translations it gives and how sure it is of each.
// Only the judge decides what a row shows.
#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "Candidates.h"
#include "Dictd.h"
#include "EntryText.h"
#include "Pivot.h"
#include "SourceEntry.h"

namespace parlivo {

struct TLanguageSource;
struct TLanguageSummary;
class TWordNet;

// For a source whose entries each propose for several headwords (a line of Ding's): of
// the entries that propose for a headword, the one richest in forms, phrases and
// examples holds its main sense, and what each other proposes weighs less by its place
// after it.
class TRichestEntryFirst {
 public:
  // The proposals the entry (numbered from 1) adds to the headword's row from place on,
  // up to the place End is given.
  void Begin(const std::string& key, size_t entry, size_t richness, size_t place);
  void End(const std::string& key, size_t place);
  void Weigh(TProposals& proposals);

 private:
  struct TEntry {
    size_t Number, Richness, Begin, End;
  };
  std::unordered_map<std::string, std::vector<TEntry>> FEntries;
};

// A source's entries as read, parsed after its format.
std::vector<TSourceEntry> ReadSource(const TLanguageSource& source, std::ostream& log);

// A source's items for each headword keyed as the build keys its rows, its main senses
// first; what it leaves out is counted into summary.
struct TSourceItems {
  size_t Entries = 0;
  std::map<std::string, std::vector<TSourceItem>> Items;
};
TSourceItems ReadItems(const TLanguageSource& source, TLanguageSummary& summary, std::ostream& log,
                       TKeying keying = TKeying::English);

// A dictionary of the headwords' language to the texts': its items as they stand.
void ProduceDictionary(const TSourceItems& read, uint8_t place, TProposals& proposals);

// A dictionary of the texts' language to the headwords', turned round: a headword that
// is the first translation of an entry proposes that entry's own headword most strongly.
void ProduceReversed(const std::vector<TSourceEntry>& entries, uint8_t place, TProposals& proposals,
                     TKeying keying = TKeying::English);

// A language's rows from English turned round, for its words looked up in English: an
// English headword whose row leads with a word proposes itself for that word most
// strongly.
void ProduceTurned(const TSourceItems& rows, uint8_t place, TProposals& proposals);

// Translations through a middle language: the English headwords' translations into it
// (firstLeg) looked up in a dictionary of it to the language, keyed as caseMatters
// says, scored by their paths.
void ProducePivot(const TSourceItems& firstLeg, const TKeyedDictionary& middleToX, uint8_t place,
                  TProposals& proposals, bool caseMatters = false);

// English explained in English: WordNet's definitions of its words, the most used first.
void ProduceDefinitions(const TWordNet& wordNet, uint8_t place, TProposals& proposals,
                        TLanguageSummary& summary);

// English explained in English where WordNet falls short: the senses of GCIDE's
// articles headed by a word take() accepts, told whether the article makes it a word of
// grammar, in the dictionary's order; a word of grammar's before any other source's.
void ProduceGcide(const std::vector<TDictdEntry>& articles,
                  const std::function<bool(const std::string&, bool)>& take, uint8_t place,
                  TProposals& proposals, TLanguageSummary& summary);

// Read the other way, translations through a middle language: a language's words
// with their translations into the middle language (wordsToMiddle), whose words the
// middle language's set of the other direction (middleRows) gives in English.
void ProducePivotToEnglish(const TSourceItems& wordsToMiddle, const TSourceItems& middleRows,
                           uint8_t place, TProposals& proposals);

// The parts of speech a dictionary's headwords carry in their entries' first line
// ("leng /l/ <n>"): what its language's words are. A word tagged with two parts has none.
std::unordered_map<std::string, TPartOfSpeech> HeadwordParts(const std::string& dictdPath,
                                                             std::ostream& log);

// A dictionary key as the lexicon stores it counted into summary when it is left out.
void CountLeftOut(TLeftOutReason reason, TLanguageSummary& summary);

}  // namespace parlivo
