#include "Apertium.h"

#include <lttoolbox/fst_processor.h>
#include <unicode/ustdio.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "EntryText.h"
#include "Latin1.h"
#include "Text.h"

namespace parlivo {

namespace {

// A compiled transducer read from its file.
void Load(FSTProcessor& processor, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw std::runtime_error("cannot read the Apertium data " + path);
  processor.load(file);
  std::fclose(file);
}

// Runs a transducer over text, one item a line, as lt-proc does over a stream.
template <class F>
std::string RunOverText(const std::string& text, F&& run) {
  std::string input = text;
  FILE* in = fmemopen(input.data(), input.size(), "r");
  char* buffer = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&buffer, &size);
  if (!in || !out) throw std::runtime_error("cannot run the Apertium transducers");
  {
    InputFile inputFile;
    inputFile.wrap(in);
    UFILE* output = u_finit(out, nullptr, "UTF-8");
    run(inputFile, output);
    u_fflush(output);
    u_fclose(output);
  }
  std::fclose(out);
  std::string result(buffer, size);
  std::free(buffer);
  return result;
}

// A lexical unit "^surface/reading/reading$" taken apart.
struct TUnit {
  std::string Surface;
  std::vector<std::string> Readings;
};

std::vector<std::string> SplitUnescaped(std::string_view text, char separator) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      parts.back().push_back(text[++i]);
    } else if (text[i] == separator) {
      parts.emplace_back();
    } else {
      parts.back().push_back(text[i]);
    }
  }
  return parts;
}

// The units of each line of a transducer's output.
std::vector<std::vector<TUnit>> UnitsByLine(const std::string& output) {
  std::vector<std::vector<TUnit>> lines(1);
  for (size_t i = 0; i < output.size(); ++i) {
    if (output[i] == '\n') {
      lines.emplace_back();
    } else if (output[i] == '^') {
      size_t end = i + 1;
      while (end < output.size() && output[end] != '$') end += output[end] == '\\' ? 2 : 1;
      auto parts = SplitUnescaped(std::string_view(output).substr(i + 1, end - i - 1), '/');
      TUnit unit{parts.front(), {parts.begin() + 1, parts.end()}};
      lines.back().push_back(std::move(unit));
      i = end;
    }
  }
  return lines;
}

// Whether the analyser read the word: an unknown one comes back as "*word".
bool IsReading(const std::string& reading) {
  return !reading.empty() && reading[0] != '*';
}

std::string Lemma(const std::string& reading) {
  return reading.substr(0, reading.find('<'));
}
std::string FirstTag(const std::string& reading) {
  const size_t open = reading.find('<');
  const size_t close = reading.find('>', open);
  return open == std::string::npos ? "" : reading.substr(open + 1, close - open - 1);
}

TPartOfSpeech PartOfReading(const std::string& reading) {
  const std::string tag = FirstTag(reading);
  if (tag == "n" || tag == "np") return TPartOfSpeech::Noun;
  if (tag.rfind("vb", 0) == 0 || tag == "vaux") return TPartOfSpeech::Verb;
  if (tag == "adj") return TPartOfSpeech::Adjective;
  if (tag == "adv" || tag == "preadv") return TPartOfSpeech::Adverb;
  return TPartOfSpeech::Other;
}

// Whether a reading is of a person's name ("Pedro<np><ant><m><sg>").
bool IsPersonsName(const std::string& reading) {
  return reading.find("<np><ant>") != std::string::npos;
}

// The verb form a reading names, if English has it.
TVerbForm VerbFormOf(const std::string& reading) {
  if (PartOfReading(reading) != TPartOfSpeech::Verb) return TVerbForm::Other;
  if (reading.find("<pp>") != std::string::npos) return TVerbForm::PastParticiple;
  if (reading.find("<ger>") != std::string::npos || reading.find("<pprs>") != std::string::npos)
    return TVerbForm::Gerund;
  return TVerbForm::Other;
}

