#include "EntryText.h"

#include <algorithm>
#include <cstdint>

#include "Folding.h"
#include "Latin1.h"
#include "Text.h"
#include "TextPacker.h"

namespace parlivo {

namespace {

bool IsAsciiLetter(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}
bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}
bool IsControl(uint8_t ch) {
  return ch < 0x20 || (ch >= 0x7F && ch < 0xA0);
}

// Single spaces, none at either end; control characters count as spaces.
std::string CollapseSpaces(std::string_view text) {
  std::string out;
  for (char ch : text) {
    if (ch == ' ' || IsControl(static_cast<uint8_t>(ch))) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(ch);
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

void StripTrailingPunctuation(std::string& text) {
  while (!text.empty() &&
         (text.back() == ',' || text.back() == ';' || text.back() == ':' || text.back() == ' ')) {
    text.pop_back();
  }
}

// The packed form knows commas and semicolons only as ", " and "; ".
std::string CleanItem(std::string_view latin1) {
  std::string spaced;
  for (size_t i = 0; i < latin1.size(); ++i) {
    const char ch = latin1[i];
    // A note a source emptied ("seit ()") says nothing.
    const char close = ch == '(' ? ')' : ch == '[' ? ']' : 0;
    if (close && i + 1 < latin1.size() && latin1[i + 1] == close) {
      ++i;
      continue;
    }
    const bool separator = ch == ',' || ch == ';';
    const bool spaceFollows =
        i + 1 < latin1.size() &&
        (latin1[i + 1] == ' ' || IsControl(static_cast<uint8_t>(latin1[i + 1])));
    if (!separator || spaceFollows || i + 1 == latin1.size()) {
      spaced.push_back(ch);
    } else if (ch == ',' && i > 0 && IsDigit(latin1[i - 1]) && IsDigit(latin1[i + 1])) {
      spaced.push_back('.');  // a decimal comma
    } else {
      spaced.push_back(ch);
      spaced.push_back(' ');
    }
  }
  std::string clean = CollapseSpaces(spaced);
  // A separator before a space that collapsing removed (", ,") stays packable: every
  // ',' and ';' is followed by a space or ends the text, which the next step trims.
  StripTrailingPunctuation(clean);
  return clean;
}

std::string CutAtWord(const std::string& text, size_t maxCounted) {
  const std::string ellipsis = "...";
  const size_t budget = maxCounted > ellipsis.size() ? maxCounted - ellipsis.size() : 0;
  size_t end = 0;
  while (end < text.size() && CountedLength(std::string_view(text).substr(0, end + 1)) <= budget)
    ++end;
  const size_t space = text.rfind(' ', end);
  if (end < text.size() && space != std::string::npos && space > 0) end = space;
  std::string cut = text.substr(0, end);
  StripTrailingPunctuation(cut);
  return cut.empty() ? cut : cut + ellipsis;
}

}  // namespace

TUsage UsageOfLabel(std::string_view label) {
  static constexpr std::string_view kSeldomWanted[] = {
      // figurative, historical, dated, rare, literary
      "fig.", "übtr.", "hist.", "obs.", "veraltet", "dated", "archaic", "old", "alt", "rare",
      "selten", "poet.", "lit.",
      // slang, vulgar, pejorative, joking, euphemistic
      "slang", "vulg.", "pej.", "humor.", "euphem.", "iron.", "Jugendsprache", "Kindersprache"};
  static constexpr std::string_view kRegions[] = {
      "Ös.",     "Schw.",  "Bayr.", "Norddt.", "Süddt.",       "Mitteldt.", "Ostdt.", "Westdt.",
      "Westös.", "Ostös.", "BW",    "Lux.",    "Sächs.",       "Berlin",    "Scot.",  "Irish",
      "Austr.",  "NZ",     "Can.",  "Ind.",    "South Africa", "dial."};
  constexpr float kWeight = 0.4f;
  TUsage usage;
  if (std::find(std::begin(kSeldomWanted), std::end(kSeldomWanted), label) !=
      std::end(kSeldomWanted))
    usage.Sense = kWeight;
  if (std::find(std::begin(kRegions), std::end(kRegions), label) != std::end(kRegions))
    usage.Region = kWeight;
  return usage;
}

TUsage Least(TUsage a, TUsage b) {
  return {std::min(a.Sense, b.Sense), std::min(a.Region, b.Region)};
}

TUsage UsageIn(std::string_view text) {
  TUsage usage;
  for (size_t open = text.find('['); open != std::string_view::npos;
       open = text.find('[', open + 1)) {
    const size_t close = text.find(']', open);
    if (close == std::string_view::npos) break;
    usage = Least(usage, UsageOfLabel(text.substr(open + 1, close - open - 1)));
  }
  return usage;
}

THeadword StoredHeadword(std::string_view utf8) {
  const auto latin1 = ToLatin1(utf8);
  if (!latin1) return {{}, TLeftOutReason::NoLatin1Form};
  const std::string key = Latin1Lower(CollapseSpaces(*latin1));
  if (key.size() > 30) return {key, TLeftOutReason::LongerThan30};
  // Queries are letters followed by spaces: a non-letter among the first three
  // characters must be a space with nothing but spaces after it up to the third.
  const bool reachable = !key.empty() && IsAsciiLetter(key[0]) &&
                         (key.size() < 2 || IsAsciiLetter(key[1]) ||
                          (key[1] == ' ' && (key.size() < 3 || key[2] == ' '))) &&
                         (key.size() < 3 || IsAsciiLetter(key[2]) || key[2] == ' ');
  if (!reachable) return {key, TLeftOutReason::UnreachableStart};
  return {key, std::nullopt};
}

std::string WithoutLigatures(std::string text) {
  for (auto [ligature, letters] : {std::pair{"\xC4\xB3", "ij"}, std::pair{"\xC4\xB2", "IJ"}}) {
    for (size_t at = text.find(ligature); at != std::string::npos; at = text.find(ligature, at))
      text.replace(at, 2, letters);
  }
  return text;
}

bool IsPlaceholder(std::string_view word) {
  static constexpr std::string_view kPlaceholders[] = {
      // German
      "etw.", "jdn.", "jdm.", "jds.", "jd.", "jdn./etw.", "jdm./etw.",
      // English, with either apostrophe
      "sb.", "sth.", "sb./sth.", "sb.'s", "sb.\xE2\x80\x99s", "sth.\xE2\x80\x99s",
      // French and Italian
      "qn", "qn.", "qch", "qch.", "qqn", "qqch", "qc", "qc."};
  return std::find(std::begin(kPlaceholders), std::end(kPlaceholders), word) !=
         std::end(kPlaceholders);
}

std::string WithoutPlaceholders(std::string_view text) {
  std::string rest;
  ForEachWord(text, [&](std::string_view word) {
    if (!IsPlaceholder(word)) {
      if (!rest.empty()) rest.push_back(' ');
      rest.append(word);
    }
    return true;
  });
  return rest;
}

namespace {

// The text without its notes in brackets: "etw. (an einen Ort) werfen" is "etw.
// werfen". Text with a bracket left open stays as it is.
std::string WithoutNotes(std::string_view text) {
  std::string rest;
  int depth = 0;
  for (const char ch : text) {
    if (ch == '(' || ch == '[') {
      ++depth;
    } else if ((ch == ')' || ch == ']') && depth > 0) {
      --depth;
    } else if (depth == 0) {
      rest.push_back(ch);
    }
  }
  return depth == 0 ? rest : std::string(text);
}

}  // namespace

THeadword SpeltHeadword(std::string_view text) {
  const std::string utf8 = WithoutLigatures(WithoutPlaceholders(WithoutNotes(text)));
  const auto latin1 = ToLatin1(utf8);
  if (!latin1) return {{}, TLeftOutReason::NoLatin1Form};
  // A word or a phrase: no lists, nothing a user would not type.
  const bool phrase = std::all_of(latin1->begin(), latin1->end(), [](char ch) {
    return IsLatin1Letter(ch) || ch == ' ' || ch == '\t' || ch == '-' || ch == '\'' || ch == '.';
  });
  if (!phrase) return {{}, TLeftOutReason::UnreachableStart};
  std::string spelt;
  for (const char ch : utf8) {
    if (ch == ' ' || ch == '\t') {
      if (!spelt.empty() && spelt.back() != ' ') spelt.push_back(' ');
    } else {
      spelt.push_back(ch);
    }
  }
  while (!spelt.empty() && spelt.back() == ' ') spelt.pop_back();
  // "-chen" and "etw." are parts of words or marks of a dictionary, no words to look up.
  if (spelt.empty() || !IsLatin1Letter((*ToLatin1(spelt))[0]) || spelt == "etw." || spelt == "jmd.")
    return {{}, TLeftOutReason::UnreachableStart};
  const THeadword key = StoredHeadword(ToUtf8(FromLatin1(ReverseKey(spelt))));
  return {spelt, key.LeftOut};
}

std::string ReverseKey(std::string_view spelt) {
  String16 key = FoldedKey(FromUtf8(spelt));
  std::erase_if(key, [](Char16 ch) { return ch == '\'' || ch == 0x2019; });
  std::replace(key.begin(), key.end(), Char16{'-'}, Char16{' '});
  std::string latin1;
  for (const Char16 ch : key) {
    if (ch == ' ' && (latin1.empty() || latin1.back() == ' ')) continue;
    latin1.push_back(ch < 0x100 ? static_cast<char>(ch) : '?');
  }
  while (!latin1.empty() && latin1.back() == ' ') latin1.pop_back();
  return Latin1Lower(latin1);
}

THeadword KeyedHeadword(std::string_view utf8, TKeying keying) {
  return keying == TKeying::English ? StoredHeadword(utf8) : SpeltHeadword(utf8);
}

bool TEntryText::Add(std::string_view item, std::string_view separator, size_t maxCounted) {
  if (FComplete) return false;
  const auto latin1 = ToLatin1(item);
  if (!latin1) return true;
  std::string clean = CleanItem(*latin1);
  if (clean.empty()) return true;
  if (FText.empty()) {
    if (CountedLength(clean) <= maxCounted) {
      FText = std::move(clean);
    } else {
      FText = CutAtWord(clean, maxCounted);
      FComplete = true;
    }
    return !FComplete;
  }
  if (FItems.empty()) FItems.push_back(FText);
  if (std::find(FItems.begin(), FItems.end(), clean) != FItems.end()) return true;
  std::string longer = FText + std::string(separator) + clean;
  if (CountedLength(longer) > maxCounted) {
    FComplete = true;
    return false;
  }
  FText = std::move(longer);
  FItems.push_back(std::move(clean));
  return true;
}

std::string MakeEntryText(const std::vector<std::string>& items, std::string_view separator,
                          size_t maxCounted) {
  TEntryText text;
  for (const auto& item : items) {
    if (!text.Add(item, separator, maxCounted)) break;
  }
  return text.Take();
}

}  // namespace parlivo
