#include "Spelling.h"

#include <hunspell/hunspell.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <unordered_map>
#include <vector>

#include "EntryText.h"
#include "Latin1.h"
#include "Text.h"

namespace parlivo {

namespace {

bool IsWordCharacter(unsigned char ch) {
  return ch >= 0x80 || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == '\'' ||
         ch == '-';
}

// The length of the UTF-8 character that starts with this byte.
size_t CharacterLength(unsigned char lead) {
  return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Where the word's characters begin, and its end: the places it can be cut at.
std::vector<size_t> CharacterStarts(std::string_view word) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < word.size(); i += CharacterLength(static_cast<unsigned char>(word[i])))
    starts.push_back(i);
  starts.push_back(word.size());
  return starts;
}

// Splitting stops at this many parts: a longer chain of known words is chance, unless
// the phrase it makes is known ("as a matter of fact").
constexpr size_t kMaxParts = 4;
constexpr size_t kMaxPhraseParts = 6;

// Hunspell counts its dictionaries in a global without a lock, to share a table among
// them: two made or freed at once by the builder's threads would leak the table or free
// it in use.
std::mutex& HunspellCountLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

struct TSpelling::Handle {
  explicit Handle(Hunhandle* handle) : FHunspell(handle) {}
  ~Handle() {
    const std::lock_guard lock(HunspellCountLock());
    Hunspell_destroy(FHunspell);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Hunhandle* FHunspell;
  bool FLatin1 = false;  // the dictionary's encoding: Latin-1, or else UTF-8
  // Translations checked before: the same one recurs in many rows.
  std::unordered_map<std::string, std::optional<std::string>> FChecked;
  // Words respelt before, by InMainSpelling, and those that stay as they are.
  std::unordered_map<std::string, std::string> FRespelt;
};

namespace {

std::unique_ptr<TSpelling::Handle> OpenHunspell(const std::string& affPath,
                                                const std::string& dicPath) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(affPath, error) ||
      !std::filesystem::is_regular_file(dicPath, error))
    throw std::runtime_error("cannot read the spelling dictionary " + dicPath);
  std::unique_ptr<TSpelling::Handle> handle;
  {
    const std::lock_guard lock(HunspellCountLock());
    handle = std::make_unique<TSpelling::Handle>(Hunspell_create(affPath.c_str(), dicPath.c_str()));
  }
  const std::string encoding = Hunspell_get_dic_encoding(handle->FHunspell);
  handle->FLatin1 = encoding == "ISO8859-1" || encoding == "ISO-8859-1";
  return handle;
}

bool HunspellKnows(const TSpelling::Handle& handle, std::string_view word) {
  if (handle.FLatin1) {
    const auto latin1 = ToLatin1(word);
    return latin1 && Hunspell_spell(handle.FHunspell, latin1->c_str()) != 0;
  }
  return Hunspell_spell(handle.FHunspell, std::string(word).c_str()) != 0;
}

// English's little words: of its words of one or two letters, the only ones a word run
// together may hold, with the commonest of three.
constexpr std::string_view kEnglishLittleWords[] = {
    "a",   "an",  "as",  "at",  "be",  "by",  "do",  "go",  "he",  "if",  "in",  "is",
    "it",  "me",  "my",  "no",  "of",  "on",  "or",  "so",  "to",  "up",  "us",  "we",
    "all", "and", "any", "but", "for", "her", "him", "his", "how", "its", "nor", "not",
    "off", "one", "our", "out", "she", "the", "who", "why", "yet", "you"};

}  // namespace

TSpelling::TSpelling(const std::string& affPath, const std::string& dicPath, bool joinsCompounds)
    : FHandle(OpenHunspell(affPath, dicPath)), FJoinsCompounds(joinsCompounds) {}

TSpelling::~TSpelling() = default;

bool TSpelling::Knows(std::string_view word) const {
  return HunspellKnows(*FHandle, word);
}

bool TSpelling::OtherSpellingKnows(std::string_view word) const {
  return FOtherSpelling && HunspellKnows(*FOtherSpelling, word);
}

