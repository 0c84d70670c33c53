// Ding's German-English dictionary (Debian's trans-de-en): lines of "German :: English",
// each side's parts aligned by " | " (a word, its plural, phrases with it), synonyms
// apart by "; ", grammar in braces ({m}, {vt}, {adj}), notes in brackets.
#pragma once

#include <functional>
#include <string>

#include "Candidates.h"
#include "EntryText.h"

namespace parlivo {

struct TLanguageSummary;

// Adds the German translations of the English words for which wanted says yes (a
// stored headword), as proposals of the source at place; keyed by spelt German words,
// the English translations of German words. Throws std::runtime_error when the file
// cannot be read.
void ProduceDing(const std::string& path, const std::function<bool(const std::string&)>& wanted,
                 uint8_t place, TProposals& proposals, TLanguageSummary& summary,
                 TKeying keying = TKeying::English);

}  // namespace parlivo
