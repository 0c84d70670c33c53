// The sources as the builder reads them: WordNet's senses and base words, Apertium's
// lexicons chained through Spanish, Ding's lines and paths through a middle language.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "Apertium.h"
#include "Ding.h"
#include "Gcide.h"
#include "LexiconBuilder.h"
#include "LexiconFixtures.h"
#include "Pivot.h"
#include "TestFiles.h"
#include "WordNet.h"

namespace parlivo::test {
namespace {

TEST(WordNetDatabase, SensesByUseAndPartsOfSpeechByShare) {
  TTempDir dir;
  WriteWordNet(dir / "wordnet");
  const TWordNet wordNet((dir / "wordnet").string());
  // The most met first, whatever their part of speech; examples taken off.
  const auto house = wordNet.Senses("house");
  ASSERT_EQ(house.size(), 3u);
  EXPECT_EQ(house[0].Gloss, "a dwelling that serves as living quarters");
  EXPECT_EQ(house[1].Gloss, "provide housing for");
  EXPECT_EQ(house[1].Part, TPartOfSpeech::Verb);
  EXPECT_EQ(house[2].Gloss, "a family");
  EXPECT_EQ(wordNet.MostMet("house"), 30u);
  EXPECT_EQ(wordNet.MostMet("house", TPartOfSpeech::Verb), 5u);
  std::array<float, kPartCount> shares{};
  ASSERT_TRUE(wordNet.PartShares("house", shares));
  EXPECT_FLOAT_EQ(shares[static_cast<size_t>(TPartOfSpeech::Noun)], 1.0f);
  EXPECT_NEAR(shares[static_cast<size_t>(TPartOfSpeech::Verb)], 5.5f / 34.0f, 1e-6);
  EXPECT_FALSE(wordNet.PartShares("during", shares));
  // A name is spelt with a capital; "warren" is a common word too, "banks" is not.
  const auto warren = wordNet.Senses("warren");
  ASSERT_EQ(warren.size(), 2u);
  EXPECT_TRUE(warren[0].Capital);
  EXPECT_FALSE(warren[1].Capital);
  EXPECT_TRUE(wordNet.HasCommonSense("warren"));
  EXPECT_FALSE(wordNet.HasCommonSense("banks"));
  EXPECT_THROW(TWordNet((dir / "nowhere").string()), std::runtime_error);
}

TEST(WordNetDatabase, BaseWordsWithThePartOfSpeechOfTheForm) {
  TTempDir dir;
  WriteWordNet(dir / "wordnet");
  const TWordNet wordNet((dir / "wordnet").string());
  using TBases = std::vector<std::pair<std::string, TPartOfSpeech>>;
  auto bases = [&](const std::string& form) {
    TBases found;
    for (const auto& base : wordNet.Bases(form)) found.emplace_back(base.Word, base.Part);
    return found;
  };
  constexpr auto noun = TPartOfSpeech::Noun, verb = TPartOfSpeech::Verb;
  EXPECT_EQ(bases("children"), (TBases{{"child", noun}}));
  EXPECT_EQ(bases("went"), (TBases{{"go", verb}}));
  EXPECT_EQ(bases("accepted"), (TBases{{"accept", verb}}));
  EXPECT_EQ(bases("making"), (TBases{{"make", verb}}));
  EXPECT_EQ(bases("abilities"), (TBases{{"ability", noun}}));
  EXPECT_EQ(bases("larger"), (TBases{{"large", TPartOfSpeech::Adjective}}));
  EXPECT_EQ(bases("foundest"), (TBases{{"found", TPartOfSpeech::Adjective}}));
  // A noun of its own is no comparative of an adjective met less often than it; one
  // met more often has its comparatives.
  EXPECT_TRUE(bases("founder").empty());
  EXPECT_EQ(bases("larger"), (TBases{{"large", TPartOfSpeech::Adjective}}));
  // A plural noun and a verb form at once: both, the noun first.
  EXPECT_EQ(bases("houses"), (TBases{{"house", noun}, {"house", verb}}));
  // Words of their own have their bases all the same.
  EXPECT_EQ(bases("glasses"), (TBases{{"glass", noun}}));
  EXPECT_EQ(bases("acting"), (TBases{{"act", verb}}));
  // "din" would double its n: "dining" and "dined" are of "dine" alone; "open" has two
  // syllables and keeps its one n.
  EXPECT_EQ(bases("dining"), (TBases{{"dine", verb}}));
  EXPECT_EQ(bases("dined"), (TBases{{"dine", verb}}));
  // A letter's plural is written with an apostrophe: "us" is none.
  EXPECT_TRUE(bases("us").empty());
  // "us" is only US, "an" only AN; "warren" is also a Warren.
  EXPECT_TRUE(wordNet.OnlyAbbreviations("us"));
  EXPECT_TRUE(wordNet.OnlyAbbreviations("an"));
  EXPECT_FALSE(wordNet.OnlyAbbreviations("warren"));
  EXPECT_FALSE(wordNet.OnlyAbbreviations("zebra"));
  EXPECT_EQ(bases("dins"), (TBases{{"din", verb}}));
  EXPECT_EQ(bases("opening"), (TBases{{"open", verb}}));
  // An adverb comes from an adjective; the form is an adverb.
  EXPECT_EQ(bases("alternatively"), (TBases{{"alternative", TPartOfSpeech::Adverb}}));
  EXPECT_TRUE(bases("instead").empty());
  EXPECT_TRUE(bases("during").empty());
  EXPECT_TRUE(bases("s").empty());
}

class ApertiumLexicons : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CompileApertium(Dir() / "apertium"); }
  static const TTempDir& Dir() {
    static const TTempDir dir;
    return dir;
  }
  static std::string Step(const std::string& pair) { return (Dir() / "apertium" / pair).string(); }
  // The translations of each word as "text/part/rank", capitals starred.
  static std::vector<std::vector<std::string>> Translations(TApertiumChain& chain,
                                                            const std::vector<std::string>& words) {
    std::vector<std::vector<std::string>> shown;
    for (const auto& found : chain.Translate(words)) {
      shown.emplace_back();
      for (const auto& translation : found)
        shown.back().push_back(translation.Text + "/" + PartName(translation.Part) + "/" +
                               std::to_string(translation.Rank) + (translation.Capital ? "*" : ""));
    }
    return shown;
  }
};