namespace {

// The American twins a British spelling (in small letters) may have, likeliest first.
std::vector<std::string> AmericanTwins(const std::string& word) {
  std::vector<std::string> twins;
  const auto replaceLast = [&](std::string_view from, std::string_view to) {
    const size_t at = word.rfind(from);
    if (at != std::string::npos)
      twins.push_back(word.substr(0, at) + std::string(to) + word.substr(at + from.size()));
  };
  const auto replaceEnd = [&](std::string_view from, std::string_view to) {
    if (word.size() > from.size() + 1 && word.ends_with(from))
      twins.push_back(word.substr(0, word.size() - from.size()) + std::string(to));
  };
  replaceLast("our", "or");  // colour, favourite
  replaceEnd("re", "er");    // centre, theatre
  replaceEnd("res", "ers");
  replaceEnd("red", "ered");
  replaceLast("is", "iz");      // realise, organisation
  replaceLast("ys", "yz");      // analyse
  replaceLast("ence", "ense");  // defence, licence
  replaceLast("ogue", "og");    // catalogue
  replaceLast("lled", "led");   // travelled
  replaceLast("lling", "ling");
  replaceLast("ller", "ler");
  replaceLast("ae", "e");   // anaemia
  replaceLast("mme", "m");  // programme
  return twins;
}

}  // namespace

std::string TSpelling::InMainSpelling(std::string_view translation) const {
  if (!FOtherSpelling) return std::string(translation);
  std::string out;
  ForEachWord(translation, [&](std::string_view spelt) {
    const std::string word(spelt);
    auto [known, fresh] = FHandle->FRespelt.emplace(word, word);
    if (fresh && word.size() > 3 && !Knows(word) && OtherSpellingKnows(word)) {
      // Worked out in small letters; a capital at the start stays.
      const bool capital = word[0] >= 'A' && word[0] <= 'Z';
      std::string lower = word;
      if (capital) lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
      for (std::string& twin : AmericanTwins(lower)) {
        if (capital) twin[0] = static_cast<char>(twin[0] - 'a' + 'A');
        if (Knows(twin)) {
          known->second = std::move(twin);
          break;
        }
      }
    }
    if (!out.empty()) out += ' ';
    out += known->second;
    return true;
  });
  return out;
}

void TSpelling::SplitAlsoUnlessSpeltOtherwise(
    const std::string& affPath, const std::string& dicPath,
    std::function<bool(std::string_view word)> commonWord) {
  FOtherSpelling = OpenHunspell(affPath, dicPath);
  FCommonWord = std::move(commonWord);
  FHandle->FChecked.clear();
}

std::vector<std::string> TSpelling::Stems(std::string_view word) const {
  std::string asked(word);
  if (FHandle->FLatin1) {
    const auto latin1 = ToLatin1(word);
    if (!latin1) return {};
    asked = *latin1;
  }
  char** list = nullptr;
  const int count = Hunspell_stem(FHandle->FHunspell, &list, asked.c_str());
  std::vector<std::string> stems;
  for (int i = 0; i < count; ++i) {
    std::string stem = FHandle->FLatin1 ? ToUtf8(FromLatin1(list[i])) : std::string(list[i]);
    if (stem != word && std::find(stems.begin(), stems.end(), stem) == stems.end())
      stems.push_back(std::move(stem));
  }
  Hunspell_free_list(FHandle->FHunspell, &list, count);
  // Hunspell also takes a prefix off, and a verb with a prefix is another verb: the
  // stems that begin as the word does come first, in Hunspell's order ("süße": "süß",
  // then "süßen"), the prefix's stems after them ("versuch": "suchen").
  const auto lower = [](std::string_view text) {
    const auto latin1 = ToLatin1(text);
    return latin1 ? Latin1Lower(*latin1) : std::string(text);
  };
  const std::string whole = lower(word), start = whole.substr(0, 3);
  const auto keepsStart = [&](const std::string& stem) { return lower(stem).starts_with(start); };
  std::stable_partition(stems.begin(), stems.end(), keepsStart);
  // Of a compound Hunspell gives its first word ("geheugenverlies": "geheugen"), which
  // the compound begins with, far more than an ending short of it.
  constexpr size_t kLongestEnding = 4;
  if (FJoinsCompounds) {
    std::erase_if(stems, [&](const std::string& stem) {
      const std::string own = lower(stem);
      return whole.starts_with(own) && whole.size() > own.size() + kLongestEnding;
    });
  }
  return stems;
}

