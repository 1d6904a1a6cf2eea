#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/worksheet.h"
#include "spreadsheet/book.h"
#include "spreadsheet/cell_block.h"
#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/page_breaks.h"
#include "spreadsheet/page_setup.h"
#include "spreadsheet/sheet_layout.h"

namespace tavrin {

// A worksheet of the embedded spreadsheet: its cells, row heights and column widths, page setup,
// selection, a changed mark (a sheet no one changed is written back as it was read) and a
// content version that moves on with every write to its cells.
class Sheet : public Worksheet {
 public:
  static constexpr double kDefaultRowHeight = 12.75;   // points
  static constexpr double kDefaultColumnWidth = 8.43;  // characters

  Sheet(Book& book, std::string name);
  // A copy of another sheet under a new name: cells, heights, widths and page setup.
  Sheet(Book& book, std::string name, const Sheet& source);

  std::string Name() const override { return name_; }
  Book& Parent() override { return book_; }
  // Makes this the active sheet of its workbook, and the workbook the active one.
  void Activate() override;
  void Copy(Worksheet& after) override;
  tavrin::PageSetup& PageSetup() override { return pageSetup_; }
  tavrin::HPageBreaks& HPageBreaks() override { return pageBreaks_; }
  using Worksheet::Range;
  tavrin::Range Range(std::string_view address) override;

  Variant Value(const tavrin::Range& cell) override;
  void SetValue(const tavrin::Range& range, const Variant& value) override;
  Block Values(const Area& area) override;
  void SetValues(const Area& area, const Block& values) override;
  std::string Formula(const tavrin::Range& cell) override;
  void SetFormula(const tavrin::Range& range, const std::string& formula) override;
  std::string FormulaR1C1(const tavrin::Range& cell) override;
  void SetFormulaR1C1(const tavrin::Range& range, const std::string& formula) override;
  std::string Text(const tavrin::Range& cell) override;
  void ClearContents(const tavrin::Range& range) override;
  // Selecting or activating a range needs its sheet to be the active one (else 1004).
  void Select(const tavrin::Range& range) override;
  void Activate(const tavrin::Range& range) override;
  tavrin::Range End(const tavrin::Range& from, XlDirection direction) override;
  void AutoFill(const tavrin::Range& source, const tavrin::Range& destination,
                XlAutoFillType type) override;
  void AdvancedFilter(const tavrin::Range& list, XlFilterAction action,
                      const tavrin::Range& copyToRange, bool unique) override;
  void Copy(const tavrin::Range& source) override;
  void Copy(const tavrin::Range& source, const tavrin::Range& destination) override;
  void Cut(const tavrin::Range& source, const tavrin::Range& destination) override;
  void PasteSpecial(const tavrin::Range& at, XlPasteType paste, XlPasteSpecialOperation operation,
                    bool skipBlanks, bool transpose) override;
  void Insert(const tavrin::Range& range, XlShift shift) override;
  void Delete(const tavrin::Range& range, XlShift shift) override;

  // The embedded spreadsheet's own members.
  // The cells. Every write through the store moves the content version on, and so marks the
  // sheet changed: no writer marks it by hand, none can forget to.
  CellStore& Store() { return store_; }
  const CellStore& Store() const { return store_; }
  uint64_t ContentVersion() const { return store_.Version(); }
  // Whether the sheet changed since it was marked unchanged: a write to its cells, or to its
  // heights, widths, page setup or page breaks.
  bool Changed() const { return changed_ || store_.Version() != unchangedVersion_; }
  // A sheet marked unchanged (the file reader marks the sheets it filled) keeps the results
  // stored in its formula cells until its content moves on.
  void SetChanged(bool changed) {
    changed_ = changed;
    unchangedVersion_ = store_.Version();
    if (!changed) calc_->TrustStoredValues();
  }
  const UserLocale& Locale() const;