using TShown = std::vector<std::vector<std::string>>;

TEST_F(ApertiumLexicons, AWordsDictionaryFormsInTheFirstLanguage) {
  TApertiumChain chain({Step("eng-spa")});
  EXPECT_EQ(Translations(chain, {"house", "daughter", "ran", "red", "polish", "zebra", "this"}),
            (TShown{{"casa/noun/0", "cámara/noun/1"},
                    // the bilingual dictionary's gender, spelt by the generator
                    {"hija/noun/0"},
                    // a form: its base word is translated, not it
                    {},
                    {"rojo/adjective/0"},
                    // the capital's reading comes from the word spelt with one
                    {"polaco/adjective/0*", "abrillantar/verb/0"},
                    {},
                    // the post-generator's template is no word: its lemma is
                    {"este/other/0"}}));
  TProposals proposals;
  ProduceApertium(chain, {"house", "ran"}, 3, proposals);
  ASSERT_EQ(proposals.size(), 1u);
  ASSERT_EQ(proposals["house"].size(), 2u);
  EXPECT_EQ(proposals["house"][1].Translation, "cámara");
  EXPECT_EQ(proposals["house"][1].Source, 3);
  EXPECT_LT(proposals["house"][1].Strength, proposals["house"][0].Strength);
}

TEST_F(ApertiumLexicons, ANameSpeltAlikeIsARowOfItsOwnOnlyWhereTheWordIsNothingElse) {
  TApertiumChain chain({Step("eng-spa")});
  auto shown = [&](TKeying keying) {
    TProposals proposals;
    ProduceApertium(chain, {"Bill", "John", "Sue", "bill", "john", "sue"}, 0, proposals, keying);
    std::vector<std::string> rows;
    for (const auto& [key, own] : proposals)
      for (const auto& proposal : own) rows.push_back(key + "=" + proposal.Translation);
    return rows;
  };
  auto has = [](const std::vector<std::string>& rows, const std::string& row) {
    return std::find(rows.begin(), rows.end(), row) != rows.end();
  };
  // Read as a language's words: "Bill" is also a common word, "John" nothing else,
  // though a list spells it in small letters.
  const auto spelt = shown(TKeying::Spelt);
  EXPECT_TRUE(has(spelt, "John=John"));
  EXPECT_FALSE(has(spelt, "Bill=Bill"));
  // "sue" is a word the analyser knows, though no dictionary translates it.
  EXPECT_FALSE(has(spelt, "Sue=Sue"));
  EXPECT_TRUE(has(spelt, "bill=factura"));
  // From English alike: "bill" is no Bill, "john" nothing but John.
  const auto english = shown(TKeying::English);
  EXPECT_TRUE(has(english, "john=John"));
  EXPECT_FALSE(has(english, "bill=Bill"));
  EXPECT_TRUE(has(english, "bill=factura"));
}

