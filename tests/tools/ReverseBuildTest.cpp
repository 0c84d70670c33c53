// The other direction's sets: a language's words as they are spelt, filed under keys
// without accents, with their English texts from the language's dictionaries, the
// English ones turned round and the forms of its word list.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>

#include "Ding.h"
#include "EntryText.h"
#include "LexiconBuilder.h"
#include "LexiconChecker.h"
#include "LexiconFixtures.h"
#include "LookupCommand.h"
#include "RegularForms.h"
#include "TestFiles.h"

namespace parlivo::test {
namespace {

TEST(SpeltWords, KeptAsWrittenAndFiledWithoutAccents) {
  EXPECT_EQ(SpeltHeadword("  H\xC3\xA4user \t ").Key, "H\xC3\xA4user");
  EXPECT_EQ(SpeltHeadword("peut-\xC3\xAAtre").Key, "peut-\xC3\xAAtre");
  const std::string ligature =
      "aanr\xC4\xB3"
      "den";
  EXPECT_EQ(SpeltHeadword(ligature).Key, "aanrijden");
  // A dictionary's placeholders of objects are no part of the word.
  EXPECT_EQ(SpeltHeadword("jdm. helfen").Key, "helfen");
  EXPECT_EQ(SpeltHeadword("aider qn").Key, "aider");
  // Nor are notes in brackets.
  EXPECT_EQ(SpeltHeadword("etw. (an einen Ort) werfen").Key, "werfen");
  EXPECT_EQ(SpeltHeadword("[ugs.] (sich) sch\xC3\xA4men").Key, "sch\xC3\xA4men");
  EXPECT_EQ(WithoutPlaceholders("give sb. sth. back"), "give back");
  EXPECT_EQ(WithoutPlaceholders("sb.\xE2\x80\x99s vote"), "vote");  // a typographic apostrophe
  EXPECT_EQ(ReverseKey("H\xC3\xA4user"), "hauser");
  EXPECT_EQ(ReverseKey("Fran\xC3\xA7"
                       "ais"),
            "francais");
  EXPECT_EQ(ReverseKey("Stra\xC3\x9F"
                       "e"),
            "strasse");
  EXPECT_EQ(ReverseKey("aujourd'hui"), "aujourdhui");
  EXPECT_EQ(ReverseKey("peut-\xC3\xAAtre"), "peut etre");
  EXPECT_EQ(ReverseKey("sans  heurts "), "sans heurts");
  // Nothing a user would not type as a word: notes, lists, digits, other scripts.
  for (const char* unreachable : {"Haus (das", "ja, nein", "3D", "-chen", "etw.", "'s"})
    EXPECT_EQ(SpeltHeadword(unreachable).LeftOut, TLeftOutReason::UnreachableStart) << unreachable;
  EXPECT_FALSE(SpeltHeadword("\xC3\xA9t\xC3\xA9 indien").LeftOut);
  EXPECT_FALSE(SpeltHeadword("usw.").LeftOut);
  EXPECT_EQ(SpeltHeadword("\xCE\xB1\xCE\xB2").LeftOut, TLeftOutReason::NoLatin1Form);
  EXPECT_EQ(SpeltHeadword(std::string(31, 'a')).LeftOut, TLeftOutReason::LongerThan30);
}

TEST(DingDictionary, ReadTheOtherWayAVerbsFormsAreRowsWithoutTheirPersons) {
  TTempDir dir;
  std::ofstream((dir / "de-en").string())
      << "gehen {vi} | ich gehe | ich/er/sie ging :: to go | I go | I/he/she went\n"
      << "sich k\xC3\xBCmmern {vr} :: to care\n"
      << "sich um jdn./etw. k\xC3\xBCmmern {vr}; jdn. betreuen {vt} :: to look after sb./sth.\n"
      << "auf etw. bestehen {vi}; auf etw. Wert legen :: to insist on sth.\n"
      << "Haus {n} | H\xC3\xA4user {pl} :: house | houses\n"
      << "die Polizei {f} :: the police\n"
      << "ich {ppron} | ich selbst :: I; me (after 'to be'; 'than') | I myself\n"
      << "keine; keines <kein> {pron} :: no <none>\n";
  TProposals proposals;
  TLanguageSummary summary;
  ProduceDing((dir / "de-en").string(), [](const std::string&) { return true; }, 0, proposals,
              summary, TKeying::Spelt);
  auto shown = [&](const std::string& key) {
    std::vector<std::string> out;
    for (const auto& proposal : proposals[key])
      out.push_back(proposal.Translation + "/" + PartName(proposal.Part));
    return out;
  };
  using TList = std::vector<std::string>;
  EXPECT_EQ(shown("gehen"), (TList{"go/verb"}));
  EXPECT_EQ(shown("ging"), (TList{"went/verb"}));
  EXPECT_EQ(shown("gehe"), (TList{"go/verb"}));
  EXPECT_EQ(shown("sich k\xC3\xBCmmern"), (TList{"care/verb"}));
  // A verb with its preposition is looked up by the verb; its phrase is no word to type.
  EXPECT_EQ(shown("k\xC3\xBCmmern"), (TList{"care/verb", "look after/verb"}));
  EXPECT_EQ(shown("betreuen"), (TList{"look after/verb"}));
  EXPECT_EQ(shown("bestehen"), (TList{"insist on/verb"}));
  EXPECT_FALSE(proposals.count("um k\xC3\xBCmmern"));
  EXPECT_FALSE(proposals.count("auf bestehen"));
  EXPECT_EQ(shown("H\xC3\xA4user"), (TList{"houses/noun"}));
  EXPECT_FALSE(proposals.count("haus"));  // nouns keep their capital
  EXPECT_EQ(shown("Polizei"), (TList{"police/noun"}));
  // A note in brackets is one with its synonym, whatever it holds.
  EXPECT_EQ(shown("ich"), (TList{"I/unknown", "me/unknown"}));
  EXPECT_FALSE(proposals.count("go"));
  // A spelling in angle brackets finds the word too, and is no part of either text.
  EXPECT_EQ(shown("kein"), (TList{"no/other"}));
  EXPECT_EQ(shown("keines"), (TList{"no/other"}));
  TProposals forward;
  ProduceDing((dir / "de-en").string(), [](const std::string&) { return true; }, 0, forward,
              summary, TKeying::English);
  ASSERT_EQ(forward["no"].size(), 2u);
  EXPECT_EQ(forward["no"][1].Translation, "keines");
}

TEST(RegularForms, DutchFormsAndTheWordsTheyMayComeFrom) {
  constexpr auto verb = TPartOfSpeech::Verb, noun = TPartOfSpeech::Noun,
                 adjective = TPartOfSpeech::Adjective;
  struct TCase {
    const char* Form;
    TPartOfSpeech Part;
    const char* Base;
  };
  const TCase cases[] = {// Participles, with and without a separable prefix, weak and strong.
                         {"gebeld", verb, "bellen"},
                         {"gedood", verb, "doden"},
                         {"gered", verb, "redden"},
                         {"gewerkt", verb, "werken"},
                         {"opgebeld", verb, "opbellen"},
                         {"gegeven", verb, "geven"},
                         {"aangekomen", verb, "aankomen"},
                         {"verteld", verb, "vertellen"},
                         {"betrapt", verb, "betrappen"},
                         // The present, the past and the stem.
                         {"duurt", verb, "duren"},
                         {"ruikt", verb, "ruiken"},
                         {"stort", verb, "storten"},
                         {"pikt", verb, "pikken"},
                         {"wordt", verb, "worden"},
                         {"belde", verb, "bellen"},
                         {"werkten", verb, "werken"},
                         {"lieg", verb, "liegen"},
                         {"kun", verb, "kunnen"},
                         {"ga", verb, "gaan"},
                         {"kalmeer", verb, "kalmeren"},
                         {"verlies", verb, "verliezen"},
                         // Irregular verbs, alone and after a prefix of either kind.
                         {"nam", verb, "nemen"},
                         {"meegenomen", verb, "meenemen"},
                         {"neergeschoten", verb, "neerschieten"},
                         {"gevochten", verb, "vechten"},
                         {"verliet", verb, "verlaten"},
                         {"ontving", verb, "ontvangen"},
                         {"verdronken", verb, "verdrinken"},
                         {"bedrogen", verb, "bedriegen"},
                         {"heeft", verb, "hebben"},
                         {"is", verb, "zijn"},
                         // Plurals and diminutives; adjectives inflected and compared.
                         {"huizen", noun, "huis"},
                         {"bomen", noun, "boom"},
                         {"kinderen", noun, "kind"},
                         {"vingerafdrukken", noun, "vingerafdruk"},
                         {"brieven", noun, "brief"},
                         {"auto's", noun, "auto"},
                         {"huisje", noun, "huis"},
                         {"balletje", noun, "bal"},
                         {"grote", adjective, "groot"},
                         {"vieze", adjective, "vies"},
                         {"dikke", adjective, "dik"},
                         {"groter", adjective, "groot"},
                         {"grootste", adjective, "groot"}};
  for (const TCase& test : cases) {
    const auto bases = RegularBases("Dutch", test.Form);
    EXPECT_TRUE(std::any_of(bases.begin(), bases.end(), [&](const TBaseWord& base) {
      return base.Word == test.Base && base.Part == test.Part;
    })) << test.Form;
  }
  // A stem of one syllable and one short vowel doubles its consonant: "stort" is no form
  // of storen, whose stem is "stoor".
  for (const auto& base : RegularBases("Dutch", "stort")) EXPECT_NE(base.Word, "storen");
  // Never the form itself; nothing for other languages or what is no word of letters.
  for (const auto& base : RegularBases("Dutch", "werken")) EXPECT_NE(base.Word, "werken");
  EXPECT_TRUE(RegularBases("German", "gebeld").empty());
  EXPECT_TRUE(RegularBases("Dutch", "3d-print").empty());
}

TEST(RegularForms, GermanInfinitivesWithZuAreTheirVerbs) {
  auto basesOf = [](const char* form) {
    std::vector<std::string> words;
    for (const auto& base : RegularBases("German", form)) {
      EXPECT_EQ(base.Part, TPartOfSpeech::Verb) << form;
      words.push_back(base.Word);
    }
    return words;
  };
  using TWords = std::vector<std::string>;
  EXPECT_EQ(basesOf("aufzunehmen"), TWords{"aufnehmen"});
  EXPECT_EQ(basesOf("wiederzusehen"), TWords{"wiedersehen"});
  EXPECT_EQ(basesOf("zur\xC3\xBC"
                    "ckzukehren"),
            TWords{"zur\xC3\xBC"
                   "ckkehren"});
  // "zu" as a prefix of its own is kept: "zuzuh\xC3\xB6ren" is zuh\xC3\xB6ren.
  EXPECT_EQ(basesOf("zuzuh\xC3\xB6ren"), TWords{"zuh\xC3\xB6ren"});
  // A "zu" that is no infix still yields a candidate, which only a verb's row confirms;
  // nouns and words not ending as infinitives yield none.
  EXPECT_EQ(basesOf("sozusagen"), TWords{"sosagen"});
  EXPECT_TRUE(basesOf("Verletzungen").empty());
  EXPECT_TRUE(basesOf("zuletzt").empty());
  EXPECT_TRUE(basesOf("zuh\xC3\xB6ren").empty());
}

TEST(RegularForms, ParticiplesOfTheRomanceLanguagesByTheirEndings) {
  struct {
    const char *Language, *Form, *Infinitive;
    TVerbForm Expected;
  } const tests[] = {
      {"Italian", "bollente", "bollire", TVerbForm::Gerund},
      {"Italian", "irritante", "irritare", TVerbForm::Gerund},
      {"Italian", "cercando", "cercare", TVerbForm::Gerund},
      {"Italian", "venduti", "vendere", TVerbForm::PastParticiple},
      {"Spanish", "cansadas", "cansar", TVerbForm::PastParticiple},
      {"Spanish", "comiendo", "comer", TVerbForm::Gerund},
      {"Portuguese", "partindo", "partir", TVerbForm::Gerund},
      {"French", "cass\xC3\xA9s", "casser", TVerbForm::PastParticiple},
      {"French", "finissant", "finir", TVerbForm::Gerund},
      // Not a participle, of another conjugation, of another verb, or another language's.
      {"Italian", "bolle", "bollire", TVerbForm::Other},
      {"Italian", "bollato", "bollire", TVerbForm::Other},
      {"Spanish", "cansado", "casar", TVerbForm::Other},
      {"German", "gekauft", "kaufen", TVerbForm::Other},
      {"Spanish", "ado", "ar", TVerbForm::Other},
  };
  for (const auto& test : tests)
    EXPECT_EQ(RegularParticiple(test.Language, test.Form, test.Infinitive), test.Expected)
        << test.Form;
}

// German words looked up in English, built beside the English-to-German set.
class ReverseBuild : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDictd(FDir / "deu-eng",
               {{"haus", "Haus /h/ <n, neut>\nhouse, home\n"},
                {"schon", "schon /s/ <adv>\nalready\n"},
                {"sch\xC3\xB6n", "sch\xC3\xB6n /s/ <adj>\nbeautiful, nice\n"},
                {"hund", "Hund /h/ <n, masc>\ndog, hound\n"},
                {"gruss", "Gru\xC3\x9F /g/ <n, masc>\ngreeting\n"},
                {"hallo", "hallo /h/\nhello\nNice to see you again.\n"},
                {"minute", "Minute /m/ <n, fem>\nminute of arc, minute\n"},
                {"franzosisch", "franz\xC3\xB6sisch /f/ <adj>\nfrench, French language\n"},
                {"ich", "Ich /i/ <n, neut>\nego\n"},
                {"ich", "ich /i/\nI\n"},
                {"war", "WaR /w/\nWassermann reaction, Wassermann test\n"},
                {"war", "war /w/\nwas\n"},
                {"mauer", "Mauer /m/ <n, fem>\nWall\n"},
                {"michael", "Michael /m/\nmichael\n"}},
               false);
    WriteDictd(FDir / "eng-deu",
               {{"house", "house /h/\nHaus\n"},
                {"dog",
                 "dog /d/\nHund, R\xC3\xBC"
                 "de\n"},
                {"hound", "hound /h/\nJagdhund\n"},
                {"shovel", "shovel /s/\nSchaufel <fem>\n"},
                {"help sb.", "help sb. /h/\njdm. helfen\n"},
                {"French", "French /f/\nfranz\xC3\xB6sisch\n"},
                {"I", "I /a/\nich\n"},
                {"wall", "wall /w/\nMauer <fem>\n"}},
               false);
    // The German frequency list: "schön" is more frequent than "schon" here, to
    // show which of two words sharing a key keeps it.
    std::ofstream((FDir / "german.txt").string()) << "sch\xC3\xB6n\nhaus\nschon\n";
    // A German spelling dictionary that tells the stems of plural nouns.
    std::ofstream((FDir / "de.aff").string())
        << "SET UTF-8\nSFX E Y 1\nSFX E 0 e .\nSFX N Y 1\nSFX N 0 en .\n";
    std::ofstream((FDir / "de.dic").string()) << "2\nHund/EN\nHaus\n";
    std::ofstream((FDir / "forms.txt").string()) << "Hunde\nHunden\nhaus\nFlugzeug\n";
    // An English spelling dictionary of four words, two names and a letter.
    std::ofstream((FDir / "en.aff").string()) << "SET UTF-8\n";
    std::ofstream((FDir / "en.dic").string()) << "4\nFrench\nwall\ni\nMichael\n";
  }

