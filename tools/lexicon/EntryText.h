// Headwords and texts as the lexicon stores them: Latin-1, packable, reachable.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace parlivo {

// Why a source headword is not stored.
enum class TLeftOutReason { NoLatin1Form, LongerThan30, UnreachableStart };

// The stored form of a source headword: Latin-1, lower case, single spaces; or why it
// is left out: the search cannot reach a headword of more than 30 characters, nor one
// whose first three characters are anything but letters followed by trailing spaces.
struct THeadword {
  std::string Key;
  std::optional<TLeftOutReason> LeftOut;
};
THeadword StoredHeadword(std::string_view utf8);

// How a build keys its rows: English headwords as stored (lower case Latin-1), or a
// language's words as they are spelt (UTF-8, single spaces), for the other direction.
enum class TKeying { English, Spelt };

// Dutch dictionaries spell "ij" as one character, U+0132 and U+0133, where others and
// the spelling dictionary spell two: the text with two.
std::string WithoutLigatures(std::string text);

// Whether a word holds the place of an object in a dictionary's phrase: "etw." in "etw.
// unterschreiben", "sb." in "to give sb. sth.", "qn" in "aider qn".
bool IsPlaceholder(std::string_view word);

// The text without its placeholders: "jdm. helfen" is "helfen", "help sb." "help".
std::string WithoutPlaceholders(std::string_view text);

// Calls visit(word) for each word of the text, the runs between its spaces, until one
// call returns false; true when none did.
template <typename TVisit>
bool ForEachWord(std::string_view text, TVisit&& visit) {
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find(' ', start), text.size());
    if (end > start && !visit(text.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

// How much a word marked with a dictionary's usage labels (the text between its
// brackets: "fig.", "veraltet", "slang", "Ös.") weighs beside one without: a sense that
// is figurative, dated, rare or slang is seldom the one a reader wants, nor is a
// region's word as a translation. Fields ("mus.", "meteo.") mark common senses as often
// as rare ones and weigh nothing.
struct TUsage {
  float Sense = 1;
  float Region = 1;
  float AsTranslation() const { return std::min(Sense, Region); }
  // A word looked up is its region's own: only its senses' labels count.
  float AsHeadword() const { return Sense; }
};
TUsage UsageOfLabel(std::string_view label);

// The usage of the text's labels in square brackets, the least weight of each kind.
TUsage UsageIn(std::string_view text);
TUsage Least(TUsage a, TUsage b);

// A language's word as the other direction keeps it: UTF-8 with single spaces and no
// space at either end; or why it is left out, when it has no Latin-1 form or its key
// (ReverseKey) is no headword the search reaches.
THeadword SpeltHeadword(std::string_view utf8);

// The key under which the other direction's index files a spelt word: lower case ASCII
// with its accents folded ("häuser" and "hauser" both "hauser"), apostrophes left out,
// hyphens as spaces; Latin-1 bytes where a character has no ASCII letter to fold to.
std::string ReverseKey(std::string_view spelt);

// The key of an entry as the keying takes it.
THeadword KeyedHeadword(std::string_view utf8, TKeying keying);

// Joins the items (UTF-8) with separator into one Latin-1 text the packed form holds:
// duplicates and items without a Latin-1 form are dropped, commas and semicolons get
// the space the form needs, and the text ends before the first item that would take
// it beyond maxCounted counted characters; a first item that is longer by itself is
// cut at a word boundary and ends in "...". Empty when nothing remains.
std::string MakeEntryText(const std::vector<std::string>& items, std::string_view separator,
                          size_t maxCounted);

// The same text joined one item at a time, for items that come one by one.
class TEntryText {
 public:
  // Adds the item as MakeEntryText would after the items added before; false once the
  // text is complete and takes no more.
  bool Add(std::string_view item, std::string_view separator, size_t maxCounted);
  const std::string& Text() const noexcept { return FText; }
  std::string Take() noexcept { return std::move(FText); }

 private:
  std::string FText;
  // The clean items in the text once it has two; while it has one, that one is the text.
  std::vector<std::string> FItems;
  bool FComplete = false;
};

}  // namespace parlivo
