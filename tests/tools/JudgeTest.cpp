// The judge of the rows: agreement, pivots and their mark, parts of speech, names, and
// the spelling dictionary's say, on proposals made by hand.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "GoldList.h"
#include "Judge.h"
#include "Spelling.h"
#include "TestFiles.h"

namespace parlivo::test {
namespace {

using TKinds = std::vector<TSourceKind>;
constexpr auto kToX = TSourceKind::Dictionary;
constexpr auto kFromX = TSourceKind::TurnedRound;
constexpr auto kCurated = TSourceKind::Curated;
constexpr auto kPivot = TSourceKind::Pivot;
constexpr auto kNoun = TPartOfSpeech::Noun;
constexpr auto kVerb = TPartOfSpeech::Verb;
constexpr auto kAdjective = TPartOfSpeech::Adjective;
constexpr auto kUnknown = TPartOfSpeech::Unknown;

TProposal Proposal(std::string translation, uint8_t source, float strength = 1,
                   TPartOfSpeech part = kUnknown, bool capital = false) {
  return {std::move(translation), part, source, capital, strength};
}

// A row as the judge makes it, with these sources and the rules as they ship.
class Judge : public ::testing::Test {
 protected:
  std::string Row(const std::vector<TProposal>& proposals) {
    FContext.Kinds = &FKinds;
    FContext.Headword = "word";
    FLast = JudgeRow(proposals, FContext, FRules);
    return FLast.Text;
  }
  TKinds FKinds;
  TRowContext FContext;
  TJudgeRules FRules;
  TJudgedRow FLast;
};

TEST_F(Judge, WhatTwoSourcesAgreeOnComesBeforeWhatOneIsSureOf) {
  FKinds = {kToX, kFromX, kToX};
  // The first source's first choice has no witness; its third has two.
  EXPECT_EQ(Row({Proposal("Loeffelbagger", 0, 1.0f), Proposal("Schaufel", 0, 0.5f),
                 Proposal("Schaufel", 1, 0.5f), Proposal("Schaufel", 2, 0.4f)}),
            "Schaufel, Loeffelbagger");
  EXPECT_EQ(FLast.FirstSources, 0b111u);
  // Alone, a source keeps its own order, and says so.
  EXPECT_EQ(Row({Proposal("a", 0, 1.0f), Proposal("b", 0, 0.5f)}), "a, b");
  EXPECT_EQ(FLast.FirstSources, 0b1u);
  // A curated lexicon outweighs a dictionary's first choice.
  FKinds = {kToX, kCurated};
  EXPECT_EQ(Row({Proposal("charge", 0), Proposal("fret", 1)}), "fret, charge");
  // The same translation twice from one source counts once, at its best.
  EXPECT_EQ(Row({Proposal("b", 1, 0.3f), Proposal("a", 0, 1.0f), Proposal("b", 1, 0.2f)}), "b, a");
}

TEST_F(Judge, TranslationsThroughAnotherLanguageStandInOnlyWhereNothingElseDoes) {
  FKinds = {kToX, kPivot, kPivot};
  // Confirmed by a direct source: no mark, and the pivots' other words go.
  EXPECT_EQ(Row({Proposal("casa", 0), Proposal("casa", 1, 2.0f), Proposal("camera", 1, 3.0f)}),
            "casa");
  EXPECT_FALSE(FLast.ThroughOther);
  // What two pivots through different languages agree on is confirmed and not marked.
  // It weighs less than a direct source's word: it follows one the direct source is
  // sure of, and leads only one the direct source gives last and seldom.
  EXPECT_EQ(Row({Proposal("negozio", 0, 1.0f), Proposal("tenda", 1, 0.5f),
                 Proposal("tenda", 2, 0.5f), Proposal("bottega", 2, 3.0f)}),
            "negozio, tenda");
  EXPECT_FALSE(FLast.ThroughOther);
  EXPECT_EQ(
      Row({Proposal("blikje", 0, 0.1f), Proposal("kunnen", 1, 1.0f), Proposal("kunnen", 2, 1.0f)}),
      "kunnen, blikje");
  EXPECT_FALSE(FLast.ThroughOther);
  // Nor does such a singular lead a direct plural ("medium" is "means", not "mean").
  FContext.EnglishTranslations = true;
  EXPECT_EQ(Row({Proposal("means", 0, 1, kNoun), Proposal("mean", 1, 1, kNoun),
                 Proposal("mean", 2, 1, kNoun)}),
            "means, mean");
  FContext.EnglishTranslations = false;
  // Nothing direct: marked, strongest first, only those reaching the threshold.
  FRules.PivotThreshold = 0.5f;
  EXPECT_EQ(Row({Proposal("banc", 1, 1.0f), Proposal("banque", 1, 0.4f),
                 Proposal("banque", 2, 0.5f), Proposal("rive", 2, 0.3f)}),
            "~ banque, banc");
  EXPECT_TRUE(FLast.ThroughOther);
  EXPECT_EQ(Row({Proposal("rive", 1, 0.3f)}), "");
  // At most so many of them.
  FRules.MaxPivotTranslations = 2;
  EXPECT_EQ(Row({Proposal("a", 1, 3), Proposal("b", 1, 2), Proposal("c", 1, 1)}), "~ a, b");
}

TEST_F(Judge, AFormShowsItsPartOfSpeechAndACommonWordNoNames) {
  FKinds = {kToX, kCurated};
  const std::vector<TProposal> polish = {
      Proposal("polacco", 0, 1.0f, kAdjective, true), Proposal("lucido", 0, 0.9f, kNoun),
      Proposal("lucidare", 1, 1.0f, kVerb), Proposal("pulire", 0, 0.5f, kUnknown)};
  // The row of "polished", a verb form: verbs and untagged ones.
  FContext.OnlyPart = kVerb;
  EXPECT_EQ(Row(polish), "lucidare, pulire");
  // Untagged, a translation with no word shaped as an infinitive is no verb: a verb
  // form's row leaves it out, reflexive and phrasal verbs kept.
  FContext.InfinitiveEndings = {"re", "rsi"};
  EXPECT_EQ(
      Row({Proposal("lucentezza", 0), Proposal("pulire", 0, 0.9f), Proposal("lucidarsi", 0, 0.8f),
           Proposal("dare il lucido", 0, 0.7f), Proposal("cera", 0, 0.6f, kVerb)}),
      "pulire, lucidarsi, dare il lucido, cera");
  FContext.InfinitiveEndings = {"r"};
  EXPECT_EQ(Row({Proposal("brilho", 0), Proposal("polir-se", 0, 0.5f)}), "polir-se");
  FContext.InfinitiveEndings.clear();
  // A frequent form's verb row: verbs the sources know as such alone ("zijn", be, his).
  FContext.OnlyTagged = true;
  EXPECT_EQ(Row({Proposal("his", 0), Proposal("be", 0, 0.9f, kVerb)}), "be");
  FContext.OnlyTagged = false;
  // Its own row: the name last.
  FContext.OnlyPart = kUnknown;
  EXPECT_EQ(Row(polish), "lucidare, lucido, pulire, polacco");
  // A common word in small letters shows no name at all.
  FContext.CommonWord = true;
  EXPECT_EQ(Row(polish), "lucidare, lucido, pulire");
  // Unless the capital is the common spelling: every source writes the pronoun "I".
  EXPECT_EQ(
      Row({Proposal("ich", 0, 1.0f, kUnknown, true), Proposal("icke", 0, 0.6f, kUnknown, true)}),
      "ich, icke");
  // A part of speech the headword rarely has weighs less: "smoothly" is an adverb.
  FContext.CommonWord = false;
  FContext.PartShareKnown = true;
  FContext.PartShare[static_cast<size_t>(TPartOfSpeech::Adverb)] = 1;
  EXPECT_EQ(Row({Proposal("lisse", 0, 1.0f, kAdjective),
                 Proposal("en douceur", 0, 0.6f, TPartOfSpeech::Adverb)}),
            "en douceur, lisse");
}

TEST_F(Judge, TextsAreJoinedCutAndKeepTheirSeparators) {
  FKinds = {kToX};
  FContext.MaxCounted = 12;
  // Whole translations up to the first that does not fit; a first one that alone is too
  // long is cut at a word.
  EXPECT_EQ(Row({Proposal("Haus", 0, 1.0f), Proposal("Heim", 0, 0.9f),
                 Proposal("Gebaeude", 0, 0.8f), Proposal("Hof", 0, 0.7f)}),
            "Haus, Heim");
  EXPECT_EQ(Row({Proposal("eins zwei drei vier", 0)}), "eins zwei...");
  ASSERT_EQ(FLast.Translations.size(), 1u);
  // English explained: definitions apart by semicolons.
  FKinds = {TSourceKind::Definitions};
  FContext.Definitions = true;
  FContext.MaxCounted = 255;
  EXPECT_EQ(Row({Proposal("a dwelling", 0, 1.0f, kNoun),
                 Proposal("provide housing for", 0, 0.5f, kVerb)}),
            "a dwelling; provide housing for");
  // Nothing but signs is no translation, nor is an ending ("-erò" of a future tense).
  FKinds = {kCurated};
  FContext.Definitions = false;
  EXPECT_EQ(Row({Proposal("$", 0)}), "");
  EXPECT_EQ(Row({Proposal("-er\xC3\xB2", 0), Proposal("dovere", 0, 0.5f)}), "dovere");
}

TEST_F(Judge, FrequentWordsLeadButAPhraseIsRarerThanItsWords) {
  FKinds = {kToX};
  TWordFrequencies frequencies;
  frequencies.Count = 10000;
  frequencies.Ranks = {{"tear", 2000},     {"drops", 2500},   {"tears", 3000},    {"girl", 300},
                       {"girls", 250},     {"chapter", 1500}, {"chapters", 1400}, {"se", 20},
                       {"rappeler", 1500}, {"retenir", 1600}};
  FContext.Frequencies = &frequencies;
  // Each word of "tear drops" is more frequent than "tears"; the phrase is not.
  EXPECT_EQ(Row({Proposal("tear drops", 0), Proposal("tears", 0), Proposal("Zaehren", 0)}),
            "tears, tear drops, Zaehren");
  // The commonest words make no phrase rarer: a reflexive verb stands where its verb does.
  EXPECT_EQ(Row({Proposal("retenir", 0), Proposal("se rappeler", 0)}), "se rappeler, retenir");
  // A translation out of the list keeps its place: the frequent word outweighs it.
  EXPECT_EQ(Row({Proposal("lachrymae", 0), Proposal("tears", 0, 0.9f)}), "tears, lachrymae");
  // Looked up in English, a noun that is singular and plural alike ("Kapitel") leads with
  // the singular, however frequent the plural; alone, a plural stays.
  FContext.EnglishTranslations = true;
  EXPECT_EQ(Row({Proposal("girls", 0, 1, kNoun), Proposal("girl", 0, 1, kNoun),
                 Proposal("chapters", 0, 1, kNoun), Proposal("chapter", 0, 0.5f, kNoun)}),
            "girl, girls, chapter, chapters");
  EXPECT_EQ(Row({Proposal("boxes", 0, 1, kNoun), Proposal("box", 0, 0.5f, kNoun),
                 Proposal("ladies", 0, 1, kNoun), Proposal("lady", 0, 0.4f, kNoun)}),
            "box, boxes, lady, ladies");
  EXPECT_EQ(Row({Proposal("tears", 0, 1, kNoun), Proposal("sorrow", 0, 0.5f, kNoun)}),
            "tears, sorrow");
  // A verb's third person is no plural.
  EXPECT_EQ(Row({Proposal("travels", 0, 1, kVerb), Proposal("travel", 0, 0.5f, kVerb)}),
            "travels, travel");
  // Other languages' plurals are their own business.
  FContext.EnglishTranslations = false;
  EXPECT_EQ(Row({Proposal("lunettes", 0, 1, kNoun), Proposal("lunette", 0, 0.5f, kNoun)}),
            "lunettes, lunette");
}

// A spelling dictionary of a few words, written by the test.
class Spelling : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream((FDir / "xx.aff").string()) << "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n";
    std::ofstream((FDir / "xx.dic").string())
        << "27\npez\nde\ncolores\ncrema\npara\nzapatos\npelota\nbola\nboca\nhabitación\na\nrojo\n"
        << "me\nji\nka\nno\npu\nestoque\npuesto\nque\nya\npues\ntoque\npor\ncremad\neza\npatos\n";
  }
  TSpelling Make(bool joinsCompounds) {
    return TSpelling((FDir / "xx.aff").string(), (FDir / "xx.dic").string(), joinsCompounds);
  }
  TTempDir FDir;
};

