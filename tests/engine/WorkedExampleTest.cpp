// The four-headword sample lexicon: the writer reproduces its bytes exactly, and the
// reader gives the stated result for every query.
#include <gtest/gtest.h>

#include "TestFiles.h"
#include "Translator.h"
#include "WorkedExample.h"

namespace parlivo::test {
namespace {

using Rows = std::vector<std::string>;

void Put(std::vector<uint8_t>& file, size_t at, const std::vector<uint8_t>& bytes) {
  ASSERT_LE(at + bytes.size(), file.size());
  std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(WorkedExampleFiles, WriterReproducesTheStatedBytes) {
  std::vector<uint8_t> index(87921, 0);
  Put(index, 45192, Hex("64 57 01 00"));
  Put(index, 87908, Hex("03 05 01 00 01 00 02 00 73 61 74 65 6C"));

  std::vector<uint8_t> language(87969, 0);
  for (size_t h = 0; h <= 21952; ++h)
    Put(language, 100 + 4 * h, h <= 11273 ? Hex("68 57 01 00") : Hex("78 57 01 00"));
  Put(language, 87912, Hex("78 57 01 00 00 00 09 2C 89 57 01 00 98 57 01 00"));
  Put(language, 87928, Hex("00 00 00 00 00 00 00 00 0A 6B EF 72 82 2C ED 08 80"));
  Put(language, 87945, Hex("00 00 00 00 00 00 00 01 78 80 04 74 91 6E 80"));
  Put(language, 87960, Hex("00 00 00 00 00 00 00 00 00"));

  const TSampleFiles written = WorkedExampleFiles();
  EXPECT_EQ(written.Index, index);
  EXPECT_EQ(written.Language, language);
}

class WorkedExample : public ::testing::Test {
 protected:
  void SetUp() override {
    const TSampleFiles files = WorkedExampleFiles();
    WriteBytes(FDir / "Index.plv", files.Index);
    WriteBytes(FDir / "German.plv", files.Language);
    FTranslator.SetIndexFileName(ToText(FDir / "Index.plv"));
    FTranslator.SetDataFileName(ToText(FDir / "German.plv"));
  }
  TTempDir FDir;
  TTranslator FTranslator;
};

TEST_F(WorkedExample, StatedResults) {
  EXPECT_EQ(Lookup(FTranslator, "mip").Rows, Rows{"mip=kories, mat"});
  EXPECT_EQ(Lookup(FTranslator, "mip ").Rows, Rows{"mips=kories, mat"});
  EXPECT_EQ(Lookup(FTranslator, "mip  ").Rows, Rows{"mipat=tion"});
  EXPECT_EQ(Lookup(FTranslator, "mipa ").Rows, Rows{"mipat=tion"});

  const TLookup mipe = Lookup(FTranslator, "mipe ");
  EXPECT_EQ(mipe.Code, trFound);
  EXPECT_TRUE(mipe.Rows.empty());
  EXPECT_EQ(Lookup(FTranslator, "mipo ").Code, trNoMatch);
  EXPECT_EQ(Lookup(FTranslator, "mip   ").Code, trLengthOutside);
  EXPECT_EQ(Lookup(FTranslator, "mi").Code, trNoBucket);
}

TEST_F(WorkedExample, QueriesBeyondTheLongestWord) {
  EXPECT_EQ(TTranslator::BucketOf(PLV_TEXT("mi")), 11256u);
  EXPECT_EQ(Lookup(FTranslator, std::string(256, 'm')).Code, trNoBucket);
  EXPECT_EQ(Lookup(FTranslator, "mip" + std::string(253, ' ')).Code, trLengthOutside);
}

TEST_F(WorkedExample, CaseOfTheFirstThreeCharactersFollowsTheQuery) {
  EXPECT_EQ(Lookup(FTranslator, "MIPa ").Rows, Rows{"MIPat=tion"});
  EXPECT_EQ(Lookup(FTranslator, "MIPA ").Code, trNoMatch);
  EXPECT_EQ(Lookup(FTranslator, "Mip").Rows, Rows{"Mip=kories, mat"});
}

TEST_F(WorkedExample, FailedLookupsLeaveTheListsEmpty) {
  ASSERT_EQ(Lookup(FTranslator, "mip").Rows.size(), 1u);
  for (const char* query : {"mipo ", "mip   ", "mi"}) {
    ASSERT_EQ(Lookup(FTranslator, "mip").Rows.size(), 1u);
    EXPECT_NE(FTranslator.Translate(FromUtf8(query)), trFound) << query;
    EXPECT_TRUE(FTranslator.Words().empty()) << query;
    EXPECT_TRUE(FTranslator.Translations().empty()) << query;
  }
}

}  // namespace
}  // namespace parlivo::test