  TBuildSummary Build() {
    TBuildOptions options;
    options.Frequencies["German"] = (FDir / "german.txt").string();
    options.Spelling["German"] = (FDir / "de").string();
    options.Spelling["GermanEnglish"] = (FDir / "en").string();
    return BuildLexicon((FDir / "Files").string(),
                        {{"German", TSourceFormat::Freedict, Path("eng-deu")},
                         {"GermanEnglish", TSourceFormat::Freedict, Path("deu-eng")},
                         {"GermanEnglish", TSourceFormat::Reversed, Path("eng-deu")},
                         {"GermanEnglish", TSourceFormat::Turned, "German"},
                         {"GermanEnglish", TSourceFormat::Inflected, Path("forms.txt")}},
                        options, FLog);
  }
  std::string Path(const std::string& name) { return (FDir / name).string(); }
  std::string Lookup(const std::string& word) {
    return LookedUp(FDir.Path(), {"--from", "German", word});
  }
  TTempDir FDir;
  std::ostringstream FLog;
};

TEST_F(ReverseBuild, WordsAsSpeltWithTheirEnglishFromEverySource) {
  const TBuildSummary summary = Build();
  ASSERT_EQ(summary.Languages.size(), 2u);
  const TLanguageSummary& reverse = summary.Languages[1];
  EXPECT_EQ(reverse.FileName, "GermanEnglish.plv");
  EXPECT_EQ(reverse.IndexFileName, "IndexGerman.plv");
  EXPECT_EQ(reverse.LeftForRoom, 0u);
  // The English set stays as it was, with its own index.
  EXPECT_TRUE(std::filesystem::exists(FDir / "Files" / "Index.plv"));
  const TFolderCheck check = CheckLexiconFolder((FDir / "Files").string());
  EXPECT_TRUE(check.Report.Ok());
  EXPECT_EQ(check.ReverseSets, 1u);

  // Both dictionaries agree on "Hund": "dog" comes first; the German-English one's
  // "hound" follows, and turned round "Jagdhund" is a hound. The forms of the word
  // list show their base's translations, the base as spelt.
  EXPECT_EQ(Lookup("hund"),
            "Hund=dog, hound\nHunde=(Hund) dog, hound\nHunden=(Hund) dog, hound\nFound: 3\n");
  EXPECT_EQ(Lookup("jagdhund"), "Jagdhund=hound\nFound: 1\n");
  EXPECT_EQ(Lookup("schaufel"), "Schaufel=shovel\nFound: 1\n");
  // Typed with or without its accents a word is found; of two that share a key both are
  // listed, the more frequent first.
  EXPECT_EQ(Lookup("sch\xC3\xB6n"), "sch\xC3\xB6n=beautiful, nice\nschon=already\nFound: 2\n");
  EXPECT_EQ(Lookup("schon"), Lookup("sch\xC3\xB6n"));
  EXPECT_EQ(Lookup("grus"), "Gru\xC3\x9F=greeting\nFound: 1\n");
  EXPECT_EQ(Lookup("ruede"), "Found: 0\n");
  EXPECT_EQ(Lookup("rude"),
            "R\xC3\xBC"
            "de=dog\nFound: 1\n");
  // Placeholders go from words and translations alike; a word spelt as one of its
  // translations leads with it.
  EXPECT_EQ(Lookup("helfen"), "helfen=help\nFound: 1\n");
  EXPECT_EQ(Lookup("minute"), "Minute=minute, minute of arc\nFound: 1\n");
  // Of two spellings that differ in capitals, the one in small letters where English
  // spells it so, else the one with capitals.
  EXPECT_EQ(Lookup("franzosisch"), "franz\xC3\xB6sisch=French, French language\nFound: 1\n");
  EXPECT_EQ(Lookup("mauer"), "Mauer=wall\nFound: 1\n");
  // A name a source spells in small letters gets its capital back.
  EXPECT_EQ(Lookup("michael"), "Michael=Michael\nFound: 1\n");
  // Of two words that share a key and are as frequent, the one more sources know; the
  // pronoun with its capital, though the letter is a word too.
  EXPECT_EQ(Lookup("ich"), "ich=I\nIch=ego\nFound: 2\n");
  // A word goes before an abbreviation spelt alike but for capitals inside it, though
  // the abbreviation be the better known.
  EXPECT_EQ(Lookup("war"), "war=was\nWaR=Wassermann reaction, Wassermann test\nFound: 2\n");
  // A sentence the dictionary gives for a word is no translation of it.
  EXPECT_EQ(Lookup("hallo"), "hallo=hello\nFound: 1\n");
  // A word of the list that has a row keeps it, and one without a base has none.
  EXPECT_EQ(Lookup("haus"), "Haus=house, home\nFound: 1\n");
  EXPECT_EQ(Lookup("flugz"), "Found: 0\n");
  EXPECT_EQ(reverse.Inflected, 2u);
}

