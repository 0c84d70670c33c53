// The lexicon builder and the folder it replaces: the set swapped in whole, builds into
// one target one at a time, the folders beside it that it may and may not touch, the
// ways a target is written, and the memory a source too big for the format takes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "LexiconBuilder.h"
#include "LexiconChecker.h"
#include "LexiconFixtures.h"
#include "LookupCommand.h"
#include "PeakHeap.h"
#include "TestFiles.h"

extern char** environ;

namespace parlivo::test {
namespace {

namespace fs = std::filesystem;

class BuildFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream((FDir / "de.tsv").string()) << "house\tHaus\nmoon\tMond\n";
    std::ofstream((FDir / "fr.tsv").string()) << "house\tmaison\nsun\tsoleil\n";
    std::ofstream((FDir / "de2.tsv").string()) << "hello\tHallo\nhouse\tHaus\n";
    BuildLexicon(Files().string(), {Tsv("German", "de.tsv"), Tsv("French", "fr.tsv")},
                 TBuildOptions{}, FLog);
    FBefore = Contents();
  }
  TLanguageSource Tsv(const std::string& language, const std::string& file) {
    return {language, TSourceFormat::TabSeparated, (FDir / file).string()};
  }
  fs::path Files() { return FDir / "Files"; }
  std::string Lookup(const std::string& language, const std::string& word) {
    return LookedUp(FDir.Path(), {language, word});
  }
  // Every file in the temporary folder and below, with its bytes; the sources and the
  // build lock aside.
  std::map<std::string, std::string> Contents() {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(FDir.Path())) {
      if (!entry.is_regular_file() || entry.path().extension() == ".tsv" ||
          entry.path().filename() == ".Files.parlivo-lock")
        continue;
      std::ifstream file(entry.path(), std::ios::binary);
      contents[fs::relative(entry.path(), FDir.Path()).generic_string()] =
          std::string(std::istreambuf_iterator<char>(file), {});
    }
    return contents;
  }
  // A working folder as a build stopped at the given point leaves it.
  fs::path StoppedBuildFolder(const std::string& pid) {
    const fs::path work = FDir / (".Files.parlivo-build-" + pid);
    fs::create_directories(work / "new");
    std::ofstream((work / kWorkMarkName).string(), std::ios::binary) << WorkMarkText(Files());
    return work;
  }
  // Builds target from a German tsv source that no language file can hold.
  void ExpectRefusedAsTooBig(const fs::path& target, const fs::path& tsv) {
    try {
      BuildLexicon(target.string(), {{"German", TSourceFormat::TabSeparated, tsv.string()}},
                   TBuildOptions{}, FLog);
      FAIL() << "a language file beyond 16 MiB was written";
    } catch (const ELexiconLimit& error) {
      EXPECT_EQ(std::string(error.what()),
                "German.plv: language file exceeds the 16 MiB reachable by direct offsets");
    }
  }
  TTempDir FDir;
  std::ostringstream FLog;
  std::map<std::string, std::string> FBefore;
};

TEST_F(BuildFolder, RebuildingOneLanguageReplacesTheWholeSet) {
  const auto summary =
      BuildLexicon(Files().string(), {Tsv("German", "de2.tsv")}, TBuildOptions{}, FLog);
  EXPECT_EQ(summary.Removed, std::vector<std::string>{"French.plv"});
  EXPECT_NE(FLog.str().find("Removed French.plv"), std::string::npos);
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(FDir.Path()))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names,
            (std::set<std::string>{".Files.parlivo-lock", "Files", "de.tsv", "de2.tsv", "fr.tsv"}));
  EXPECT_EQ(Lookup("German", "hel"), "hello=Hallo\nFound: 1\n");
  const auto report =
      CheckLexicon((Files() / "Index.plv").string(), {(Files() / "German.plv").string()});
  EXPECT_TRUE(report.Ok());
}

