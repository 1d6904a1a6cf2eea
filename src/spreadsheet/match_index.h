#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/address.h"
#include "host/variant.h"
#include "spreadsheet/cell_store.h"

namespace tavrin {

// The first position of every value of a one-row or one-column area, for exact lookups
// (MATCH type 0) without a scan per lookup: numbers and dates by value, texts with letter case
// folded, Booleans. It stays valid while the area's cells hold the values it was built from;
// writes to other columns do not disturb it, so a tool that looks up labels and writes a body
// beside them keeps one index for the whole run.
class MatchIndex {
 public:
  MatchIndex(const CellStore& store, const Area& area);

  const CellStore* Store() const { return store_; }
  const Area& IndexedArea() const { return area_; }
  // Whether the area still holds what was indexed: free while no column of the area was
  // written, one comparison per indexed cell of a written column otherwise.
  bool StillHolds(const CellStore& store);
  // The 1-based position of the first value equal to the lookup value (a text without
  // wildcards), 0 when none.
  long long Find(const Variant& lookup) const;

 private:
  long long Position(int row, int column) const {
    return (row - area_.row) + (column - area_.column) + 1;
  }

  const CellStore* store_;
  Area area_;
  std::vector<uint64_t> stamps_;  // per column of the area
  std::vector<Variant> values_;   // per position, as indexed
  std::unordered_map<double, long long> numbers_;
  std::unordered_map<std::u32string, long long> texts_;
  long long booleans_[2] = {0, 0};
};

// The indexes of the few lookup areas in use, the most recently used first. An area holding a
// formula is never indexed: its results may change without a write to it.
class MatchIndexCache {
 public:
  // The index of the area, built or rebuilt when needed; nullptr for an area with a formula.
  const MatchIndex* For(const CellStore& store, const Area& area);

 private:
  static constexpr size_t kEntries = 8;
  std::vector<std::unique_ptr<MatchIndex>> entries_;
};

}  // namespace tavrin