// Builds the other direction of a language from its dictionary to English in dir, with
// the word list forms there where one is named; returns a lookup of the language's words.
std::function<std::string(const char*)> BuildOtherDirection(const TTempDir& dir,
                                                            const std::string& language,
                                                            const char* dictionary,
                                                            const TBuildOptions& options,
                                                            const char* forms = nullptr) {
  std::vector<TLanguageSource> sources = {
      {language + "English", TSourceFormat::Freedict, (dir / dictionary).string()}};
  if (forms)
    sources.push_back({language + "English", TSourceFormat::Inflected, (dir / forms).string()});
  std::ostringstream log;
  BuildLexicon((dir / "Files").string(), sources, options, log);
  return [folder = dir.Path(), language](const char* word) {
    return LookedUp(folder, {"--from", language, word});
  };
}

// Writes a frequency list of these words (one a line) in dir for the language.
void ListFrequencies(TBuildOptions& options, const TTempDir& dir, const std::string& language,
                     const char* words) {
  const std::string path = (dir / (language + "-frequencies.txt")).string();
  std::ofstream(path) << words;
  options.Frequencies[language] = path;
}

// German read in English with the participles' analyser and generator in dir, WordNet,
// and English's frequency list of these words (one a line), which brings WordNet in.
TBuildOptions ParticipleOptions(const TTempDir& dir, const char* englishWords) {
  CompileParticiples(dir / "apertium");
  TBuildOptions options;
  options.BaseWords["German"] = (dir / "apertium" / "deu.automorf.bin").string();
  options.Generators["GermanEnglish"] = (dir / "apertium" / "eng.autogen.bin").string();
  WriteWordNet(dir / "wordnet");
  options.WordNetFolder = (dir / "wordnet").string();
  ListFrequencies(options, dir, "GermanEnglish", englishWords);
  return options;
}

