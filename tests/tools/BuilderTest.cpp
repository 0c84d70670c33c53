// The lexicon builder: reading the dictionary formats, the headwords and texts it
// stores, a whole build looked up again, and its refusals.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "EntryText.h"
#include "LexiconBuilder.h"
#include "LexiconChecker.h"
#include "LexiconFixtures.h"
#include "LookupCommand.h"
#include "SourceEntry.h"
#include "TestFiles.h"

namespace parlivo::test {
namespace {

using Items = std::vector<std::string>;

const char kFreedictHouse[] =
    "house /h\xCB\x88\x61\xCA\x8As/\n"
    "1. Haus <neut> [archit.], Geb\xC3\xA4ude <neut>\n"
    "2. Familie <fem>; Geschlecht <neut>\n"
    "      \"build a house\"  - ein Haus bauen\n"
    " see: {houses}, {open house}\n"
    "   Synonym: {home}\n"
    "   Note: Billard\n"
    "Montag <masc>Mo,  /m\xCB\x88\xC9\x99\xCA\x8A/\n";

TEST(SourceEntries, FreedictEntryWithoutMarkupExamplesAndNotes) {
  const TSourceEntry entry = ParseFreedictEntry({"house", kFreedictHouse});
  EXPECT_EQ(entry.Headword, "house");
  EXPECT_EQ(entry.Pronunciation, "h\xCB\x88\x61\xCA\x8As");
  EXPECT_EQ(entry.Items,
            (Items{"Haus", "Geb\xC3\xA4ude", "Familie", "Geschlecht", "Montag", "Mo"}));
  EXPECT_EQ(entry.Weight, 4u);  // the example and three notes
  // Each numbered line a sense; a grammar tag names its item's part of speech.
  EXPECT_EQ(entry.Senses, (std::vector<int>{1, 1, 2, 2, 2, 2}));
  constexpr auto noun = TPartOfSpeech::Noun, unknown = TPartOfSpeech::Unknown;
  EXPECT_EQ(entry.Parts, (std::vector<TPartOfSpeech>{noun, noun, noun, noun, noun, unknown}));
  // The headword's tag is that of every item without one of its own.
  const TSourceEntry verb =
      ParseFreedictEntry({"polish", "polish /p/ <v>\nputzen, wichsen <v, trans>\nfein <adj>\n"});
  EXPECT_EQ(verb.Headword, "polish");
  EXPECT_EQ(verb.Parts, (std::vector<TPartOfSpeech>{TPartOfSpeech::Verb, TPartOfSpeech::Verb,
                                                    TPartOfSpeech::Adjective}));
  EXPECT_EQ(verb.Senses, (std::vector<int>{1, 1, 1}));
}

TEST(SourceEntries, FreedictUsageLabelsWeighTheirItems) {
  // A label before a line's first item is the line's; one after an item its own.
  const TSourceEntry entry = ParseFreedictEntry(
      {"shower",
       "shower /s/\n[fig.] Regen <masc>, Hagel <masc>\n"
       "duschen <v, intr>, brausen <v, intr> [veraltet], Brause [\xC3\x96s.]\n"});
  EXPECT_EQ(entry.Items, (Items{"Regen", "Hagel", "duschen", "brausen", "Brause"}));
  std::vector<float> translation, headword;
  for (size_t i = 0; i < entry.Items.size(); ++i) {
    translation.push_back(entry.UsageOf(i).AsTranslation());
    headword.push_back(entry.UsageOf(i).AsHeadword());
  }
  EXPECT_EQ(translation, (std::vector<float>{0.4f, 0.4f, 1.0f, 0.4f, 0.4f}));
  // A region's word looked up is its own; only labels of its sense count.
  EXPECT_EQ(headword, (std::vector<float>{0.4f, 0.4f, 1.0f, 0.4f, 1.0f}));
}

TEST(SourceEntries, WikdictSensesInEachOfItsLayouts) {
  // Numbered senses, each followed by a gloss in the source language.
  TSourceEntry entry = ParseWikdictEntry(
      {"haus",
       "Haus /h/ <n, neut>\n1. maison 2.\nein Gebaeude\n2. chambre (Parlament)\nim Parlament\n"});
  EXPECT_EQ(entry.Headword, "Haus");
  EXPECT_EQ(entry.Items, (Items{"maison", "chambre"}));
  EXPECT_EQ(entry.Senses, (std::vector<int>{1, 2}));
  // One sense, its translations on the first line, the gloss after them.
  entry = ParseWikdictEntry({"ufer", "Ufer /u/\nrive, berge\nam Wasser\n"});
  EXPECT_EQ(entry.Items, (Items{"rive", "berge"}));
  EXPECT_EQ(entry.Senses, (std::vector<int>{1, 1}));
  // The gloss in brackets before its sense's translations.
  entry = ParseWikdictEntry(
      {"leng",
       "leng /l/ <n>\n [1. kabeljauwachtige zoutwatervis] molva\n [2. iets anders] lingua\n"});
  EXPECT_EQ(entry.Items, (Items{"molva", "lingua"}));
  EXPECT_EQ(entry.Senses, (std::vector<int>{1, 2}));
}

TEST(StoredHeadwords, FormAndReach) {
  EXPECT_EQ(StoredHeadword("English").Key, "english");
  EXPECT_EQ(StoredHeadword("  New \t York ").Key, "new york");
  EXPECT_EQ(StoredHeadword("Caf\xC3\xA9").Key, "caf\xE9");
  EXPECT_EQ(StoredHeadword("I").Key, "i");
  EXPECT_FALSE(StoredHeadword("I").LeftOut);
  EXPECT_FALSE(StoredHeadword("ab c").LeftOut);
  for (const char* unreachable :
       {"x-ray", "a b", "3D", "ab-c", "-ish", "\xC3\xA9t\xC3\xA9", "a.m."}) {
    EXPECT_EQ(StoredHeadword(unreachable).LeftOut, TLeftOutReason::UnreachableStart) << unreachable;
  }
  EXPECT_EQ(StoredHeadword(std::string(31, 'a')).LeftOut, TLeftOutReason::LongerThan30);
  EXPECT_FALSE(StoredHeadword(std::string(30, 'a')).LeftOut);
  EXPECT_EQ(StoredHeadword("\xCE\xB1-particle").LeftOut, TLeftOutReason::NoLatin1Form);
}

TEST(EntryTexts, CleanPackableAndShort) {
  EXPECT_EQ(MakeEntryText({"Haus", "Haus", "  Heim ", "\xCE\xB1-Teilchen",
                           "aanr\xC4\xB3"
                           "den"},
                          ", ", 255),
            "Haus, Heim, aanrijden");
  EXPECT_EQ(MakeEntryText({"1,5 Liter", "a,b;c", "end;"}, ", ", 255), "1.5 Liter, a, b; c, end");
  EXPECT_EQ(MakeEntryText({"seit ()", "seit", "vor [] (einem Jahr)"}, ", ", 255),
            "seit, vor (einem Jahr)");
  // Whole items only, but a first item longer than the limit is cut at a word.
  EXPECT_EQ(MakeEntryText({"eins zwei", "drei vier"}, ", ", 12), "eins zwei");
  EXPECT_EQ(MakeEntryText({"eins zwei drei vier"}, ", ", 12), "eins zwei...");
  EXPECT_EQ(MakeEntryText({"eins zwei drei vier"}, ", ", 11), "eins...");
  EXPECT_EQ(MakeEntryText({"\xCE\xB1\xCE\xB2"}, ", ", 255), "");

  // One item at a time, the same text.
  TEntryText joined;
  for (const char* item : {"Haus", "Haus", "  Heim ", "\xCE\xB1-Teilchen"})
    EXPECT_TRUE(joined.Add(item, ", ", 255));
  EXPECT_FALSE(joined.Add("eine sehr lange Erklaerung", ", ", 12));
  EXPECT_FALSE(joined.Add("Hof", ", ", 255));  // complete: it takes no more
  EXPECT_EQ(joined.Text(), "Haus, Heim");

  std::string longText;
  for (int i = 0; i < 80; ++i) longText += "word" + std::to_string(i) + ", ";
  const std::string cut = MakeEntryText({longText}, ", ", 255);
  EXPECT_LE(CountedLength(cut), 255u);
  EXPECT_TRUE(IsPackable(cut));
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
}

// A small lexicon in every source format, written by the test.
class Build : public ::testing::Test {
 protected:
  void WriteDictd(const std::string& name,
                  const std::vector<std::pair<std::string, std::string>>& entries,
                  bool compressed) {
    test::WriteDictd(FDir / name, entries, compressed);
  }
  std::string Path(const std::string& name) { return (FDir / name).string(); }
  // What building Files from the sources throws, or "no error".
  std::string BuildError(const std::vector<TLanguageSource>& sources,
                         const TBuildOptions& options = {}) {
    try {
      BuildLexicon((FDir / "Files").string(), sources, options, FLog);
    } catch (const std::exception& error) {
      return error.what();
    }
    return "no error";
  }
  std::string Lookup(const std::string& language, const std::string& word) {
    return LookedUp(FDir.Path(), {language, word});
  }
  TTempDir FDir;
  std::ostringstream FLog;
};

TEST_F(Build, EverySourceFormatBuildsAndLooksUp) {
  WriteDictd("eng-deu",
             {{"house", kFreedictHouse},
              {"house", "house /h\xCB\x88\x61\xCA\x8As/\nHaushalt <masc>\n"},
              {"minute", "minute /m\xC9\xAAn\xC9\xAAt/\nMinute <fem>\n"},
              {"minute", "minute /ma\xC9\xAAnju\xCB\x90t/\nwinzig <adj>\n"},
              {"houses", "houses /hz/\nH\xC3\xA4user <pl>\n"},
              {"x-ray", "x-ray /x/\nR\xC3\xB6ntgen\n"},
              {"door", "door /d/\n\n"}},
             true);
  // Phrases indexed under their first word keep the phrase in the pronunciation only.
  WriteDictd(
      "eng-spa",
      {{"go", "go /gou/\nir\n"}, {"go", "go /goubaek/\nvolver\n"}, {"house", "house /h/\ncasa\n"}},
      false);
  WriteWordNet(FDir / "wordnet");
  std::ofstream(Path("own.tsv"))
      << "# my words\nhouse\tmaison\nHouse\tdemeure, foyer\n\nhut\tcabane\n";

  std::filesystem::create_directory(FDir / "Files");
  const auto summary = BuildLexicon((FDir / "Files").string(),
                                    {{"German", TSourceFormat::Freedict, Path("eng-deu")},
                                     {"Spanish", TSourceFormat::Freedict, Path("eng-spa")},
                                     {"English", TSourceFormat::Wordnet, Path("wordnet")},
                                     {"French", TSourceFormat::TabSeparated, Path("own.tsv")}},
                                    TBuildOptions{}, FLog);

  ASSERT_EQ(summary.Languages.size(), 4u);
  const TLanguageSummary& german = summary.Languages[0];
  EXPECT_EQ(german.FileName, "German.plv");
  EXPECT_EQ(german.SourceEntries, 7u);
  EXPECT_EQ(german.Headwords, 3u);
  EXPECT_EQ(german.UnreachableStart, 1u);
  EXPECT_EQ(german.NoText, 1u);
  ASSERT_EQ(german.Sources.size(), 1u);
  EXPECT_EQ(german.Sources[0].Headwords, 3u);  // house, houses, minute; door has no translation
  EXPECT_EQ(german.Sources[0].FirstAlone, 3u);

  std::vector<std::string> files;
  for (const char* name : {"German.plv", "Spanish.plv", "English.plv", "French.plv"})
    files.push_back((FDir / "Files" / name).string());
  const auto report = CheckLexicon((FDir / "Files" / "Index.plv").string(), files);
  EXPECT_TRUE(report.Ok()) << (report.Problems.empty() ? "" : report.Problems[0]);

  // One source alone keeps its order: the entry with examples and notes first, each
  // entry a sense.
  EXPECT_EQ(Lookup("German", "house"),
            "house=Haus, Geb\xC3\xA4ude, Familie, Geschlecht, Montag, Mo, "
            "Haushalt\nhouses=H\xC3\xA4user\nFound: 2\n");
  EXPECT_EQ(Lookup("German", "minute"), "minute=Minute, winzig\nFound: 1\n");
  // Words of two letters come back padded to three, as the index holds them.
  EXPECT_EQ(Lookup("Spanish", "go"), "go =ir\nFound: 1\n");
  // The user's own texts stand as written.
  EXPECT_EQ(Lookup("French", "Hou"), "house=maison, demeure, foyer\nFound: 1\n");
  // WordNet's definitions, the most used first whatever their part of speech.
  EXPECT_EQ(Lookup("English", "house"),
            "house=a dwelling that serves as living quarters; provide housing for; a family\n"
            "Found: 1\n");
  EXPECT_EQ(Lookup("German", "door"), "Found: 0\n");
}

TEST_F(Build, RefusesBadSourcesBeforeWritingAnything) {
  std::filesystem::create_directory(FDir / "Files");
  std::ofstream(Path("bad.tsv")) << "house\tmaison\nno tab here\n";
  EXPECT_EQ(BuildError({{"French", TSourceFormat::TabSeparated, Path("bad.tsv")}}),
            Path("bad.tsv") + ":2: expected headword<TAB>text");
  EXPECT_EQ(BuildError({{"Klingon", TSourceFormat::TabSeparated, Path("bad.tsv")}}),
            "unknown language \"Klingon\"");
  EXPECT_EQ(BuildError({{"German", TSourceFormat::Freedict, Path("missing")}}),
            "cannot open " + Path("missing") + ".index");
  std::ofstream(Path("good.tsv")) << "house\tmaison\n";
  EXPECT_EQ(BuildError({{"French", TSourceFormat::TabSeparated, Path("good.tsv")},
                        {"French", TSourceFormat::TabSeparated, Path("good.tsv")}}),
            "language \"French\" given twice");
  EXPECT_EQ(BuildError({{"Italian", TSourceFormat::Pivot, Path("good.tsv"), "Dutch"}}),
            "a pivot through Dutch needs Dutch in the same build");
  EXPECT_TRUE(std::filesystem::is_empty(FDir / "Files"));
}

TEST_F(Build, SourcesThatCannotBeReadOrYieldNothingAreErrors) {
  std::filesystem::create_directory(FDir / "folder.tsv");
  std::ofstream(Path("empty.tsv")) << "# nothing yet\n";
  std::ofstream(Path("overlong.tsv")) << "M\xC0\xAFond\tx\nmoon\tMond\n";
  auto message = [&](const std::string& tsv) {
    return BuildError({{"German", TSourceFormat::TabSeparated, Path(tsv)}});
  };
  EXPECT_EQ(message("folder.tsv"), "cannot open " + Path("folder.tsv") + ": not a file");
  EXPECT_EQ(message("empty.tsv"), "German: " + Path("empty.tsv") + " yields no headword");
  EXPECT_FALSE(std::filesystem::exists(FDir / "Files"));
  // An overlong form is no character: that headword has no Latin-1 form.
  const auto summary = BuildLexicon((FDir / "Files").string(),
                                    {{"German", TSourceFormat::TabSeparated, Path("overlong.tsv")}},
                                    TBuildOptions{}, FLog);
  EXPECT_EQ(summary.Languages[0].Headwords, 1u);
  EXPECT_EQ(summary.Languages[0].NoLatin1Form, 1u);
}

TEST_F(Build, EverySourceProposesAndAgreementDecidesTheOrder) {
  WriteDictd("eng-fra",
             {{"shovel", "shovel /s/\n1. pelleter\n2. pelle\n"},
              {"house", "house /h/\nmaison, chambre\n"},
              {"roar", "roar /r/\ngronder, rugir\n"}},
             false);
  WriteDictd("fra-eng",
             {{"pelle", "pelle /p/ <n, fem>\nshovel\n"},
              {"rugir", "rugir /r/ <v>\nroar, howl\n"},
              {"chat", "chat /S/ <n, masc>\ncat\n"},
              {"maison", "maison /m/\nhouse, home\n"}},
             false);
  std::ofstream(Path("fr.tsv")) << "house\tmaison (mine)\n";
  const auto summary = BuildLexicon((FDir / "Files").string(),
                                    {{"French", TSourceFormat::Freedict, Path("eng-fra")},
                                     {"French", TSourceFormat::Reversed, Path("fra-eng")},
                                     {"French", TSourceFormat::TabSeparated, Path("fr.tsv")}},
                                    TBuildOptions{}, FLog);
  // What both dictionaries give comes first, though one lists it second.
  EXPECT_EQ(Lookup("French", "shovel"), "shovel=pelle, pelleter\nFound: 1\n");
  EXPECT_EQ(Lookup("French", "roar"), "roar=rugir, gronder\nFound: 1\n");
  // A word only the turned-round dictionary knows.
  EXPECT_EQ(Lookup("French", "cat"), "cat=chat\nFound: 1\n");
  // The user's own text overrules every source, wherever it is given.
  EXPECT_EQ(Lookup("French", "house"), "house=maison (mine)\nFound: 1\n");
  const TLanguageSummary& french = summary.Languages[0];
  ASSERT_EQ(french.Sources.size(), 3u);
  EXPECT_EQ(french.Sources[0].Format, "tsv");
  EXPECT_EQ(french.Sources[0].Headwords, 1u);
  EXPECT_EQ(french.Sources[1].Format, "freedict");
  EXPECT_EQ(french.Sources[1].Headwords, 3u);
  EXPECT_EQ(french.Sources[1].FirstAgreed, 2u);  // roar, shovel
  EXPECT_EQ(french.Sources[2].Format, "reversed");
  EXPECT_EQ(french.Sources[2].Headwords, 6u);   // cat, home, house, howl, roar, shovel
  EXPECT_EQ(french.Sources[2].FirstAlone, 3u);  // cat, home, howl
}

TEST_F(Build, PivotsPassThroughTheRowsOfAnotherLanguageAndOnlyFillGaps) {
  WriteDictd("eng-deu",
             {{"house", "house /h/\nHaus, Heim\n"},
              {"dog", "dog /d/\nHund\n"},
              {"bank", "bank /b/\nBank, Ufer\n"},
              {"shore", "shore /s/\nKueste, Ufer\n"}},
             false);
  WriteDictd("eng-fra", {{"house", "house /h/\nmaison\n"}}, false);
  // WikDict: numbered senses, each followed by a German gloss that is no translation.
  WriteDictd("deu-fra",
             {{"hund", "Hund /h/ <n, masc>\n1. chien\nein Haustier\n"},
              {"haus", "Haus /h/\n1. maison 2.\nein Gebaeude\n2. chambre\nim Parlament\n"},
              {"bank", "Bank /b/\n1. banc, banque\nzum Sitzen\n2. banque, banc\nfuer Geld\n"},
              {"ufer", "Ufer /u/\nrive\nam Wasser\n"}},
             false);
  TBuildOptions options;
  options.PivotThresholds["French"] = 0.5f;
  const std::vector<TLanguageSource> sources = {
      {"German", TSourceFormat::Freedict, Path("eng-deu")},
      {"French", TSourceFormat::Freedict, Path("eng-fra")},
      {"French", TSourceFormat::Pivot, Path("deu-fra")}};
  const auto summary = BuildLexicon((FDir / "Files").string(), sources, options, FLog);
  // Confirmed by the direct dictionary: no mark, and "chambre" through German goes.
  EXPECT_EQ(Lookup("French", "house"), "house=maison\nFound: 1\n");
  // Nothing direct: through German, marked. "banc" and "banque" have two paths each,
  // "rive" one from the second German word.
  EXPECT_EQ(Lookup("French", "dog"), "dog=~ chien\nFound: 1\n");
  EXPECT_EQ(Lookup("French", "bank"), "bank=~ banc, banque, rive\nFound: 1\n");
  // The shore's first German word has no French: one path of 1/2, at the threshold.
  EXPECT_EQ(Lookup("French", "shore"), "shore=~ rive\nFound: 1\n");
  EXPECT_EQ(summary.Languages[1].ThroughOther, 3u);
  EXPECT_EQ(summary.Languages[1].Sources[1].FirstAgreed, 1u);  // house
  // Below the threshold the rows go: two paths or a first German word are needed.
  options.PivotThresholds["French"] = 1.0f;
  BuildLexicon((FDir / "Files").string(), sources, options, FLog);
  EXPECT_EQ(Lookup("French", "shore"), "Found: 0\n");
  EXPECT_EQ(Lookup("French", "dog"), "dog=~ chien\nFound: 1\n");
}

TEST_F(Build, APivotReadsTheLanguagesDictionaryToTheMiddleOneTheOtherWayRound) {
  WriteDictd("eng-spa",
             {{"add",
               "add /a/\na\xC3\xB1"
               "adir\n"},
              {"dog", "dog /d/\nperro\n"},
              {"cat", "cat /c/\ngato\n"}},
             false);
  WriteDictd("eng-nld", {{"add", "add /a/\ntoegeven, toevoegen\n"}}, false);
  // Only Dutch to Spanish: "kat" gives "gato" in its second sense alone.
  WriteDictd("nld-spa",
             {{"toevoegen",
               "toevoegen /t/\na\xC3\xB1"
               "adir\n"},
              {"toegeven", "toegeven /t/\nceder\n"},
              {"hond", "hond /h/\nperro\n"},
              {"kat", "kat /k/\n1. felino\n2. gato\n"}},
             false);
  TBuildOptions options;
  options.PivotThresholds["Dutch"] = 0.6f;
  TLanguageSource throughSpanish{"Dutch", TSourceFormat::Pivot, Path("nld-spa"), "Spanish"};
  throughSpanish.TurnedRound = true;
  BuildLexicon((FDir / "Files").string(),
               {{"Spanish", TSourceFormat::Freedict, Path("eng-spa")},
                {"Dutch", TSourceFormat::Freedict, Path("eng-nld")},
                throughSpanish},
               options, FLog);
  // The pivot confirms the dictionary's second word, which now leads; it stands in
  // where the dictionary has nothing, and a word whose second sense alone leads there
  // falls short of the threshold.
  EXPECT_EQ(Lookup("Dutch", "add"), "add=toevoegen, toegeven\nFound: 1\n");
  EXPECT_EQ(Lookup("Dutch", "dog"), "dog=~ hond\nFound: 1\n");
  EXPECT_EQ(Lookup("Dutch", "cat"), "Found: 0\n");
}

TEST_F(Build, WordsAnotherLanguageBorrowedFromEnglishFillOnlyGaps) {
  WriteDictd("eng-deu",
             {{"software", "software /s/\nSoftware <fem>\n"},
              {"hart", "hart /h/\nHirsch <masc>\n"},
              {"house", "house /h/\nHaus <neut>\n"}},
             false);
  WriteDictd("eng-nld", {{"house", "house /h/\nhuis\n"}, {"laptop", "laptop /l/\nlaptop\n"}},
             false);
  // Dutch knows "software", "hart" (its heart) and "house"; German its nouns' capitals.
  std::ofstream(Path("nl.aff")) << "SET UTF-8\n";
  std::ofstream(Path("nl.dic")) << "4\nsoftware\nhart\nhouse\nhuis\n";
  std::ofstream(Path("de.aff")) << "SET UTF-8\n";
  std::ofstream(Path("de.dic")) << "2\nLaptop\nHaus\n";
  TBuildOptions options;
  options.Spelling["Dutch"] = Path("nl");
  options.Spelling["German"] = Path("de");
  BuildLexicon((FDir / "Files").string(),
               {{"German", TSourceFormat::Freedict, Path("eng-deu")},
                {"German", TSourceFormat::Borrowed, "Dutch"},
                {"Dutch", TSourceFormat::Freedict, Path("eng-nld")},
                {"Dutch", TSourceFormat::Borrowed, "German"}},
               options, FLog);
  // As the language writes it, marked as what came through another language.
  EXPECT_EQ(Lookup("Dutch", "software"), "software=~ software\nFound: 1\n");
  EXPECT_EQ(Lookup("German", "laptop"), "laptop=~ Laptop\nFound: 1\n");
  // A word the other language does not borrow is no loanword; a row of the language's
  // own stays as it is.
  EXPECT_EQ(Lookup("Dutch", "hart"), "Found: 0\n");
  EXPECT_EQ(Lookup("Dutch", "house"), "house=huis\nFound: 1\n");
  // The language's spelling dictionary decides.
  EXPECT_EQ(BuildError({{"German", TSourceFormat::Freedict, Path("eng-deu")},
                        {"Dutch", TSourceFormat::Freedict, Path("eng-nld")},
                        {"Dutch", TSourceFormat::Borrowed, "German"}}),
            "Dutch: borrowed words need the language's --spelling");
}

TEST_F(Build, AFormShowsItsBaseWordsTranslationsOfItsPartOfSpeech) {
  WriteWordNet(FDir / "wordnet");
  WriteDictd("eng-ita",
             {{"accept", "accept /a/ <v>\naccettare, accogliere\n"},
              {"child", "child /c/\nbambino\n"},
              {"go", "go /g/ <v>\nandare\n"},
              {"house", "house /h/\ncasa <n>\nalloggiare <v>\n"},
              {"houses", "houses /h/\ncase\n"},
              {"act", "act /a/\natto <n>\nagire <v>\n"},
              {"large", "large /l/ <adj>\ngrande\n"},
              {"alternative", "alternative /a/ <adj>\nalternativo\n"},
              {"ability", "ability /a/\nabilit\xC3\xA0, capacit\xC3\xA0, talento, dote\n"}},
             false);
  std::ofstream(Path("words.txt"))
      << "accepted\nchildren\r\nwent\nhouses\nhoused\nglasses\nAccepting\nabilities\n"
      << "acting\nlarger\nalternatively\nmuddled\n";
  TBuildOptions options;
  options.WordNetFolder = Path("wordnet");
  options.MaxTextLength = 30;
  std::vector<TLanguageSource> sources = {{"Italian", TSourceFormat::Freedict, Path("eng-ita")},
                                          {"Italian", TSourceFormat::Inflected, Path("words.txt")}};
  const auto summary = BuildLexicon((FDir / "Files").string(), sources, options, FLog);
  EXPECT_EQ(Lookup("Italian", "accepted"), "accepted=(accept) accettare, accogliere\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "children"), "children=(child) bambino\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "went"), "went=(go) andare\nFound: 1\n");
  // A verb form shows the verbs of its base, a noun form its nouns.
  EXPECT_EQ(Lookup("Italian", "housed"), "housed=(house) alloggiare\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "acting"), "acting=(act) agire\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "larger"), "larger=(large) grande\nFound: 1\n");
  // A source that has the form itself keeps it.
  EXPECT_EQ(Lookup("Italian", "houses"), "houses=case\nFound: 1\n");
  // An adverb shows no adjectives; a base without translations, a word spelt with a
  // capital, nothing.
  EXPECT_EQ(Lookup("Italian", "alternatively"), "Found: 0\n");
  EXPECT_EQ(Lookup("Italian", "glasses"), "Found: 0\n");
  EXPECT_EQ(Lookup("Italian", "accepting"), "Found: 0\n");
  EXPECT_EQ(Lookup("Italian", "muddled"), "Found: 0\n");
  // Cut after the last whole translation that fits 30 counted characters.
  EXPECT_EQ(Lookup("Italian", "abilities"),
            "abilities=(ability) abilit\xC3\xA0, capacit\xC3\xA0\nFound: 1\n");
  const TLanguageSummary& italian = summary.Languages[0];
  ASSERT_EQ(italian.Sources.size(), 2u);
  EXPECT_EQ(italian.Sources[1].Format, "inflected");
  EXPECT_EQ(italian.Sources[1].Headwords, 7u);
  EXPECT_EQ(italian.Inflected, 7u);