// How well a reading stands for its part of speech's dictionary form: the singular
// noun and the infinitive before other forms.
int FormRank(const std::string& reading) {
  if (reading.find("<n><sg>") != std::string::npos) return 0;
  if (reading.find("<inf>") != std::string::npos) return 0;
  if (reading.find("<pl>") != std::string::npos || reading.find("<past>") != std::string::npos)
    return 2;
  return 1;
}

// A bilingual dictionary's answer: its targets, without those it does not know ("@").
std::vector<std::string> Targets(FSTProcessor& bilingual, const std::string& unit) {
  const String16 answer = bilingual.biltrans(FromUtf8("^" + unit + "$"));
  std::vector<std::string> targets;
  // A unit the dictionary does not know comes back as "$" alone, or marked with "@".
  const std::string text = ToUtf8(answer);
  if (text.size() < 3 || text.front() != '^' || text.back() != '$') return {};
  for (auto& target : SplitUnescaped(std::string_view(text).substr(1, text.size() - 2), '/')) {
    if (target.empty() || target[0] == '@') return {};
    targets.push_back(std::move(target));
  }
  return targets;
}

// A bilingual dictionary's answer, trying the unit with the tags of a dictionary form
// added where it lacks them: the next step of a chain may want an adjective's gender
// and number, which the first step leaves out.
std::vector<std::string> TargetsOfDictionaryForm(FSTProcessor& bilingual, const std::string& unit) {
  auto targets = Targets(bilingual, unit);
  const std::string tag = FirstTag(unit);
  const bool bare = unit.find("><") == std::string::npos;
  if (!targets.empty() || !bare) return targets;
  if (tag == "adj") {
    for (const char* tags : {"<m><sg>", "<mf><sg>"}) {
      targets = Targets(bilingual, unit + tags);
      if (!targets.empty()) break;
    }
  }
  return targets;
}

// A multiword's invariable tail follows its tags when it is generated: "fin# de
// semana<n>" becomes "fin<n># de semana"; tags yet to be settled take their default.
std::string ForGeneration(std::string unit) {
  const size_t hash = unit.find('#');
  const size_t tags = unit.find('<');
  if (hash != std::string::npos && tags != std::string::npos && hash < tags)
    unit = unit.substr(0, hash) + unit.substr(tags) + unit.substr(hash, tags - hash);
  for (auto [from, to] : {std::pair{"<ND>", "<sg>"}, std::pair{"<GD>", "<m>"}}) {
    for (size_t at = unit.find(from); at != std::string::npos; at = unit.find(from))
      unit.replace(at, 4, to);
  }
  return unit;
}

// The dictionary form's spellings to try, best first: the unit as it stands, then its
// lemma with the tags a dictionary form has.
std::vector<std::string> GenerationForms(const std::string& unit) {
  std::vector<std::string> forms{ForGeneration(unit)};
  const std::string lemmaPart = unit.substr(0, unit.find('<'));
  const std::string tag = FirstTag(unit);
  if (tag == "adj") {
    forms.push_back(ForGeneration(lemmaPart + "<adj><m><sg>"));
    forms.push_back(ForGeneration(lemmaPart + "<adj><mf><sg>"));
  } else if (tag == "n") {
    for (const char* gender : {"<m>", "<f>", "<mf>", "<nt>"})
      if (unit.find(gender) != std::string::npos)
        forms.push_back(ForGeneration(lemmaPart + "<n>" + gender + "<sg>"));
  }
  return forms;
}

// A word as the transducers' stream format carries it: its special characters escaped.
std::string Escaped(const std::string& word) {
  std::string out;
  for (const char ch : word) {
    if (std::string_view("\\^$/<>@[]{}*#+~").find(ch) != std::string_view::npos)
      out.push_back('\\');
    out.push_back(ch);
  }
  return out;
}

std::string Capitalised(const std::string& word) {
  std::string out = word;
  if (!out.empty() && out[0] >= 'a' && out[0] <= 'z') out[0] = static_cast<char>(out[0] - 32);
  return out;
}

// A reading of an English word to translate: one a part of speech.
struct TReading {
  size_t Word;       // among the words asked about
  std::string Unit;  // lemma and tags
  bool Capital;      // only the word spelt with a capital has it
};

