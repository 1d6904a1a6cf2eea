#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "host/address.h"
#include "host/variant.h"
#include "spreadsheet/criteria.h"

namespace tavrin {

class Sheet;

// Appends a part of a question to the indexes, kept as the key of its answer: many cells of a
// fill ask the same question.
template <class Part>
void AddQuestionPart(std::string& question, const Part& part) {
  question.append(reinterpret_cast<const char*>(&part), sizeof part);
}

// The values of one column range, indexed from value to positions, for equality criteria and
// exact matches without a scan per formula: equality as formulas compare (texts ignoring letter
// case, numbers to 15 significant digits, an empty cell equal to "", 0 and FALSE, a number
// never equal to a text), as a COUNTIF criterion compares, or as MATCH compares (numbers
// exactly). Built once per range and content version by the sheet's calculation cache.
class ColumnIndex {
 public:
  ColumnIndex(const Sheet& sheet, const Area& column);

  int Size() const { return static_cast<int>(ids_.size()); }
  bool HasError() const { return hasError_; }
  // Whether a cell holds a text that arithmetic cannot read as a number.
  bool HasText() const { return hasText_; }
  // A cell's value as arithmetic takes it (empty 0, TRUE 1).
  double Number(int position) const { return numbers_[position]; }

  // What an equality with a key accepts.
  struct Key {
    int id = -3;              // the key's own values, -3 when the column holds none
    bool empties = false;     // empty cells
    std::vector<int> blanks;  // for an empty key: the ids of 0, "" and FALSE
  };
  Key KeyOf(const Variant& key) const;
  bool Equal(int position, const Key& key) const;
  // The 0-based positions equal to the key, in no particular order.
  void Positions(const Key& key, std::vector<int>& out) const;
  // The 1-based position of the first non-empty cell equal to the key, numbers exactly, 0 when
  // none (MATCH 0).
  int First(const Variant& key) const;
  // The positions a criterion's equality matches, as lists of 0-based positions, each
  // ascending: a number also matches texts that read as that number, "" empty cells and the
  // text "".
  std::vector<const std::vector<int>*> Matching(const Criterion::Equality& equality) const;

 private:
  int IdOf(const std::string& code) const;

  std::vector<int> ids_;  // per position: -1 empty, -2 error
  std::vector<double> numbers_;
  std::unordered_map<std::string, int> idOfCode_;
  // Per id, ascending; besides the values' own ids, one per number read from texts.
  std::vector<std::vector<int>> positions_;
  std::vector<int> emptyPositions_;
  bool hasError_ = false;
  bool hasText_ = false;
};

}  // namespace tavrin
