#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/workbook.h"

namespace tavrin {

class CalcApplication;
class CalcBook;

// A workbook's window. Activating it makes its workbook the active one. Its visibility is kept
// as a switch only: the host workbook's document stays hidden, and a user's window is theirs.
class CalcWindow : public Window {
 public:
  explicit CalcWindow(CalcBook& book) : book_(book) {}
  CalcBook& Book() const { return book_; }

  std::string Caption() const override;
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  void Activate() override;
  int View() const override { return view_; }
  // Calc shows page breaks in its page break preview; the view asked for is kept.
  void SetView(int view) override { view_ = view; }

 private:
  CalcBook& book_;
  bool visible_ = true;
  int view_ = xlNormalView;
};

// The windows of the workbooks the application knows, in the order it met them.
class CalcWindows : public Windows {
 public:
  explicit CalcWindows(CalcApplication& application) : app_(application) {}

  int Count() override;
  Window& Item(int index) override;
  Window& Item(const std::string& caption) override;
  CalcWindow& Of(CalcBook& book);
  void Drop(CalcBook& book);

 private:
  CalcApplication& app_;
  std::vector<std::unique_ptr<CalcWindow>> windows_;
};

}  // namespace tavrin
