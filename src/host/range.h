#pragma once

#include <string>
#include <vector>

#include "host/address.h"
#include "host/block.h"
#include "host/variant.h"

namespace tavrin {

class Worksheet;

// Directions of End, as the object model numbers them.
enum XlDirection : int { xlUp = -4162, xlDown = -4121, xlToLeft = -4159, xlToRight = -4161 };
// PasteSpecial's Paste and Operation.
enum XlPasteType : int { xlPasteAll = -4104, xlPasteFormats = -4122, xlPasteValues = -4163 };
enum XlPasteSpecialOperation : int { xlPasteSpecialOperationNone = -4142 };
// AdvancedFilter's Action, AutoFill's Type, Insert's and Delete's Shift.
enum XlFilterAction : int { xlFilterInPlace = 1, xlFilterCopy = 2 };
enum XlAutoFillType : int { xlFillDefault = 0 };
enum XlShift : int { xlShiftDown = -4121, xlShiftUp = -4162, xlShiftToRight = -4161 };

// A range: a sheet and its areas. Geometry (Row, Column, counts, Offset, Resize, Cells,
// Address) is computed here without asking the host; content and side effects go to the
// sheet. Row, Column and the counts describe the first area, as the host reports them.
class Range {
 public:
  Range(Worksheet& sheet, Area area) : sheet_(&sheet), areas_{area} {}
  Range(Worksheet& sheet, std::vector<Area> areas);

  Worksheet& Parent() const { return *sheet_; }
  const std::vector<Area>& Areas() const { return areas_; }
  const Area& FirstArea() const { return areas_.front(); }

  int Row() const { return FirstArea().row; }
  int Column() const { return FirstArea().column; }
  int RowsCount() const { return FirstArea().rows; }
  int ColumnsCount() const { return FirstArea().columns; }
  // Cells in all areas.
  long long Count() const;

  // The range moved by rows and columns; beyond the sheet's edge fails (1004).
  Range Offset(int rows, int columns) const;
  // The first area from its top-left cell, rows by columns; beyond the edge fails (1004).
  Range Resize(int rows, int columns) const;
  // The cell at row and column counted from the first area's top-left cell (1-based).
  Range Cells(int row, int column) const;
  // The whole rows of the first area.
  Range EntireRow() const;
  // "$A$1:$B$2", areas joined by ",".
  std::string Address() const;

  // Content, through the sheet. Value, Formula and Text of a range of several cells read its
  // first cell; Values reads the first area as a block (a single cell is a 1 x 1 block).
  Variant Value() const;
  void SetValue(const Variant& value) const;
  Block Values() const;
  void SetValues(const Block& values) const;
  std::string Formula() const;
  void SetFormula(const std::string& formula) const;
  std::string FormulaR1C1() const;
  void SetFormulaR1C1(const std::string& formula) const;
  std::string Text() const;

  void ClearContents() const;
  void Select() const;
  void Activate() const;
  Range End(XlDirection direction) const;
  void AutoFill(const Range& destination, XlAutoFillType type = xlFillDefault) const;
  void AdvancedFilter(XlFilterAction action, const Range& copyToRange, bool unique) const;
  void Copy() const;
  void Copy(const Range& destination) const;
  void Cut(const Range& destination) const;
  void PasteSpecial(XlPasteType paste = xlPasteAll,
                    XlPasteSpecialOperation operation = xlPasteSpecialOperationNone,
                    bool skipBlanks = false, bool transpose = false) const;
  void Insert(XlShift shift = xlShiftDown) const;
  void Delete(XlShift shift = xlShiftUp) const;

  bool operator==(const Range& other) const {
    return sheet_ == other.sheet_ && areas_ == other.areas_;
  }

 private:
  Worksheet* sheet_;
  std::vector<Area> areas_;
};

}  // namespace tavrin
