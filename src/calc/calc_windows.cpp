#include "calc/calc_windows.h"

#include "calc/calc_application.h"
#include "host/host_error.h"

namespace tavrin {

std::string CalcWindow::Caption() const {
  return book_.Name();
}

void CalcWindow::Activate() {
  book_.App().SetActive(book_);
}

int CalcWindows::Count() {
  return static_cast<int>(app_.Books().size());
}

CalcWindow& CalcWindows::Of(CalcBook& book) {
  for (const auto& window : windows_) {
    if (&window->Book() == &book) return *window;
  }
  windows_.push_back(std::make_unique<CalcWindow>(book));
  return *windows_.back();
}

void CalcWindows::Drop(CalcBook& book) {
  std::erase_if(windows_, [&](const auto& window) { return &window->Book() == &book; });
}

Window& CalcWindows::Item(int index) {
  if (index < 1 || index > Count()) throw HostError::SubscriptOutOfRange();
  return Of(*app_.Books()[static_cast<size_t>(index - 1)]);
}

Window& CalcWindows::Item(const std::string& caption) {
  for (const auto& book : app_.Books()) {
    if (book->Name() == caption) return Of(*book);
  }
  throw HostError::SubscriptOutOfRange();
}

}  // namespace tavrin
