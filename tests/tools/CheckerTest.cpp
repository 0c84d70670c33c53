// The checker passes well-formed files and names the first thing wrong in broken ones.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <algorithm>

#include "LexiconChecker.h"
#include "ReverseLexicon.h"
#include "TestFiles.h"
#include "WorkedExample.h"

namespace parlivo::test {
namespace {

class Checker : public ::testing::Test {
 protected:
  void SetUp() override { FFiles = WorkedExampleFiles(); }
  // The problems the checker reports for the files as they are now.
  std::vector<std::string> Problems() {
    WriteBytes(FDir / "Index.plv", FFiles.Index);
    WriteBytes(FDir / "German.plv", FFiles.Language);
    return CheckLexicon((FDir / "Index.plv").string(), {(FDir / "German.plv").string()}).Problems;
  }
  void PutU32(std::vector<uint8_t>& file, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  TSampleFiles FFiles;
  TTempDir FDir;
};

TEST_F(Checker, WellFormedFilesPass) {
  EXPECT_TRUE(Problems().empty());
}

TEST_F(Checker, WordBlockFaults) {
  FFiles.Index[87908] = 2;
  EXPECT_EQ(
      Problems(),
      (std::vector<std::string>{
          "Index.plv: bucket 11273 (mip): word block at offset 87908: minimum length 2 is below 3",
          // Read with one more length count, the tails no longer fit.
          "Index.plv: bucket 11273 (mip): word block at offset 87908: tails run past the end of "
          "the "
          "file",
          "German.plv: bucket 11273 (mip): has a pointer table but the index has no valid word "
          "block for it"}));
  FFiles = WorkedExampleFiles();
  FFiles.Index.resize(87918);  // the last tail byte missing
  ASSERT_EQ(Problems().size(), 2u);
  EXPECT_NE(Problems()[0].find("tails run past the end of the file"), std::string::npos);
}

TEST_F(Checker, LanguageFileWithoutItsWordBlock) {
  // A table for bucket 0, which the index has no word block for.
  PutU32(FFiles.Language, 100, 87900);
  const auto problems = Problems();
  ASSERT_FALSE(problems.empty());
  EXPECT_EQ(problems[0].rfind("Index.plv: bucket 0 (...): word block at offset 0", 0), 0u)
      << problems[0];
}

TEST_F(Checker, PointerFaults) {
  PutU32(FFiles.Language, 87912, 0x2C090001);  // 'mip' -> 'mips', itself a cross-reference
  PutU32(FFiles.Language, 87920, 0x2C090009);  // 'mipat' -> word 9, which is not there
  PutU32(FFiles.Language, 87924, 0x03000000);  // 'mipel' -> bucket 768, no table
  EXPECT_EQ(Problems(),
            (std::vector<std::string>{"German.plv: bucket 11273 (mip): word 0: cross-reference to "
                                      "bucket 11273 (mip) word 1, which is a "
                                      "cross-reference itself",
                                      "German.plv: bucket 11273 (mip): word 1: cross-reference to "
                                      "bucket 11273 (mip) word 0, which is a "
                                      "cross-reference itself",
                                      "German.plv: bucket 11273 (mip): word 2: cross-reference to "
                                      "bucket 11273 (mip) word 9, which does not "
                                      "exist",
                                      "German.plv: bucket 11273 (mip): word 3: cross-reference to "
                                      "bucket 768 (.zk) word 0, which has no "
                                      "pointer table"}));
}

TEST_F(Checker, RecordsAndTablesOutsideTheFile) {
  PutU32(FFiles.Language, 87920, 90000);  // 'mipat' beyond the end
  FFiles.Language[87960 + 8] = 3;         // 'mipel' claims three characters it does not have
  EXPECT_EQ(Problems(), (std::vector<std::string>{"German.plv: bucket 11273 (mip): word 2: entry "
                                                  "record at offset 90000 lies outside the file",
                                                  "German.plv: bucket 11273 (mip): word 3: entry "
                                                  "record at offset 87960 is cut by the end of "
                                                  "the file"}));
  FFiles = WorkedExampleFiles();
  FFiles.Language.resize(87920);
  EXPECT_EQ(Problems(), std::vector<std::string>{
                            "German.plv: bucket 11273 (mip): pointer table at offset 87912 runs "
                            "past the end of the file"});
}

TEST_F(Checker, ACrossReferenceIntoATableOutsideTheFile) {
  // Bucket 11274 gets a table far past the end; 'mip' refers to its word 0.
  PutU32(FFiles.Language, 100 + 4 * 11274, 0x7FFFFFF0);
  PutU32(FFiles.Language, 100 + 4 * 11275, 87928);
  FFiles.Index.insert(FFiles.Index.end(), {3, 3, 1, 0});  // its word block: one word
  PutU32(FFiles.Index, 100 + 4 * 11274, static_cast<uint32_t>(FFiles.Index.size() - 4));
  PutU32(FFiles.Language, 87912, 0x2C0A0000);
  const auto problems = Problems();
  EXPECT_NE(std::find(problems.begin(), problems.end(),
                      "German.plv: bucket 11273 (mip): word 0: cross-reference to bucket 11274 "
                      "(miq) word 0, whose slot lies outside the file"),
            problems.end());
}

TEST_F(Checker, WhatIsNoFileIsReportedNotPassedOver) {
  std::filesystem::create_directory(FDir / "Index.plv");
  const auto folderIndex = CheckLexicon((FDir / "Index.plv").string(), {});
  ASSERT_EQ(folderIndex.Problems.size(), 1u);
  EXPECT_EQ(folderIndex.Problems[0].rfind("Index.plv: Cannot open file \"", 0), 0u)
      << folderIndex.Problems[0];
  std::filesystem::remove(FDir / "Index.plv");

  WriteBytes(FDir / "Index.plv", FFiles.Index);
  std::filesystem::create_directory(FDir / "French.plv");
#ifndef _WIN32
  std::filesystem::create_symlink(FDir / "nowhere", FDir / "Dutch.plv");  // a broken link
#endif
  const auto report = CheckLexicon((FDir / "Index.plv").string(),
                                   {(FDir / "French.plv").string(), (FDir / "Dutch.plv").string()});
  ASSERT_EQ(report.Problems.size(), 2u);
  EXPECT_EQ(report.Problems[0].rfind("French.plv: Cannot open file", 0), 0u) << report.Problems[0];
  EXPECT_EQ(report.Problems[1].rfind("Dutch.plv: Cannot open file", 0), 0u) << report.Problems[1];
}

#ifndef _WIN32
TEST_F(Checker, AFifoAndAHugeSparseFileCostNoWaitAndNoMemory) {
  WriteBytes(FDir / "Index.plv", FFiles.Index);
  ASSERT_EQ(::mkfifo((FDir / "French.plv").c_str(), 0600), 0);
  WriteBytes(FDir / "German.plv", FFiles.Language);
  std::filesystem::resize_file(FDir / "German.plv", 2ull << 30);  // 2 GiB, mostly holes
  rusage before{};
  getrusage(RUSAGE_SELF, &before);
  const auto report = CheckLexicon((FDir / "Index.plv").string(), {(FDir / "French.plv").string(),
                                                                   (FDir / "German.plv").string()});
  rusage after{};
  getrusage(RUSAGE_SELF, &after);
  EXPECT_EQ(report.Problems,
            std::vector<std::string>{"French.plv: Cannot open file \"" +
                                     (FDir / "French.plv").string() + "\". Not a regular file"});
  EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024);  // kilobytes
}
#endif

TEST_F(Checker, ShortFilesAndTheReportLimit) {
  FFiles.Language.resize(1000);
  EXPECT_EQ(Problems(),
            std::vector<std::string>{
                "German.plv: 1000 bytes, shorter than its bucket table of 87912 bytes"});
  FFiles.Index.resize(50);
  EXPECT_EQ(Problems(), std::vector<std::string>{
                            "Index.plv: 50 bytes, shorter than its bucket table of 87908 bytes"});

  FFiles = WorkedExampleFiles();
  for (uint32_t h = 0; h < 30; ++h) PutU32(FFiles.Language, 100 + 4 * h, h);  // 30 stray tables
  WriteBytes(FDir / "Index.plv", FFiles.Index);
  WriteBytes(FDir / "German.plv", FFiles.Language);
  const auto report =
      CheckLexicon((FDir / "Index.plv").string(), {(FDir / "German.plv").string()}, 5);
  EXPECT_EQ(report.Problems.size(), 5u);
  EXPECT_GE(report.ProblemCount, 30u);
  EXPECT_FALSE(report.Ok());
}

// A folder as parlivo-check-lexicon checks it: the sample as Index.plv and German.plv,
// and the sets of the other direction beside them.
class CheckedFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    const TSampleFiles files = WorkedExampleFiles();
    WriteBytes(FDir / "Index.plv", files.Index);
    WriteBytes(FDir / "German.plv", files.Language);
    WriteReverseSet(FDir.Path(), "German",
                    {{"haus", "Haus", "house"},
                     {"schon", "schon", "already"},
                     {"schon2", "schön", "beautiful"}});
    WriteReverseSet(FDir.Path(), "French", {{"eleve", "élève", "pupil"}});
  }
  TTempDir FDir;
};

