// Builds a whole lexicon folder, Index.plv and one file per language, from dictionary
// sources, and says what it stored, what it left out and which source decided what.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "FolderSwap.h"
#include "Judge.h"
#include "LexiconWriter.h"

namespace parlivo {

struct TLanguage;

// Where each source's proposals come from. Freedict: a FreeDict dictionary of English to
// the language; Wordnet: WordNet's database, English explained in English; Reversed: a
// FreeDict dictionary of the language to English, turned round; Pivot: a dictionary of a
// middle language (German unless said) to this one, reached through the build's English
// dictionary of the middle language; Apertium: a chain of a machine-translation system's
// lexicons from English; Ding: Ding's German-English dictionary. TabSeparated: the
// user's own texts, which stand as written. Inflected: the forms of an English word list
// (one a line) without a row of their own show their base word's translations of their
// part of speech, marked. Turned: the rows of a language of the same build (Path names
// it) turned round, for its set of the other direction. Borrowed: the English words that
// another language of the same build (Path names it) gives as they stand ("software")
// and this language's spelling dictionary knows, where this language's own sources
// have nothing.
enum class TSourceFormat {
  Freedict,
  Wordnet,
  TabSeparated,
  Reversed,
  Pivot,
  Inflected,
  Apertium,
  Ding,
  Turned,
  Borrowed,
  Gcide
};
const char* FormatName(TSourceFormat format);

// The language whose set of the other direction a build names: "GermanEnglish" for
// German's words looked up in English; null for any other name.
const TLanguage* ReverseSetNamed(const std::string& name);

struct TLanguageSource {
  std::string Language;  // one of the language table's names
  TSourceFormat Format;
  // dictd: the path without .index/.dict; tab-separated and word lists: the file;
  // WordNet: its database folder; Apertium: the pairs' path prefixes joined by "+",
  // English's first ("…/eng-spa+…/spa-ita").
  std::string Path;
  // Pivot: the language passed through, whose first freedict source in the same build
  // gives the first leg.
  std::string Via = "German";
  // Pivot: PATH is a dictionary of the language to Via, read the other way round, for
  // a middle language that has no dictionary to this one.
  bool TurnedRound = false;
};

struct TBuildOptions {
  size_t MaxTextLength = 255;  // counted characters
  TSharing Sharing = TSharing::EqualOffsets;
  TJudgeRules Rules;
  // The evidence an unconfirmed translation through another language needs, per
  // language, where it differs from Rules.PivotThreshold (chosen on the measures).
  std::map<std::string, float> PivotThresholds;
  // Where WordNet's database lies: the inflected forms' base words and the parts of
  // speech English words mostly have.
  std::string WordNetFolder = "/usr/share/wordnet";
  // Per language, the path of its spelling dictionary without .aff/.dic.
  std::map<std::string, std::string> Spelling;
  // Per language, the spelling dictionary of its other spelling (British English for
  // English translations): its words are no words run together.
  std::map<std::string, std::string> OtherSpelling;
  // Per language, an analyser of its words (Apertium's .automorf.bin), which tells the
  // part of speech of translations their source does not tag.
  std::map<std::string, std::string> Analysers;
  // Per language, an analyser (.automorf.bin) that tells the base words of its forms,
  // read the other way, where it is not the language's --analyser.
  std::map<std::string, std::string> BaseWords;
  // Per language read the other way, Apertium's generator of English (.autogen.bin): a
  // participle's row shows its verb's translations as participles ("lit", "boiling").
  std::map<std::string, std::string> Generators;
  // Per language, dictionaries (dictd) whose headwords are its words with their part of
  // speech in their entries, which tell it where neither source nor analyser do.
  std::multimap<std::string, std::string> TaggedWords;
  // Per language, a list of its words in frequency order, one a line: the more frequent
  // of two translations is the likelier first one.
  std::map<std::string, std::string> Frequencies;
  // Headwords (as stored) whose proposals and weighing the build writes to its log.
  std::set<std::string> Explain;
  TJudgeRules RulesOf(const std::string& language) const {
    TJudgeRules rules = Rules;
    const auto given = PivotThresholds.find(language);
    if (given != PivotThresholds.end()) rules.PivotThreshold = given->second;
    return rules;
  }
};

// What one source gave a language: the headwords it proposed translations for, and
// the rows whose first translation it gave, alone or with other sources.
struct TSourceSummary {
  std::string Format;
  std::string Path;
  size_t Headwords = 0;
  size_t FirstAlone = 0;
  size_t FirstAgreed = 0;
};

struct TLanguageSummary {
  std::string Language;
  std::string FileName;
  // A set of the other direction's own index: "IndexGerman.plv" for "GermanEnglish".
  std::string IndexFileName;
  size_t IndexHeadwords = 0;
  size_t IndexBytes = 0;
  size_t SourceEntries = 0;
  size_t Headwords = 0;  // headwords with a text in this language
  size_t Records = 0;
  size_t SharedEntries = 0;
  size_t Bytes = 0;
  size_t NoLatin1Form = 0;
  size_t LongerThan30 = 0;
  size_t UnreachableStart = 0;
  size_t NoText = 0;
  size_t ThroughOther = 0;  // rows marked as come through another language only
  size_t Inflected = 0;     // rows of word forms that show their base word's translations
  size_t LeftForRoom = 0;   // rows worth least, left out for the file to hold the rest
  std::vector<TSourceSummary> Sources;  // in the order given
};

struct TBuildSummary {
  size_t IndexHeadwords = 0;
  size_t IndexBytes = 0;
  std::vector<TLanguageSummary> Languages;
  std::vector<std::string> Removed;  // language files of the old set not built again
};

// Reads every source and replaces folder with the new set as a whole: Index.plv and
// the languages given. Language files of the old set that are not built again are
// removed with it, since they belong to the old index; a folder holding anything but
// lexicon files is refused. Returns the summary; progress goes to log. Throws
// std::runtime_error (ELexiconLimit when a file would break a limit of the format)
// with the old set left complete; a source that cannot be read or yields no headword
// is such an error, and so is a new set that fails the checker's rules, which is
// checked before it goes in.
TBuildSummary BuildLexicon(const std::string& folder, const std::vector<TLanguageSource>& sources,
                           const TBuildOptions& options, std::ostream& log,
                           const TFolderSteps& steps = TFolderSteps::System());

void PrintSummary(const TBuildSummary& summary, std::ostream& out);

// Reads the sources as a build does, then says for every source of every language how
// often its first translation of a headword is the first one the other sources decide
// without it, over the headwords both have; writes no lexicon.
void MeasureAgreement(const std::vector<TLanguageSource>& sources, const TBuildOptions& options,
                      std::ostream& log, std::ostream& out);

// Reads the sources as a build does, then, for every language with a gold list
// LANGUAGE.tsv in goldFolder, judges the gold words' rows under a grid of rules around
// options.Rules and writes to out how often each set of rules puts a right translation
// first: the best sets and the one given. Writes no lexicon.
void TuneRules(const std::vector<TLanguageSource>& sources, const TBuildOptions& options,
               const std::string& goldFolder, std::ostream& log, std::ostream& out);

}  // namespace parlivo
