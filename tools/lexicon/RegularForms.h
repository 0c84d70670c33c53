// The words a form of a language may be inflected from by the language's regular rules,
// for languages whose analysers and spelling dictionaries do not tell: Dutch.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Inflection.h"

namespace parlivo {

// The base words the form (UTF-8, in small letters) may come from, the likelier first,
// each with the part of speech its rule takes it for: "gebeld" bellen, "duurt" duren,
// "opgebeld" opbellen (verbs); "huizen" huis, "bomen" boom (nouns); "grote" groot
// (adjectives). Candidates only: no dictionary need know them. None for a language
// without rules.
std::vector<TBaseWord> RegularBases(std::string_view language, std::string_view form);

}  // namespace parlivo