  tavrin::Range Selection() { return tavrin::Range(*this, selection_); }
  // A row's own height, else the sheet's default row height.
  double RowHeight(int row) const;
  // Sets a row's height as the user does; fitted keeps it the host's fit to the row's content.
  void SetRowHeight(int row, double height, bool fitted = false);
  // The row goes back to the sheet's default row height.
  void ClearRowHeight(int row);
  // The height of rows without one of their own: 12.75 points unless the sheet says otherwise.
  double DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(double height);
  // The rows with a height of their own, and a version that moves on when any height changes,
  // rows move or the default changes.
  const RowRuns<StoredRowHeight>& RowHeights() const { return rowHeights_; }
  uint64_t HeightsVersion() const { return heightsVersion_; }
  double ColumnWidth(int column) const;
  // A column's own width; none when it has the standard width.
  std::optional<double> OwnColumnWidth(int column) const;
  void SetColumnWidth(int column, double width);
  // The column goes back to the standard width.
  void ClearColumnWidth(int column);
  // Merged cells, margins, paper, scaling, print area, manual breaks and the sheet's view. They
  // change only through EditLayout, which calls edit(layout) and marks the sheet changed, as a
  // write to its cells does: no change can be left out of the file a save writes.
  const SheetLayout& Layout() const { return layout_; }
  template <class Edit>
  void EditLayout(Edit&& edit) {
    edit(layout_);
    changed_ = true;
  }

  // What the used area counts: the cells holding content (a constant or a formula, one whose
  // result is "" too), or those and the cells holding only a format.
  enum class UsedCells { Content, ContentAndFormats };
  // The used area: the smallest rectangle holding every cell counted; nothing when the sheet has
  // none. The command shows a sheet, and a .csv file holds it, from A1 to the last row and
  // column of the area of content; paging runs to its last row; a workbook file records the
  // area of content and formats as the sheet's dimension.
  std::optional<Area> UsedArea(UsedCells cells = UsedCells::Content) const;

  // A cell's value: its constant, or its formula's result, computed on demand.
  Variant CellValue(int row, int column) const;
  // The formula engine's state of this sheet: trees, results, lookup indexes.
  SheetCalc& Calc() const { return *calc_; }

  // Calls visit(row, column, value) for every cell of the area holding content, column by
  // column, top to bottom; a formula cell gives its result.
  template <class Visit>
  void ForEachValue(const Area& area, Visit&& visit) const {
    store_.ForEach(area, [&](int row, int column, const Cell& cell) {
      if (cell.formula) {
        visit(row, column, calc_->Value(row, column, cell));
      } else if (cell.HasContent()) {
        visit(row, column, cell.value);
      }
    });
  }
  // The cells of an area as Copy takes them: formulas parsed where they stand so that they move
  // with their relative references, with their results for a paste of values (withResults).
  CellBlock ReadBlock(const Area& area, bool withResults = true) const;
  // A cell to put at (row, column): its formula rebuilt there, the tree shared.
  static Cell Placed(Cell cell, int row, int column);

 private:
  void CheckActive(const char* method);
  void WriteEntry(const tavrin::Range& range, const Variant& value, Notation first);
  void PasteBlock(const CellBlock& block, const Area& at, XlPasteType paste, bool skipBlanks);
  void ShiftRowHeights(int at, int count);
  // Rows just inserted take the height, the row format (its cell format and outline level, not
  // hidden) and the cell formats of the row above them, as the host's Insert does by default
  // (xlFormatFromLeftOrAbove).
  void FormatFromAbove(int at, int count);

  Book& book_;
  std::string name_;
  CellStore store_;
  RowRuns<StoredRowHeight> rowHeights_;
  double defaultRowHeight_ = kDefaultRowHeight;
  uint64_t heightsVersion_ = 0;
  std::map<int, double> columnWidths_;
  // A change to what the store does not hold (heights, widths, page setup, the layout).
  bool changed_ = true;
  uint64_t unchangedVersion_ = 0;
  SheetPageSetup pageSetup_{changed_};
  SheetLayout layout_;
  SheetPageBreaks pageBreaks_{*this};
  std::vector<Area> selection_{Area{}};
  std::unique_ptr<SheetCalc> calc_ = std::make_unique<SheetCalc>(*this);
};

// The embedded sheet a range lies on; a range of another host fails (1004).
Sheet& SheetOf(const tavrin::Range& range);

}  // namespace tavrin
