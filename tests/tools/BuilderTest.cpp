// The lexicon builder: reading the dictionary formats, the headwords and texts it
// stores, a whole build looked up again, and its refusals.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "EntryText.h"
#include "Inflection.h"
#include "LexiconBuilder.h"
#include "LexiconChecker.h"
#include "LookupCommand.h"
#include "Pivot.h"
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

const char kWordnetHouse[] =
    "house\n"
    "    n 1: a dwelling that serves as living quarters for one or more\n"
    "         families; \"he has a house on Cape Cod\"; \"she felt she had\n"
    "         to get out of the house\"\n"
    "    2: the members of a business organization [syn: {firm}, {house},\n"
    "       {business firm}]\n"
    "    v 1: contain or cover; \"This box houses the gears\"\n";

TEST(SourceEntries, FreedictEntryWithoutMarkupExamplesAndNotes) {
  const TSourceEntry entry = ParseFreedictEntry({"house", kFreedictHouse});
  EXPECT_EQ(entry.Headword, "house");
  EXPECT_EQ(entry.Pronunciation, "h\xCB\x88\x61\xCA\x8As");
  EXPECT_EQ(entry.Items,
            (Items{"Haus", "Geb\xC3\xA4ude", "Familie", "Geschlecht", "Montag", "Mo"}));
  EXPECT_EQ(entry.Weight, 4u);  // the example and three notes
}

TEST(SourceEntries, WordnetGlossesWithoutExamplesAndSynonyms) {
  const TSourceEntry entry = ParseWordnetEntry({"house", kWordnetHouse});
  EXPECT_EQ(entry.Headword, "house");
  EXPECT_EQ(entry.Items,
            (Items{"a dwelling that serves as living quarters for one or more families",
                   "the members of a business organization", "contain or cover"}));
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
  // Whole items only, but a first item longer than the limit is cut at a word.
  EXPECT_EQ(MakeEntryText({"eins zwei", "drei vier"}, ", ", 12), "eins zwei");
  EXPECT_EQ(MakeEntryText({"eins zwei drei vier"}, ", ", 12), "eins zwei...");
  EXPECT_EQ(MakeEntryText({"eins zwei drei vier"}, ", ", 11), "eins...");
  EXPECT_EQ(MakeEntryText({"\xCE\xB1\xCE\xB2"}, ", ", 255), "");

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
    std::string data;
    std::ostringstream index;
    auto base64 = [](uint64_t value) {
      static const char digits[] =
          "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
      std::string out;
      do {
        out.insert(out.begin(), digits[value % 64]);
        value /= 64;
      } while (value > 0);
      return out;
    };
    index << "00databaseinfo\t" << base64(0) << "\t" << base64(5) << "\n";
    data = "info\n";
    for (const auto& [key, text] : entries) {
      index << key << "\t" << base64(data.size()) << "\t" << base64(text.size()) << "\n";
      data += text;
    }
    std::ofstream((FDir / (name + ".index")).string()) << index.str();
    if (compressed) {
      gzFile file = gzopen((FDir / (name + ".dict.dz")).string().c_str(), "wb");
      gzwrite(file, data.data(), static_cast<unsigned>(data.size()));
      gzclose(file);
    } else {
      std::ofstream((FDir / (name + ".dict")).string(), std::ios::binary) << data;
    }
  }
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
    std::ostringstream out, err;
    RunLookup({FromUtf8(language), FromUtf8(word)}, ToText(FDir.Path()), out, err);
    return out.str() + err.str();
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
  WriteDictd("wn", {{"house", kWordnetHouse}}, true);
  std::ofstream((FDir / "own.tsv").string())
      << "# my words\nhouse\tmaison\nHouse\tdemeure, foyer\n\nhut\tcabane\n";

  std::filesystem::create_directory(FDir / "Files");
  const auto summary =
      BuildLexicon((FDir / "Files").string(),
                   {{"German", TSourceFormat::Freedict, (FDir / "eng-deu").string()},
                    {"Spanish", TSourceFormat::Freedict, (FDir / "eng-spa").string()},
                    {"English", TSourceFormat::Wordnet, (FDir / "wn").string()},
                    {"French", TSourceFormat::TabSeparated, (FDir / "own.tsv").string()}},
                   TBuildOptions{}, FLog);

  EXPECT_EQ(summary.IndexHeadwords, 5u);  // go, house, houses, hut, minute; not door
  ASSERT_EQ(summary.Languages.size(), 4u);
  const TLanguageSummary& german = summary.Languages[0];
  EXPECT_EQ(german.FileName, "German.plv");
  EXPECT_EQ(german.SourceEntries, 7u);
  EXPECT_EQ(german.Headwords, 3u);
  EXPECT_EQ(german.UnreachableStart, 1u);
  EXPECT_EQ(german.NoText, 1u);

  const auto report = CheckLexicon(
      (FDir / "Files" / "Index.plv").string(),
      {(FDir / "Files" / "German.plv").string(), (FDir / "Files" / "Spanish.plv").string(),
       (FDir / "Files" / "English.plv").string(), (FDir / "Files" / "French.plv").string()});
  EXPECT_TRUE(report.Ok()) << (report.Problems.empty() ? "" : report.Problems[0]);

  // The entry with examples and notes comes first.
  EXPECT_EQ(Lookup("German", "house"),
            "house=Haus, Geb\xC3\xA4ude, Familie, Geschlecht, Montag, Mo, "
            "Haushalt\nhouses=H\xC3\xA4user\nFound: 2\n");
  // Two senses with pronunciations of their own, neither extending the other.
  EXPECT_EQ(Lookup("German", "minute"), "minute=Minute, winzig\nFound: 1\n");
  // Words of two letters come back padded to three, as the index holds them.
  EXPECT_EQ(Lookup("Spanish", "go"), "go =ir\nFound: 1\n");
  EXPECT_EQ(Lookup("French", "Hou"), "house=maison, demeure, foyer\nFound: 1\n");
  EXPECT_EQ(Lookup("English", "house"),
            "house=a dwelling that serves as living quarters for one or more families; the members "
            "of a business "
            "organization; contain or cover\nFound: 1\n");
  EXPECT_EQ(Lookup("German", "door"), "Found: 0\n");
}

