// The other direction: a word of the language typed with or without its accents found
// by its key, the rows showing each word as it is spelt; the English direction reads
// the same files as it always has.
#include <gtest/gtest.h>

#include "AllocationCount.h"
#include "Folding.h"
#include "ReverseLexicon.h"
#include "Search.h"
#include "TestFiles.h"
#include "Translator.h"

namespace parlivo::test {
namespace {

using Rows = std::vector<std::string>;

std::string Key(const char* utf8) {
  return ToUtf8(FoldedKey(FromUtf8(utf8)));
}

TEST(FoldedKey, LowerCaseWithEveryAccentFoldedToItsLetter) {
  EXPECT_EQ(Key("äàâáãåÄÀÂÁÃÅ"), "aaaaaaaaaaaa");
  EXPECT_EQ(Key("çÇ"), "cc");
  EXPECT_EQ(Key("éèêëÉÈÊË"), "eeeeeeee");
  EXPECT_EQ(Key("îïíìÎÏÍÌ"), "iiiiiiii");
  EXPECT_EQ(Key("ñÑ"), "nn");
  EXPECT_EQ(Key("ôöóòõøÔÖÓÒÕØ"), "oooooooooooo");
  EXPECT_EQ(Key("ûüúùÛÜÚÙ"), "uuuuuuuu");
  EXPECT_EQ(Key("ÿýŸÝ"), "yyyy");
  // Letters that become two.
  EXPECT_EQ(Key("ß"), "ss");
  EXPECT_EQ(Key("æÆ"), "aeae");
  EXPECT_EQ(Key("œŒ"), "oeoe");
  EXPECT_EQ(Key("Straße"), "strasse");
  EXPECT_EQ(Key("HÄUSER"), "hauser");
  EXPECT_EQ(Key("Œuvre"), "oeuvre");
  EXPECT_EQ(Key("ABCXYZabcxyz"), "abcxyzabcxyz");
}

TEST(FoldedKey, AKeyTooLongForItsRoomSaysHowLongItIs) {
  Char16 out[4] = {'-', '-', '-', '-'};
  EXPECT_EQ(FoldInto(FromUtf8("aßß"), out, 3), 5u);
  EXPECT_EQ(String16(out, 4), FromUtf8("ass-"));  // nothing written past the room
  EXPECT_EQ(FoldInto(FromUtf8("Öl"), out, 4), 2u);
  EXPECT_EQ(String16(out, 2), FromUtf8("ol"));
}

TEST(LanguageLetters, TheAccentedLettersOfTheLanguagesCountOnlyTowardsEnglish) {
  const String16 typed = FromUtf8("Häuser-2 ßœŸ çñø");
  EXPECT_EQ(ToUtf8(LettersOnly(typed, TDirection::ToEnglish)), "HäuserßœŸçñø");
  EXPECT_EQ(ToUtf8(LettersOnly(typed, TDirection::FromEnglish)), "Huser");
  EXPECT_EQ(LettersOnly(typed, TDirection::FromEnglish), LettersOnly(typed));
  // Latin-1's other letters and signs belong to none of the languages.
  EXPECT_EQ(LettersOnly(FromUtf8("ðÐþÞ×÷µªº¿¡€ĳ0 '-"), TDirection::ToEnglish), String16());
  for (Char16 ch = 0xC0; ch <= 0xFF; ++ch) {
    const bool none =
        ch == 0xD0 || ch == 0xD7 || ch == 0xDE || ch == 0xF0 || ch == 0xF7 || ch == 0xFE;
    EXPECT_EQ(IsLanguageLetter(ch), !none) << static_cast<int>(ch);
  }
}

// A German set of the other direction with a colliding pair, and a French one.
class ReverseSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteReverseSet(FDir.Path(), "German",
                    {{"haus", "Haus", "house"},
                     {"hauser", "Häuser", "houses"},
                     {"hausern", "", "to houses"},
                     {"schon", "schon", "already"},
                     {"schon2", "schön", "beautiful"},
                     {"strasse", "Straße", "street"},
                     {std::string(28, 'a') + "ss", std::string(28, 'a') + "ß", "thirty"}});
    WriteReverseSet(FDir.Path(), "French",
                    {{"francais", "français", "French"}, {"francaise", "française", "French"}});
    Open("German");
  }
  void Open(const std::string& language) {
    FTranslator.SetIndexFileName(ToText(FDir / ("Index" + language + ".plv")));
    FTranslator.SetDataFileName(ToText(FDir / (language + "English.plv")));
    FTranslator.SetHeadwordsAsSpelt(true);
  }
  Rows Search(const char* typed, TDirection direction = TDirection::ToEnglish) {
    Rows rows;
    const size_t count = SearchTypedWord(
        FTranslator, FromUtf8(typed),
        [&](StringView16 word, StringView16 text) {
          rows.push_back(ToUtf8(ResultRow(word, text)));
        },
        direction);
    EXPECT_EQ(count, rows.size());
    return rows;
  }
  TTempDir FDir;
  TTranslator FTranslator;
};

