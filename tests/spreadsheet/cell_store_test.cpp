#include "spreadsheet/cell_store.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace tavrin {
namespace {

Cell Number(double n) {
  return Cell{Variant(n), nullptr, 0};
}

double At(const CellStore& store, int row, int column = 1) {
  const Cell* cell = store.Find(row, column);
  return cell && cell->value.IsNumber() ? cell->value.AsNumber() : -1;
}

TEST(CellStoreTest, AppendedRowsFillFewSegmentsAndCountFromContent) {
  CellStore store;
  for (int r = 1; r <= kLastRow; ++r) store.Put(r, 1, Number(r));
  EXPECT_EQ(store.Column(1).SegmentCount(), kLastRow / CellColumn::kSegmentCells);
  EXPECT_EQ(store.ContentCount(Area{1, 1, kLastRow, 1}), kLastRow);
  EXPECT_EQ(store.ContentCount(Area{1, 1, kLastRow, 3}), kLastRow);
  EXPECT_EQ(store.ContentCount(Area{1000, 1, 50, 1}), 50);
  EXPECT_EQ(At(store, 65536), 65536);
  // A blanked cell stops counting; a style alone is no content.
  store.Put(5, 1, Cell{});
  store.SetStyle(6, 1, 3);
  store.SetContent(6, 1, Variant(), nullptr);
  EXPECT_EQ(store.ContentCount(Area{1, 1, 10, 1}), 8);
  EXPECT_EQ(store.Find(6, 1)->style, 3u);
  EXPECT_EQ(store.Column(1).NextContent(5), 7);
  EXPECT_EQ(store.Column(1).PreviousContent(6), 4);
}

TEST(CellStoreTest, ScatteredWritesJoinNearbySegmentsAndTrimBlankEnds) {
  CellStore store;
  store.Put(100, 2, Number(1));
  store.Put(105, 2, Number(2));   // close: joins the segment
  store.Put(95, 2, Number(3));    // close before: joins too
  store.Put(5000, 2, Number(4));  // far: a segment of its own
  EXPECT_EQ(store.Column(2).SegmentCount(), 2);
  EXPECT_EQ(store.ContentCount(Area{1, 2, kLastRow, 1}), 4);
  EXPECT_EQ(store.Find(101, 2)->HasContent(), false);
  store.Put(5000, 2, Cell{});
  EXPECT_EQ(store.Column(2).SegmentCount(), 1);
  EXPECT_EQ(store.Find(5000, 2), nullptr);
  EXPECT_EQ(store.Column(2).RunEnd(95, 1), 95);
}

TEST(CellStoreTest, WritesJoinASegmentUpToTheGapAndTheSegmentsSize) {
  CellStore store;
  store.Put(100, 1, Number(1));
  store.Put(116, 1, Number(2));  // 16 rows after: joins
  store.Put(84, 1, Number(3));   // 16 rows before: joins
  EXPECT_EQ(store.Column(1).SegmentCount(), 1);
  store.Put(133, 1, Number(4));  // 17 rows after: a segment of its own
  store.Put(67, 1, Number(5));
  EXPECT_EQ(store.Column(1).SegmentCount(), 3);
  // Written upwards, a column of kSegmentCells rows fills one segment.
  for (int r = CellColumn::kSegmentCells; r >= 1; --r) store.Put(r, 2, Number(r));
  EXPECT_EQ(store.Column(2).SegmentCount(), 1);
}

TEST(CellStoreTest, InsertRowsSplitsOneSegmentAndShiftsTheLaterOnes) {
  CellStore store;
  for (int r = 1; r <= 3000; ++r) store.Put(r, 1, Number(r));
  store.Put(9000, 1, Number(9000));
  int segments = store.Column(1).SegmentCount();
  uint64_t version = store.Version();
  store.InsertRows(1500, 10);
  EXPECT_GT(store.Version(), version);
  EXPECT_EQ(store.Column(1).SegmentCount(), segments + 1);
  EXPECT_EQ(At(store, 1499), 1499);
  EXPECT_EQ(store.Find(1500, 1), nullptr);
  EXPECT_EQ(store.Find(1509, 1), nullptr);
  EXPECT_EQ(At(store, 1510), 1500);
  EXPECT_EQ(At(store, 3010), 3000);
  EXPECT_EQ(At(store, 9010), 9000);
  EXPECT_EQ(store.ContentCount(Area{1, 1, kLastRow, 1}), 3001);
  // The inserted gap breaks the run; the run resumes after it.
  EXPECT_EQ(store.Column(1).RunEnd(1, 1), 1499);
  EXPECT_EQ(store.Column(1).RunEnd(3010, -1), 1510);
}

TEST(CellStoreTest, InsertRowsDropsCellsPushedPastTheLastRow) {
  CellStore store;
  store.Put(kLastRow - 1, 1, Number(1));
  store.Put(kLastRow, 1, Number(2));
  store.InsertRows(kLastRow - 1, 1);
  EXPECT_EQ(At(store, kLastRow), 1);
  EXPECT_EQ(store.ContentCount(Area{1, 1, kLastRow, 1}), 1);
}

TEST(CellStoreTest, DeleteRowsRemovesTheRowsAndMovesLaterCellsUp) {
  CellStore store;
  for (int r = 1; r <= 3000; ++r) store.Put(r, 1, Number(r));
  store.Put(9000, 1, Number(9000));
  store.Put(1000, 2, Number(-5));
  store.DeleteRows(1000, 1500);  // rows 1000..2499, across segment borders
  EXPECT_EQ(At(store, 999), 999);
  EXPECT_EQ(At(store, 1000), 2500);
  EXPECT_EQ(At(store, 1500), 3000);
  EXPECT_EQ(store.Find(1501, 1), nullptr);
  EXPECT_EQ(At(store, 7500), 9000);
  EXPECT_EQ(store.Find(1000, 2), nullptr);
  EXPECT_EQ(store.ContentCount(Area{1, 1, kLastRow, 2}), 1501);
  EXPECT_EQ(store.Column(1).RunEnd(1, 1), 1500);
  // Deleting below all content changes nothing; deleting the rest empties the column.
  store.DeleteRows(20000, 100);
  EXPECT_EQ(At(store, 7500), 9000);
  store.DeleteRows(1, kLastRow);
  EXPECT_EQ(store.Column(1).SegmentCount(), 0);
  EXPECT_EQ(store.Column(1).ContentCount(), 0);
}

TEST(CellStoreTest, ClearKeepsWhatItIsNotAskedToRemove) {
  CellStore store;
  for (int r = 1; r <= 10; ++r) store.Put(r, 1, Cell{Variant(r), nullptr, r % 2 ? 7u : 0u});
  store.Clear(Area{1, 1, kLastRow, 1}, ClearPart::Contents);
  EXPECT_EQ(store.Column(1).ContentCount(), 0);
  EXPECT_EQ(store.Find(1, 1)->style, 7u);
  EXPECT_EQ(store.Find(9, 1)->style, 7u);
  store.Clear(Area{1, 1, 5, 1}, ClearPart::Formats);
  EXPECT_EQ(store.Find(1, 1), nullptr);
  store.Clear(Area{1, 1, kLastRow, 1}, ClearPart::All);
  EXPECT_EQ(store.Column(1).SegmentCount(), 0);
}

// Random writes, clears, insertions and deletions against a plain map of the same column.
TEST(CellStoreTest, AgreesWithASimpleModelUnderRandomEdits) {
  CellStore store;
  std::map<int, double> model;
  std::mt19937 random(7);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
  for (int step = 0; step < 4000; ++step) {
    int row = pick(1, 3000);
    switch (pick(0, 5)) {
      case 0:
      case 1:
      case 2:
        store.Put(row, 1, Number(step));
        model[row] = step;
        break;
      case 3: {
        int count = pick(1, 40);
        store.Clear(Area{row, 1, count, 1}, ClearPart::All);
        model.erase(model.lower_bound(row), model.lower_bound(row + count));
        break;
      }
      case 4: {
        int count = pick(1, 30);
        store.InsertRows(row, count);
        std::map<int, double> shifted;
        for (auto [r, v] : model) shifted[r >= row ? r + count : r] = v;
        model = shifted;
        break;
      }
      default: {
        int count = pick(1, 30);
        store.DeleteRows(row, count);
        std::map<int, double> shifted;
        for (auto [r, v] : model) {
          if (r < row) shifted[r] = v;
          if (r >= row + count) shifted[r - count] = v;
        }
        model = shifted;
      }
    }
  }
  const CellColumn& column = store.Column(1);
  ASSERT_EQ(column.ContentCount(), static_cast<int>(model.size()));
  for (int r = 1; r <= 4000; ++r) {
    auto it = model.find(r);
    ASSERT_EQ(At(store, r), it == model.end() ? -1 : it->second) << r;
    auto next = model.lower_bound(r);
    ASSERT_EQ(column.NextContent(r), next == model.end() ? 0 : next->first) << r;
    auto previous = model.upper_bound(r);
    ASSERT_EQ(column.PreviousContent(r), previous == model.begin() ? 0 : std::prev(previous)->first)
        << r;
    ASSERT_EQ(column.ContentCount(r, r + 40),
              std::distance(model.lower_bound(r), model.upper_bound(r + 40)))
        << r;
    if (it != model.end()) {
      int end = r, start = r;
      while (model.count(end + 1)) ++end;
      while (model.count(start - 1)) --start;
      ASSERT_EQ(column.RunEnd(r, 1), end) << r;
      ASSERT_EQ(column.RunEnd(r, -1), start) << r;
    }
  }
  EXPECT_EQ(column.ContentCount(100, 1999),
            std::distance(model.lower_bound(100), model.lower_bound(2000)));
  EXPECT_EQ(column.FirstNotBlank(), model.begin()->first);
  EXPECT_EQ(column.LastNotBlank(), model.rbegin()->first);
}

// A copy holds what its source held until either is written: the column written, and every
// column when rows move, no longer passes for the same; an unrelated store's never does.
TEST(CellStoreTest, AColumnIsTheSameAsItsCopysUntilEitherIsWritten) {
  CellStore store;
  store.Put(1, 1, Number(1));
  store.Put(1, 2, Number(2));
  CellStore copy = store;
  EXPECT_TRUE(copy.SameColumnAs(store, 1));
  EXPECT_TRUE(copy.SameColumnAs(store, 3)) << "never written in either";
  store.Put(1, 1, Number(1));
  EXPECT_FALSE(copy.SameColumnAs(store, 1)) << "a write of the same value is a write";
  EXPECT_TRUE(copy.SameColumnAs(store, 2));
  copy.SetStyle(5, 2, 3);
  EXPECT_FALSE(copy.SameColumnAs(store, 2));
  CellStore moved = store;
  moved.InsertRows(10, 1);
  EXPECT_FALSE(moved.SameColumnAs(store, 200));
  CellStore other;
  other.Put(1, 2, Number(2));
  EXPECT_FALSE(other.SameColumnAs(store, 2));
}

}  // namespace
}  // namespace tavrin