TEST_F(BuildFolder, AFailureBetweenTheRenamesLeavesTheOldSetComplete) {
  for (int failing : {1, 2}) {
    int renames = 0;
    TFolderSteps steps = TFolderSteps::System();
    steps.Exchange = [](const auto&, const auto&) { return false; };  // as on Windows
    const auto rename = steps.Rename;
    steps.Rename = [&](const fs::path& from, const fs::path& to) {
      if (++renames == failing) throw fs::filesystem_error("injected", from, to, std::error_code());
      rename(from, to);
    };
    EXPECT_THROW(
        BuildLexicon(Files().string(), {Tsv("German", "de2.tsv")}, TBuildOptions{}, FLog, steps),
        fs::filesystem_error)
        << failing;
    EXPECT_EQ(Contents(), FBefore) << "failing rename " << failing;
  }
  // Without a failure the same steps go through.
  TFolderSteps steps = TFolderSteps::System();
  steps.Exchange = [](const auto&, const auto&) { return false; };
  BuildLexicon(Files().string(), {Tsv("German", "de2.tsv")}, TBuildOptions{}, FLog, steps);
  EXPECT_EQ(Lookup("German", "hel"), "hello=Hallo\nFound: 1\n");
}

TEST_F(BuildFolder, AStoppedBuildIsUndoneAndAFolderWithOtherFilesIsRefused) {
  // Stopped between the two renames: the old set waits in the working folder.
  fs::rename(Files(), StoppedBuildFolder("4242") / "old");
  // Stopped while writing the new set.
  std::ofstream((StoppedBuildFolder("4243") / "new" / "Index.plv").string()) << "half";
  RecoverInterruptedSwap(Files(), FLog);
  EXPECT_EQ(Contents(), FBefore);
  EXPECT_NE(FLog.str().find("Restored " + Files().string()), std::string::npos);

  std::ofstream((Files() / "notes.txt").string()) << "mine";
  FBefore = Contents();
  try {
    BuildLexicon(Files().string(), {Tsv("German", "de2.tsv")}, TBuildOptions{}, FLog);
    FAIL() << "a folder with other files was replaced";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()),
              Files().string() +
                  " holds notes.txt, which is no lexicon file: build into a lexicon folder or a "
                  "new one");
  }
  EXPECT_EQ(Contents(), FBefore);
}

TEST_F(BuildFolder, FoldersBesideTheTargetThatTheBuilderDidNotMakeAreNeverTouched) {
  // A user's backups and drafts, a folder named like a working folder but not marked as
  // one, and one marked for another target.
  for (const char* name : {"Files.old-backup", "Files.new-draft", "Files.old-1",
                           ".Files.parlivo-build-77", ".Other.parlivo-build-78"}) {
    fs::create_directory(FDir / name);
    std::ofstream((FDir / name / "Index.plv").string()) << "user's own " << name;
  }
  std::ofstream((FDir / ".Other.parlivo-build-78" / kWorkMarkName).string())
      << WorkMarkText(FDir / "Other");
  FBefore = Contents();
  // With the target there, and missing, as after a stopped swap.
  BuildLexicon(Files().string(), {Tsv("German", "de2.tsv")}, TBuildOptions{}, FLog);
  fs::remove_all(Files());
  BuildLexicon(Files().string(), {Tsv("German", "de2.tsv")}, TBuildOptions{}, FLog);
  EXPECT_EQ(FLog.str().find("Restored"), std::string::npos) << FLog.str();
  auto after = Contents();
  for (const auto& [name, bytes] : FBefore) {
    if (name.rfind("Files/", 0) != 0) EXPECT_EQ(after[name], bytes) << name;
  }
  EXPECT_EQ(Lookup("German", "hel"), "hello=Hallo\nFound: 1\n");
}

TEST_F(BuildFolder, ATargetIsTheSameWrittenWithATrailingSeparatorOrDots) {
  const fs::path cwd = fs::current_path();
  fs::current_path(FDir.Path());
  const std::vector<std::string> spellings = {"New/", "./New", "New/.", "New//"};
  for (const auto& spelling : spellings) {
    FLog.str({});
    EXPECT_NO_THROW(BuildLexicon(spelling,
                                 {Tsv("German", spelling == "New/" ? "de.tsv" : "de2.tsv")},
                                 TBuildOptions{}, FLog))
        << spelling;
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(FDir.Path()))
      names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{".Files.parlivo-lock", ".New.parlivo-lock", "Files",
                                            "New", "de.tsv", "de2.tsv", "fr.tsv"}))
        << spelling;
  }
  fs::current_path(cwd);
  std::ostringstream out, err;
  RunLookup({PLV_TEXT("--files"), ToText(FDir / "New"), PLV_TEXT("German"), PLV_TEXT("hel")}, {},
            out, err);
  EXPECT_EQ(out.str(), "hello=Hallo\nFound: 1\n");
  EXPECT_THROW(BuildLexicon("/", {Tsv("German", "de.tsv")}, TBuildOptions{}, FLog),
               std::runtime_error);
}