TEST_F(ReverseSearch, WithOrWithoutAccentsInAnyCaseTheWordIsFoundAsItIsSpelt) {
  const Rows houses{"Häuser=houses", "hausern=to houses"};
  EXPECT_EQ(Search("hauser"), houses);
  EXPECT_EQ(Search("häuser"), houses);
  EXPECT_EQ(Search("HÄUSER"), houses);
  EXPECT_EQ(Search("Haus"), (Rows{"Haus=house", "Häuser=houses", "hausern=to houses"}));
  EXPECT_EQ(Search("straße"), Rows{"Straße=street"});
  EXPECT_EQ(Search("strasse"), Rows{"Straße=street"});
  EXPECT_EQ(Search("straß"), Rows{"Straße=street"});  // ß is two letters of the key
  Open("French");
  EXPECT_EQ(Search("francais"), (Rows{"français=French", "française=French"}));
  EXPECT_EQ(Search("FRANÇAISE"), Rows{"française=French"});
  EXPECT_TRUE(Search("franz").empty());
}

TEST_F(ReverseSearch, WordsThatShareAKeyAreAllListed) {
  const Rows both{"schon=already", "schön=beautiful"};
  EXPECT_EQ(Search("schon"), both);
  EXPECT_EQ(Search("schön"), both);
  EXPECT_EQ(Search("sch"), both);
}

TEST_F(ReverseSearch, TheThirtyCharacterLimitHoldsForTheKey) {
  const std::string thirty = std::string(28, 'a') + "ss";
  // 29 characters typed make the 30 of the key.
  EXPECT_EQ(Search((std::string(28, 'a') + "ß").c_str()), Rows{std::string(28, 'a') + "ß=thirty"});
  EXPECT_EQ(Search(thirty.c_str()), Rows{std::string(28, 'a') + "ß=thirty"});
  // 30 typed, 31 in the key: no query, as for 31 typed.
  EXPECT_TRUE(Search((std::string(29, 'a') + "ß").c_str()).empty());
  EXPECT_TRUE(Search((thirty + "s").c_str()).empty());
  EXPECT_TRUE(Search("").empty());
}

TEST_F(ReverseSearch, TheEnglishDirectionStillPassesTheFirstTextOver) {
  // The same files read as the English direction reads its own: the index's words.
  FTranslator.SetHeadwordsAsSpelt(false);
  EXPECT_EQ(Search("hauser", TDirection::FromEnglish),
            (Rows{"hauser=houses", "hausern=to houses"}));
  EXPECT_EQ(Search("schon", TDirection::FromEnglish), (Rows{"schon=already", "schon2=beautiful"}));
  // Looked up from English, an accent is no letter of the query: nothing matches it.
  EXPECT_TRUE(Search("schön", TDirection::FromEnglish).empty());
  FTranslator.SetHeadwordsAsSpelt(true);
  EXPECT_EQ(Search("schon2", TDirection::FromEnglish), Rows{"schön=beautiful"});
}

#ifdef PARLIVO_COUNTS_ALLOCATIONS
TEST_F(ReverseSearch, AKeystrokeAllocatesNothingOnceWarm) {
  const String16 houses = FromUtf8("häuser");
  const String16 beautiful = FromUtf8("Schön");
  auto keystroke = [&](const String16& typed) {
    return SearchTypedWord(
        FTranslator, typed, [](StringView16, StringView16) {}, TDirection::ToEnglish);
  };
  const size_t rows = keystroke(houses);  // warms the pair storage and the scratch
  keystroke(beautiful);
  TAllocationCount count;
  const size_t again = keystroke(houses);
  keystroke(beautiful);
  EXPECT_EQ(again, rows);
  EXPECT_EQ(count.Allocations(), 0u);
}
#endif

}  // namespace
}  // namespace parlivo::test
