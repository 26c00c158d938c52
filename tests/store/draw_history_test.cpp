#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "store/DrawHistory.h"

namespace store {
namespace {

// A draw read, or a refusal, as one line of a golden file.
std::string Described(const DrawsRead& read) {
  std::string text;
  for (const Draw& draw : read.draws) {
    text += DrawDayText(draw.date) + " #" + std::to_string(draw.number) + ":";
    for (const int ball : draw.balls) {
      text += " " + std::to_string(ball);
    }
    text += " + " + std::to_string(draw.bonus) + " [" + draw.ballSet + "] [" + draw.machine + "]\n";
  }
  for (const RefusedDraw& refused : read.refused) {
    text += "line " + std::to_string(refused.line) + ": " + refused.reason + "\n";
  }
  return text;
}

struct GoldenCase {
  const char* name;
  const char* input;
  const char* expected;
};

class DrawsGoldenTest : public testing::TestWithParam<GoldenCase> {};

TEST_P(DrawsGoldenTest, ReadsAsExpected) {
  const std::string folder = std::string(DRAWS_DIR) + "/";
  const DrawsRead read = ReadDraws(test_support::ReadBytes(folder + GetParam().input));
  EXPECT_EQ(Described(read), test_support::ReadBytes(folder + GetParam().expected));
  EXPECT_EQ(read.refusedCount, read.refused.size());
}

INSTANTIATE_TEST_SUITE_P(
    Draws, DrawsGoldenTest,
    testing::Values(GoldenCase{"published", "published.csv", "published.expected"},
                    GoldenCase{"publishedUtf16", "published-utf16.csv", "published.expected"},
                    GoldenCase{"olderColumns", "older.csv", "older.expected"},
                    GoldenCase{"plainLines", "plain.txt", "plain.expected"},
                    GoldenCase{"headingWithoutBalls", "no-balls.csv", "no-balls.expected"}),
    [](const testing::TestParamInfo<GoldenCase>& info) { return info.param.name; });

Draw MakeDraw(DrawDay day, int number, std::array<int, 6> balls, int bonus) {
  Draw draw;
  draw.date = day;
  draw.number = number;
  draw.balls = balls;
  draw.bonus = bonus;
  return draw;
}

const Draw kFirst = MakeDraw(20260214, 3146, {3, 7, 21, 40, 44, 59}, 2);
const Draw kSecond = MakeDraw(20260218, 3147, {1, 11, 12, 13, 18, 49}, 33);

TEST(DrawMerge, AddsNewLeavesSameAndKeepsConflictsUnlessReplaced) {
  std::vector<Draw> history = {kFirst};
  Draw reordered = kFirst;
  std::swap(reordered.balls[0], reordered.balls[5]);
  Draw different = kFirst;
  different.bonus = 4;
  DrawMerge merge = MergeDraws(history, {kSecond, reordered, different}, false);
  EXPECT_EQ(merge.added, 1u);
  EXPECT_EQ(merge.unchanged, 1u);
  ASSERT_EQ(merge.conflicts.size(), 1u);
  EXPECT_EQ(merge.replaced, 0u);
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].number, 3147);  // newest first
  EXPECT_EQ(history[1].bonus, 2);

  merge = MergeDraws(history, {different}, true);
  EXPECT_EQ(merge.replaced, 1u);
  EXPECT_EQ(history[1].bonus, 4);
}

TEST(DrawMerge, DrawWithoutNumberIsTheSameDrawByItsDay) {
  std::vector<Draw> history = {kFirst};
  Draw byDay = kFirst;
  byDay.number = 0;
  EXPECT_EQ(MergeDraws(history, {byDay}, false).unchanged, 1u);
  byDay.balls[0] = 4;
  EXPECT_EQ(MergeDraws(history, {byDay}, true).replaced, 1u);
  EXPECT_EQ(history[0].number, 3146);  // the stored number stays
}

class DrawHistoryFileTest : public store_test::TempFolderTest {};

TEST_F(DrawHistoryFileTest, ImportWritesThePublishedFormAndReportsConflicts) {
  const std::string path = PathOf("pelmora/draws.csv");
  Result<DrawMerge> merge = AddToDrawHistory(path, {kFirst, kSecond}, false);
  ASSERT_TRUE(merge) << merge.error().reason;
  EXPECT_EQ(merge->added, 2u);
  EXPECT_EQ(ReadBytes(path),
            "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,"
            "DrawNumber\n"
            "18-Feb-2026,1,11,12,13,18,49,33,,,3147\n"
            "14-Feb-2026,3,7,21,40,44,59,2,,,3146\n");

  Draw changed = kSecond;
  changed.balls[5] = 50;
  merge = AddToDrawHistory(path, {kSecond, changed}, false);
  ASSERT_TRUE(merge);
  EXPECT_EQ(merge->unchanged, 1u);
  EXPECT_EQ(merge->conflicts.size(), 1u);
  EXPECT_EQ(ReadDrawHistory(path)->draws[0].balls[5], 49);

  ASSERT_TRUE(AddToDrawHistory(path, {changed}, true));
  EXPECT_EQ(ReadDrawHistory(path)->draws[0].balls[5], 50);
}

TEST_F(DrawHistoryFileTest, HistoryWithUnreadableRowIsLeftAsItIs) {
  const std::string path = PathOf("draws.csv");
  const std::string bytes =
      "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6\n"
      "18-Feb-2026,1,11,12,13,18,99\n";
  WriteBytes(path, bytes);
  const Result<DrawMerge> merge = AddToDrawHistory(path, {kFirst}, false);
  ASSERT_FALSE(merge);
  EXPECT_NE(merge.error().reason.find("line 2"), std::string::npos);
  EXPECT_EQ(ReadBytes(path), bytes);
}

}  // namespace
}  // namespace store
