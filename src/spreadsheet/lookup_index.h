#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/address.h"
#include "host/variant.h"
#include "spreadsheet/criteria.h"
#include "spreadsheet/text_ids.h"

namespace tavrin {

class Sheet;

// The values of a one-column or one-row range, indexed from value to positions, so that exact
// lookups and equality criteria need no scan each: equality as formulas compare (texts ignoring
// letter case, numbers to 15 significant digits, an empty cell equal to "", 0 and FALSE, a
// number never equal to a text), as a COUNTIF criterion compares, or as MATCH compares (numbers
// exactly). Positions count from 0 along the range. The sheet's calculation state builds one on
// first use and keeps it while the range holds what it was built from (StillHolds).
class LookupIndex {
 public:
  LookupIndex(const Sheet& sheet, const Area& line);

  const Area& Line() const { return line_; }
  int Size() const { return static_cast<int>(ids_.size()); }
  bool HasError() const { return hasError_; }
  // Whether a cell holds a text that arithmetic cannot read as a number.
  bool HasText() const { return hasText_; }
  // A cell's value as arithmetic takes it (empty 0, TRUE 1).
  double Number(int position) const { return numbers_[position]; }

  // What an equality with a key accepts.
  struct Key {
    int id = -3;              // the key's own values, -3 when the range holds none
    bool empties = false;     // empty cells
    std::vector<int> blanks;  // for an empty key: the ids of 0, "" and FALSE

    bool operator==(const Key&) const = default;
  };
  Key KeyOf(const Variant& key) const;
  bool Equal(int position, const Key& key) const;
  // The positions equal to the key, in no particular order, and how many they are.
  void Positions(const Key& key, std::vector<int>& out) const;
  size_t Count(const Key& key) const;
  // The 1-based position of the first non-empty cell equal to the key, numbers exactly, 0 when
  // none (MATCH type 0, WorksheetFunction.Match). The last answer is kept: a formula often asks
  // the same MATCH twice, to test it and to use it.
  int First(const Variant& key) const;
  // The positions a criterion's equality matches, as lists of positions, each ascending: a
  // number also matches texts that read as that number, "" empty cells and the text "".
  std::vector<const std::vector<int>*> Matching(const Criterion::Equality& equality) const;

  // Whether the range still holds the values indexed. Free while no column of the range was
  // written since the last look; a written column's cells in the range are compared with the
  // values indexed. A range holding formulas never does once the workbook's content has moved
  // on: their results may change without a write to the range.
  bool StillHolds(const Sheet& sheet);

 private:
  // The id of a value's own values, -3 when the range holds none.
  int IdOf(const Variant& value) const;
  int Position(int row, int column) const { return (row - line_.row) + (column - line_.column); }
  bool ColumnHolds(const Sheet& sheet, int column) const;

  Area line_;
  std::vector<int> ids_;  // per position: -1 empty, -2 error
  std::vector<double> numbers_;
  // The values indexed, by ascending position; empty cells left out.
  std::vector<std::pair<int, Variant>> values_;
  std::vector<uint64_t> stamps_;  // per column of the range, its version when last looked at
  bool formulas_ = false;
  // The ids of equal values, as formulas compare: numbers and dates by their 15 digits, texts
  // with letter case folded, FALSE and TRUE; and of the texts that read as each number.
  std::unordered_map<double, int> numberIds_;
  TextIds textIds_;
  int booleanIds_[2] = {-3, -3};
  std::unordered_map<double, int> textNumberIds_;
  // Per id, ascending; besides the values' own ids, one per number read from texts.
  std::vector<std::vector<int>> positions_;
  std::vector<int> emptyPositions_;
  bool hasError_ = false;
  bool hasText_ = false;
  mutable Variant lastKey_;  // empty: none asked yet
  mutable int lastFirst_ = 0;
};

}  // namespace tavrin