TEST_F(Spelling, WordsRunTogetherArePutApartAndUnknownOnesRefused) {
  const TSpelling spelling = Make(false);
  EXPECT_TRUE(spelling.Knows("habitación"));
  EXPECT_FALSE(spelling.Knows("habitacion"));
  EXPECT_EQ(spelling.Checked("pez de colores"), "pez de colores");
  EXPECT_EQ(spelling.Checked("pezdecolores"), "pez de colores");
  EXPECT_EQ(spelling.Checked("crema parazapatos"), "crema para zapatos");
  EXPECT_EQ(spelling.Checked("pelota-bola"), "pelota-bola");
  // Names pass; what stays unknown, or would need more than four pieces, does not.
  EXPECT_EQ(spelling.Checked("Roma"), "Roma");
  EXPECT_EQ(spelling.Checked("bolla"), std::nullopt);
  EXPECT_EQ(spelling.Checked("aaaaa"), std::nullopt);
  // Cut into words of one or two letters a word is cut by chance; one such word may
  // stand among longer ones, and the cut with fewer of them wins.
  EXPECT_EQ(spelling.Checked("mejikano"), std::nullopt);
  EXPECT_EQ(spelling.Checked("depezno"), std::nullopt);
  EXPECT_EQ(spelling.Checked("yaque"), "ya que");
  EXPECT_EQ(spelling.Checked("puestoque"), "pues toque");  // as likely as "puesto que"
  // A language that writes compounds as one word splits nothing and names nothing.
  const TSpelling compounds = Make(true);
  EXPECT_EQ(compounds.Checked("pezdecolores"), std::nullopt);
  EXPECT_EQ(compounds.Checked("Roma"), std::nullopt);
  EXPECT_THROW(TSpelling((FDir / "none.aff").string(), (FDir / "none.dic").string(), false),
               std::runtime_error);
}