TEST_F(ApertiumLexicons, AChainCarriesTheTranslationsOnToAnotherLanguage) {
  TApertiumChain chain({Step("eng-spa"), Step("spa-ita")});
  // "rojo" is found in the second dictionary with its gender and number added; "hijo"
  // is not there at all.
  EXPECT_EQ(Translations(chain, {"house", "red", "daughter"}),
            (TShown{{"casa/noun/0", "camera/noun/1"}, {"rosso/adjective/0"}, {}}));
  EXPECT_THROW(TApertiumChain({Step("eng-fra")}), std::runtime_error);
  // A person's name that the last dictionary only passes on, as the middle language
  // spells it, is none of the last language's; one it spells its own way is.
  EXPECT_EQ(Translations(chain, {"peter", "philip"}), (TShown{{"Pietro/noun/0*"}, {}}));
  TApertiumChain oneStep({Step("eng-spa")});
  EXPECT_EQ(Translations(oneStep, {"philip"}), (TShown{{"Felipe/noun/0*"}}));
}

TEST_F(ApertiumLexicons, TheAnalyserTellsTheOnePartOfSpeechOfADictionaryForm) {
  TApertiumAnalyser analyser(Step("eng-spa") + ".automorf.bin");
  EXPECT_EQ(analyser.PartsOf({"daughter", "red", "house", "ran", "zebra", "red daughter"}),
            (std::vector<TPartOfSpeech>{TPartOfSpeech::Noun, TPartOfSpeech::Adjective,
                                        TPartOfSpeech::Unknown, TPartOfSpeech::Unknown,
                                        TPartOfSpeech::Unknown, TPartOfSpeech::Adjective}));
}

TEST_F(ApertiumLexicons, TheAnalyserTellsTheBaseWordsOfForms) {
  TApertiumAnalyser analyser(Step("spa") + ".automorf.bin");
  std::vector<std::string> shown;
  for (const auto& bases : analyser.BasesOf({"casas", "dame", "del", "perro", "reina", "reinas"})) {
    std::string line;
    for (const auto& base : bases) line += base.Word + "/" + PartName(base.Part) + " ";
    shown.push_back(line);
  }
  // A verb with its pronoun joined is a form of the verb; a preposition with its
  // article shows the preposition, of any part of speech; an unknown word has none; a
  // queen is no king, in the singular or the plural.
  EXPECT_EQ(shown,
            (std::vector<std::string>{"casa/noun ", "dar/verb ", "de/unknown ", "", "", ""}));
}

using TStrings = std::vector<std::string>;

