#pragma once

#include <string>
#include <string_view>

#include "host/block.h"
#include "host/page.h"
#include "host/range.h"
#include "host/variant.h"

namespace tavrin {

class Workbook;

// A worksheet of the host. The content members take the range they act on; Range's own
// members forward to them, so the toolbox writes range.ClearContents() as the object model
// does.
class Worksheet {
 public:
  virtual ~Worksheet() = default;

  virtual std::string Name() const = 0;
  virtual Workbook& Parent() = 0;
  virtual void Activate() = 0;
  // Copies the sheet after the given sheet of the same workbook; the copy is named as the host
  // names copies ("Name (2)") and becomes the active sheet.
  virtual void Copy(Worksheet& after) = 0;
  virtual tavrin::PageSetup& PageSetup() = 0;
  virtual tavrin::HPageBreaks& HPageBreaks() = 0;

  // Geometry: no host call.
  tavrin::Range Cells(int row, int column);
  tavrin::Range Range(const tavrin::Range& first, const tavrin::Range& last);
  // Rows first to last, whole rows.
  tavrin::Range Rows(int first, int last);
  // "5:9" or "5": whole rows; anything else fails (1004).
  tavrin::Range Rows(std::string_view rowsText);
  // An address text on this sheet. A text naming another sheet, or no address, fails (1004).
  virtual tavrin::Range Range(std::string_view address) = 0;

  // Content and side effects of ranges on this sheet.
  virtual Variant Value(const tavrin::Range& cell) = 0;
  virtual void SetValue(const tavrin::Range& range, const Variant& value) = 0;
  virtual Block Values(const Area& area) = 0;
  virtual void SetValues(const Area& area, const Block& values) = 0;
  virtual std::string Formula(const tavrin::Range& cell) = 0;
  virtual void SetFormula(const tavrin::Range& range, const std::string& formula) = 0;
  virtual std::string FormulaR1C1(const tavrin::Range& cell) = 0;
  virtual void SetFormulaR1C1(const tavrin::Range& range, const std::string& formula) = 0;
  virtual std::string Text(const tavrin::Range& cell) = 0;
  virtual void ClearContents(const tavrin::Range& range) = 0;
  virtual void Select(const tavrin::Range& range) = 0;
  virtual void Activate(const tavrin::Range& range) = 0;
  virtual tavrin::Range End(const tavrin::Range& from, XlDirection direction) = 0;
  virtual void AutoFill(const tavrin::Range& source, const tavrin::Range& destination,
                        XlAutoFillType type) = 0;
  virtual void AdvancedFilter(const tavrin::Range& list, XlFilterAction action,
                              const tavrin::Range& copyToRange, bool unique) = 0;
  virtual void Copy(const tavrin::Range& source) = 0;
  virtual void Copy(const tavrin::Range& source, const tavrin::Range& destination) = 0;
  virtual void Cut(const tavrin::Range& source, const tavrin::Range& destination) = 0;
  virtual void PasteSpecial(const tavrin::Range& at, XlPasteType paste,
                            XlPasteSpecialOperation operation, bool skipBlanks, bool transpose) = 0;
  virtual void Insert(const tavrin::Range& range, XlShift shift) = 0;
  virtual void Delete(const tavrin::Range& range, XlShift shift) = 0;
};

}  // namespace tavrin
