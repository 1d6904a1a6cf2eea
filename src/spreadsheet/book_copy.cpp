#include "spreadsheet/book_copy.h"

#include "host/host_error.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

BookCopy::BookCopy(Book& book) : book_(book), view_(book.GetWindow().View()) {
  for (const auto& sheet : book.sheets_) {
    if (sheet.get() == book.activeSheet_) active_ = sheets_.size();
    sheets_.push_back(std::make_unique<Sheet>(book, sheet->Name(), *sheet));
    selections_.push_back(sheet->Selection().Areas());
    changed_.push_back(sheet->Changed());
  }
}

BookCopy::~BookCopy() = default;

void BookCopy::Restore() {
  if (sheets_.empty()) throw HostError::ApplicationDefined();
  book_.sheets_ = std::move(sheets_);
  sheets_.clear();
  for (size_t i = 0; i < book_.sheets_.size(); ++i) {
    Sheet& sheet = *book_.sheets_[i];
    // Marked once back in the workbook: an unchanged sheet trusts the results stored in its
    // formula cells from the workbook's content as it is now.
    sheet.SetChanged(changed_[i]);
    // Selecting needs the sheet to be the active one.
    book_.activeSheet_ = &sheet;
    tavrin::Range(sheet, selections_[i]).Select();
  }
  book_.activeSheet_ = book_.sheets_[active_].get();
  book_.GetWindow().SetView(view_);
}

}  // namespace tavrin