TEST_F(Spelling, EnglishWordsRunTogetherArePutApartOnlyIntoKnownPhrases) {
  std::ofstream((FDir / "en.aff").string()) << "SET UTF-8\nTRY esianrtolcdugmphbyfvkwz\n";
  // "allthe" stands for a word that makes a cut of fewer parts than the phrase's.
  std::ofstream((FDir / "en.dic").string())
      << "14\ngive\nin\nup\ncent\nre\nbe\nable\nto\nall\nthe\nsame\nallthe\ngi\naway\n";
  TSpelling spelling((FDir / "en.aff").string(), (FDir / "en.dic").string(), true);
  EXPECT_EQ(spelling.Checked("giveup"), std::nullopt);
  int asked = 0;
  spelling.SplitOnlyInto([&](const std::string& phrase) {
    ++asked;
    return phrase == "give up" || phrase == "give in" || phrase == "all the same" ||
           phrase == "be all the same to" || phrase == "giveaway" || phrase == "give away";
  });
  EXPECT_EQ(spelling.Checked("giveup"), "give up");
  EXPECT_EQ(spelling.Checked("to givein"), "to give in");
  EXPECT_EQ(spelling.Checked("allthesame"), "all the same");
  EXPECT_EQ(spelling.Checked("beallthesameto"), "be all the same to");  // five parts
  // Known words that make no known phrase stay unknown: a British spelling, a phrase
  // the check does not know.
  EXPECT_EQ(spelling.Checked("centre"), std::nullopt);
  EXPECT_EQ(spelling.Checked("beableto"), std::nullopt);
  EXPECT_EQ(spelling.Checked("give"), "give");
  // A word the check knows as it stands is no phrase cut into parts: it stays unknown
  // to the dictionary.
  EXPECT_EQ(spelling.Checked("giveaway"), std::nullopt);
  // A known word is never asked about; an unknown one once, however often it recurs.
  const int before = asked;
  EXPECT_EQ(spelling.Checked("giveup"), "give up");
  EXPECT_EQ(spelling.Checked("give up"), "give up");
  EXPECT_EQ(asked, before);
}