TEST(GcideArticles, HeadwordsAndTheSensesInUseToday) {
  // A definition after grammar and an etymology that runs over two lines.
  const char* my =
      "My \\My\\ (m[imac]), a. & poss. pron. [OE. mi, fr. min. See\n"
      "   {Mine}, and cf. {A}, a.]\n"
      "   Of or belonging to me; -- used always attributively; as, my\n"
      "   body; my book. See {Mine}.\n"
      "   [1913 Webster]\n";
  EXPECT_EQ(GcideHeadwords(my), TStrings{"my"});
  EXPECT_EQ(GcideSenses(my), TStrings{"Of or belonging to me; used always attributively"});

  // Numbered senses between quotations, notes, phrases and synonyms; an obsolete one
  // left out; the index's own words after the last "[1913 Webster]" are no sense.
  const char* where =
      "Where \\Where\\, adv. [OE. wher, whar. See {Who}.]\n"
      "   [1913 Webster]\n"
      "   1. At or in what place; hence, in what situation; -- used\n"
      "      interrogatively. Where art thou? --Gen. iii. 9.\n"
      "      [1913 Webster]\n"
      "\n"
      "            God called unto Adam, . . . Where art thou? --Gen.\n"
      "                                                  iii. 9.\n"
      "      [1913 Webster]\n"
      "\n"
      "   Note: See the Note under {What}, pron., 1.\n"
      "         [1913 Webster]\n"
      "\n"
      "   2. Whither. [Obs.]\n"
      "      [1913 Webster]\n"
      "\n"
      "   3. To what or which place; whither; as, where are you\n"
      "      going?\n"
      "      [1913 Webster]\n"
      "\n"
      "   {Where away} (Naut.), in what direction.\n"
      "\n"
      "   Syn: See {Whither}.\n"
      "        [1913 Webster]\n"
      "\n"
      "         Where I thought the remnant of mine age. --Shak.\n"
      "   [1913 Webster] Whereabout\n";
  EXPECT_EQ(GcideSenses(where),
            (TStrings{"At or in what place; hence, in what situation; used interrogatively",
                      "To what or which place; whither"}));

  // Two headwords, one with syllable marks; a whole article out of use.
  const char* her =
      "Her \\Her\\, Here \\Here\\, pron. pl. [OE. here, hire. See {He}.]\n"
      "   Of them; their. [Obs.] --Piers Plowman.\n"
      "   [1913 Webster]\n";
  EXPECT_EQ(GcideHeadwords(her), (TStrings{"her", "here"}));
  EXPECT_TRUE(GcideSenses(her).empty());
  EXPECT_EQ(GcideHeadwords("Him*self \\Him*self\"\\, pron.\n"), TStrings{"himself"});

  // A form of another word, and the forms the grammar names, are no definition; a
  // definition is cut at the end of its first sentence; a note after the header is
  // passed over to the definition after it.
  EXPECT_EQ(GcideSenses("Would \\Would\\, imp. of {Will}. [AS. wolde.]\n"
                        "   Commonly used as an auxiliary verb. See 2d {Will}.\n"),
            TStrings{"Commonly used as an auxiliary verb"});
  EXPECT_EQ(GcideSenses("This \\This\\ ([th][i^]s), pron. & a.; pl. {These}\n"
                        "   ([th][=e]z). [OE. this.]\n"
                        "   1. As a demonstrative pronoun (pl. These), this denotes\n"
                        "      something near. It is also used so.\n"),
            TStrings{"As a demonstrative pronoun (pl. These), this denotes something near"});
  EXPECT_EQ(GcideSenses("Many \\Ma\"ny\\, a. & pron.\n"
                        "\n"
                        "   Note: [It has no variation.] [OE. mani.]\n"
                        "         More and most are from a different root.\n"
                        "   Consisting of a great number; numerous.\n"),
            TStrings{"Consisting of a great number; numerous"});
  // Etymologies whose lines begin with brackets of their own.
  EXPECT_EQ(GcideSenses("You \\You\\ ([=u]), pron. [Possess. {Your}.]\n"
                        "   [OE. you; akin to G. euch,\n"
                        "   Skr. yu. [root]189. Cf. {Your}.]\n"
                        "   The pronoun of the second person.\n"),
            TStrings{"The pronoun of the second person"});
  EXPECT_EQ(GcideSenses("Our \\Our\\ (our), possessive pron. [AS. [=u]re.]\n"
                        "   Of or pertaining to us; as, our country.\n"),
            TStrings{"Of or pertaining to us"});
  EXPECT_EQ(GcideSenses("We \\We\\ (w[=e]), pron.; pl. of I. [Poss. {Our}.]\n"
                        "   The plural of the first person.\n"),
            TStrings{"The plural of the first person"});
  EXPECT_EQ(GcideSenses("Who \\Who\\, pron.\n"
                        "   Used either as singular or plural. See {What}, pron., 1.\n"),
            TStrings{"Used either as singular or plural"});
  EXPECT_TRUE(GcideSenses("An \\An\\, conj. [See {And}.]\n"
                          "   If; -- a word used by old English authors.\n")
                  .empty());
  // A proper name, and an article that only sends the reader elsewhere, have none.
  EXPECT_TRUE(GcideSenses("Ind \\Ind\\ ([i^]nd), prop. n.\n   India. [Poetical]\n").empty());
  EXPECT_TRUE(GcideSenses("Would \\Would\\, n.\n   See 2d {Weld}.\n   [1913 Webster]\n").empty());
}

