#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/page.h"
#include "spreadsheet/paging.h"

namespace tavrin {

class Sheet;
class SheetPageBreaks;

// One break of a sheet's HPageBreaks, by its place in the list: like the host's object, it
// reads the break that stands at its number now.
class SheetPageBreak : public HPageBreak {
 public:
  SheetPageBreak(SheetPageBreaks& owner, int number) : breaks_(owner), index_(number) {}

  XlPageBreak Type() const override;
  // The first cell of the row the break's page starts with.
  Range Location() const override;
  // The break moves above the row and becomes manual: a manual break leaves its old row, an
  // automatic one gives way to the new manual break.
  void SetLocation(const Range& row) override;
  // A manual break goes; an automatic one refuses ("HPageBreak 类的 DragOff 方法无效", 1004).
  void DragOff(int direction, int regionIndex) override;

 private:
  PageBreakPoint Current() const;

  SheetPageBreaks& breaks_;
  int index_;
};

// The sheet's horizontal page breaks, manual and automatic, top to bottom. They are computed
// when first asked for after a change to the cells, the row heights, the manual breaks or the
// page setup, and kept until the next change.
class SheetPageBreaks : public HPageBreaks {
 public:
  explicit SheetPageBreaks(Sheet& owner) : sheet_(owner) {}

  int Count() override;
  HPageBreak& Item(int index) override;

  const std::vector<PageBreakPoint>& Breaks();
  Sheet& Parent() { return sheet_; }

 private:
  // Everything the breaks depend on.
  struct Key {
    uint64_t contentVersion = 0;
    uint64_t heightsVersion = 0;
    SheetLayout layout;
    std::string titleRows;
    std::vector<std::pair<int, int>> hiddenRows;  // first and last row of each run
    double columnsWidth = 0;                      // of the columns paged, for fit to pages
    bool operator==(const Key& other) const;
  };

  Key CurrentKey() const;

  Sheet& sheet_;
  bool computed_ = false;
  Key key_;
  std::vector<PageBreakPoint> breaks_;
  std::vector<std::unique_ptr<SheetPageBreak>> items_;
};

}  // namespace tavrin