// Runs the builder as a process of its own; returns its process id.
pid_t StartBuilder(const std::vector<std::string>& arguments, const fs::path& log) {
  std::vector<std::string> all = {PARLIVO_BUILDER};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 ? pid : -1;
}

int ExitCodeOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string FileText(const fs::path& path) {
  std::ifstream file(path);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(BuildFolder, TwoBuildsStartedTogetherTakeTurnsAndLeaveOneWholeSet) {
  const std::string german = "German=tsv:" + (FDir / "de.tsv").string();
  const std::string other = "German=tsv:" + (FDir / "de2.tsv").string();
  for (int round = 0; round < 6; ++round) {
    const pid_t first = StartBuilder({Files().string(), german}, FDir / "first.log");
    const pid_t second = StartBuilder({Files().string() + "/", other}, FDir / "second.log");
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_EQ(ExitCodeOf(first), 0) << FileText(FDir / "first.log");
    EXPECT_EQ(ExitCodeOf(second), 0) << FileText(FDir / "second.log");
    const auto report =
        CheckLexicon((Files() / "Index.plv").string(), {(Files() / "German.plv").string()});
    EXPECT_TRUE(report.Ok()) << round;
    // One build's set or the other's, whole.
    EXPECT_EQ(Lookup("German", "house"), "house=Haus\nFound: 1\n");
    EXPECT_NE(Lookup("German", "moon") == "moon=Mond\nFound: 1\n",
              Lookup("German", "hello") == "hello=Hallo\nFound: 1\n");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(Files()))
      names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"German.plv", "Index.plv"})) << round;
    for (const auto& entry : fs::directory_iterator(FDir.Path()))
      EXPECT_EQ(entry.path().filename().string().find(".Files.parlivo-build-"), std::string::npos);
  }
}

TEST_F(BuildFolder, ASourceTooBigForTheFormatIsRefusedEarlyAndInLittleMemory) {
  // Distinct lines: every one a record of its own. Some 40 MB, two and a half times
  // what a language file can hold.
  const fs::path big = FDir / "big.tsv";
  {
    std::ofstream tsv(big.string());
    uint32_t state = 12345;
    auto letter = [&] {
      state = state * 1103515245 + 12345;
      return static_cast<char>('a' + (state >> 16) % 26);
    };
    char line[64];
    for (int i = 0; i < 800000; ++i) {
      for (int c = 0; c < 10; ++c) line[c] = letter();
      const int digits = std::snprintf(line + 10, 12, "%d\t", i);
      char* text = line + 10 + digits;
      for (int c = 0; c < 36; ++c) text[c] = c % 9 == 8 ? ' ' : letter();
      text[36] = '\n';
      tsv.write(line, text + 37 - line);
    }
  }
  ASSERT_GT(fs::file_size(big), 40'000'000u);
  const TPeakHeap heap;
  ExpectRefusedAsTooBig(FDir / "Big", big);
  EXPECT_FALSE(fs::exists(FDir / "Big"));
  if (TPeakHeap::Measurable()) {
    // A language file holds at most 16 MiB; reading the whole source held thirty times that.
    EXPECT_LT(heap.PeakBytes(), 6u * (16u << 20)) << heap.PeakBytes();
  }
}

TEST_F(BuildFolder, FailsClearlyWhenAFileWouldPassTheFormatsLimits) {
  // Accented letters take a code word each: distinct texts of 255 of them take 519
  // bytes, and 33,000 pass the 16 MiB that direct offsets reach.
  std::ofstream tsv((FDir / "big.tsv").string());
  uint32_t state = 12345;
  auto next = [&] {
    state = state * 1103515245 + 12345;
    return (state >> 16) % 26;
  };
  for (int i = 0; i < 33000; ++i) {
    std::string word = "w";
    for (int c = 0; c < 8; ++c) word += static_cast<char>('a' + next());
    std::string text;
    for (int c = 0; c < 255; ++c) text += ToUtf8(String16(1, static_cast<Char16>(0xC0 + next())));
    tsv << word << '\t' << text << '\n';
  }
  tsv.close();
  fs::create_directory(FDir / "Empty");
  ExpectRefusedAsTooBig(FDir / "Empty", FDir / "big.tsv");
  EXPECT_TRUE(fs::is_empty(FDir / "Empty"));
}

}  // namespace
}  // namespace parlivo::test
