#pragma once

#include <memory>
#include <vector>

#include "host/address.h"

namespace tavrin {

class Book;
class Sheet;

// A workbook as it stood, kept to put it back (an undo of everything done since): a copy of
// every sheet with its cells, heights, widths, layout, print titles, selection and changed
// flag, which sheet was active, and the window's view.
class BookCopy {
 public:
  explicit BookCopy(Book& book);
  ~BookCopy();

  // The copies, in the workbook's order then; they belong to no workbook's sheet list.
  const std::vector<std::unique_ptr<Sheet>>& Sheets() const { return sheets_; }

  // Puts the workbook back as it stood: its sheets are replaced by the copies (sheets added
  // since are gone), the active sheet, the selections and the view are as they were. The copy
  // is used up.
  void Restore();

 private:
  Book& book_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  std::vector<std::vector<Area>> selections_;
  std::vector<bool> changed_;
  size_t active_ = 0;
  int view_ = 0;
};

}  // namespace tavrin
