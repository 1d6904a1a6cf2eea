#pragma once

#include <algorithm>
#include <iterator>
#include <map>
#include <vector>

#include "host/address.h"

namespace tavrin {

// Values kept by row (a row's height, its format), held as runs of neighbouring rows with the same
// value: a list whose every row has the same height is one run. Rows without a value are in no
// run. Moving rows costs the runs, not the rows, so a sheet of 65536 rows of their own height
// inserts and deletes rows as cheaply as one without.
template <class T>
class RowRuns {
 public:
  struct Run {
    int first;
    int last;
    T value;
    bool operator==(const Run&) const = default;
  };

  bool empty() const { return runs_.empty(); }
  const std::vector<Run>& Runs() const { return runs_; }
  bool operator==(const RowRuns&) const = default;

  // The index of the run holding the row, or of the first run below it.
  size_t RunFrom(int row) const {
    auto it = std::partition_point(runs_.begin(), runs_.end(),
                                   [row](const Run& run) { return run.last < row; });
    return static_cast<size_t>(it - runs_.begin());
  }

  // The row's value, or nothing.
  const T* Find(int row) const {
    size_t r = RunFrom(row);
    return r < runs_.size() && runs_[r].first <= row ? &runs_[r].value : nullptr;
  }

  // Calls visit(row, value) for every row that has a value, top to bottom.
  template <class Visit>
  void ForEach(Visit&& visit) const {
    for (const Run& run : runs_) {
      for (int row = run.first; row <= run.last; ++row) visit(row, run.value);
    }
  }

  // Every row with a value, one entry a row.
  std::map<int, T> ByRow() const {
    std::map<int, T> byRow;
    ForEach([&](int row, const T& value) { byRow.emplace_hint(byRow.end(), row, value); });
    return byRow;
  }

  // The row takes the value. Rows set in order from the top (a file read) only grow the last run.
  void Set(int row, const T& value) {
    if (!runs_.empty() && runs_.back().last < row) {
      Run& last = runs_.back();
      if (last.last + 1 == row && last.value == value) {
        last.last = row;
      } else {
        runs_.push_back({row, row, value});
      }
      return;
    }
    size_t r = Isolate(row);
    if (r < runs_.size() && runs_[r].first == row) {
      runs_[r].value = value;
    } else {
      runs_.insert(runs_.begin() + static_cast<long>(r), Run{row, row, value});
    }
    JoinAround(r);
  }

  // The row loses its value.
  void Erase(int row) {
    size_t r = Isolate(row);
    if (r < runs_.size() && runs_[r].first == row)
      runs_.erase(runs_.begin() + static_cast<long>(r));
  }

  // Whole rows inserted at a row (count > 0) or deleted from it (count < 0): the rows below move,
  // the inserted rows have no value, the values of deleted rows or of rows pushed past the
  // sheet's last row go.
  void Move(int at, int count) {
    if (count > 0) {
      size_t r = SplitBefore(at);
      for (size_t k = r; k < runs_.size(); ++k) {
        runs_[k].first += count;
        runs_[k].last += count;
      }
      while (!runs_.empty() && runs_.back().first > kLastRow) runs_.pop_back();
      if (!runs_.empty()) runs_.back().last = std::min(runs_.back().last, kLastRow);
      return;
    }
    int end = at - count;  // the first row below the deleted ones
    size_t first = SplitBefore(at);
    size_t last = SplitBefore(end);
    runs_.erase(runs_.begin() + static_cast<long>(first), runs_.begin() + static_cast<long>(last));
    for (size_t k = first; k < runs_.size(); ++k) {
      runs_[k].first += count;
      runs_[k].last += count;
    }
    if (first > 0) JoinAround(first - 1);
  }

 private:
  // Splits the run holding the row so that one begins at it; the index of the first run at or
  // below the row.
  size_t SplitBefore(int row) {
    size_t r = RunFrom(row);
    if (r < runs_.size() && runs_[r].first < row) {
      Run head = runs_[r];
      head.last = row - 1;
      runs_[r].first = row;
      runs_.insert(runs_.begin() + static_cast<long>(r), head);
      ++r;
    }
    return r;
  }

  // The row made a run of its own when it has a value; the index of its run or where it goes.
  size_t Isolate(int row) {
    size_t r = SplitBefore(row);
    if (r < runs_.size() && runs_[r].first == row && runs_[r].last > row) {
      Run tail = runs_[r];
      tail.first = row + 1;
      runs_[r].last = row;
      runs_.insert(runs_.begin() + static_cast<long>(r) + 1, tail);
    }
    return r;
  }

  // Joins the run at the index with its neighbours where they touch and hold the same value.
  void JoinAround(size_t r) {
    if (r + 1 < runs_.size() && Joins(runs_[r], runs_[r + 1])) {
      runs_[r].last = runs_[r + 1].last;
      runs_.erase(runs_.begin() + static_cast<long>(r) + 1);
    }
    if (r > 0 && r < runs_.size() && Joins(runs_[r - 1], runs_[r])) {
      runs_[r - 1].last = runs_[r].last;
      runs_.erase(runs_.begin() + static_cast<long>(r));
    }
  }

  static bool Joins(const Run& upper, const Run& lower) {
    return upper.last + 1 == lower.first && upper.value == lower.value;
  }

  std::vector<Run> runs_;
};

}  // namespace tavrin
