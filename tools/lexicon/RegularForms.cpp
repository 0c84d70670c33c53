#include "RegularForms.h"

#include <algorithm>

namespace parlivo {

namespace {

bool IsVowel(char ch) {
  return ch == 'a' || ch == 'e' || ch == 'i' || ch == 'o' || ch == 'u';
}

// Dutch spells a voiced consonant before a vowel: "huis", "huizen"; "brief", "brieven".
char Voiced(char ch) {
  return ch == 's' ? 'z' : ch == 'f' ? 'v' : ch;
}
char Voiceless(char ch) {
  return ch == 'z' ? 's' : ch == 'v' ? 'f' : ch;
}

// What the ending "-en" makes of a stem, by the rules of open and closed syllables:
// "werk" werken, "bel" bellen, "duur" duren, "leef" leven, "ga" gaan, "doe" doen.
std::vector<std::string> WithEn(const std::string& stem) {
  std::vector<std::string> words;
  const size_t n = stem.size();
  if (n < 2) return words;
  const char last = stem[n - 1];
  if (IsVowel(last)) {
    words.push_back(last == 'e' || IsVowel(stem[n - 2]) ? stem + "n" : stem + last + "n");
    return words;
  }
  const std::string soft = stem.substr(0, n - 1) + Voiced(last);
  if (n >= 3 && IsVowel(stem[n - 2]) && stem[n - 2] == stem[n - 3]) {
    words.push_back(stem.substr(0, n - 3) + stem[n - 2] + Voiced(last) + "en");
  } else if (n >= 3 && IsVowel(stem[n - 2]) && !IsVowel(stem[n - 3])) {
    words.push_back(stem + last + "en");
  }
  words.push_back(stem + "en");
  if (soft != stem) words.push_back(soft + "en");
  return words;
}

// A stem as a word of its own, which an ending took apart: "bom" boom (bomen), "huiz"
// huis, "drukk" druk.
std::vector<std::string> AsWord(const std::string& stem) {
  std::vector<std::string> words;
  const size_t n = stem.size();
  if (n < 2) return words;
  const char last = stem[n - 1];
  if (IsVowel(last)) {
    words.push_back(stem);
    return words;
  }
  const std::string hard = stem.substr(0, n - 1) + Voiceless(last);
  if (stem[n - 2] == last) words.push_back(stem.substr(0, n - 1));
  if (n >= 3 && IsVowel(stem[n - 2]) && !IsVowel(stem[n - 3]))
    words.push_back(stem.substr(0, n - 1) + stem[n - 2] + Voiceless(last));
  words.push_back(stem);
  if (hard != stem) words.push_back(hard);
  return words;
}

bool EndsWith(std::string_view word, std::string_view end) {
  return word.size() > end.size() + 1 && word.substr(word.size() - end.size()) == end;
}

void Add(std::vector<TBaseWord>& bases, std::string_view form, const std::string& word,
         TPartOfSpeech part) {
  if (word.size() < 2 || word == form) return;
  const bool known = std::any_of(bases.begin(), bases.end(), [&](const TBaseWord& base) {
    return base.Word == word && base.Part == part;
  });
  if (!known) bases.push_back({word, part});
}

void DutchVerbBases(std::string_view form, std::vector<TBaseWord>& bases) {
  static constexpr std::string_view kSeparable[] = {
      "aan",   "achter", "af",   "bij", "binnen", "buiten", "door", "in",    "los",
      "mee",   "na",     "neer", "om",  "op",     "over",   "rond", "samen", "tegen",
      "terug", "thuis",  "toe",  "uit", "vast",   "voor",   "weg",  "langs", "open"};
  auto addStem = [&](const std::string& prefix, const std::string& stem) {
    for (const auto& word : WithEn(stem)) Add(bases, form, prefix + word, TPartOfSpeech::Verb);
  };
  // Past participles: "gebeld", "opgebeld", "gegeven", "aangekomen".
  std::string prefix;
  std::string_view rest;
  for (std::string_view separable : kSeparable) {
    if (form.size() > separable.size() + 4 && form.substr(0, separable.size()) == separable &&
        form.substr(separable.size(), 2) == "ge") {
      prefix = separable;
      rest = form.substr(separable.size() + 2);
      break;
    }
  }
  if (rest.empty() && form.size() > 4 && form.substr(0, 2) == "ge") rest = form.substr(2);
  if (!rest.empty()) {
    // "gewerkt" of werken; "gedood" of doden, whose stem ends in its own d.
    if (rest.back() == 'd' || rest.back() == 't') {
      addStem(prefix, std::string(rest.substr(0, rest.size() - 1)));
      addStem(prefix, std::string(rest));
    }
    if (EndsWith(rest, "en")) Add(bases, form, prefix + std::string(rest), TPartOfSpeech::Verb);
  }
  // The past of weak verbs, "belde", "werkten"; the present, "duurt", "wordt"; and the
  // stem itself, "lieg", "kalmeer".
  for (std::string_view ending : {"den", "ten", "de", "te", "t", "d"}) {
    if (EndsWith(form, ending)) {
      addStem("", std::string(form.substr(0, form.size() - ending.size())));
      break;
    }
  }
  addStem("", std::string(form));
}

void DutchNounBases(std::string_view form, std::vector<TBaseWord>& bases) {
  auto addStem = [&](std::string_view stem) {
    for (const auto& word : AsWord(std::string(stem))) Add(bases, form, word, TPartOfSpeech::Noun);
  };
  if (EndsWith(form, "'s")) addStem(form.substr(0, form.size() - 2));
  // "huisjes", "balletje", "etentje": the word a diminutive is made of.
  for (std::string_view ending : {"etjes", "tjes", "pjes", "jes", "etje", "tje", "pje", "je"}) {
    if (EndsWith(form, ending)) {
      addStem(form.substr(0, form.size() - ending.size()));
      break;
    }
  }
  if (EndsWith(form, "eren")) addStem(form.substr(0, form.size() - 4));
  if (EndsWith(form, "en")) addStem(form.substr(0, form.size() - 2));
  if (EndsWith(form, "s")) addStem(form.substr(0, form.size() - 1));
}

void DutchAdjectiveBases(std::string_view form, std::vector<TBaseWord>& bases) {
  auto addStem = [&](std::string_view stem) {
    for (const auto& word : AsWord(std::string(stem)))
      Add(bases, form, word, TPartOfSpeech::Adjective);
  };
  // "grote", "groter", "grootste", "vieze".
  for (std::string_view ending : {"ste", "st", "ere", "er", "e"}) {
    if (EndsWith(form, ending)) {
      addStem(form.substr(0, form.size() - ending.size()));
      break;
    }
  }
}

}  // namespace

std::vector<TBaseWord> RegularBases(std::string_view language, std::string_view form) {
  std::vector<TBaseWord> bases;
  if (language != "Dutch" || form.size() < 2) return bases;
  const bool letters = std::all_of(form.begin(), form.end(),
                                   [](char ch) { return (ch >= 'a' && ch <= 'z') || ch == '\''; });
  if (!letters) return bases;
  DutchVerbBases(form, bases);
  DutchNounBases(form, bases);
  DutchAdjectiveBases(form, bases);
  return bases;
}

}  // namespace parlivo