std::optional<std::string> TSpelling::Split(std::string_view word,
                                            std::span<const std::string_view> littleWords,
                                            bool languagesOwn) const {
  // The fewest known parts that make up the word, found over its character boundaries;
  // of as many, those with the fewest words of one or two letters. Such words are
  // everywhere in a dictionary: a word cut into them ("me ji ka no" of "mejikano") is
  // cut by chance, so one at most may stand among longer ones ("pez de colores",
  // "ya que"), and "puestoque" is "puesto que", not "pu estoque". Where the little words
  // are named, every other part is a common word of four letters or more and one little
  // word at least is a part: a typo cuts into rare and short words ("orginisation" is
  // no "org in is at ion", "assistent" no "ass is tent").
  const bool named = !littleWords.empty();
  const size_t maxParts = named ? kMaxPhraseParts : kMaxParts;
  struct TCost {
    size_t Parts = kMaxPhraseParts + 1;  // not reached
    size_t Short = 0;                    // parts of one or two letters
    size_t Little = 0;                   // parts that are little words
    size_t ThreeLetters = 0;             // other parts of three letters
  };
  // A language's own little words are its commonest: a cut through them is likelier
  // than one through shorter words ("de baños", not "deba ños").
  const bool own = named && languagesOwn;
  const auto better = [own](const TCost& a, const TCost& b) {
    if (a.Parts != b.Parts) return a.Parts < b.Parts;
    if (own && a.Little != b.Little) return a.Little > b.Little;
    return a.Short != b.Short ? a.Short < b.Short : a.Little > b.Little;
  };
  const std::vector<size_t> starts = CharacterStarts(word);
  const size_t n = starts.size();
  std::vector<TCost> cost(n);
  std::vector<size_t> from(n, 0);
  cost[0] = {0, 0, 0};
  for (size_t end = 1; end < n; ++end) {
    for (size_t begin = 0; begin < end; ++begin) {
      if (cost[begin].Parts >= maxParts) continue;
      const std::string_view part = word.substr(starts[begin], starts[end] - starts[begin]);
      const bool isShort = end - begin < 3;
      const bool little =
          named && std::find(littleWords.begin(), littleWords.end(), part) != littleWords.end();
      // Words of three letters only where commonWord vouches for them: "way", "few".
      const size_t shortest = FCommonWord || own ? 3 : 4;
      if (named && !little && (end - begin < shortest || (FCommonWord && !FCommonWord(part))))
        continue;
      const TCost through{cost[begin].Parts + 1, cost[begin].Short + isShort,
                          cost[begin].Little + little,
                          cost[begin].ThreeLetters + (!little && end - begin == 3)};
      if (!better(through, cost[end])) continue;
      if (Knows(part)) {
        cost[end] = through;
        from[end] = begin;
      }
    }
  }
  const TCost& best = cost[n - 1];
  // Of a language's own little words, those of one or two letters stand among longer
  // words ("à raison de"), not on their own ("a si" of "asi").
  if (best.Parts < 2 || best.Parts > maxParts || (!named && best.Short > 1) ||
      (own && best.Short >= best.Parts))
    return std::nullopt;
  std::string split;
  size_t shortestPart = word.size();
  for (size_t end = n - 1; end > 0; end = from[end]) {
    const std::string_view part = word.substr(starts[from[end]], starts[end] - starts[from[end]]);
    split.insert(0, std::string(split.empty() ? "" : " ").insert(0, part));
    shortestPart = std::min(shortestPart, end - from[end]);
  }
  // Two parts, one a short word, are mostly a typo or one word the dictionary lacks:
  // "forsee" is no "for see", nor "verdor" "ver dor", where "inwhatway" is "in what way".
  if (named && best.ThreeLetters > 0 && best.Parts < 3) return std::nullopt;
  // A language's own words run together without a little word are words of four
  // letters or more ("carretera secundaria"); with a shorter part they are mostly one
  // word its dictionary lacks ("boxe ar" of "boxear").
  if (own) return best.Little > 0 || shortestPart >= 4 ? std::optional(split) : std::nullopt;
  // Of words run together that hold no little word, many are a typo ("averdue" is no
  // "aver due").
  if (named && best.Little == 0) return std::nullopt;
  return split;
}