TEST_F(Spelling, EnglishWordsRunTogetherNoSpellingKnowsArePutApartIntoWords) {
  std::ofstream((FDir / "en.aff").string()) << "SET UTF-8\n";
  std::ofstream((FDir / "en.dic").string())
      << "32\nas\non\nbe\nable\nto\nfor\nsake\nof\nbuy\nat\na\npublic\nsale\ncent\nre\ngi\n"
      << "travel\nling\nfora\nlong\ntime\ntot\nell\nthe\ntruth\ntell\nsoon\nso\nass\ntent\nis\n"
      << "in\nwhat\nway\nsee\n";
  std::ofstream((FDir / "en_GB.aff").string()) << "SET UTF-8\n";
  std::ofstream((FDir / "en_GB.dic").string()) << "2\ncentre\ntravelling\n";
  TSpelling spelling((FDir / "en.aff").string(), (FDir / "en.dic").string(), true);
  spelling.SplitOnlyInto([](const std::string& phrase) { return phrase == "giveaway"; });
  EXPECT_EQ(spelling.Checked("beableto"), std::nullopt);
  const std::set<std::string_view> common = {"able", "long", "time", "tell",   "truth",
                                             "soon", "sake", "tent", "public", "sale",
                                             "what", "way",  "see"};
  spelling.SplitAlsoUnlessSpeltOtherwise(
      (FDir / "en_GB.aff").string(), (FDir / "en_GB.dic").string(),
      [&common](std::string_view word) { return common.count(word) != 0; });
  EXPECT_EQ(spelling.Checked("beableto"), "be able to");
  EXPECT_EQ(spelling.Checked("forsakeof"), "for sake of");
  // Besides little words, only common words of three letters or more: "for a long
  // time", not "fora longtime"; "as soon as", not "as so on as"; "in what way"; no typo
  // cut into pieces.
  EXPECT_EQ(spelling.Checked("foralongtime"), "for a long time");
  EXPECT_EQ(spelling.Checked("totellthetruth"), "to tell the truth");
  EXPECT_EQ(spelling.Checked("assoonas"), "as soon as");
  EXPECT_EQ(spelling.Checked("inwhatway"), "in what way");
  EXPECT_EQ(spelling.Checked("forsee"), std::nullopt);
  EXPECT_EQ(spelling.Checked("buyatapublicsale"), std::nullopt);
  EXPECT_EQ(spelling.Checked("assistent"), std::nullopt);
  // British spellings are words; a cut through short words English has not is chance.
  EXPECT_EQ(spelling.Checked("centre"), std::nullopt);
  EXPECT_EQ(spelling.Checked("travelling"), std::nullopt);
  EXPECT_EQ(spelling.Checked("gire"), std::nullopt);
  // Words run together without a little word are mostly a typo.
  EXPECT_EQ(spelling.Checked("publicsale"), std::nullopt);
  // Nor is a word WordNet knows cut.
  EXPECT_EQ(spelling.Checked("giveaway"), std::nullopt);
  EXPECT_THROW(spelling.SplitAlsoUnlessSpeltOtherwise("nowhere.aff", "nowhere.dic"),
               std::runtime_error);
}