TEST(ReverseForms, TheMostFrequentBaseAndAParticiplesVerbsAsParticiples) {
  TTempDir dir;
  WriteDictd(dir / "deu-eng",
             {{"fahren", "fahren /f/ <verb>\ndrive, go, motor\n"},
              {"anmachen", "anmachen /a/ <verb>\nturn on\n"},
              {"fuhre", "Fuhre /f/ <n, fem>\ncartload\n"},
              {"fuhr", "fuhr /f/ <n, fem>\nfurrow\n"},
              {"machen", "machen /m/ <verb>\nmake, do\n"},
              {"haften", "haften /h/ <verb>\nstick, adhere\n"}},
             false);
  std::ofstream((dir / "forms.txt").string())
      << "gefahren\nfahrend\nfuhr\nangemacht\nfuhren\nmachte\nhafte\n";
  // "gone" is a frequent word; the row keeps the order of its verb's translations.
  TBuildOptions options = ParticipleOptions(dir, "gone\nthe\n");
  ListFrequencies(options, dir, "German", "und\nfahren\nfuhre\nfuhr\ntun\n");
  auto lookup = BuildOtherDirection(dir, "German", "deu-eng", options, "forms.txt");
  // A participle's verbs in its form, in their order, a phrase's first word only; a verb
  // the generator cannot spell so is left out rather than shown in another form.
  EXPECT_EQ(lookup("gefahren"), "gefahren=(fahren) driven, gone\nFound: 1\n");
  EXPECT_EQ(lookup("fahrend"), "fahrend=(fahren) driving, going\nFound: 1\n");
  EXPECT_EQ(lookup("angemacht"), "angemacht=(anmachen) turned on\nFound: 1\n");
  // A form English has no like of shows its verb as the dictionary gives it.
  // Of two base words, the more frequent, whatever the analyser's order: "fuhren" is
  // read as Fuhre's plural first.
  // A frequent form that is a word of its own too shows its verb after it, in a row of
  // its own.
  EXPECT_EQ(lookup("fuhr"),
            "fuhr=furrow\nfuhr=(fahren) drive, go, motor\nFuhre=cartload\nfuhren=(fahren) "
            "drive, go, motor\nFound: 4\n");
  // A first reading the list lacks is rare where the list has its letters; where it
  // has not ("m", "c"), it may be frequent all the same, and keeps its place.
  EXPECT_EQ(lookup("hafte"), "hafte=(fahren) drive, go, motor\nhaften=stick, adhere\nFound: 2\n");
  EXPECT_EQ(lookup("machte"), "machte=(machen) make, do\nFound: 1\n");
}