TEST_F(Build, RefusesBadSourcesBeforeWritingAnything) {
  std::filesystem::create_directory(FDir / "Files");
  std::ofstream((FDir / "bad.tsv").string()) << "house\tmaison\nno tab here\n";
  EXPECT_EQ(BuildError({{"French", TSourceFormat::TabSeparated, (FDir / "bad.tsv").string()}}),
            (FDir / "bad.tsv").string() + ":2: expected headword<TAB>text");
  EXPECT_EQ(BuildError({{"Klingon", TSourceFormat::TabSeparated, (FDir / "bad.tsv").string()}}),
            "unknown language \"Klingon\"");
  EXPECT_EQ(BuildError({{"German", TSourceFormat::Freedict, (FDir / "missing").string()}}),
            "cannot open " + (FDir / "missing").string() + ".index");
  std::ofstream((FDir / "good.tsv").string()) << "house\tmaison\n";
  EXPECT_EQ(BuildError({{"French", TSourceFormat::TabSeparated, (FDir / "good.tsv").string()},
                        {"French", TSourceFormat::TabSeparated, (FDir / "good.tsv").string()}}),
            "language \"French\" given twice");
  EXPECT_TRUE(std::filesystem::is_empty(FDir / "Files"));
}

TEST_F(Build, SourcesThatCannotBeReadOrYieldNothingAreErrors) {
  std::filesystem::create_directory(FDir / "folder.tsv");
  std::ofstream((FDir / "empty.tsv").string()) << "# nothing yet\n";
  std::ofstream((FDir / "overlong.tsv").string()) << "M\xC0\xAFond\tx\nmoon\tMond\n";
  auto message = [&](const std::string& tsv) {
    return BuildError({{"German", TSourceFormat::TabSeparated, (FDir / tsv).string()}});
  };
  EXPECT_EQ(message("folder.tsv"),
            "cannot open " + (FDir / "folder.tsv").string() + ": not a file");
  EXPECT_EQ(message("empty.tsv"),
            "German: " + (FDir / "empty.tsv").string() + " yields no headword");
  EXPECT_FALSE(std::filesystem::exists(FDir / "Files"));
  // An overlong form is no character: that headword has no Latin-1 form.
  const auto summary =
      BuildLexicon((FDir / "Files").string(),
                   {{"German", TSourceFormat::TabSeparated, (FDir / "overlong.tsv").string()}},
                   TBuildOptions{}, FLog);
  EXPECT_EQ(summary.Languages[0].Headwords, 1u);
  EXPECT_EQ(summary.Languages[0].NoLatin1Form, 1u);
}