  // German shows an adjective's translations for its adverb.
  WriteDictd("eng-deu", {{"alternative", "alternative /a/ <adj>\nalternativ\n"}}, false);
  sources = {{"German", TSourceFormat::Freedict, Path("eng-deu")},
             {"German", TSourceFormat::Inflected, Path("words.txt")}};
  BuildLexicon((FDir / "Files").string(), sources, options, FLog);
  EXPECT_EQ(Lookup("German", "alternatively"),
            "alternatively=(alternative) alternativ\nFound: 1\n");

  // A word list that gives nothing is an error, as any source's is.
  std::ofstream(Path("none.txt")) << "glasses\nmuddled\n";
  sources = {{"Italian", TSourceFormat::Freedict, Path("eng-ita")},
             {"Italian", TSourceFormat::Inflected, Path("none.txt")}};
  EXPECT_EQ(BuildError(sources, options), "Italian: " + Path("none.txt") + " yields no headword");
  EXPECT_EQ(Lookup("German", "alternatively"),
            "alternatively=(alternative) alternativ\nFound: 1\n");  // the set stands
}

TEST_F(Build, EnglishWordsWordNetHasNothingForAreExplainedFromTheOtherDictionary) {
  WriteWordNet(FDir / "wordnet");
  WriteDictd("gcide",
             {{"The", "The \\The\\, definite article. [AS.]\n   A word placed before nouns.\n"},
              {"House", "House \\House\\, n. [AS. h[=u]s.]\n   A structure for shelter.\n"},
              {"Houses", "Houses \\Hous\"es\\, n. pl.\n   More than one house.\n"},
              {"Shall", "Shall \\Shall\\, v. i. & auxiliary.\n   1. To owe. [Obs.]\n"},
              {"Zebra", "Zebra \\Ze\"bra\\, n.\n   A striped horse.\n"},
              {"He", "He \\He\\, pron. [AS. h[=e].]\n   The man or male being named before.\n"},
              {"House", "House \\House\\, prep.\n   A made-up word of grammar.\n"},
              {"Us", "Us \\Us\\, pron.\n   The persons speaking, as an object.\n"},
              {"An", "An \\An\\, a.\n   One; any.\n"}},
             false);
  std::ofstream(Path("words.txt")) << "the\nhouse\nhouses\nshall\nhe\nus\nan\n";
  TBuildOptions options;
  options.WordNetFolder = Path("wordnet");
  BuildLexicon((FDir / "Files").string(),
               {{"English", TSourceFormat::Wordnet, Path("wordnet")},
                {"English", TSourceFormat::Gcide, Path("gcide")},
                {"English", TSourceFormat::Inflected, Path("words.txt")}},
               options, FLog);
  EXPECT_EQ(Lookup("English", "the"), "the=A word placed before nouns\nFound: 1\n");
  // WordNet's words and their forms keep WordNet's senses; a word out of use, or not in
  // the word list, has no row.
  EXPECT_EQ(Lookup("English", "house"),
            "house=a dwelling that serves as living quarters; provide housing for; a family\n"
            "houses=(house) a dwelling that serves as living quarters; a family\nFound: 2\n");
  EXPECT_EQ(Lookup("English", "shall"), "Found: 0\n");
  // A word of grammar comes before the senses WordNet has never met in use and its
  // names, not before the common senses it has met.
  EXPECT_EQ(Lookup("English", "he"),
            "he =The man or male being named before; the 5th letter of the Hebrew alphabet\n"
            "Found: 1\n");
  // So does any word WordNet knows only as a name.
  EXPECT_EQ(Lookup("English", "an"), "an =One; any; an associate degree in nursing\nFound: 1\n");
  EXPECT_EQ(Lookup("English", "us"),
            "us =The persons speaking, as an object; a North American republic\nFound: 1\n");
  EXPECT_EQ(Lookup("English", "zebra"), "Found: 0\n");
  // It explains English in English only.
  EXPECT_EQ(BuildError({{"German", TSourceFormat::Gcide, Path("gcide")}}, options),
            "German: gcide needs an inflected source");
}

