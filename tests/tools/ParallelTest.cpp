// The builder's languages built side by side: every one built once, a failure reported,
// and a log whose lines stay whole.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "Parallel.h"

namespace parlivo::test {
namespace {

TEST(RunInParallel, EveryItemOnceAndTheFirstFailureReachesTheCaller) {
  std::vector<std::atomic<int>> calls(500);
  RunInParallel(calls.size(), [&](size_t item) { ++calls[item]; });
  for (size_t item = 0; item < calls.size(); ++item) EXPECT_EQ(calls[item], 1) << item;

  bool called = false;
  RunInParallel(0, [&](size_t) { called = true; });
  EXPECT_FALSE(called);

  std::atomic<int> ended = 0;
  try {
    RunInParallel(4, [&](size_t item) {
      if (item == 1) throw std::runtime_error("no sources for item 1");
      ++ended;
    });
    ADD_FAILURE() << "the failure was swallowed";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "no sources for item 1");
  }
  EXPECT_LE(ended, 3);
}

TEST(LineLog, LinesOfThreadsStayWholeAndAnUnendedLineIsKept) {
  {
    // Progress flushed in the middle of a line waits for the line's end.
    std::ostringstream target;
    {
      TLineLog german(target), french(target);
      german << "German:  50,000 index lines" << std::flush;
      french << "French: reading" << std::endl;
      EXPECT_EQ(target.str(), "French: reading\n");
      german << "  90,000 index lines" << std::endl << "German: judging";
    }
    EXPECT_EQ(target.str(),
              "French: reading\nGerman:  50,000 index lines  90,000 index lines\n"
              "German: judging\n");
  }
  std::ostringstream target;
  constexpr size_t kWriters = 4, kLines = 300;
  RunInParallel(kWriters, [&](size_t writer) {
    TLineLog log(target);
    for (size_t line = 0; line < kLines; ++line) {
      // Written in pieces, flushed in between, as progress is.
      log << "writer " << writer << std::flush << ": line " << line << std::flush;
      log << " done" << std::endl;
    }
    log << "writer " << writer << " ends";
  });
  std::set<std::string> lines;
  std::istringstream written(target.str());
  for (std::string line; std::getline(written, line);) lines.insert(line);
  std::set<std::string> expected;
  for (size_t writer = 0; writer < kWriters; ++writer) {
    for (size_t line = 0; line < kLines; ++line)
      expected.insert("writer " + std::to_string(writer) + ": line " + std::to_string(line) +
                      " done");
    expected.insert("writer " + std::to_string(writer) + " ends");
  }
  EXPECT_EQ(lines, expected);
  const std::string all = target.str();  // and no line twice
  EXPECT_EQ(static_cast<size_t>(std::count(all.begin(), all.end(), '\n')), expected.size());
}

}  // namespace
}  // namespace parlivo::test