TEST_F(Build, SourcesMergeInOrderOfTrustAndPivotsAreScoredAndMarked) {
  WriteDictd("eng-deu",
             {{"house", "house /h/\nHaus, Heim\n"},
              {"dog", "dog /d/\nHund\n"},
              {"bank", "bank /b/\nBank, Ufer\n"},
              {"shore", "shore /s/\nKueste, Ufer\n"}},
             false);
  WriteDictd("fra-eng",
             {{"chat", "chat /S/ <n, masc>\ncat\n"}, {"maison", "maison /m/\nhouse, home\n"}},
             false);
  // WikDict: numbered senses, each followed by a German gloss that is no translation.
  WriteDictd("deu-fra",
             {{"hund", "Hund /h/ <n, masc>\n1. chien\nein Haustier\n"},
              {"haus", "Haus /h/\n1. maison 2.\nein Gebaeude\n2. chambre\nim Parlament\n"},
              {"bank", "Bank /b/\n1. banc, banque\nzum Sitzen\n2. banque, banc\nfuer Geld\n"},
              {"ufer", "Ufer /u/\nrive\nam Wasser\n"}},
             false);
  std::ofstream((FDir / "fr.tsv").string()) << "house\tmaison (mine)\n";
  TBuildOptions options;
  options.PivotThresholds["French"] = 0.5;
  const auto summary =
      BuildLexicon((FDir / "Files").string(),
                   {{"German", TSourceFormat::Freedict, (FDir / "eng-deu").string()},
                    {"French", TSourceFormat::TabSeparated, (FDir / "fr.tsv").string()},
                    {"French", TSourceFormat::Reversed, (FDir / "fra-eng").string()},
                    {"French", TSourceFormat::Pivot, (FDir / "deu-fra").string()}},
                   options, FLog);
  // The most trusted source that has a headword gives its text; the others fill gaps.
  EXPECT_EQ(Lookup("French", "house"), "house=maison (mine)\nFound: 1\n");
  EXPECT_EQ(Lookup("French", "home"), "home=maison\nFound: 1\n");
  EXPECT_EQ(Lookup("French", "cat"), "cat=chat\nFound: 1\n");
  // Through German, marked; "banc" and "banque" have two paths each, "rive" one from
  // the second German word.
  EXPECT_EQ(Lookup("French", "dog"), "dog=~ chien\nFound: 1\n");
  EXPECT_EQ(Lookup("French", "bank"), "bank=~ banc, banque, rive\nFound: 1\n");
  // The shore's first German word has no French: one path of 1/2, at the threshold.
  EXPECT_EQ(Lookup("French", "shore"), "shore=~ rive\nFound: 1\n");
  const TLanguageSummary& french = summary.Languages[1];
  ASSERT_EQ(french.Sources.size(), 3u);
  EXPECT_EQ(french.Sources[0].Format, "tsv");
  EXPECT_EQ(french.Sources[0].Headwords, 1u);
  EXPECT_EQ(french.Sources[1].Format, "reversed");
  EXPECT_EQ(french.Sources[1].Headwords, 2u);  // cat, home
  EXPECT_EQ(french.Sources[2].Format, "pivot");
  EXPECT_EQ(french.Sources[2].Headwords, 3u);  // bank, dog, shore
  EXPECT_EQ(french.Headwords, 6u);

  // A higher threshold keeps only what two paths or a first German word lead to.
  options.PivotThresholds["French"] = 1.0;
  BuildLexicon((FDir / "Files").string(),
               {{"German", TSourceFormat::Freedict, (FDir / "eng-deu").string()},
                {"French", TSourceFormat::Pivot, (FDir / "deu-fra").string()}},
               options, FLog);
  EXPECT_EQ(Lookup("French", "shore"), "Found: 0\n");
  EXPECT_EQ(Lookup("French", "house"), "house=~ maison\nFound: 1\n");
}

