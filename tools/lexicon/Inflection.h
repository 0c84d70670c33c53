// English word forms and the words they are inflected from ("accepted" from "accept"):
// the word lists that name the forms, and the mark of a row that shows its base word's
// translations. TWordNet finds the base words.
#pragma once

#include <string>
#include <vector>

namespace parlivo {

// The forms of a word list, one a line: the words of small letters only. Throws
// std::runtime_error when the list cannot be read.
std::vector<std::string> ReadWordForms(const std::string& path);

// What marks a text as its base word's: "(accept) " before the text of "accept".
std::string InflectedMark(const std::string& base);

}  // namespace parlivo
