#include "spreadsheet/windows.h"

#include "host/host_error.h"
#include "spreadsheet/book.h"

namespace tavrin {

std::string BookWindow::Caption() const {
  return book_.Name();
}

void BookWindow::Activate() {
  book_.Activate();
}

void BookWindow::SetView(int view) {
  if (view != xlNormalView && view != xlPageBreakPreview) throw HostError::ApplicationDefined();
  view_ = view;
}

int BookWindows::Count() {
  return application_.WorkbookCount();
}

Window& BookWindows::Item(int index) {
  return application_.GetWorkbook(index).GetWindow();
}

Window& BookWindows::Item(const std::string& caption) {
  return application_.GetWorkbook(caption).GetWindow();
}

}  // namespace tavrin