TEST_F(Spelling, BritishSpellingsOfEnglishTranslationsCountWithTheirAmericanTwins) {
  std::ofstream((FDir / "en.aff").string()) << "SET UTF-8\n";
  std::ofstream((FDir / "en.dic").string())
      << "11\ncolor\ncenter\nrealize\ndefense\ntraveled\nhour\nof\nthe\ntown\nmiddle\n"
      << "resort\n";
  std::ofstream((FDir / "en_GB.aff").string()) << "SET UTF-8\n";
  std::ofstream((FDir / "en_GB.dic").string())
      << "8\ncolour\ncentre\nrealise\ndefence\ntravelled\ntyre\nhour\nCentre\n";
  TSpelling spelling((FDir / "en.aff").string(), (FDir / "en.dic").string(), true);
  EXPECT_EQ(spelling.InMainSpelling("colour"), "colour");
  spelling.SplitAlsoUnlessSpeltOtherwise((FDir / "en_GB.aff").string(),
                                         (FDir / "en_GB.dic").string());
  // A word both spell alike, or whose twin the dictionary lacks, stays.
  const std::pair<const char*, const char*> respelt[] = {
      {"colour", "color"},       {"Centre of the town", "Center of the town"},
      {"realise", "realize"},    {"defence", "defense"},
      {"travelled", "traveled"}, {"hour", "hour"},
      {"tyre", "tyre"}};
  for (const auto& [british, main] : respelt)
    EXPECT_EQ(spelling.InMainSpelling(british), main) << british;

  // Counted as one word, the two spellings' sources agree and lead the row.
  TKinds kinds = {kToX, kFromX};
  TRowContext context;
  context.Kinds = &kinds;
  context.Spelling = &spelling;
  context.EnglishTranslations = true;
  context.Headword = "centro";
  EXPECT_EQ(JudgeRow({Proposal("middle", 0, 1.0f), Proposal("centre", 0, 0.7f),
                      Proposal("resort", 1, 1.0f), Proposal("center", 1, 0.7f)},
                     context, TJudgeRules{})
                .Text,
            "center, resort, middle");
}