// A translation a reading leads to through the bilingual dictionaries.
struct TFound {
  size_t Reading;
  std::string Unit;
  size_t Rank;  // the dictionaries' choices before it, summed over the steps
  // The last dictionary gave back the lemma it was given, as a name's entry does: the
  // name as the language before spells it.
  bool KeptByLastStep;
};

// The readings of each word that are the word itself, the best one of each part of
// speech; those only its capitalised spelling has are marked.
std::vector<TReading> OwnReadings(const std::vector<std::string>& words,
                                  const std::vector<std::vector<TUnit>>& lower,
                                  const std::vector<std::vector<TUnit>>& upper) {
  std::vector<TReading> readings;
  for (size_t w = 0; w < words.size(); ++w) {
    std::map<std::string, std::string> ownByTag;  // first tag, "+" for a capital's -> reading
    std::set<std::string> lowerTags;
    auto collect = [&](const std::vector<std::vector<TUnit>>& lines, bool capital) {
      if (w >= lines.size() || lines[w].size() != 1) return;
      for (const auto& reading : lines[w].front().Readings) {
        if (!IsReading(reading)) continue;
        const std::string lemma = Lemma(reading);
        const bool own = capital ? SameIgnoringAsciiCase(lemma, words[w]) : lemma == words[w];
        const std::string tag = FirstTag(reading);
        if (!own || (capital && lowerTags.count(tag))) continue;
        if (!capital) lowerTags.insert(tag);
        auto& best = ownByTag[tag + (capital ? "+" : "")];
        if (best.empty() || FormRank(reading) < FormRank(best)) best = reading;
      }
    };
    collect(lower, false);
    collect(upper, true);
    for (const auto& [tag, reading] : ownByTag) readings.push_back({w, reading, tag.back() == '+'});
  }
  return readings;
}

// Each reading through every bilingual dictionary in turn, keeping their choices' order.
std::vector<TFound> ThroughDictionaries(const std::vector<TReading>& readings,
                                        std::vector<std::unique_ptr<FSTProcessor>>& bilinguals) {
  std::vector<TFound> found;
  for (size_t r = 0; r < readings.size(); ++r) {
    std::vector<TFound> current{{r, readings[r].Unit, 0, false}};
    for (auto& bilingual : bilinguals) {
      std::vector<TFound> next;
      for (const TFound& step : current) {
        const auto targets = TargetsOfDictionaryForm(*bilingual, step.Unit);
        for (size_t t = 0; t < targets.size(); ++t)
          next.push_back({r, targets[t], step.Rank + t, Lemma(targets[t]) == Lemma(step.Unit)});
      }
      current.swap(next);
    }
    found.insert(found.end(), std::make_move_iterator(current.begin()),
                 std::make_move_iterator(current.end()));
  }
  return found;
}

// How the generator spells each unit's dictionary form, every try of every unit in one
// run; where it spells none, the lemma without its multiword marks.
std::vector<std::string> Spelt(const std::vector<TFound>& found, FSTProcessor& generator) {
  std::string text;
  std::vector<size_t> tries(found.size());
  for (size_t f = 0; f < found.size(); ++f) {
    const auto forms = GenerationForms(found[f].Unit);
    tries[f] = forms.size();
    for (const auto& form : forms) text += "^" + form + "$\n";
  }
  const std::string output = RunOverText(
      text, [&](InputFile& in, UFILE* out) { generator.generation(in, out, gm_unknown); });
  std::vector<std::string> lines;
  for (size_t start = 0, end = output.find('\n'); end != std::string::npos;
       start = end + 1, end = output.find('\n', start))
    lines.push_back(output.substr(start, end - start));
  std::vector<std::string> spellings;
  size_t line = 0;
  for (size_t f = 0; f < found.size(); ++f) {
    std::string spelling;
    for (size_t t = 0; t < tries[f]; ++t, ++line) {
      const std::string& form = line < lines.size() ? lines[line] : std::string();
      if (spelling.empty() && !form.empty() && form[0] != '#' &&
          form.find('<') == std::string::npos)
        spelling = form;
    }
    // A leading mark hands the word to the post-generator as a template ("~ceprn" for
    // French "ce", which becomes "c'" before a vowel): the lemma is its spelling.
    if (spelling.starts_with('~')) spelling.clear();
    std::erase(spelling, '~');  // a mark for the post-generator, which joins "de el"
    if (std::none_of(spelling.begin(), spelling.end(), [](char ch) {
          return std::isalpha(static_cast<unsigned char>(ch)) ||
                 static_cast<unsigned char>(ch) >= 0x80;
        }))
      spelling.clear();
    if (spelling.empty()) {
      spelling = Lemma(found[f].Unit);
      std::erase(spelling, '#');
    }
    spellings.push_back(std::move(spelling));
  }
  return spellings;
}

