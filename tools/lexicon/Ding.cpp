#include "Ding.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <unordered_map>
#include <vector>

#include "EntryText.h"
#include "LexiconBuilder.h"
#include "Producers.h"
#include "SourceEntry.h"

namespace parlivo {

namespace {

// The parts of text between separators outside brackets: a note may hold the
// separator ("me (used after 'to be'; 'than' or 'as')" is one synonym).
std::vector<std::string_view> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string_view> parts;
  size_t start = 0;
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '(' || ch == '[' || ch == '{') {
      ++depth;
    } else if ((ch == ')' || ch == ']' || ch == '}') && depth > 0) {
      --depth;
    } else if (depth == 0 && text.substr(i, separator.size()) == separator) {
      parts.push_back(text.substr(start, i - start));
      start = i + separator.size();
      i = start - 1;
    }
  }
  parts.push_back(text.substr(start));
  return parts;
}

// A synonym without its notes and grammar, and the part of speech its grammar names.
struct TClean {
  std::string Text;
  TPartOfSpeech Part = TPartOfSpeech::Unknown;
  // The spellings in angle brackets the word is also found by: an old spelling
  // ("Schiffahrt <Schifffahrt>"), the word a form stands for ("keines <kein>").
  std::vector<std::string> AlsoFoundAs;
  TUsage Usage;
};

TClean Cleaned(std::string_view synonym) {
  TClean clean;
  std::string text;
  int depth = 0;
  for (size_t i = 0; i < synonym.size(); ++i) {
    const char ch = synonym[i];
    if (ch == '{') {
      const size_t close = synonym.find('}', i);
      if (close != std::string_view::npos && clean.Part == TPartOfSpeech::Unknown)
        clean.Part = PartOfTag(synonym.substr(i + 1, close - i - 1));
      ++depth;
    } else if (ch == '<' && depth == 0 && synonym.find('>', i) != std::string_view::npos) {
      const size_t close = synonym.find('>', i);
      clean.AlsoFoundAs.push_back(WithoutPlaceholders(synonym.substr(i + 1, close - i - 1)));
      i = close;
    } else if (ch == '[' || ch == '(') {
      ++depth;
    } else if (ch == '}' || ch == ']' || ch == ')') {
      if (depth > 0) --depth;
    } else if (depth == 0) {
      text.push_back(ch);
    }
  }
  clean.Text = WithoutPlaceholders(text);
  clean.Usage = UsageIn(synonym);
  return clean;
}

// A noun's phrase without its definite article, German or English: "Polizei" of "die
// Polizei", "police" of "the police"; nothing for text without one.
std::optional<std::string> WithoutArticle(std::string_view text) {
  for (std::string_view article : {"der ", "die ", "das ", "the "}) {
    if (text.size() > article.size() && text.starts_with(article))
      return std::string(text.substr(article.size()));
  }
  return std::nullopt;
}

// A verb's form as an entry conjugates it, "ich/er/sie ging" or "I/he/she went": the
// form without its persons, "ging" and "went"; other text as it is.
std::string WithoutPersons(std::string text) {
  static constexpr std::string_view kPersons[] = {"ich", "du",  "er", "sie", "es", "wir", "ihr",
                                                  "I",   "you", "he", "she", "it", "we",  "they"};
  const size_t space = text.find(' ');
  if (space == std::string::npos) return text;
  for (std::string_view person : Split(std::string_view(text).substr(0, space), "/")) {
    if (std::find(std::begin(kPersons), std::end(kPersons), person) == std::end(kPersons))
      return text;
  }
  return text.substr(space + 1);
}

// A part of an entry read as a verb's form: without its persons, and a verb.
void Conjugated(TClean& clean) {
  std::string form = WithoutPersons(clean.Text);
  if (form.size() == clean.Text.size()) return;
  clean.Text = std::move(form);
  clean.Part = TPartOfSpeech::Verb;
}

// The verb of a verb phrase with a preposition, "kümmern" of "sich um jdn./etw. kümmern"
// (the persons gone: "sich um kümmern"), which is what a reader looks up; nothing for
// other text.
std::optional<std::string> VerbOfPrepositionalPhrase(const TClean& word) {
  static constexpr std::string_view kPrepositions[] = {
      "an",  "auf",  "aus",  "bei", "durch", "für", "gegen", "hinter", "in",
      "mit", "nach", "über", "um",  "unter", "von", "vor",   "zu",     "zwischen"};
  if (word.Part != TPartOfSpeech::Verb) return std::nullopt;
  std::string_view text = word.Text;
  if (text.starts_with("sich ")) text.remove_prefix(5);
  const size_t space = text.find(' ');
  if (space == std::string_view::npos || text.find(' ', space + 1) != std::string_view::npos)
    return std::nullopt;
  if (std::find(std::begin(kPrepositions), std::end(kPrepositions), text.substr(0, space)) ==
      std::end(kPrepositions))
    return std::nullopt;
  return std::string(text.substr(space + 1));
}

}  // namespace

