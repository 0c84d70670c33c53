// The parts of speech that tell a translation's senses apart: a verb form's row shows
// verbs, a plural noun's nouns.
#pragma once

#include <cstdint>
#include <string_view>

namespace parlivo {

enum class TPartOfSpeech : uint8_t { Unknown, Noun, Verb, Adjective, Adverb, Other };
inline constexpr size_t kPartCount = 6;

// A dictionary's grammar tag: "n", "masc", "fem", "neut", "pl" (nouns), "v", "vt", "vi",
// "vr" (verbs), "adj", "adv"; "prep", "pron", "conj", "int", "num", "art" are Other;
// anything else Unknown.
TPartOfSpeech PartOfTag(std::string_view tag);

const char* PartName(TPartOfSpeech part);

// English's modal verbs ("can", "may", "must", ...): verbs before anything else they
// are, whatever a dictionary of content words makes of them ("May", the month).
bool IsEnglishModalVerb(std::string_view word);

// The modal verb whose past the word is ("could": can, "might": may), which WordNet,
// knowing no modal verbs, cannot always tell; empty for any other word.
std::string_view EnglishModalOfPast(std::string_view word);

}  // namespace parlivo
