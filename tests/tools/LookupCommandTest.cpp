// parlivo-lookup: arguments, the lexicon folder, cleaning and the printed rows.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "LexiconWriter.h"
#include "LookupCommand.h"
#include "ReverseLexicon.h"
#include "TestFiles.h"
#include "WorkedExample.h"

namespace parlivo::test {
namespace {

class LookupCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(FDir / "Files");
    const TSampleFiles files = WorkedExampleFiles();
    WriteBytes(FDir / "Files" / "Index.plv", files.Index);
    WriteBytes(FDir / "Files" / "French.plv", files.Language);
  }
  int Run(std::vector<std::string> args, const std::function<void()>& betweenOpens = {}) {
    std::vector<String16> wide;
    for (const auto& arg : args) wide.push_back(FromUtf8(arg));
    FOut.str({});
    FErr.str({});
    return RunLookup(wide, ToText(FDir.Path()), FOut, FErr, betweenOpens);
  }
  // A German set of the words and texts given, in folder.
  static void WriteSet(const std::filesystem::path& folder,
                       const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<std::string> words;
    for (const auto& [word, text] : entries) words.push_back(word);
    const TLexiconIndex index(words);
    TLanguageFileBuilder language(index, TSharing::EqualOffsets);
    for (const auto& [word, text] : entries) language.Set(word, PackText(text));
    std::filesystem::create_directories(folder);
    WriteBytes(folder / "Index.plv", index.FileBytes());
    WriteBytes(folder / "German.plv", language.FileBytes());
  }
  TTempDir FDir;
  std::ostringstream FOut;
  std::ostringstream FErr;
};

TEST_F(LookupCommand, PrintsTheRowsOfTheWindowsSearchThenTheCount) {
  ASSERT_EQ(Run({"French", "Mi-p 1"}), 0) << FErr.str();
  EXPECT_EQ(FOut.str(), "mip=kories, mat\nmips=kories, mat\nmipat=tion\nFound: 3\n");
  ASSERT_EQ(Run({"French", "mipa"}), 0);
  EXPECT_EQ(FOut.str(), "mipat=tion\nFound: 1\n");
  ASSERT_EQ(Run({"--files", ToUtf8(ToText(FDir / "Files")), "French", "zzz"}), 0);
  EXPECT_EQ(FOut.str(), "Found: 0\n");
  EXPECT_EQ(FErr.str(), "");
}

TEST_F(LookupCommand, ReadsOneSetWhileABuildSwapsInTheNext) {
  // In the new set a word sorts before "house": mixed with the old language file, the
  // index's word numbers would give "house" the text of another word.
  const auto files = FDir / "Files";
  const auto built = FDir / "Built";
  const auto old = FDir / "Old";
  WriteSet(files, {{"house", "Haus"}, {"housing", "Wohnung"}});
  const std::string oldRows = "house=Haus\nFound: 1\n";
  const std::string newRows = "house=Haus, Heim\nFound: 1\n";
  for (const bool oldSetRemoved : {false, true}) {
    WriteSet(built, {{"hound", "Hund"}, {"house", "Haus, Heim"}, {"housing", "Wohnung"}});
    bool swapped = false;
    auto swap = [&] {
      // As the builder swaps: the old set steps aside, the new one takes its name.
      if (swapped) return;
      std::error_code error;
      std::filesystem::rename(files, old, error);
      if (error) return;  // Windows: nobody renames a folder that is held
      std::filesystem::rename(built, files);
      if (oldSetRemoved) std::filesystem::remove_all(old);
      swapped = true;
    };
    ASSERT_EQ(Run({"German", "house"}, swap), 0) << FErr.str();
#ifdef _WIN32
    EXPECT_FALSE(swapped);  // the folder is held without delete sharing
#else
    EXPECT_TRUE(swapped);
#endif
    // The files of the set that was there at the first open, or, where that set went
    // before its language file was opened, all of the new one.
    EXPECT_EQ(FOut.str(), swapped && oldSetRemoved ? newRows : oldRows) << oldSetRemoved;
    ASSERT_EQ(Run({"German", "house"}), 0);
    EXPECT_EQ(FOut.str(), swapped ? newRows : oldRows);
    // The old set back for the next round.
    std::filesystem::remove_all(built);
    if (swapped) std::filesystem::rename(files, built);
    std::filesystem::remove_all(files);
    if (std::filesystem::exists(old)) std::filesystem::rename(old, files);
    if (!std::filesystem::exists(files))
      WriteSet(files, {{"house", "Haus"}, {"housing", "Wohnung"}});
  }
}

