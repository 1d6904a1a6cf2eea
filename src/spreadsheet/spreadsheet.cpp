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
  std::optional<ParsedAddress> parsed = ParseAddress(text);
  if (!parsed) {
    bool blank = text.find_first_not_of(" \t") == std::string_view::npos;
    return Variant(blank ? ErrorValue::Value : ErrorValue::Name);
  }
  Sheet* sheet = parsed->sheet.empty() ? &ActiveSheet() : ActiveBook().FindSheet(parsed->sheet);
  if (sheet == nullptr) return Variant(ErrorValue::Ref);
  return tavrin::Range(*sheet, std::move(parsed->areas));
}

Range Spreadsheet::Range(std::string_view address) {
  std::optional<ParsedAddress> parsed = ParseAddress(address);
  if (!parsed) throw HostError::ApplicationDefined();
  Sheet* sheet = parsed->sheet.empty() ? &ActiveSheet() : ActiveBook().FindSheet(parsed->sheet);
  if (sheet == nullptr) throw HostError::ApplicationDefined();
  return tavrin::Range(*sheet, std::move(parsed->areas));
}

WorksheetFunction& Spreadsheet::WorksheetFunction() {
  return *functions_;
}

RangeOrValue Spreadsheet::InputBox(const std::string& prompt, const std::string& title,
                                   const Variant&, const Variant&, const Variant&, const Variant&,
                                   const Variant&, int type) {
  std::optional<std::string> answer = answerer_ ? answerer_(prompt, title) : std::nullopt;
  if (!answer) return Variant::Boolean(false);
  if (type != 8) return Variant(*answer);
  std::string_view address = *answer;
  if (!address.empty() && address.front() == '=') address.remove_prefix(1);
  // The host would ask again after an answer that is no reference; here it counts as cancelled.
  RangeOrValue result = Evaluate(address);
  return result.IsRange() ? result : RangeOrValue(Variant::Boolean(false));
}

MenuBar& Spreadsheet::MenuBars(int kind) {
  if (kind != xlWorksheet) throw HostError::InvalidCall();
  return worksheetMenus_;
}

}  // namespace tavrin