TEST(DingDictionary, SynonymsOfEachAlignedPartWithTheirGrammar) {
  TTempDir dir;
  std::ofstream((dir / "de-en").string())
      << "# Version :: test\n"
      << "Schaufel {f}; Schippe {f} [Norddt.] | Schaufeln {pl} :: shovel | shovels\n"
      << "schaufeln {vt} | schaufelnd :: to shovel | shovelling\n"
      << "etw. unterschreiben; sich für/zu etw. melden :: to sign sth.\n"
      << "Polnisch {n} [ling.] :: Polish\n"
      << "Haus {n} :: house; home (of a family)\n"
      << "die Polizei {f} :: the police\n"
      << "kein Trenner\n";
  TProposals proposals;
  TLanguageSummary summary;
  ProduceDing((dir / "de-en").string(), [](const std::string& key) { return key != "home"; }, 2,
              proposals, summary);
  EXPECT_EQ(summary.SourceEntries, 6u);
  auto shown = [&](const std::string& key) {
    std::vector<std::string> out;
    for (const auto& proposal : proposals[key])
      out.push_back(proposal.Translation + "/" + PartName(proposal.Part) +
                    (proposal.Capital ? "*" : ""));
    return out;
  };
  using TList = std::vector<std::string>;
  EXPECT_EQ(shown("shovel"), (TList{"Schaufel/noun", "Schippe/noun", "schaufeln/verb"}));
  EXPECT_EQ(shown("shovels"), (TList{"Schaufeln/noun"}));
  // A translation that offers two words at once is none; placeholders go.
  EXPECT_EQ(shown("sign"), (TList{"unterschreiben/verb"}));
  EXPECT_EQ(shown("polish"), (TList{"Polnisch/noun*"}));
  EXPECT_EQ(shown("house"), (TList{"Haus/noun"}));
  // With its article on both sides, a noun is found without it too.
  EXPECT_EQ(shown("the police"), (TList{"die Polizei/noun"}));
  EXPECT_EQ(shown("police"), (TList{"Polizei/noun"}));
  EXPECT_FALSE(proposals.count("home"));  // not wanted
  const auto& first = proposals["shovel"];
  EXPECT_GT(first[0].Strength, first[1].Strength);
  EXPECT_EQ(first[0].Source, 2);
  EXPECT_THROW(ProduceDing((dir / "none").string(), [](const std::string&) { return true; }, 0,
                           proposals, summary),
               std::runtime_error);
}