// The analyser's units of each word, one word a line.
std::vector<std::vector<TUnit>> Analysed(FSTProcessor& analyser,
                                         const std::vector<std::string>& words) {
  std::string text;
  for (const auto& word : words) text += Escaped(word) + "\n";
  return UnitsByLine(
      RunOverText(text, [&](InputFile& in, UFILE* out) { analyser.analysis(in, out); }));
}

}  // namespace

struct TApertiumChain::Impl {
  FSTProcessor Analyser;
  std::vector<std::unique_ptr<FSTProcessor>> Bilinguals;
  FSTProcessor Generator;
};

TApertiumChain::TApertiumChain(const std::vector<std::string>& steps)
    : FImpl(std::make_unique<Impl>()) {
  if (steps.empty()) throw std::runtime_error("an Apertium chain needs at least one pair");
  Load(FImpl->Analyser, steps.front() + ".automorf.bin");
  FImpl->Analyser.initAnalysis();
  for (const auto& step : steps) {
    FImpl->Bilinguals.push_back(std::make_unique<FSTProcessor>());
    Load(*FImpl->Bilinguals.back(), step + ".autobil.bin");
    FImpl->Bilinguals.back()->initBiltrans();
  }
  Load(FImpl->Generator, steps.back() + ".autogen.bin");
  FImpl->Generator.initGeneration();
}

TApertiumChain::~TApertiumChain() = default;

std::vector<std::vector<TApertiumChain::TTranslation>> TApertiumChain::Translate(
    const std::vector<std::string>& words, std::vector<bool>* read) {
  auto analyse = [&](bool capital) {
    std::string text;
    for (const auto& word : words) text += Escaped(capital ? Capitalised(word) : word) + "\n";
    return UnitsByLine(
        RunOverText(text, [&](InputFile& in, UFILE* out) { FImpl->Analyser.analysis(in, out); }));
  };
  const auto lower = analyse(false);
  const std::vector<TReading> readings = OwnReadings(words, lower, analyse(true));
  if (read) {
    read->assign(words.size(), false);
    for (size_t w = 0; w < words.size() && w < lower.size(); ++w) {
      for (const TUnit& unit : lower[w])
        for (const auto& reading : unit.Readings)
          if (IsReading(reading)) (*read)[w] = true;
    }
  }
  const std::vector<TFound> found = ThroughDictionaries(readings, FImpl->Bilinguals);
  const std::vector<std::string> spellings = Spelt(found, FImpl->Generator);
  std::vector<std::vector<TTranslation>> translations(words.size());
  for (size_t f = 0; f < found.size(); ++f) {
    const TReading& reading = readings[found[f].Reading];
    // A person's name is spelt its own way in each language, and a last dictionary that
    // keeps the middle language's spelling does not make it the last language's:
    // Portuguese "Filipe" is not "Felip", though Catalan's dictionary to English says so.
    if (FImpl->Bilinguals.size() > 1 && IsPersonsName(reading.Unit) && found[f].KeptByLastStep &&
        Lemma(found[f].Unit) != Lemma(reading.Unit))
      continue;
    translations[reading.Word].push_back(
        {spellings[f], PartOfReading(reading.Unit), found[f].Rank, reading.Capital});
  }
  return translations;
}

struct TApertiumAnalyser::Impl {
  FSTProcessor Analyser;
};

TApertiumAnalyser::TApertiumAnalyser(const std::string& path) : FImpl(std::make_unique<Impl>()) {
  Load(FImpl->Analyser, path);
  FImpl->Analyser.initAnalysis();
}

