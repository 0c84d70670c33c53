#include "PartOfSpeech.h"

#include <utility>

namespace parlivo {

TPartOfSpeech PartOfTag(std::string_view tag) {
  while (!tag.empty() && tag.front() == ' ') tag.remove_prefix(1);
  while (!tag.empty() && (tag.back() == ' ' || tag.back() == '.')) tag.remove_suffix(1);
  for (std::string_view noun : {"n", "noun", "masc", "fem", "neut", "pl", "m", "f", "nm", "nf"})
    if (tag == noun) return TPartOfSpeech::Noun;
  for (std::string_view verb : {"v", "vt", "vi", "vr", "verb", "trans", "intr", "refl"})
    if (tag == verb) return TPartOfSpeech::Verb;
  if (tag == "adj" || tag == "a") return TPartOfSpeech::Adjective;
  if (tag == "adv") return TPartOfSpeech::Adverb;
  for (std::string_view other : {"prep", "pron", "conj", "int", "num", "art", "interj", "det"})
    if (tag == other) return TPartOfSpeech::Other;
  return TPartOfSpeech::Unknown;
}

const char* PartName(TPartOfSpeech part) {
  switch (part) {
    case TPartOfSpeech::Noun:
      return "noun";
    case TPartOfSpeech::Verb:
      return "verb";
    case TPartOfSpeech::Adjective:
      return "adjective";
    case TPartOfSpeech::Adverb:
      return "adverb";
    case TPartOfSpeech::Other:
      return "other";
    case TPartOfSpeech::Unknown:
      break;
  }
  return "unknown";
}

bool IsEnglishModalVerb(std::string_view word) {
  for (std::string_view modal :
       {"can", "could", "may", "might", "must", "ought", "shall", "should", "will", "would"})
    if (word == modal) return true;
  return false;
}

std::string_view EnglishModalOfPast(std::string_view word) {
  // Not "would" nor "should": as pasts of will and shall they are moods that no verb of
  // another language translates, and the dictionaries that have them list them.
  static constexpr std::pair<std::string_view, std::string_view> kPasts[] = {{"could", "can"},
                                                                             {"might", "may"}};
  for (const auto& [past, modal] : kPasts)
    if (word == past) return modal;
  return {};
}

}  // namespace parlivo
