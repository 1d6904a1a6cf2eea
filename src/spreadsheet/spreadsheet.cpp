#include "spreadsheet/spreadsheet.h"

#include <cctype>
#include <ctime>

#include "host/host_error.h"
#include "spreadsheet/book.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"
#include "spreadsheet/windows.h"
#include "spreadsheet/worksheet_function.h"

namespace tavrin {

Spreadsheet::Spreadsheet(UserLocale locale)
    : locale_(locale),
      windows_(std::make_unique<BookWindows>(*this)),
      functions_(std::make_unique<SheetFunctions>(locale_)) {}

Spreadsheet::~Spreadsheet() = default;

void Spreadsheet::AddCellFunction(std::string_view name, CellFunction function) {
  std::string upper(name);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  cellFunctions_[upper] = std::move(function);
}

const CellFunction* Spreadsheet::FindCellFunction(std::string_view name) const {
  auto found = cellFunctions_.find(name);
  return found == cellFunctions_.end() ? nullptr : &found->second;
}

double Spreadsheet::Now() const {
  if (clock_) return clock_();
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  double day = SerialOf(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday).value_or(0);
  return day + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

void Spreadsheet::RemoveWorkbook(Book& book) {
  std::erase_if(books_, [&](const std::unique_ptr<Book>& held) { return held.get() == &book; });
  if (activeBook_ == &book) activeBook_ = books_.empty() ? nullptr : books_.back().get();
}

Book& Spreadsheet::AddWorkbook(const std::string& name) {
  for (const auto& book : books_) {
    if (EqualsIgnoringCase(book->Name(), name)) throw HostError::ApplicationDefined();
  }
  books_.push_back(std::make_unique<Book>(*this, name));
  activeBook_ = books_.back().get();
  return *books_.back();
}

Book& Spreadsheet::GetWorkbook(const std::string& name) {
  for (const auto& book : books_) {
    if (EqualsIgnoringCase(book->Name(), name)) return *book;
  }
  throw HostError::SubscriptOutOfRange();
}

Book& Spreadsheet::GetWorkbook(int index) {
  if (index < 1 || index > WorkbookCount()) throw HostError::SubscriptOutOfRange();
  return *books_[index - 1];
}

Windows& Spreadsheet::Windows() {
  return *windows_;
}

Window& Spreadsheet::ActiveWindow() {
  return ActiveBook().GetWindow();
}

Workbook& Spreadsheet::ActiveWorkbook() {
  return ActiveBook();
}

Book& Spreadsheet::ActiveBook() {
  if (activeBook_ == nullptr) throw HostError::ObjectVariableNotSet();
  return *activeBook_;
}

Workbook& Spreadsheet::ThisWorkbook() {
  if (thisBook_ == nullptr) throw HostError::ObjectVariableNotSet();
  return *thisBook_;
}

void Spreadsheet::SetCutCopyMode(bool mode) {
  if (!mode) clipboard_.reset();
}

Sheet& Spreadsheet::ActiveSheet() {
  return ActiveBook().GetActiveSheet();
}

Range Spreadsheet::Selection() {
  return ActiveSheet().Selection();
}

RangeOrValue Spreadsheet::Evaluate(std::string_view text) {
  return EvaluateAddress(text, ActiveSheet(), [this](const std::string& name) -> Worksheet* {
    return ActiveBook().FindSheet(name);
  });
}

Range Spreadsheet::Range(std::string_view address) {
  RangeOrValue found = Evaluate(address);
  if (!found.IsRange()) throw HostError::ApplicationDefined();
  return found.AsRange();
}

WorksheetFunction& Spreadsheet::WorksheetFunction() {
  return *functions_;
}

RangeOrValue Spreadsheet::InputBox(const std::string& prompt, const std::string& title,
                                   const Variant&, const Variant&, const Variant&, const Variant&,
                                   const Variant&, int type) {
  return InputBoxAnswer(answerer_ ? answerer_(prompt, title) : std::nullopt, type,
                        [this](std::string_view address) { return Evaluate(address); });
}

MenuBar& Spreadsheet::MenuBars(int kind) {
  if (kind != xlWorksheet) throw HostError::InvalidCall();
  return worksheetMenus_;
}

}  // namespace tavrin
