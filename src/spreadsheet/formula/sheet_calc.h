#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/indexed_question.h"
#include "spreadsheet/lookup_index.h"

namespace tavrin {

class Sheet;

// A sheet's calculation state: the formula trees it holds, shared by R1C1 text; the results
// computed since the workbook's content last changed, dropped whenever a write to any sheet of
// the workbook moves the content on, the simplest rule that never serves a stale result; and
// the lookup indexes of its ranges.
class SheetCalc {
 public:
  // What a formula reads from a cell on a circle of references to itself.
  static constexpr ErrorValue kCircular = ErrorValue::Ref;

  explicit SheetCalc(Sheet& sheet) : sheet_(sheet) {}

  // A formula cell's value, computed at most once per content version. A cell met again while
  // it is being computed (a circular reference) reads kCircular. A formula read from a file
  // keeps the result stored with it while the sheet is as it was read, and for good when the
  // engine cannot compute it (a text past the host's limits, or a call of a function neither
  // the host nor the spreadsheet's owner provides, an add-in's say).
  Variant Value(int row, int column, const Cell& cell);
  // The tree of a formula text entered in the cell: read in the first notation, else in the
  // other; nullptr when it is a formula in neither, or calls a function of the host with too
  // few or too many arguments.
  TreePtr Parse(const std::string& text, Notation first, int row, int column);
  // The cell formula of a tree in the cell, the tree shared; its A1 text is made when asked for.
  static FormulaPtr Place(const TreePtr& tree, int row, int column);
  // The tree of a cell's formula; a text read from a file is parsed on first use (a text the
  // engine cannot read gives a tree that is not computable, and keeps its text).
  static TreePtr TreeOf(const CellFormula& formula, int row, int column);
  // How far the tree's references reach from its cell.
  static FormulaReach Reach(const TreePtr& tree);
  // The lookup index of a one-column or one-row range, nullptr when lookup indexes are switched
  // off. It is built on first use and kept while the range holds the values it was built from
  // (LookupIndex::StillHolds, looked at once each time the content moves on), so writes beside
  // a range of labels do not cost its index; one not used while the content stood still is
  // dropped when it moves on.
  const LookupIndex* Index(const Area& line);
  // Answers already given from the indexes, by the indexes and keys asked: many cells of a fill
  // ask the same question. Dropped with the results.
  std::unordered_map<IndexedQuestion, Variant, IndexedQuestion::Hash>& IndexedAnswers() {
    return indexedAnswers_;
  }
  // The results stored in formula cells are current until the content moves on.
  void TrustStoredValues();

 private:
  uint64_t WorkbookVersion() const;
  void Refresh();
  Variant Outermost(int row, int column);
  Variant Compute(int row, int column, const Cell& cell);
  Variant ComputeAgain(int row, int column);
  void ComputeReadsFirst(int row, int column);

  struct Result {
    Variant value;
    bool computing = false;
    bool waiting = false;  // put off until the cells it reads are computed
  };

  Sheet& sheet_;
  uint64_t version_ = UINT64_MAX;
  uint64_t trustedVersion_ = UINT64_MAX;
  std::unordered_map<uint32_t, Result> results_;
  struct IndexEntry {
    std::unique_ptr<LookupIndex> index;
    uint64_t lookedAt = UINT64_MAX;  // the content version it was last found to hold at
    bool used = false;               // since the content last moved on
  };
  std::map<std::tuple<int, int, int, int>, IndexEntry> indexes_;
  std::unordered_map<std::string, std::weak_ptr<const FormulaTree>> trees_;
  std::unordered_map<IndexedQuestion, Variant, IndexedQuestion::Hash> indexedAnswers_;
};

}  // namespace tavrin
