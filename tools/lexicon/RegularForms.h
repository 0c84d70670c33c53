// The words a form of a language may be inflected from by the language's regular rules,
// for languages whose analysers and spelling dictionaries do not tell: Dutch, German's
// infinitives with "zu"; and the participles of the Romance languages, which spelling
// dictionaries' stems do not tell.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Inflection.h"

namespace parlivo {

// The base words the form (UTF-8, in small letters) may come from, the likelier first,
// each with the part of speech its rule takes it for: "gebeld" bellen, "duurt" duren,
// "opgebeld" opbellen (verbs); "huizen" huis, "bomen" boom (nouns); "grote" groot
// (adjectives); German "anzurufen" anrufen. Candidates only: no dictionary need know them. None for
// a language without rules.
std::vector<TBaseWord> RegularBases(std::string_view language, std::string_view form);

// The participle the form (UTF-8, small letters) is of the infinitive by the regular
// endings of French, Italian, Spanish or Portuguese: "bollente" of "bollire" a present
// participle (Gerund), "cansadas" of "cansar" a past one; Other where it is neither.
TVerbForm RegularParticiple(std::string_view language, std::string_view form,
                            std::string_view infinitive);

}  // namespace parlivo