TEST_F(Build, EnglishModalVerbsAreVerbsFirst) {
  WriteWordNet(FDir / "wordnet");
  WriteDictd("eng-ita",
             {{"may", "may /m/\nmaggio <n>\npotere <v>\n"},
              {"box", "box /b/\nscatola <n>\ninscatolare <v>\n"},
              {"can", "can /k/\nlatta <n>\npotere <v>\n"}},
             false);
  std::ofstream(Path("words.txt")) << "could\nwould\n";
  TBuildOptions options;
  options.WordNetFolder = Path("wordnet");
  BuildLexicon((FDir / "Files").string(),
               {{"Italian", TSourceFormat::Freedict, Path("eng-ita")},
                {"Italian", TSourceFormat::Inflected, Path("words.txt")}},
               options, FLog);
  // "may" is the month for a dictionary of nouns; a reader asks for the verb.
  EXPECT_EQ(Lookup("Italian", "may"), "may=potere, maggio\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "box"), "box=scatola, inscatolare\nFound: 1\n");
  // A modal's past, which no dictionary lists and WordNet does not know, is its modal's;
  // not "would", the mood.
  EXPECT_EQ(Lookup("Italian", "could"), "could=(can) potere\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "would"), "Found: 0\n");
}

TEST(LexiconLimits, MoreThan65535WordsOfOneLengthInABucket) {
  std::vector<std::string> words;
  for (uint32_t i = 0; i < 65536; ++i) {
    std::string word = "abc";
    for (uint32_t n = i, c = 0; c < 4; ++c, n /= 26) word += static_cast<char>('a' + n % 26);
    words.push_back(word);
  }
  EXPECT_THROW(TLexiconIndex{words}, ELexiconLimit);
  words.pop_back();
  EXPECT_NO_THROW(TLexiconIndex{words});
}

}  // namespace
}  // namespace parlivo::test