TApertiumAnalyser::~TApertiumAnalyser() = default;

std::vector<TPartOfSpeech> TApertiumAnalyser::PartsOf(const std::vector<std::string>& words) {
  const auto lines = Analysed(FImpl->Analyser, words);
  std::vector<TPartOfSpeech> parts(words.size(), TPartOfSpeech::Unknown);
  for (size_t w = 0; w < words.size() && w < lines.size(); ++w) {
    if (lines[w].empty()) continue;
    const TUnit& first = lines[w].front();
    TPartOfSpeech found = TPartOfSpeech::Unknown;
    bool several = false;
    for (const auto& reading : first.Readings) {
      if (!IsReading(reading) || !SameIgnoringAsciiCase(Lemma(reading), first.Surface)) continue;
      const TPartOfSpeech part = PartOfReading(reading);
      several = several || (found != TPartOfSpeech::Unknown && found != part);
      found = part;
    }
    if (!several) parts[w] = found;
  }
  return parts;
}

std::vector<std::vector<TBaseWord>> TApertiumAnalyser::BasesOf(
    const std::vector<std::string>& forms) {
  const auto lines = Analysed(FImpl->Analyser, forms);
  // A noun's feminine ("signora", "principessa") is a word of its own, which the analyser
  // files under the masculine: no form of it, nor are its plurals ("principesse").
  auto feminine = [](const std::string& reading) {
    return PartOfReading(reading) == TPartOfSpeech::Noun &&
           reading.find("<f>") != std::string::npos;
  };
  std::unordered_set<std::string> ownFeminine;
  for (size_t w = 0; w < forms.size() && w < lines.size(); ++w) {
    if (lines[w].size() != 1) continue;
    for (const std::string& reading : lines[w].front().Readings) {
      if (feminine(reading) && reading.find("<sg>") != std::string::npos &&
          !SameIgnoringAsciiCase(Lemma(reading), forms[w]))
        ownFeminine.insert(Lemma(reading));
    }
  }
  std::vector<std::vector<TBaseWord>> bases(forms.size());
  for (size_t w = 0; w < forms.size() && w < lines.size(); ++w) {
    // A form the analyser reads as one unit; "du" (de + le) and the like are several.
    if (lines[w].size() != 1) continue;
    for (std::string reading : lines[w].front().Readings) {
      if (!IsReading(reading)) continue;
      if (feminine(reading) && ownFeminine.count(Lemma(reading))) continue;
      // A verb with its pronouns joined ("dammi": dare + mi) is a form of the verb; a
      // preposition with its article or pronoun ("del": di + il) shows the preposition's
      // translations, whatever their part of speech.
      bool preposition = false, withArticle = false;
      if (const size_t joined = reading.find('+'); joined != std::string::npos) {
        withArticle = reading.find("<det><def>", joined) != std::string::npos;
        reading.erase(joined);
        preposition = FirstTag(reading) == "pr";
        if (PartOfReading(reading) != TPartOfSpeech::Verb && !preposition) continue;
      }
      TBaseWord base{Lemma(reading), preposition ? TPartOfSpeech::Unknown : PartOfReading(reading),
                     VerbFormOf(reading), preposition && withArticle};
      std::erase(base.Word, '#');
      if (base.Word.empty() || SameIgnoringAsciiCase(base.Word, forms[w])) continue;
      const auto known = std::find_if(bases[w].begin(), bases[w].end(), [&](const TBaseWord& b) {
        return b.Word == base.Word && b.Part == base.Part;
      });
      if (known == bases[w].end()) {
        bases[w].push_back(std::move(base));
      } else if (known->Form != base.Form) {
        // "corse" is correre's participle and its past: no one form of it.
        known->Form = TVerbForm::Other;
      }
    }
  }
  return bases;
}