TEST_F(Spelling, GivenTheLanguagesLittleWordsOnlyCutsThroughThemCount) {
  TSpelling spelling = Make(false);
  EXPECT_EQ(spelling.Checked("bocarojo"), "boca rojo");
  EXPECT_EQ(spelling.Checked("bolaa"), "bola a");
  spelling.SplitOnlyWithLittleWords({"de", "que", "para", "ya", "a", "no"});
  // Without a little word, only words of four letters or more: a shorter part mostly
  // cuts a word the dictionary lacks.
  EXPECT_EQ(spelling.Checked("bocarojo"), "boca rojo");
  EXPECT_EQ(spelling.Checked("bocapez"), std::nullopt);
  // Nor does a little word make a cut of two parts, one of three letters, a likely one:
  // mostly it cuts one word ("verdor" is no "ver dor").
  EXPECT_EQ(spelling.Checked("yapez"), std::nullopt);
  EXPECT_EQ(spelling.Checked("bolaa"), "bola a");
  // Little words of one or two letters stand among longer words, not alone.
  EXPECT_EQ(spelling.Checked("bolaano"), "bola a no");
  EXPECT_EQ(spelling.Checked("ano"), std::nullopt);
  EXPECT_EQ(spelling.Checked("pezdecolores"), "pez de colores");
  // A cut through a little word before one through more words of three letters.
  EXPECT_EQ(spelling.Checked("cremadezapatos"), "crema de zapatos");
  EXPECT_EQ(spelling.Checked("cremaparazapatos"), "crema para zapatos");
  EXPECT_EQ(spelling.Checked("puestoque"), "puesto que");
  EXPECT_EQ(spelling.Checked("yaque"), "ya que");
  EXPECT_EQ(spelling.Checked("mejikano"), std::nullopt);
}

TEST_F(Spelling, StemsThatKeepTheWordsBeginningComeFirst) {
  // A prefix rule as German's: "ver" + "suchen" is one stem of "versuch", and
  // "versuchen", the verb the word is the imperative of, another.
  std::ofstream((FDir / "de.aff").string())
      << "SET UTF-8\nPFX V Y 1\nPFX V 0 ver .\nSFX X Y 2\nSFX X en 0 en\nSFX X en te en\n"
      << "SFX Y Y 1\nSFX Y 0 ern .\nCOMPOUNDFLAG Z\nCOMPOUNDMIN 3\n";
  std::ofstream((FDir / "de.dic").string())
      << "5\nsuchen/VX\nversuchen/X\nkind/YZ\nspiel/Z\nschule/Z\n";
  const TSpelling spelling((FDir / "de.aff").string(), (FDir / "de.dic").string(), true);
  EXPECT_EQ(spelling.Stems("versuch"), (std::vector<std::string>{"versuchen", "suchen"}));
  EXPECT_EQ(spelling.Stems("Versuchte"), (std::vector<std::string>{"versuchen", "suchen"}));
  EXPECT_EQ(spelling.Stems("suchte"), std::vector<std::string>{"suchen"});
  // A compound's first word is no stem of it; a word before its ending is.
  EXPECT_EQ(spelling.Stems("spielschule"), std::vector<std::string>{});
  EXPECT_EQ(spelling.Stems("kindern"), std::vector<std::string>{"kind"});
}