TEST(DingDictionary, AWordsMainSenseOutweighsFigurativeRegionalAndPoorerLines) {
  TTempDir dir;
  std::ofstream((dir / "de-en").string())
      << "Regen {m} | Regenf\xC3\xA4lle {pl} | heftiger Regen :: rain | rainfalls | heavy rain\n"
      << "Regen {m}; Hagel {m} :: shower [fig.]\n"
      << "Stimme {f} | Stimmen {pl} | mit leiser Stimme :: voice | voices | in a low voice\n"
      << "Stimme {f} [mus.] :: part\n"
      << "Karre {f} [Norddt.] :: cart\n"
      << "Wagen {m} :: cart\n";
  auto strengths = [&](TKeying keying, const std::string& key) {
    TProposals proposals;
    TLanguageSummary summary;
    ProduceDing((dir / "de-en").string(), [](const std::string&) { return true; }, 0, proposals,
                summary, keying);
    std::map<std::string, float> by;
    for (const auto& proposal : proposals[key]) by[proposal.Translation] = proposal.Strength;
    return by;
  };
  // Read the other way: the figurative sense and the line with fewer forms and phrases
  // weigh less; a regional word is its region's own, and its label weighs nothing.
  auto regen = strengths(TKeying::Spelt, "Regen");
  EXPECT_GT(regen["rain"], 2 * regen["shower"]);
  auto stimme = strengths(TKeying::Spelt, "Stimme");
  EXPECT_GT(stimme["voice"], stimme["part"]);
  EXPECT_FLOAT_EQ(strengths(TKeying::Spelt, "Karre")["cart"], 1.0f);
  // From English, the region's word is the lesser translation.
  auto cart = strengths(TKeying::English, "cart");
  EXPECT_GT(cart["Wagen"], cart["Karre"]);
}

TEST(PivotCandidates, PathsAddUpByRankAndSenseAndKeepTheirPartOfSpeech) {
  TKeyedDictionary germanToFrench;
  germanToFrench["bank"] = {{"banc", "banque", "banque", "banc"}, {1, 1, 2, 2}};
  germanToFrench["ufer"] = {{"rive", "banque"}, {1, 3}};
  const std::vector<TSourceItem> middle = {{"Bank", TPartOfSpeech::Noun, 1, 0, false},
                                           {"Ufer", TPartOfSpeech::Noun, 1, 1, false},
                                           {"Geld", TPartOfSpeech::Noun, 2, 0, false}};
  const auto candidates = PivotCandidates(middle, germanToFrench);
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0].Text, "banque");  // 1 + 1/2 + 1/2 * 1/4
  EXPECT_DOUBLE_EQ(candidates[0].Score, 1.625);
  EXPECT_EQ(candidates[0].Part, TPartOfSpeech::Noun);
  EXPECT_EQ(candidates[1].Text, "banc");  // 1 + 1/2
  EXPECT_DOUBLE_EQ(candidates[1].Score, 1.5);
  EXPECT_EQ(candidates[2].Text, "rive");
  EXPECT_DOUBLE_EQ(candidates[2].Score, 0.5);
  EXPECT_TRUE(
      PivotCandidates({{"Geld", TPartOfSpeech::Noun, 1, 0, false}}, germanToFrench).empty());

  // Where the capital tells words apart, a verb form is not the noun spelt alike.
  TSourceEntry dignity, anger;
  dignity.Headword = "W\xC3\xBCrde";
  dignity.Items = {"dignit\xC3\xA9"};
  anger.Headword = "\xC3\x84rger";
  anger.Items = {"col\xC3\xA8re"};
  const TKeyedDictionary cased = Keyed({dignity, anger}, true);
  auto first = [&](const std::string& middle) {
    const auto found =
        PivotCandidates({{middle, TPartOfSpeech::Unknown, 1, 0, false}}, cased, true);
    return found.empty() ? std::string("none") : found.front().Text;
  };
  EXPECT_EQ(first("w\xC3\xBCrde"), "none");
  EXPECT_EQ(first("W\xC3\xBCrde"), "dignit\xC3\xA9");
  EXPECT_EQ(first("\xC3\x84rger"), "col\xC3\xA8re");
  EXPECT_EQ(first("\xC3\xA4rger"), "none");
}

}  // namespace
}  // namespace parlivo::test