void ProduceApertium(TApertiumChain& chain, const std::vector<std::string>& words, uint8_t place,
                     TProposals& proposals, TKeying keying) {
  std::vector<bool> read;
  const auto translations = chain.Translate(words, &read);
  // A reading as a name spelt the same in both languages is a name's only where the
  // word is nothing else ("Chicago", "John"): of a common word, one the analyser reads
  // in small letters whether or not the dictionaries translate it, it is a stray
  // reading ("Lui" of "lui", "Fonts", a Catalan name, of "fonts").
  std::unordered_set<std::string> common;
  for (size_t w = 0; w < words.size(); ++w)
    if (read[w] && words[w] == AsciiLower(words[w])) common.insert(words[w]);
  for (size_t w = 0; w < words.size(); ++w) {
    for (const auto& translation : translations[w]) {
      const bool spelledAlike = translation.Text == Capitalised(words[w]) &&
                                translation.Text != AsciiLower(translation.Text);
      if (spelledAlike && common.count(AsciiLower(words[w]))) continue;
      // Read as a word of another language, a reading of the name ("Francia") is a row
      // of the name's own.
      const bool name = translation.Capital && keying == TKeying::Spelt;
      const THeadword stored = KeyedHeadword(name ? Capitalised(words[w]) : words[w], keying);
      if (stored.LeftOut) continue;
      proposals[stored.Key].push_back({translation.Text, translation.Part, place,
                                       translation.Capital && !name,
                                       RankStrength(translation.Rank)});
    }
  }
}

struct TEnglishVerbForms::Impl {
  FSTProcessor Generator;
  std::unordered_map<std::string, std::string> Known;  // verb and form -> spelling
};

TEnglishVerbForms::TEnglishVerbForms(const std::string& path) : FImpl(std::make_unique<Impl>()) {
  Load(FImpl->Generator, path);
  FImpl->Generator.initGeneration();
}

TEnglishVerbForms::~TEnglishVerbForms() = default;

std::vector<std::string> TEnglishVerbForms::Spell(const std::vector<std::string>& verbs,
                                                  TVerbForm form) {
  const char* const tag = form == TVerbForm::PastParticiple ? "<pp>" : "<ger>";
  auto keyOf = [&](const std::string& verb) { return verb + tag; };
  // Only a phrase's first word takes the form: "take care", "taken care". The kinds of
  // English verb the generator files apart, one line each.
  static const char* const kKinds[] = {"<vblex>", "<vbser>", "<vbhaver>", "<vbdo>"};
  std::vector<std::string> pending;
  std::string text;
  for (const std::string& verb : verbs) {
    const std::string head = verb.substr(0, verb.find(' '));
    // Known from now: empty until the generator spells it.
    if (head.empty() || !FImpl->Known.emplace(keyOf(verb), std::string()).second) continue;
    pending.push_back(verb);
    for (const char* kind : kKinds) text += "^" + Escaped(head) + kind + tag + "$\n";
  }
  if (!text.empty()) {
    const std::string output = RunOverText(
        text, [&](InputFile& in, UFILE* out) { FImpl->Generator.generation(in, out, gm_unknown); });
    std::vector<std::string> lines;
    for (size_t start = 0, end = output.find('\n'); end != std::string::npos;
         start = end + 1, end = output.find('\n', start))
      lines.push_back(output.substr(start, end - start));
    for (size_t h = 0; h < pending.size(); ++h) {
      std::string spelt;
      for (size_t k = 0; k < std::size(kKinds) && spelt.empty(); ++k) {
        const size_t line = h * std::size(kKinds) + k;
        if (line < lines.size() && !lines[line].empty() && lines[line][0] != '#' &&
            lines[line].find_first_of("<>^$/") == std::string::npos)
          spelt = lines[line];
      }
      std::erase(spelt, '~');  // a mark for the post-generator
      const size_t space = pending[h].find(' ');
      if (!spelt.empty() && space != std::string::npos) spelt += pending[h].substr(space);
      FImpl->Known[keyOf(pending[h])] = spelt;
    }
  }
  std::vector<std::string> spelt;
  spelt.reserve(verbs.size());
  for (const std::string& verb : verbs) {
    const auto known = FImpl->Known.find(keyOf(verb));
    spelt.push_back(known == FImpl->Known.end() ? std::string() : known->second);
  }
  return spelt;
}

}  // namespace parlivo