void TSpelling::SplitOnlyWithLittleWords(std::vector<std::string> littleWords) {
  FLittleWords = std::move(littleWords);
  FLittleWordViews.assign(FLittleWords.begin(), FLittleWords.end());
  FHandle->FChecked.clear();
}

void TSpelling::SplitOnlyInto(std::function<bool(const std::string& phrase)> knownPhrase) {
  FKnownPhrase = std::move(knownPhrase);
  FHandle->FChecked.clear();
}

std::optional<std::string> TSpelling::SplitEnglish(std::string_view word) const {
  // A phrase of one word is no words run together ("leadoff" is no "lead off"), though
  // the dictionary does not know it.
  if (FKnownPhrase(std::string(word))) return std::nullopt;
  if (auto phrase = SplitIntoKnownPhrase(word)) return phrase;
  if (FOtherSpelling && !HunspellKnows(*FOtherSpelling, word))
    return Split(word, kEnglishLittleWords);
  return std::nullopt;
}

std::optional<std::string> TSpelling::SplitIntoKnownPhrase(std::string_view word) const {
  // Every way to cut the word into known parts at its character boundaries; of the
  // phrases accepted, one of the fewest parts.
  const std::vector<size_t> starts = CharacterStarts(word);
  std::optional<std::string> found;
  size_t foundParts = kMaxPhraseParts + 1;
  std::string phrase;
  const auto cut = [&](auto& self, size_t begin, size_t parts) -> void {
    if (begin + 1 == starts.size()) {
      if (parts >= 2 && FKnownPhrase(phrase)) {
        found = phrase;
        foundParts = parts;
      }
      return;
    }
    if (parts + 1 >= foundParts) return;
    for (size_t end = begin + 1; end < starts.size(); ++end) {
      const std::string_view part = word.substr(starts[begin], starts[end] - starts[begin]);
      if (!Knows(part)) continue;
      const size_t before = phrase.size();
      if (!phrase.empty()) phrase.push_back(' ');
      phrase.append(part);
      self(self, end, parts + 1);
      phrase.resize(before);
    }
  };
  cut(cut, 0, 0);
  return found;
}

std::optional<std::string> TSpelling::Checked(std::string_view translation) const {
  const auto known = FHandle->FChecked.find(std::string(translation));
  if (known != FHandle->FChecked.end()) return known->second;
  auto checked = CheckedNow(translation);
  FHandle->FChecked.emplace(std::string(translation), checked);
  return checked;
}

std::optional<std::string> TSpelling::CheckedNow(std::string_view translation) const {
  std::string checked;
  size_t i = 0;
  while (i < translation.size()) {
    if (!IsWordCharacter(static_cast<unsigned char>(translation[i]))) {
      checked.push_back(translation[i++]);
      continue;
    }
    size_t end = i;
    while (end < translation.size() &&
           IsWordCharacter(static_cast<unsigned char>(translation[end])))
      ++end;
    const std::string_view word = translation.substr(i, end - i);
    i = end;
    if (Knows(word) || (!FJoinsCompounds && StartsWithCapital(word))) {
      checked.append(word);
      continue;
    }
    // A hyphenated word whose parts are known.
    bool partsKnown = word.find('-') != std::string_view::npos;
    for (size_t start = 0; partsKnown && start <= word.size();) {
      const size_t hyphen = std::min(word.find('-', start), word.size());
      const std::string_view part = word.substr(start, hyphen - start);
      partsKnown = part.empty() || Knows(part);
      start = hyphen + 1;
    }
    if (partsKnown) {
      checked.append(word);
      continue;
    }
    const auto split = FKnownPhrase      ? SplitEnglish(word)
                       : FJoinsCompounds ? std::nullopt
                                         : Split(word, FLittleWordViews, true);
    if (!split) return std::nullopt;
    checked.append(*split);
  }
  return checked;
}

}  // namespace parlivo