TEST_F(Spelling, TheJudgeMendsWhatItCanAndPutsTheUnknownLast) {
  const TSpelling spelling = Make(false);
  TKinds kinds = {kToX, kFromX};
  TRowContext context;
  context.Kinds = &kinds;
  context.Spelling = &spelling;
  context.Headword = "goldfish";
  // Mended, it meets the same words of the other source: one translation of two.
  const TJudgedRow row =
      JudgeRow({Proposal("pezdecolores", 0, 1.0f), Proposal("pecesito", 0, 0.9f),
                Proposal("pez de colores", 1, 0.5f), Proposal("goldfish", 1, 0.2f)},
               context, TJudgeRules{});
  EXPECT_EQ(row.Text, "pez de colores, goldfish, pecesito");
  EXPECT_EQ(row.FirstSources, 0b11u);
  // Written apart by another source, words run together are those words, though the
  // dictionary cuts them otherwise ("pues toque").
  context.Headword = "since";
  EXPECT_EQ(JudgeRow({Proposal("puestoque", 0, 1.0f), Proposal("desde", 0, 0.9f),
                      Proposal("puesto que", 1, 0.5f)},
                     context, TJudgeRules{})
                .Text,
            "puesto que, desde");
  // Two spellings of one translation from the same sources weigh as one: they do not
  // pass a translation the sources are surer of ("tear drops" before "tears").
  context.Headword = "ball";
  EXPECT_EQ(JudgeRow({Proposal("pez de colores", 0, 0.6f), Proposal("pezdecolores", 0, 0.6f),
                      Proposal("pelota", 0, 1.0f), Proposal("pez de colores", 1, 0.6f),
                      Proposal("pezdecolores", 1, 0.6f), Proposal("pelota", 1, 1.0f)},
                     context, TJudgeRules{})
                .Text,
            "pelota, pez de colores");
  // A loanword made of the headword is no words run together ("por no").
  EXPECT_EQ(spelling.Checked("porno"), "por no");
  context.Headword = "porn";
  EXPECT_EQ(JudgeRow({Proposal("porno", 0, 1.0f)}, context, TJudgeRules{}).Text, "porno");
}

TEST(GoldLists, ARowsFirstTranslationAsAReaderComparesIt) {
  TTempDir dir;
  std::ofstream((dir / "Italian.tsv").string())
      << "house\tcasa|abitazione\nho\tSKIP\nanime\tNONE\n";
  const auto gold = ReadGoldList((dir / "Italian.tsv").string());
  ASSERT_EQ(gold.size(), 3u);
  EXPECT_TRUE(gold[1].Skipped);
  EXPECT_TRUE(gold[2].Accepted.empty());
  // Marks, notes, articles and case do not count.
  EXPECT_EQ(ComparableTranslation("~ La Casa (edificio) "), "casa");
  EXPECT_EQ(ComparableTranslation("(house) l'abitazione"), "abitazione");
  EXPECT_EQ(JudgeAgainstGold("~ la casa, dimora", gold[0], false), TGoldVerdict::FirstRight);
  EXPECT_EQ(JudgeAgainstGold("dimora; abitazione", gold[0], false), TGoldVerdict::LaterRight);
  EXPECT_EQ(JudgeAgainstGold("camera", gold[0], false), TGoldVerdict::NothingRight);
  // Definitions are compared by their first part, as a row splits them.
  const TGoldWord building{"building", {"a structure; stands in one place"}, false};
  EXPECT_EQ(JudgeAgainstGold("(build) a structure; stands in one place; the act", building, true),
            TGoldVerdict::FirstRight);
  EXPECT_EQ(JudgeAgainstGold("the act; a structure", building, true), TGoldVerdict::LaterRight);
  EXPECT_THROW(ReadGoldList((dir / "none.tsv").string()), std::runtime_error);
}

}  // namespace
}  // namespace parlivo::test