TEST_F(CheckedFolder, EachSetOfTheOtherDirectionIsCheckedWithItsOwnIndex) {
  const TFolderCheck check = CheckLexiconFolder(FDir.Path());
  EXPECT_TRUE(check.Report.Problems.empty()) << check.Report.Problems.front();
  EXPECT_EQ(check.LanguageFiles, 1u);
  EXPECT_EQ(check.ReverseSets, 2u);
  // Checked against Index.plv, the German file of the other direction would not fit.
  const auto mixed =
      CheckLexicon((FDir / "Index.plv").string(), {(FDir / "FrenchEnglish.plv").string()});
  EXPECT_FALSE(mixed.Ok());
}

TEST_F(CheckedFolder, AHalfSetOrADamagedFileOfTheOtherDirectionIsReported) {
  std::filesystem::remove(FDir / "FrenchEnglish.plv");
  const auto language = FDir / "GermanEnglish.plv";
  std::filesystem::resize_file(language, std::filesystem::file_size(language) - 3);
  const TFolderCheck check = CheckLexiconFolder(FDir.Path());
  EXPECT_EQ(check.ReverseSets, 2u);
  ASSERT_EQ(check.Report.Problems.size(), 2u);
  EXPECT_EQ(check.Report.Problems[0].rfind("GermanEnglish.plv: bucket ", 0), 0u)
      << check.Report.Problems[0];
  EXPECT_NE(check.Report.Problems[0].find("is cut by the end of the file"), std::string::npos)
      << check.Report.Problems[0];
  EXPECT_EQ(check.Report.Problems[1].rfind("FrenchEnglish.plv: Cannot open file", 0), 0u)
      << check.Report.Problems[1];
  // A limit on the problems reported holds over all the sets.
  const TFolderCheck limited = CheckLexiconFolder(FDir.Path(), 1);
  EXPECT_EQ(limited.Report.Problems.size(), 1u);
  EXPECT_EQ(limited.Report.ProblemCount, 2u);
}

TEST_F(CheckedFolder, WithoutSetsOfTheOtherDirectionTheFolderIsCheckedAsBefore) {
  for (const char* name :
       {"IndexGerman.plv", "GermanEnglish.plv", "IndexFrench.plv", "FrenchEnglish.plv"})
    std::filesystem::remove(FDir / name);
  std::filesystem::create_directory(FDir / "Dutch.plv");  // reported, not passed over
  const TFolderCheck check = CheckLexiconFolder(FDir.Path());
  EXPECT_EQ(check.ReverseSets, 0u);
  EXPECT_EQ(check.LanguageFiles, 2u);
  ASSERT_EQ(check.Report.Problems.size(), 1u);
  EXPECT_EQ(check.Report.Problems[0].rfind("Dutch.plv: Cannot open file", 0), 0u);
}

}  // namespace
}  // namespace parlivo::test
