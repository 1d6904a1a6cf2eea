#pragma once

#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula/formula_tree.h"

namespace tavrin {

class Book;
class Sheet;

// A formula cell rewritten when cells moved, put back after the walk over the formulas, which
// the writes would disturb.
struct FormulaRewrite {
  int row;
  int column;
  Cell cell;
};

// The cell with its formula's tree replaced by the root, placed at (row, column).
Cell WithFormulaRoot(const Cell& cell, const FormulaNode& root, int row, int column);

// A coordinate of a reference as it is written from the cell's: the target itself when absolute,
// else its offset from the cell's.
inline RefPart PlacedPart(RefPart part, int target, int own) {
  part.value = part.absolute ? target : target - own;
  return part;
}

// After whole rows were inserted (count > 0) or deleted (count < 0) at a row of a sheet, every
// formula of the workbook that points at that sheet is rewritten to point at the same cells:
// absolute references into moved rows shift, relative references whose target moved relative
// to their cell change their offset, a range grows with rows inserted inside it and shrinks
// with rows deleted from it, and a reference whose rows were all deleted becomes #REF!.
// Formula cells on the sheet that moved themselves get their texts written anew where they
// stand.
void MoveFormulaRows(Book& book, Sheet& moved, int at, int count);

}  // namespace tavrin
