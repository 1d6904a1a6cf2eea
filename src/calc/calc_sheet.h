#pragma once

#include <memory>
#include <string>

#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include "calc/calc_document.h"
#include "host/worksheet.h"

namespace tavrin {

class CalcBook;
class CalcPageSetup;
class CalcPageBreaks;

// A sheet of a Calc document as the host's worksheet. The toolbox sees the sheet as the host
// version it is written for does, 65,536 rows by 256 columns; cells beyond stay as they are.
// Where Calc departs from the host (the unique filter's letter case, a fill of a number),
// the host's behaviour is made here.
class CalcSheet : public Worksheet {
 public:
  CalcSheet(CalcBook& book, uno::Reference<sheet::XSpreadsheet> sheet);
  ~CalcSheet() override;

  const uno::Reference<sheet::XSpreadsheet>& UnoSheet() const { return sheet_; }
  // The sheet's position in the document, from 0, as Calc's addresses count it.
  sal_Int16 Index() const;
  com::sun::star::table::CellRangeAddress Address(const Area& area) const;
  uno::Reference<com::sun::star::table::XCellRange> CellRange(const Area& area) const;
  using Worksheet::Cells;
  CalcDocument& Document() const;

  std::string Name() const override;
  Workbook& Parent() override;
  void Activate() override;
  void Copy(Worksheet& after) override;
  tavrin::PageSetup& PageSetup() override;
  tavrin::HPageBreaks& HPageBreaks() override;
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

 private:
  // Writes one value, read as a typed entry, into every cell of the areas.
  void WriteEntry(const tavrin::Range& range, const Variant& value, FormulaNotation notation);
  // Sets a formula into the top-left cell of the area, then copies it over the rest.
  void WriteFormula(const Area& area, const std::string& formula, FormulaNotation notation, int row,
                    int column);
  std::string CellFormula(const tavrin::Range& cell, FormulaNotation notation);
  // Copies the cells of `source` over `destination`, repeating it, as a fill copies.
  void Repeat(const Area& source, const Area& destination);
  void ShowInView();

  CalcBook& book_;
  uno::Reference<sheet::XSpreadsheet> sheet_;
  std::unique_ptr<CalcPageSetup> pageSetup_;
  std::unique_ptr<CalcPageBreaks> pageBreaks_;
};

}  // namespace tavrin
