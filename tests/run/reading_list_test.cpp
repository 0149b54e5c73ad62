#include "run/reading_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ql {
namespace {

// Lines of every length that matters to the block layout: empty, a recorded
// line, one that straddles a block's end, and one longer than a block.
TEST(ReadingListTest, KeepsEveryLineExactlyAcrossBlockEnds) {
  const std::vector<std::string> lines = {
      "", std::string(61, 'a'), std::string(65536 - 61 - 3, 'b'), std::string(10, 'c'),
      std::string(200000, 'd'), "tail\n", std::string(1, '\xB5')};
  ReadingList list;
  for (const std::string& line : lines) list.Add(line);

  ASSERT_EQ(list.Count(), static_cast<int>(lines.size()));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(list.View(static_cast<int>(i)), lines[i]) << "line " << i;
    EXPECT_EQ(list.Line(static_cast<int>(i)), lines[i]) << "line " << i;
  }
}

// The total of lines added runs on across a reset: a face that echoes the
// lines a step added finds them as the last (total after - total before).
TEST(ReadingListTest, ResetEmptiesTheListAndItFillsAgain) {
  ReadingList list;
  for (int i = 0; i < 3000; ++i) list.Add(std::to_string(i));
  list.Reset();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.TotalAdded(), 3000);

  list.Add("after");
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.View(0), "after");
  EXPECT_EQ(list.TotalAdded(), 3001);
}

TEST(ReadingListTest, EarlierViewsStayValidWhileLinesAreAdded) {
  ReadingList list;
  list.Add("first");
  const std::string_view first = list.View(0);
  for (int i = 0; i < 5000; ++i) list.Add(std::string(61, 'x'));
  EXPECT_EQ(first, "first");
}

}  // namespace
}  // namespace ql