TEST_F(Build, APivotCanPassThroughAnotherLanguage) {
  WriteDictd("eng-deu", {{"house", "house /h/\nHaus\n"}}, false);
  WriteDictd("eng-fra", {{"house", "house /h/\nmaison\n"}, {"cat", "cat /k/\nchat\n"}}, false);
  WriteDictd("fra-ita",
             {{"maison", "maison /m/\n1. casa\nbatiment\n"}, {"chat", "chat /S/\ngatto\n"}}, false);
  WriteDictd("deu-ita", {{"haus", "Haus /h/\n1. edificio\nGebaeude\n"}}, false);
  const auto summary =
      BuildLexicon((FDir / "Files").string(),
                   {{"German", TSourceFormat::Freedict, (FDir / "eng-deu").string()},
                    {"French", TSourceFormat::Freedict, (FDir / "eng-fra").string()},
                    {"Italian", TSourceFormat::Pivot, (FDir / "fra-ita").string(), "French"},
                    {"Italian", TSourceFormat::Pivot, (FDir / "deu-ita").string()}},
                   TBuildOptions{}, FLog);
  // Through French first, as given; German fills nothing French did not.
  EXPECT_EQ(Lookup("Italian", "house"), "house=~ casa\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "cat"), "cat=~ gatto\nFound: 1\n");
  EXPECT_EQ(summary.Languages[2].Sources[0].Path, "French:" + (FDir / "fra-ita").string());
  EXPECT_EQ(summary.Languages[2].Sources[1].Headwords, 0u);
  // A pivot through a language the build has no dictionary of is refused.
  EXPECT_THROW(
      BuildLexicon((FDir / "Other").string(),
                   {{"Italian", TSourceFormat::Pivot, (FDir / "fra-ita").string(), "Dutch"}},
                   TBuildOptions{}, FLog),
      std::runtime_error);
}

// A WordNet database of a few words: index files whose licence lines are indented, the
// lists of irregular forms, and synsets: "glasses" a common noun, "Banks" a name,
// "acting" a noun in -ing, "alternatively" an adverb from "alternative".
void WriteWordNet(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  const char* licence = "  1 This software and database is being provided\n";
  std::ofstream((folder / "index.noun").string())
      << licence << "child n 1 0 1 0 01\nglasses n 1 0 1 0 02\nbox n 1 0 1 0 03\n"
      << "ability n 1 0 1 0 04\nhouse n 1 0 1 0 05\nbank n 1 0 1 0 06\nbanks n 1 0 1 0 07\n"
      << "acting n 1 0 1 0 08\n";
  std::ofstream((folder / "index.verb").string())
      << licence << "accept v 1 0 1 0 06\ngo v 1 0 1 0 07\nhouse v 1 0 1 0 08\n"
      << "make v 1 0 1 0 09\nact v 1 0 1 0 10\n";
  std::ofstream((folder / "index.adj").string())
      << licence << "large a 1 0 1 0 10\nalternative a 1 0 1 0 11\n";
  std::ofstream((folder / "noun.exc").string()) << "children child\n";
  std::ofstream((folder / "verb.exc").string()) << "went go\n";
  std::ofstream((folder / "adj.exc").string()) << "";
  std::ofstream((folder / "data.noun").string())
      << licence << "00000100 06 n 02 glasses 0 spectacles 0 000 | optical instrument\n"
      << "00000200 18 n 02 Banks 0 Sir_Joseph_Banks 0 000 | English botanist\n"
      << "00000300 04 n 01 acting 0 001 @ 00000100 n 0000 | performing\n";
  std::ofstream((folder / "data.adj").string())
      << licence << "00000500 00 a 01 alternative(a) 0 000 | allowing a choice\n";
  std::ofstream((folder / "data.adv").string())
      << licence << "00000600 02 r 02 instead 0 alternatively 0 001 \\ 00000500 a 0201 | "
      << "in place of\n";
}

TEST(EnglishMorphology, IrregularFormsRegularEndingsAndWordsOfTheirOwn) {
  TTempDir dir;
  WriteWordNet(dir / "wordnet");
  const TEnglishMorphology morphology((dir / "wordnet").string());
  using TBases = std::vector<std::string>;
  EXPECT_EQ(morphology.BaseWords("children"), TBases{"child"});
  EXPECT_EQ(morphology.BaseWords("went"), TBases{"go"});
  EXPECT_EQ(morphology.BaseWords("accepted"), TBases{"accept"});
  EXPECT_EQ(morphology.BaseWords("accepting"), TBases{"accept"});
  EXPECT_EQ(morphology.BaseWords("making"), TBases{"make"});
  EXPECT_EQ(morphology.BaseWords("abilities"), TBases{"ability"});
  EXPECT_EQ(morphology.BaseWords("boxes"), TBases{"box"});
  EXPECT_EQ(morphology.BaseWords("larger"), TBases{"large"});
  // A noun and a verb base for the same form, the noun first.
  EXPECT_EQ(morphology.BaseWords("houses"), TBases{"house"});
  // A common noun of its own keeps its meaning; a name and a noun in -ing do not.
  EXPECT_TRUE(morphology.BaseWords("glasses").empty());
  EXPECT_EQ(morphology.BaseWords("banks"), TBases{"bank"});
  EXPECT_EQ(morphology.BaseWords("acting"), TBases{"act"});
  // The second word of an adverb's synset comes from the first of the adjective's.
  EXPECT_EQ(morphology.BaseWords("alternatively"), TBases{"alternative"});
  EXPECT_TRUE(morphology.BaseWords("instead").empty());
  // A base WordNet does not know is no base.
  EXPECT_TRUE(morphology.BaseWords("during").empty());
  EXPECT_TRUE(morphology.BaseWords("s").empty());
  EXPECT_THROW(TEnglishMorphology((dir / "nowhere").string()), std::runtime_error);
}

TEST_F(Build, InflectedFormsShowTheirBaseWordsTextLastAndMarked) {
  WriteWordNet(FDir / "wordnet");
  std::ofstream((FDir / "it.tsv").string())
      << "accept\taccettare, accogliere\nchild\tbambino\ngo\tandare\nhouse\tcasa\n"
      << "houses\tcase\nability\tabilit\xC3\xA0, capacit\xC3\xA0, talento, dote\n";
  std::ofstream((FDir / "words.txt").string())
      << "accepted\nchildren\r\nwent\nhouses\nglasses\nAccepting\nabilities\nmuddled\n";
  TBuildOptions options;
  options.WordNetFolder = (FDir / "wordnet").string();
  options.MaxTextLength = 30;
  const auto summary =
      BuildLexicon((FDir / "Files").string(),
                   {{"Italian", TSourceFormat::TabSeparated, (FDir / "it.tsv").string()},
                    {"Italian", TSourceFormat::Inflected, (FDir / "words.txt").string()}},
                   options, FLog);
  EXPECT_EQ(Lookup("Italian", "accepted"), "accepted=(accept) accettare, accogliere\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "children"), "children=(child) bambino\nFound: 1\n");
  EXPECT_EQ(Lookup("Italian", "went"), "went=(go) andare\nFound: 1\n");
  // A source before it has the form: its text stays.
  EXPECT_EQ(Lookup("Italian", "houses"), "houses=case\nFound: 1\n");
  // Not forms: a word of its own, one with a capital, one whose base has no text.
  EXPECT_EQ(Lookup("Italian", "glasses"), "Found: 0\n");
  EXPECT_EQ(Lookup("Italian", "accepting"), "Found: 0\n");
  EXPECT_EQ(Lookup("Italian", "muddled"), "Found: 0\n");
  // Cut after the last whole translation that fits 30 counted characters.
  EXPECT_EQ(Lookup("Italian", "abilities"),
            "abilities=(ability) abilit\xC3\xA0, capacit\xC3\xA0\nFound: 1\n");
  const TLanguageSummary& italian = summary.Languages[0];
  ASSERT_EQ(italian.Sources.size(), 2u);
  EXPECT_EQ(italian.Sources[1].Format, "inflected");
  EXPECT_EQ(italian.Sources[1].Headwords, 4u);  // accepted, children, went, abilities

  // A word list that gives nothing is an error, as any source's is.
  std::ofstream((FDir / "none.txt").string()) << "glasses\nmuddled\n";
  EXPECT_EQ(BuildError({{"Italian", TSourceFormat::TabSeparated, (FDir / "it.tsv").string()},
                        {"Italian", TSourceFormat::Inflected, (FDir / "none.txt").string()}},
                       options),
            "Italian: " + (FDir / "none.txt").string() + " yields no headword");
  EXPECT_EQ(Lookup("Italian", "went"), "went=(go) andare\nFound: 1\n");  // the set stands
}

TEST(PivotCandidates, PathsAddUpByRankAndSense) {
  TKeyedDictionary germanToFrench;
  germanToFrench["bank"] = {{"banc", "banque", "banque", "banc"}, {1, 1, 2, 2}};
  germanToFrench["ufer"] = {{"rive", "banque"}, {1, 3}};
  const auto candidates = PivotCandidates({"Bank", "Ufer", "Geld"}, germanToFrench);
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0].Text, "banque");  // 1 + 1/2 + 1/2 * 1/4
  EXPECT_DOUBLE_EQ(candidates[0].Score, 1.625);
  EXPECT_EQ(candidates[1].Text, "banc");  // 1 + 1/2
  EXPECT_DOUBLE_EQ(candidates[1].Score, 1.5);
  EXPECT_EQ(candidates[2].Text, "rive");
  EXPECT_DOUBLE_EQ(candidates[2].Score, 0.5);
  EXPECT_TRUE(PivotCandidates({"Geld"}, germanToFrench).empty());
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
