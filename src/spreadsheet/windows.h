#pragma once

#include <string>

#include "host/workbook.h"

namespace tavrin {

class Book;
class Spreadsheet;

// A workbook's window: its caption is the workbook's name; activating it makes the workbook
// active. The view (normal or page-break preview) is kept per window.
class BookWindow : public Window {
 public:
  explicit BookWindow(Book& book) : book_(book) {}

  std::string Caption() const override;
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  void Activate() override;
  int View() const override { return view_; }
  // xlNormalView or xlPageBreakPreview; anything else fails (1004).
  void SetView(int view) override;

 private:
  Book& book_;
  bool visible_ = true;
  int view_ = xlNormalView;
};

// The application's windows: one a workbook, in the order the workbooks were added.
class BookWindows : public Windows {
 public:
  explicit BookWindows(Spreadsheet& application) : application_(application) {}

  int Count() override;
  Window& Item(int index) override;
  // By caption, letter case ignored.
  Window& Item(const std::string& caption) override;

 private:
  Spreadsheet& application_;
};

}  // namespace tavrin
