#include "StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace parlivo {
namespace {

// Strings of many lengths, some written in place into more room than they take, across
// several growths of the buffer and a clear that reuses it.
TEST(StringList, KeepsEveryStringWholeAcrossGrowthAndReuse) {
  TStringList list;
  for (int round = 0; round < 2; ++round) {
    std::vector<String16> expected;
    list.Clear();
    EXPECT_TRUE(list.empty());
    for (size_t i = 0; i < 300; ++i) {
      String16 text(i % 37, static_cast<Char16>('a' + (i + round) % 26));
      if (i % 3 == 0) {
        Char16* room = list.Reserve(text.size() + 50);
        std::fill_n(room, text.size() + 50, Char16{'#'});
        std::copy(text.begin(), text.end(), room);
        list.Commit(text.size());
      } else {
        list.Add(text);
      }
      expected.push_back(text);
    }
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(list[i], expected[i]) << i;
  }
}

// Room reserved and not committed is no string: the next string takes its place.
TEST(StringList, RoomNotCommittedAddsNothing) {
  TStringList list;
  list.Add(PLV_TEXT("mip"));
  std::fill_n(list.Reserve(10), 10, Char16{'x'});
  list.Add(PLV_TEXT("at"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0], PLV_TEXT("mip"));
  EXPECT_EQ(list[1], PLV_TEXT("at"));
}

}  // namespace
}  // namespace parlivo
