#include "spreadsheet/row_runs.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace tavrin {
namespace {

using Runs = RowRuns<int>;
using RunOf = Runs::Run;

// The plain model: one entry a row, moved as rows move.
void MoveEntries(std::map<int, int>& byRow, int at, int count) {
  std::map<int, int> moved;
  for (auto [row, value] : byRow) {
    if (row < at) {
      moved[row] = value;
    } else if (count > 0 ? row + count <= kLastRow : row >= at - count) {
      moved[row + count] = value;
    }
  }
  byRow = std::move(moved);
}

// Runs are sorted, apart, never empty, and never two touching ones with one value.
void ExpectTight(const Runs& runs) {
  const std::vector<RunOf>& list = runs.Runs();
  for (size_t k = 0; k < list.size(); ++k) {
    EXPECT_LE(list[k].first, list[k].last);
    EXPECT_LE(list[k].last, kLastRow);
    if (k == 0) continue;
    EXPECT_LT(list[k - 1].last, list[k].first);
    EXPECT_FALSE(list[k - 1].last + 1 == list[k].first && list[k - 1].value == list[k].value)
        << "runs " << k - 1 << " and " << k << " should be one";
  }
}

TEST(RowRunsTest, RowsOfOneValueAreOneRunThatInsertionsSplitAndDeletionsJoin) {
  Runs runs;
  for (int row = 1; row <= kLastRow; ++row) runs.Set(row, 15);
  EXPECT_EQ(runs.Runs(), (std::vector<RunOf>{{1, kLastRow, 15}}));
  runs.Move(100, 2);
  EXPECT_EQ(runs.Runs(), (std::vector<RunOf>{{1, 99, 15}, {102, kLastRow, 15}}))
      << "the inserted rows have no value; the rows pushed past the last row go";
  runs.Set(100, 15);
  runs.Set(101, 15);
  EXPECT_EQ(runs.Runs(), (std::vector<RunOf>{{1, kLastRow, 15}}));
  runs.Move(10, -20);
  EXPECT_EQ(runs.Runs(), (std::vector<RunOf>{{1, kLastRow - 20, 15}}));
  runs.Erase(5);
  runs.Set(7, 20);
  EXPECT_EQ(runs.Runs(),
            (std::vector<RunOf>{{1, 4, 15}, {6, 6, 15}, {7, 7, 20}, {8, kLastRow - 20, 15}}));
  EXPECT_EQ(runs.Find(5), nullptr);
  EXPECT_EQ(*runs.Find(7), 20);
  runs.Move(5, -3);  // rows 5 to 7 go: the two runs of 15 around them meet
  EXPECT_EQ(runs.Runs(), (std::vector<RunOf>{{1, kLastRow - 23, 15}}));
}

TEST(RowRunsTest, AnySequenceOfChangesKeepsTheValuesOfTheRowsAsOneEntryARowWould) {
  std::mt19937 draw(20);
  for (int round = 0; round < 200; ++round) {
    Runs runs;
    std::map<int, int> model;
    auto row = [&](int near) {
      return std::clamp(near + static_cast<int>(draw() % 40) - 20, 1, kLastRow);
    };
    int centre = draw() % 2 ? 30 : kLastRow - 30;
    for (int step = 0; step < 60; ++step) {
      int r = row(centre);
      switch (draw() % 4) {
        case 0:
        case 1:
          runs.Set(r, static_cast<int>(draw() % 3));
          model[r] = *runs.Find(r);
          break;
        case 2:
          runs.Erase(r);
          model.erase(r);
          break;
        default: {
          int count = static_cast<int>(draw() % 9) - 4;
          if (count == 0) count = 1;
          if (count < 0) r = std::min(r, kLastRow + count + 1);
          runs.Move(r, count);
          MoveEntries(model, r, count);
        }
      }
      ASSERT_EQ(runs.ByRow(), model) << "round " << round << ", step " << step;
      ExpectTight(runs);
    }
  }
}

}  // namespace
}  // namespace tavrin
