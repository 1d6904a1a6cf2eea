#include "spreadsheet/sheet.h"

#include <optional>

#include "host/host_error.h"
#include "spreadsheet/row_moves.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

Sheet::Sheet(Book& book, std::string name) : book_(book), name_(std::move(name)) {}

Sheet::Sheet(Book& book, std::string name, const Sheet& source)
    : book_(book),
      name_(std::move(name)),
      store_(source.store_),
      rowHeights_(source.rowHeights_),
      defaultRowHeight_(source.defaultRowHeight_),
      columnWidths_(source.columnWidths_),
      layout_(source.layout_) {
  pageSetup_.SetPrintTitleRows(source.pageSetup_.PrintTitleRows());
}

void Sheet::Activate() {
  book_.SetActiveSheet(*this);
  book_.Activate();
}

void Sheet::Copy(Worksheet& after) {
  book_.Parent().BetweenOperations();
  auto* target = dynamic_cast<Sheet*>(&after);
  if (target == nullptr || &target->book_ != &book_)
    throw HostError::MethodFailed("Worksheet", "Copy");
  book_.CopySheet(*this, *target);
}

Range Sheet::Range(std::string_view address) {
  std::optional<ParsedAddress> parsed = ParseAddress(address);
  if (!parsed || (!parsed->sheet.empty() && !EqualsIgnoringCase(parsed->sheet, name_))) {
    throw HostError::ApplicationDefined();
  }
  return tavrin::Range(*this, std::move(parsed->areas));
}

const UserLocale& Sheet::Locale() const {
  return book_.Parent().Locale();
}

void Sheet::CheckActive(const char* method) {
  if (&book_.GetActiveSheet() != this) throw HostError::MethodFailed("Range", method);
}

void Sheet::Select(const tavrin::Range& range) {
  CheckActive("Select");
  selection_ = range.Areas();
}

void Sheet::Activate(const tavrin::Range& range) {
  CheckActive("Activate");
  selection_ = range.Areas();
}

double Sheet::RowHeight(int row) const {
  const StoredRowHeight* height = rowHeights_.Find(row);
  return height == nullptr ? defaultRowHeight_ : height->points;
}

void Sheet::SetRowHeight(int row, double height, bool fitted) {
  rowHeights_.Set(row, {height, fitted});
  ++heightsVersion_;
  changed_ = true;
}

void Sheet::ClearRowHeight(int row) {
  rowHeights_.Erase(row);
  ++heightsVersion_;
  changed_ = true;
}

void Sheet::SetDefaultRowHeight(double height) {
  defaultRowHeight_ = height;
  ++heightsVersion_;
  changed_ = true;
}

double Sheet::ColumnWidth(int column) const {
  return OwnColumnWidth(column).value_or(kDefaultColumnWidth);
}

std::optional<double> Sheet::OwnColumnWidth(int column) const {
  auto it = columnWidths_.find(column);
  return it == columnWidths_.end() ? std::nullopt : std::optional<double>(it->second);
}

void Sheet::SetColumnWidth(int column, double width) {
  columnWidths_[column] = width;
  changed_ = true;
}

void Sheet::ClearColumnWidth(int column) {
  columnWidths_.erase(column);
  changed_ = true;
}

void Sheet::ShiftRowHeights(int at, int count) {
  rowHeights_.Move(at, count);
  ++heightsVersion_;
}

void Sheet::FormatFromAbove(int at, int count) {
  if (at <= 1) return;
  int above = at - 1;
  const StoredRowHeight* height = rowHeights_.Find(above);
  const LineFormat* format = layout_.rowFormats.Find(above);
  // A new row shows, whatever the row above: the rows a tool inserts must print. The mark of
  // a collapsed group belongs to the row below the group, not to a new row.
  std::optional<LineFormat> taken;
  if (format != nullptr) taken = LineFormat{false, format->style, format->outlineLevel, false};
  if (taken == LineFormat{}) taken.reset();
  std::optional<StoredRowHeight> takenHeight;
  if (height != nullptr) takenHeight = *height;
  for (int row = at; row < at + count; ++row) {
    if (takenHeight) rowHeights_.Set(row, *takenHeight);
    if (taken) layout_.rowFormats.Set(row, *taken);
  }
  for (int column = 1; column <= kLastColumn; ++column) {
    const Cell* cell = store_.Find(above, column);
    if (cell == nullptr || cell->style == 0) continue;
    uint32_t style = cell->style;
    for (int row = at; row < at + count; ++row) store_.SetStyle(row, column, style);
  }
}

Sheet& SheetOf(const tavrin::Range& range) {
  auto* sheet = dynamic_cast<Sheet*>(&range.Parent());
  if (sheet == nullptr) throw HostError::ApplicationDefined();
  return *sheet;
}

}  // namespace tavrin