TEST(ReverseForms, AParticipleOfAVerbSpeltTheBritishWayIsSpeltAsItsTwin) {
  TTempDir dir;
  WriteDictd(dir / "deu-eng", {{"realisieren", "realisieren /r/ <verb>\nrealise\n"}}, false);
  std::ofstream((dir / "forms.txt").string()) << "realisiert\n";
  std::ofstream((dir / "en.aff").string()) << "SET UTF-8\n";
  std::ofstream((dir / "en.dic").string()) << "2\nrealize\nrealized\n";
  std::ofstream((dir / "en_GB.aff").string()) << "SET UTF-8\n";
  std::ofstream((dir / "en_GB.dic").string()) << "2\nrealise\nrealised\n";
  TBuildOptions options = ParticipleOptions(dir, "the\n");
  options.Spelling["GermanEnglish"] = (dir / "en").string();
  options.OtherSpelling["GermanEnglish"] = (dir / "en_GB").string();
  auto lookup = BuildOtherDirection(dir, "German", "deu-eng", options, "forms.txt");
  EXPECT_EQ(lookup("realisieren"), "realisieren=realize\nFound: 1\n");
  EXPECT_EQ(lookup("realisiert"), "realisiert=(realisieren) realized\nFound: 1\n");
}

TEST(ReverseForms, APrepositionWithItsArticleIsThePrepositionAndThe) {
  TTempDir dir;
  CompileContractions(dir / "apertium");
  WriteDictd(dir / "ita-eng",
             {{"a", "a /a/\nto, at\n"},
              {"di", "di /di/\nof, from\n"},
              {"al", "al /al/\nmonthly\n"},
              {"del", "del /del/\nof the\n"}},
             false);
  std::ofstream((dir / "forms.txt").string()) << "al\ndel\n";
  TBuildOptions options;
  ListFrequencies(options, dir, "Italian", "di\na\ndel\nal\n");
  options.BaseWords["Italian"] = (dir / "apertium" / "ita.automorf.bin").string();
  auto lookup = BuildOtherDirection(dir, "Italian", "ita-eng", options, "forms.txt");
  // "al" is a phrase cut short ("al mese"), "del" the preposition and its article.
  EXPECT_EQ(lookup("al"), "al =(a) to, at\nFound: 1\n");
  EXPECT_EQ(lookup("del"), "del=of the\nFound: 1\n");
}

