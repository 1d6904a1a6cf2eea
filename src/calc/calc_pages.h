#pragma once

#include <memory>
#include <vector>

#include "host/page.h"
#include "host/range.h"

namespace tavrin {

class CalcSheet;

// Print title rows through the sheet's print areas.
class CalcPageSetup : public PageSetup {
 public:
  explicit CalcPageSetup(CalcSheet& sheet) : sheet_(sheet) {}
  std::string PrintTitleRows() const override;
  void SetPrintTitleRows(const std::string& rows) override;

 private:
  CalcSheet& sheet_;
};

class CalcPageBreaks;

// One of Calc's row breaks: manual ones are the rows that start a new page.
class CalcPageBreak : public HPageBreak {
 public:
  CalcPageBreak(CalcSheet& sheet, int row, bool manual)
      : sheet_(sheet), row_(row), manual_(manual) {}
  XlPageBreak Type() const override { return manual_ ? xlPageBreakManual : xlPageBreakAutomatic; }
  Range Location() const override;
  void SetLocation(const Range& row) override;
  void DragOff(int direction, int regionIndex) override;

 private:
  CalcSheet& sheet_;
  int row_;
  bool manual_;
};

// The sheet's row breaks as Calc pages it, down to the last row in use: Calc lists breaks down
// its whole sheet, where the host lists those of the used area.
class CalcPageBreaks : public HPageBreaks {
 public:
  explicit CalcPageBreaks(CalcSheet& sheet) : sheet_(sheet) {}
  int Count() override;
  HPageBreak& Item(int index) override;

  // Whether a row starts a new page by hand.
  static void SetManual(CalcSheet& sheet, int row, bool manual);

 private:
  void Refresh();

  CalcSheet& sheet_;
  std::vector<std::unique_ptr<CalcPageBreak>> breaks_;
  // The breaks of the look before, still valid for a caller that holds one.
  std::vector<std::unique_ptr<CalcPageBreak>> previous_;
};

}  // namespace tavrin
