// The Collaborative International Dictionary of English as dictd serves it: an article
// ("My \My\ (m[imac]), a. & poss. pron. [OE. mi ...] Of or belonging to me; ...") read
// for the words it is headed by and its senses in use today.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace parlivo {

// The words an article is headed by, in lower case without syllable marks: "Her \Her\,
// Here \Here\, pron. pl." gives "her" and "here". The index also files an article under
// words it only mentions ("would" under Weld), which these tell apart.
std::vector<std::string> GcideHeadwords(std::string_view article);

// The article's senses in its own order, each as a row shows it: without etymology,
// pronunciation, examples, quotations and cross-references. Senses marked obsolete,
// archaic, rare, poetical or of a dialect are left out, and so is every sense of a
// proper name's article.
std::vector<std::string> GcideSenses(std::string_view article);

// Whether the article's grammar makes its word a word of grammar itself: a pronoun, a
// preposition, a conjunction, an article or an auxiliary ("he", "his", "with").
bool GcideOfFunctionWord(std::string_view article);

}  // namespace parlivo