TEST(SpeltWords, ShortWordsThatShareAKeyAreAllFound) {
  TTempDir dir;
  WriteDictd(dir / "ita-eng",
             {{"e", "e /e/\nand\n"},
              {"\xC3\xA8", "\xC3\xA8 /\xC9\x9B/\nis\n"},
              {"la", "la /la/\nthe\n"},
              {"l\xC3\xA0", "l\xC3\xA0 /la/\nthere\n"},
              {"Ed", "Ed /ed/\ned\n"},
              {"ed", "ed /ed/\nand\n"},
              {"Mila", "Mila /m/\nMila\n"},
              {"mila", "mila /m/\nthousands\n"}},
             false);
  TBuildOptions options;
  ListFrequencies(options, dir, "Italian", "e\nla\ned\n");
  auto lookup = BuildOtherDirection(dir, "Italian", "ita-eng", options);
  EXPECT_EQ(lookup("\xC3\xA8"), "e  =and\n\xC3\xA8=is\nFound: 2\n");
  EXPECT_EQ(lookup("e"), lookup("\xC3\xA8"));
  EXPECT_EQ(lookup("l\xC3\xA0"), "la =the\nl\xC3\xA0=there\nFound: 2\n");
  // A name that says only itself comes after a frequent word spelt alike, not before.
  EXPECT_EQ(lookup("ed"), "ed =and\nEd=ed\nFound: 2\n");
  EXPECT_EQ(lookup("mila"), "Mila=Mila\nmila=thousands\nFound: 2\n");
}