void ProduceDing(const std::string& path, const std::function<bool(const std::string&)>& wanted,
                 uint8_t place, TProposals& proposals, TLanguageSummary& summary, TKeying keying) {
  TRichestEntryFirst richestFirst;
  size_t number = 0;
  std::ifstream file = OpenSourceFile(path);
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t middle = line.find(" :: ");
    if (middle == std::string::npos) continue;
    ++summary.SourceEntries;
    ++number;
    const auto german = Split(std::string_view(line).substr(0, middle), " | ");
    const auto english = Split(std::string_view(line).substr(middle + 4), " | ");
    // The first part is the entry's own word; the others its forms and phrases.
    for (size_t part = 0; part < std::min(german.size(), english.size()); ++part) {
      // Read the other way, a form ("Eier {pl}") is a word of its own, whose sense is
      // the line's.
      const int sense = part == 0 || keying == TKeying::Spelt ? 1 : 2;
      std::vector<TClean> germanWords, englishWords;
      // Read the other way, the forms of a verb are rows of their own ("ging": went).
      const bool forms = keying == TKeying::Spelt && part > 0;
      for (std::string_view synonym : Split(german[part], "; ")) {
        TClean clean = Cleaned(synonym);
        if (forms) Conjugated(clean);
        // "sich für/zu etw. melden" offers two words at once: no translation to show.
        if (!clean.Text.empty() && clean.Text.find('/') == std::string::npos)
          germanWords.push_back(std::move(clean));
      }
      for (std::string_view synonym : Split(english[part], "; ")) {
        TClean clean = Cleaned(synonym);
        if (forms) Conjugated(clean);
        if (clean.Text.rfind("to ", 0) == 0) {
          clean.Text.erase(0, 3);
          if (clean.Part == TPartOfSpeech::Unknown) clean.Part = TPartOfSpeech::Verb;
        }
        if (!clean.Text.empty() && clean.Text.find('/') == std::string::npos)
          englishWords.push_back(std::move(clean));
      }
      const auto& headwords = keying == TKeying::English ? englishWords : germanWords;
      const auto& translations = keying == TKeying::English ? germanWords : englishWords;
      // Each headword, and where the line has it: read the other way, "sich kümmern" is
      // found under "kümmern" too, "sich um jdn. kümmern" there only; a noun with its
      // article ("die Polizei :: the police") is found without it, its translations
      // without theirs.
      struct TKeyed {
        TClean Word;
        size_t Place;
        bool Bare = false;
      };
      std::vector<TKeyed> keyed;
      for (size_t i = 0; i < headwords.size(); ++i) {
        const TClean& word = headwords[i];
        if (keying == TKeying::Spelt) {
          if (auto verb = VerbOfPrepositionalPhrase(word)) {
            keyed.push_back({{std::move(*verb), word.Part, {}, word.Usage}, i});
            continue;
          }
        }
        keyed.push_back({word, i});
        // The word under another spelling, with its grammar and usage.
        auto keyAlso = [&](std::string text, bool bare) {
          keyed.push_back({{std::move(text), word.Part, {}, word.Usage}, i, bare});
        };
        if (keying == TKeying::Spelt && word.Text.starts_with("sich "))
          keyAlso(word.Text.substr(5), false);
        if (keying == TKeying::Spelt) {
          for (const auto& also : word.AlsoFoundAs)
            if (!also.empty()) keyAlso(also, false);
        }
        if (const auto bare = WithoutArticle(word.Text)) keyAlso(*bare, true);
      }
      for (const TKeyed& entry : keyed) {
        const TClean& headword = entry.Word;
        // A line is about its first German word: read the other way, its English says
        // less of the German words after it ("sekundieren; helfen :: to second").
        const float about = keying == TKeying::Spelt
                                ? 1.0f / (1.0f + 0.5f * static_cast<float>(entry.Place))
                                : 1.0f;
        const THeadword stored = KeyedHeadword(headword.Text, keying);
        if (stored.LeftOut || stored.Key.empty() || !wanted(stored.Key)) continue;
        const bool capital = headword.Text.find_first_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ") == 0;
        auto& own = proposals[stored.Key];
        richestFirst.Begin(stored.Key, number, german.size(), own.size());
        for (size_t rank = 0; rank < translations.size(); ++rank) {
          // The part of speech is the German word's: its braces, or "to" before the English.
          const TPartOfSpeech part = translations[rank].Part != TPartOfSpeech::Unknown
                                         ? translations[rank].Part
                                         : headword.Part;
          const std::string& text = translations[rank].Text;
          own.push_back({entry.Bare ? WithoutArticle(text).value_or(text) : text, part, place,
                         capital && keying == TKeying::English,
                         RankStrength(rank, sense) * about * headword.Usage.AsHeadword() *
                             translations[rank].Usage.AsTranslation()});
        }
        richestFirst.End(stored.Key, own.size());
      }
    }
  }
  richestFirst.Weigh(proposals);
}

}  // namespace parlivo
