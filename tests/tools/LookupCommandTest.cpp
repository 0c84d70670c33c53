// parlivo-lookup: arguments, the lexicon folder, cleaning and the printed rows.
#include <gtest/gtest.h>

#include <sstream>

#include "LookupCommand.h"
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
  int Run(std::vector<std::string> args) {
    std::vector<String16> wide;
    for (const auto& arg : args) wide.push_back(FromUtf8(arg));
    FOut.str({});
    FErr.str({});
    return RunLookup(wide, ToText(FDir.Path()), FOut, FErr);
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

}  // namespace
}  // namespace parlivo::test