TEST(ReverseFrequencies, AnEnglishWordIsAsFrequentAsItsMostFrequentForm) {
  TTempDir dir;
  WriteWordNet(dir / "wordnet");
  WriteDictd(dir / "deu-eng",
             {{"annehmen", "annehmen /a/ <verb>\nassume, accept\n"},
              {"kind", "Kind /k/ <n, neut>\nkid, child\n"}},
             false);
  // The list has the forms only: "accepted", and "children" of the irregular plural.
  TBuildOptions options;
  options.WordNetFolder = (dir / "wordnet").string();
  ListFrequencies(options, dir, "GermanEnglish", "the\naccepted\nchildren\nof\nand\n");
  auto lookup = BuildOtherDirection(dir, "German", "deu-eng", options);
  EXPECT_EQ(lookup("annehmen"), "annehmen=accept, assume\nFound: 1\n");
  EXPECT_EQ(lookup("kind"), "Kind=child, kid\nFound: 1\n");
}

TEST(ReverseFrequencies, TheMoreSpokenEnglishWordLeadsTheOneMoreHeadwordsShare) {
  TTempDir dir;
  // "jocund" comes first in the entry of "lustig" and is given for three more words;
  // "funny" is what English speaks.
  WriteDictd(dir / "deu-eng",
             {{"lustig", "lustig /l/ <adj>\njocund, funny\n"},
              {"froh", "froh /f/ <adj>\njocund\n"},
              {"heiter", "heiter /h/ <adj>\njocund\n"},
              {"munter", "munter /m/ <adj>\njocund\n"}},
             false);
  TBuildOptions options;
  ListFrequencies(options, dir, "GermanEnglish",
                  "the\nand\nof\nto\nfunny\na\nin\nis\nit\njocund\n");
  auto lookup = BuildOtherDirection(dir, "German", "deu-eng", options);
  EXPECT_EQ(lookup("lustig"), "lustig=funny, jocund\nFound: 1\n");
}

