// Files that break the format's rules: lookups end, stay inside their buffers and
// report nothing they cannot read. Under the sanitizers any stray access fails here.
#include <gtest/gtest.h>

#include <algorithm>

#include "Search.h"
#include "TestFiles.h"
#include "Translator.h"
#include "WorkedExample.h"

namespace parlivo::test {
namespace {

class MalformedFiles : public ::testing::Test {
 protected:
  void SetUp() override { FFiles = WorkedExampleFiles(); }
  void Open() {
    // Held files are not shared: let go of them before they are rewritten.
    FTranslator.SetIndexFileName({});
    FTranslator.SetDataFileName({});
    WriteBytes(FDir / "Index.plv", FFiles.Index);
    WriteBytes(FDir / "German.plv", FFiles.Language);
    FTranslator.SetIndexFileName(ToText(FDir / "Index.plv"));
    FTranslator.SetDataFileName(ToText(FDir / "German.plv"));
  }
  void PutU32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  TSampleFiles FFiles;
  TTempDir FDir;
  TTranslator FTranslator;
};

TEST_F(MalformedFiles, ShortAndEmptyFiles) {
  FFiles.Index.resize(10);
  FFiles.Language.resize(0);
  Open();
  // Reads past the end deliver zeros: both table entries read 0, so no table.
  EXPECT_EQ(Lookup(FTranslator, "mip").Code, trNoBucket);
}

TEST_F(MalformedFiles, AWordBlockWhoseTailsTheIndexCannotHoldHasNoWords) {
  const std::vector<uint8_t> whole = FFiles.Index;
  FFiles.Index.resize(whole.size() - 1);  // the last of the five tail bytes missing
  Open();
  for (const char* query : {"mip", "mip ", "mipa ", "mip  "}) {
    EXPECT_EQ(Lookup(FTranslator, query).Code, trLengthOutside) << query;
  }
  FFiles.Index = whole;
  Open();
  EXPECT_EQ(Lookup(FTranslator, "mip ").Rows, std::vector<std::string>{"mips=kories, mat"});
}

TEST_F(MalformedFiles, MinimumLengthBelowThree) {
  FFiles.Index[87908] = 1;
  Open();
  for (const char* query : {"mip", "mip ", "mip  "}) {
    EXPECT_EQ(Lookup(FTranslator, query).Code, trLengthOutside) << query;
  }
}

TEST_F(MalformedFiles, OffsetsOutsideTheFiles) {
  PutU32(FFiles.Index, 100 + 4 * 11273, 0xFFFFFFF0);
  Open();
  // The word block reads as zeros: minimum and maximum 0.
  EXPECT_EQ(Lookup(FTranslator, "mip").Code, trLengthOutside);

  PutU32(FFiles.Index, 100 + 4 * 11273, 87908);
  PutU32(FFiles.Language, 87912, 0xFFFFFF);              // 'mip' -> past the end
  PutU32(FFiles.Language, 100 + 4 * 11274, 0xFFFFFFFF);  // table runs past the end
  Open();
  EXPECT_TRUE(Lookup(FTranslator, "mip").Rows.empty());
  EXPECT_EQ(Lookup(FTranslator, "mipa ").Rows, std::vector<std::string>{"mipat=tion"});
}

TEST_F(MalformedFiles, CrossReferenceToACrossReference) {
  PutU32(FFiles.Language, 87912, 0x2C090001);  // 'mip' -> 'mips', itself indirect
  Open();
  const TLookup mip = Lookup(FTranslator, "mip");
  EXPECT_EQ(mip.Code, trFound);
  EXPECT_TRUE(mip.Rows.empty());
  // A cross-reference naming a bucket beyond the table.
  PutU32(FFiles.Language, 87916, 0xFFFF0000);
  Open();
  EXPECT_TRUE(Lookup(FTranslator, "mip ").Rows.empty());
}

TEST_F(MalformedFiles, PackedTextCutByTheEndOfTheFile) {
  // The last record, 'mipel', claims 200 characters it does not have.
  FFiles.Language[87960 + 8] = 200;
  Open();
  const TLookup mipel = Lookup(FTranslator, "mipe ");
  ASSERT_EQ(mipel.Rows.size(), 1u);
  // Zeros past the end decode as triples of U+0000: the text is as long as claimed.
  EXPECT_EQ(FTranslator.Translations()[0].size(), 200u);
}

TEST_F(MalformedFiles, HugeWordCountsAreBoundedByTheFiles) {
  // 65535 words of every length from 3 to 255: far more tails than the index holds.
  FFiles.Index[87908 + 1] = 255;
  FFiles.Index.resize(87908 + 2 + 2 * 253, 0xFF);
  Open();
  EXPECT_EQ(Lookup(FTranslator, "mip").Code, trLengthOutside);
  EXPECT_EQ(Lookup(FTranslator, "mip" + std::string(27, ' ')).Code, trLengthOutside);

  // 65535 three-letter words have no tails to hold, but their pointer slots lie
  // outside the language file: they match and add nothing.
  FFiles = WorkedExampleFiles();
  FFiles.Index[87908 + 2] = 0xFF;
  FFiles.Index[87908 + 3] = 0xFF;
  Open();
  const TLookup mip = Lookup(FTranslator, "mip");
  EXPECT_EQ(mip.Code, trFound);
  EXPECT_LE(mip.Rows.size(), 4u);
}

TEST_F(MalformedFiles, PointerSlotsOutsideTheLanguageFileAddNoPair) {
  // The table of bucket 11273 starts 8 bytes before the end: 'mip' and 'mips' have
  // their slots, 'mipat' and 'mipel' none.
  const uint32_t table = static_cast<uint32_t>(FFiles.Language.size() - 8);
  PutU32(FFiles.Language, table, 87928);
  PutU32(FFiles.Language, table + 4, 0x2C090003);  // 'mips' -> 'mipel', beyond the end
  for (uint32_t h = 11273; h <= 11273; ++h) PutU32(FFiles.Language, 100 + 4 * h, table);
  Open();
  EXPECT_EQ(Lookup(FTranslator, "mip").Rows, std::vector<std::string>{"mip=kories, mat"});
  EXPECT_TRUE(Lookup(FTranslator, "mip ").Rows.empty());
  EXPECT_TRUE(Lookup(FTranslator, "mipa ").Rows.empty());
}

// Every row a search of "mip" lists, one string.
std::string SearchRows(TTranslator& translator) {
  std::string rows;
  SearchTypedWord(translator, PLV_TEXT("mip"), [&](StringView16 word, StringView16 text) {
    rows += ToUtf8(ResultRow(word, text)) + "\n";
  });
  return rows;
}

TEST_F(MalformedFiles, AFileCutShortIsReportedWheneverItCostsARow) {
  Open();
  const std::string whole = SearchRows(FTranslator);
  ASSERT_EQ(std::count(whole.begin(), whole.end(), '\n'), 3);
  EXPECT_EQ(FTranslator.Damage(), TTranslator::dmNone);
  const TSampleFiles intact = FFiles;
  // Cut at every byte of the tables and records the search reads, in either file.
  for (const bool cutIndex : {false, true}) {
    const size_t size = cutIndex ? intact.Index.size() : intact.Language.size();
    for (size_t kept = 87000; kept < size; ++kept) {
      FFiles = intact;
      (cutIndex ? FFiles.Index : FFiles.Language).resize(kept);
      Open();
      const std::string rows = SearchRows(FTranslator);
      const unsigned damage = cutIndex ? TTranslator::dmIndex : TTranslator::dmData;
      if (rows != whole) {
        EXPECT_EQ(FTranslator.Damage(), damage) << cutIndex << " " << kept;
      }
      EXPECT_EQ(FTranslator.Damage() & ~damage, 0u);
    }
  }
  // Opening the files again forgets what was found.
  FFiles = intact;
  Open();
  EXPECT_EQ(FTranslator.Damage(), TTranslator::dmNone);
}

}  // namespace
}  // namespace parlivo::test
