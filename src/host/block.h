#pragma once

#include <vector>

#include "host/variant.h"

namespace tavrin {

// A block's Value: a two-dimensional array of values indexed from 1, row first.
class Block {
 public:
  Block() = default;
  Block(int rows, int columns)
      : rows_(rows), columns_(columns), cells_(static_cast<size_t>(rows) * columns) {}

  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  Variant& operator()(int row, int column) { return cells_[Index(row, column)]; }
  const Variant& operator()(int row, int column) const { return cells_[Index(row, column)]; }
  bool operator==(const Block&) const = default;

 private:
  size_t Index(int row, int column) const;

  int rows_ = 0;
  int columns_ = 0;
  std::vector<Variant> cells_;
};

}  // namespace tavrin