TEST_F(ReverseBuild, ASetOfTheOtherDirectionNeedsItsLanguagesRowsAndNoEnglishSources) {
  auto error = [&](const std::vector<TLanguageSource>& sources) -> std::string {
    try {
      BuildLexicon((FDir / "Files").string(), sources, TBuildOptions{}, FLog);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(error({{"GermanEnglish", TSourceFormat::Turned, "German"}}),
            "rows turned round from German need German in the same build");
  EXPECT_NE(error({{"GermanEnglish", TSourceFormat::Wordnet, Path("wordnet")}}), "no error");
  EXPECT_NE(error({{"KlingonEnglish", TSourceFormat::Freedict, Path("deu-eng")}}), "no error");
  EXPECT_FALSE(std::filesystem::exists(FDir / "Files"));
  // A folder of the other direction alone is a whole lexicon.
  BuildLexicon((FDir / "Files").string(),
               {{"GermanEnglish", TSourceFormat::Freedict, Path("deu-eng")}}, TBuildOptions{},
               FLog);
  EXPECT_FALSE(std::filesystem::exists(FDir / "Files" / "Index.plv"));
  const TFolderCheck check = CheckLexiconFolder((FDir / "Files").string());
  EXPECT_TRUE(check.Report.Ok());
  EXPECT_EQ(check.ReverseSets, 1u);
  EXPECT_EQ(Lookup("haus"), "Haus=house, home\nFound: 1\n");
  // The rows from English alone, turned round: each word leading a row proposes it.
  BuildLexicon((FDir / "Files").string(),
               {{"German", TSourceFormat::Freedict, Path("eng-deu")},
                {"GermanEnglish", TSourceFormat::Turned, "German"}},
               TBuildOptions{}, FLog);
  EXPECT_EQ(Lookup("hund"), "Hund=dog\nFound: 1\n");
  EXPECT_EQ(Lookup("schaufel"), "Schaufel=shovel\nFound: 1\n");
}

TEST_F(ReverseBuild, WordsNoDictionaryToEnglishHasComeThroughAnotherLanguagesSet) {
  WriteDictd(
      FDir / "nld-eng",
      {{"boek", "boek /b/\nbook\n"}, {"let", "Let /l/\nLatvian\n"}, {"maas", "Maas /m/\nMeuse\n"}},
      false);
  WriteDictd(FDir / "deu-eng-more",
             {{"hans", "Hans /h/\nHans\n"},
              {"lukas", "Lukas /l/\nLukas\n"},
              {"deutschland", "Deutschland /d/\nGermany\n"},
              {"masche", "Masche /m/\nmesh, stitch, loop\n"}},
             false);
  WriteDictd(FDir / "nld-deu",
             {{"huis", "huis /h/\nHaus\n"},
              {"boek", "boek /b/\nBuch\n"},
              {"boeken", "boeken /b/\nHund\n"},
              {"vlieg", "vlieg /v/\nFliege\n"},
              {"jan", "Jan /j/\nHans\n"},
              {"lukas", "Lukas /l/\nLukas\n"},
              {"duitsland", "Duitsland /d/\nDeutschland\n"},
              {"maas", "maas /m/\nMasche\n"}},
             false);
  std::ofstream((FDir / "nl-forms.txt").string()) << "boeken\nletten\n";
  auto lookup = [&](const std::string& word) {
    return LookedUp(FDir.Path(), {"--from", "Dutch", word});
  };
  const TBuildSummary summary =
      BuildLexicon((FDir / "Files").string(),
                   {{"GermanEnglish", TSourceFormat::Freedict, Path("deu-eng")},
                    {"GermanEnglish", TSourceFormat::Freedict, Path("deu-eng-more")},
                    {"DutchEnglish", TSourceFormat::Freedict, Path("nld-eng")},
                    {"DutchEnglish", TSourceFormat::Pivot, Path("nld-deu"), "GermanEnglish"},
                    {"DutchEnglish", TSourceFormat::Inflected, Path("nl-forms.txt")}},
                   TBuildOptions{}, FLog);
  // The German word's row leads with its likeliest English word; marked, as every
  // translation that only another language leads to.
  EXPECT_EQ(lookup("huis"), "huis=~ house, home\nFound: 1\n");
  // A word with a dictionary's row keeps it; one whose German word has no row is none.
  EXPECT_EQ(lookup("boek"), "boek=book\nboeken=(boek) book\nFound: 2\n");
  EXPECT_EQ(lookup("vlieg"), "Found: 0\n");
  // A form of the word list whose only row came through another language shows its
  // base word's row instead.
  EXPECT_EQ(lookup("boeken"), "boeken=(boek) book\nFound: 1\n");
  // A form in small letters comes of no word with a capital: "letten" (to heed) is no
  // plural of "Let", a Latvian.
  EXPECT_EQ(lookup("let"), "Let=Latvian\nFound: 1\n");
  // A name the middle language's row only repeats is no English for the word, unless
  // the word spells it alike; a name it translates is.
  EXPECT_EQ(lookup("jan"), "Found: 0\n");
  EXPECT_EQ(lookup("lukas"), "Lukas=~ Lukas\nFound: 1\n");
  EXPECT_EQ(lookup("duitsland"), "Duitsland=~ Germany\nFound: 1\n");
  // Of two words spelt alike, the one a dictionary gives goes first, however many
  // words the other language leads to.
  EXPECT_EQ(lookup("maas"), "Maas=Meuse\nmaas=~ mesh, stitch, loop\nFound: 2\n");
  EXPECT_EQ(summary.Languages[1].ThroughOther, 4u);
  // The English direction has no such pivots.
  EXPECT_THROW(BuildLexicon((FDir / "Files").string(),
                            {{"GermanEnglish", TSourceFormat::Freedict, Path("deu-eng")},
                             {"DutchEnglish", TSourceFormat::Pivot, Path("nld-deu"), "German"}},
                            TBuildOptions{}, FLog),
               std::runtime_error);
}

TEST_F(ReverseBuild, AFormFindsItsBaseWordInRowsTurnedRoundThoughAnotherSetPivotsThroughIt) {
  // "bellen" has a row only from the rows from English turned round, which come after
  // the rows German's pivot through Dutch reads.
  WriteDictd(FDir / "eng-nld", {{"ring", "ring /r/\nbellen\n"}}, false);
  WriteDictd(FDir / "nld-eng", {{"boek", "boek /b/\nbook\n"}}, false);
  WriteDictd(FDir / "deu-nld", {{"buch", "Buch /b/\nboek\n"}}, false);
  std::ofstream((FDir / "nl-forms.txt").string()) << "gebeld\n";
  BuildLexicon((FDir / "Files").string(),
               {{"Dutch", TSourceFormat::Freedict, Path("eng-nld")},
                {"GermanEnglish", TSourceFormat::Pivot, Path("deu-nld"), "DutchEnglish"},
                {"DutchEnglish", TSourceFormat::Freedict, Path("nld-eng")},
                {"DutchEnglish", TSourceFormat::Turned, "Dutch"},
                {"DutchEnglish", TSourceFormat::Inflected, Path("nl-forms.txt")}},
               TBuildOptions{}, FLog);
  EXPECT_EQ(LookedUp(FDir.Path(), {"--from", "Dutch", "gebeld"}),
            "gebeld=(bellen) ring\nFound: 1\n");
  EXPECT_EQ(Lookup("buch"), "Buch=~ book\nFound: 1\n");
}

}  // namespace
}  // namespace parlivo::test
