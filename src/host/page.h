#pragma once

#include <string>

namespace tavrin {

class Range;

enum XlPageBreak : int { xlPageBreakManual = -4135, xlPageBreakAutomatic = -4105 };

// A sheet's page setup, as far as the toolbox touches it.
class PageSetup {
 public:
  virtual ~PageSetup() = default;
  virtual std::string PrintTitleRows() const = 0;
  // "$1:$3" and the like; an invalid text fails (1004).
  virtual void SetPrintTitleRows(const std::string& rows) = 0;
};

// One horizontal page break: the first row of the page it starts.
class HPageBreak {
 public:
  virtual ~HPageBreak() = default;
  virtual XlPageBreak Type() const = 0;
  virtual Range Location() const = 0;
  // Moves the break above the given row; the break becomes manual.
  virtual void SetLocation(const Range& row) = 0;
  // Removes a manual break; an automatic one refuses (1004).
  virtual void DragOff(int direction, int regionIndex) = 0;
};

// The sheet's horizontal page breaks, top to bottom, manual and automatic.
class HPageBreaks {
 public:
  virtual ~HPageBreaks() = default;
  virtual int Count() = 0;
  // Item by number from 1; out of range fails (9).
  virtual HPageBreak& Item(int index) = 0;
};

}  // namespace tavrin