TEST_F(LookupCommand, ADamagedFileIsReportedAfterTheRowsFound) {
  const auto files = FDir / "Files";
  std::vector<std::pair<std::string, std::string>> entries;
  for (int i = 0; i < 400; ++i) {
    std::string word = "house";
    for (int n = i; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
    entries.emplace_back(word, "Haus Nummer " + std::to_string(i));
  }
  WriteSet(files, entries);
  ASSERT_EQ(Run({"German", "house"}), 0);
  const std::string whole = FOut.str();
  EXPECT_NE(whole.find("Found: 400\n"), std::string::npos);
  EXPECT_EQ(FErr.str(), "");

  // Cut short, as by an interrupted copy: fewer rows, and the damage said.
  const auto language = files / "German.plv";
  std::filesystem::resize_file(language, std::filesystem::file_size(language) * 3 / 4);
  EXPECT_EQ(Run({"German", "house"}), 1);
  EXPECT_NE(FOut.str(), whole);
  EXPECT_EQ(FOut.str().rfind("Found: "), FOut.str().find("Found: "));
  EXPECT_EQ(FErr.str(), "German.plv is damaged: run parlivo-check-lexicon\n");

  // An index of random bytes.
  WriteSet(files, entries);
  std::vector<uint8_t> noise(std::filesystem::file_size(files / "Index.plv"));
  uint32_t state = 99;
  for (auto& byte : noise) byte = static_cast<uint8_t>((state = state * 1103515245 + 12345) >> 16);
  WriteBytes(files / "Index.plv", noise);
  EXPECT_EQ(Run({"German", "house"}), 1);
  EXPECT_EQ(FErr.str(), "Index.plv is damaged: run parlivo-check-lexicon\n");
}

TEST_F(LookupCommand, ReportsWrongArgumentsAndMissingFiles) {
  EXPECT_EQ(Run({"French"}), 2);
  EXPECT_NE(FErr.str().find("usage:"), std::string::npos);
  EXPECT_EQ(Run({"french", "mip"}), 2);
  EXPECT_NE(FErr.str().find("unknown language \"french\""), std::string::npos);
  EXPECT_EQ(Run({"German", "mip"}), 1);
  EXPECT_EQ(FErr.str().rfind(
                "Cannot open file \"" + ToUtf8(ToText(FDir / "Files" / "German.plv")) + "\". ", 0),
            0u)
      << FErr.str();
}

TEST_F(LookupCommand, FromALanguageListsItsWordsAsSpeltWithTheirEnglishTexts) {
  WriteReverseSet(FDir / "Files", "German",
                  {{"haus", "Haus", "house"},
                   {"hauser", "Häuser", "houses"},
                   {"schon", "schon", "already"},
                   {"schon2", "schön", "beautiful"}});
  ASSERT_EQ(Run({"--from", "German", "häuser"}), 0) << FErr.str();
  EXPECT_EQ(FOut.str(), "Häuser=houses\nFound: 1\n");
  // Cleaned as the window cleans it, accents kept.
  ASSERT_EQ(Run({"--from", "German", "Hä-u 2ser"}), 0);
  EXPECT_EQ(FOut.str(), "Häuser=houses\nFound: 1\n");
  ASSERT_EQ(Run({"--files", ToUtf8(ToText(FDir / "Files")), "--from", "German", "SCHÖN"}), 0);
  EXPECT_EQ(FOut.str(), "schon=already\nschön=beautiful\nFound: 2\n");
  ASSERT_EQ(Run({"--from", "German", "hau"}), 0);
  EXPECT_EQ(FOut.str(), "Haus=house\nHäuser=houses\nFound: 2\n");
  EXPECT_EQ(FErr.str(), "");
  // The other direction of the same folder reads its own set as before.
  ASSERT_EQ(Run({"French", "mipa"}), 0);
  EXPECT_EQ(FOut.str(), "mipat=tion\nFound: 1\n");
}

TEST_F(LookupCommand, FromReportsWrongArgumentsMissingAndDamagedFiles) {
  EXPECT_EQ(Run({"--from", "English", "house"}), 2);
  EXPECT_EQ(FErr.str(),
            "no other direction for \"English\"; one of: German French Dutch Italian Spanish "
            "Portuguese\n");
  EXPECT_EQ(Run({"--from", "Klingon", "qapla"}), 2);
  EXPECT_EQ(FErr.str().rfind("unknown language \"Klingon\"", 0), 0u);
  EXPECT_EQ(Run({"--from", "German"}), 2);
  EXPECT_NE(FErr.str().find("--from LANGUAGE WORD"), std::string::npos);
  EXPECT_EQ(Run({"--from", "German", "German", "haus"}), 2);
  // French's English file is there, its reverse set is not.
  EXPECT_EQ(Run({"--from", "French", "maison"}), 1);
  EXPECT_EQ(
      FErr.str().rfind(
          "Cannot open file \"" + ToUtf8(ToText(FDir / "Files" / "IndexFrench.plv")) + "\". ", 0),
      0u)
      << FErr.str();

  std::vector<TReverseEntry> entries;
  for (int i = 0; i < 400; ++i) {
    std::string suffix;
    for (int n = i; n > 0; n /= 26) suffix += static_cast<char>('a' + n % 26);
    entries.push_back({"haus" + suffix, "Häus" + suffix, "house " + std::to_string(i)});
  }
  WriteReverseSet(FDir / "Files", "German", entries);
  ASSERT_EQ(Run({"--from", "German", "häus"}), 0);
  const std::string whole = FOut.str();
  EXPECT_NE(whole.find("Found: 400\n"), std::string::npos);
  const auto language = FDir / "Files" / "GermanEnglish.plv";
  std::filesystem::resize_file(language, std::filesystem::file_size(language) * 3 / 4);
  EXPECT_EQ(Run({"--from", "German", "häus"}), 1);
  EXPECT_NE(FOut.str(), whole);
  EXPECT_EQ(FErr.str(), "GermanEnglish.plv is damaged: run parlivo-check-lexicon\n");
}

}  // namespace
}  // namespace parlivo::test
