// The series of lookups behind one change of the word box.
#include <gtest/gtest.h>

#include "AllocationCount.h"
#include "LexiconWriter.h"
#include "Search.h"
#include "TestFiles.h"
#include "Translator.h"

namespace parlivo::test {
namespace {

TEST(LettersOnly, KeepsAsciiLettersInOrderAndCase) {
  EXPECT_EQ(LettersOnly(PLV_TEXT("x-ray 2")), PLV_TEXT("xray"));
  EXPECT_EQ(LettersOnly(PLV_TEXT("a  b")), PLV_TEXT("ab"));
  EXPECT_EQ(LettersOnly(PLV_TEXT("House")), PLV_TEXT("House"));
  EXPECT_EQ(LettersOnly(PLV_TEXT("12")), PLV_TEXT(""));
  EXPECT_EQ(LettersOnly(PLV_TEXT("\u00E9t\u00E9\u00DF@[`{Z")), PLV_TEXT("tZ"));
}

class TypedWord : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<std::pair<std::string, std::string>> entries = {
        {"sun", "Sonne"},
        {"Sun", "Sonne"},
        {"sunday", "Sonntag"},
        {"sung", "gesungen"},
        {"sun hat", "Sonnenhut"},
        {"sunflower", "Sonnenblume"},
        {"suns", "Sonnen"},
        {"a", "ein"},
        {"a b", "ab"},
        {"a   z", "fern"},
        {"sunflowerseedsandmorewordsxyz", "lang"},
        {"sunflowerseedsandmorewordsxyzw", "dreissig"}};
    std::vector<std::string> words;
    for (const auto& entry : entries) words.push_back(entry.first);
    TLexiconIndex index(words);
    TLanguageFileBuilder language(index, TSharing::EqualOffsets);
    for (const auto& [word, text] : entries) language.Set(word, PackText(text));
    WriteFileBytes((FDir / "Index.plv").string(), index.FileBytes());
    WriteFileBytes((FDir / "German.plv").string(), language.FileBytes());
    FTranslator.SetIndexFileName(ToText(FDir / "Index.plv"));
    FTranslator.SetDataFileName(ToText(FDir / "German.plv"));
  }
  std::vector<std::string> Rows(const char* typed) {
    std::vector<std::string> rows;
    const size_t count =
        SearchTypedWord(FTranslator, FromUtf8(typed), [&](StringView16 word, StringView16 text) {
          rows.push_back(ToUtf8(ResultRow(word, text)));
        });
    EXPECT_EQ(count, rows.size());
    return rows;
  }
  TTempDir FDir;
  TTranslator FTranslator;
};

TEST_F(TypedWord, ShorterHeadwordsComeFirstCaseIsIgnoredDuplicatesKept) {
  // 'Sun' and 'sun' are two headwords of one bucket: both come back as 'sun'.
  const std::vector<std::string> expected = {"sun=Sonne",
                                             "sun=Sonne",
                                             "sung=gesungen",
                                             "suns=Sonnen",
                                             "sunday=Sonntag",
                                             "sun hat=Sonnenhut",
                                             "sunflower=Sonnenblume",
                                             "sunflowerseedsandmorewordsxyz=lang",
                                             "sunflowerseedsandmorewordsxyzw=dreissig"};
  EXPECT_EQ(Rows("Sun"), expected);
}

TEST_F(TypedWord, OneLetterReachesWordsWithoutLettersSecondAndThird) {
  EXPECT_EQ(Rows("a"), (std::vector<std::string>{"a  =ein", "a   z=fern"}));
}

TEST_F(TypedWord, ThirtyLettersIsOneQueryAndThirtyOneNone) {
  EXPECT_EQ(Rows("sunflowerseedsandmorewordsxyzw"),
            std::vector<std::string>{"sunflowerseedsandmorewordsxyzw=dreissig"});
  EXPECT_TRUE(Rows("sunflowerseedsandmorewordsxyzwq").empty());
  EXPECT_TRUE(Rows("").empty());
}

#ifdef PARLIVO_COUNTS_ALLOCATIONS
TEST_F(TypedWord, AKeystrokeAllocatesNothingOnceWarm) {
  auto keystroke = [&](const char* typed) {
    return SearchTypedWord(FTranslator, FromUtf8(typed), [](StringView16, StringView16) {});
  };
  const size_t sunRows = keystroke("sun");  // warms the pair storage and the scratch
  keystroke("a");
  TAllocationCount count;
  const size_t again = keystroke("sun");
  keystroke("sunf");
  keystroke("su");
  keystroke("a");
  EXPECT_EQ(again, sunRows);
  EXPECT_EQ(count.Allocations(), 0u);
}
#endif

}  // namespace
}  // namespace parlivo::test
