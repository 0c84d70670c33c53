// English word forms and the words they are inflected from ("accepted" from "accept"):
// the word lists that name the forms, and the mark of a row that shows its base word's
// translations. TWordNet finds the base words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PartOfSpeech.h"

namespace parlivo {

// The forms of a word list, one a line: the words of small letters only. Throws
// std::runtime_error when the list cannot be read.
std::vector<std::string> ReadWordForms(const std::string& path);

// The forms of a verb that English has too, and a translation can take.
enum class TVerbForm : uint8_t {
  Other,           // finite forms, infinitives, forms of several kinds at once
  PastParticiple,  // "acceso": lit
  Gerund,          // "bollendo", "bouillant": boiling
};

// A word a form is inflected from, with the part of speech of the form: a verb form's
// base is a verb.
struct TBaseWord {
  std::string Word;
  TPartOfSpeech Part;
  TVerbForm Form = TVerbForm::Other;
  // The form is a preposition joined with the definite article ("del": di + il), Word
  // the preposition.
  bool Contraction = false;
};

// The forms of a language's word list, one a line, as they are spelt: words of letters
// (with the hyphens and apostrophes of "peut-être" and "aujourd'hui") that have a
// Latin-1 form. Throws std::runtime_error when the list cannot be read.
std::vector<std::string> ReadSpeltForms(const std::string& path);

// What marks a text as its base word's: "(accept) " before the text of "accept".
std::string InflectedMark(const std::string& base);

}  // namespace parlivo
