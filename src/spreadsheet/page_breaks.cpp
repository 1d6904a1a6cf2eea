#include "spreadsheet/page_breaks.h"

#include <algorithm>
#include <cmath>

#include "host/host_error.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// The area a print area or print title text names, or none.
std::optional<Area> AreaOf(const std::string& address) {
  if (address.empty()) return std::nullopt;
  std::optional<ParsedAddress> parsed = ParseAddress(address);
  if (!parsed || parsed->areas.empty()) return std::nullopt;
  return parsed->areas.front();
}

// The printed width of columns in points: a width of w characters of the default font is
// 7w + 5 pixels (the default 8.43 is 64), 3/4 of a point each.
double ColumnsWidth(const Sheet& sheet, const std::optional<Area>& columns) {
  if (!columns) return 0;
  double points = 0;
  for (int c = columns->column; c <= columns->LastColumn(); ++c)
    points += std::floor(sheet.ColumnWidth(c) * 7 + 5) * 0.75;
  return points;
}

}  // namespace

bool SheetPageBreaks::Key::operator==(const Key& other) const {
  const SheetLayout& a = layout;
  const SheetLayout& b = other.layout;
  return contentVersion == other.contentVersion && heightsVersion == other.heightsVersion &&
         titleRows == other.titleRows && hiddenRows == other.hiddenRows && a.margins == b.margins &&
         a.paperSize == b.paperSize && a.orientation == b.orientation && a.scale == b.scale &&
         a.printHeadings == b.printHeadings && a.fitToPage == b.fitToPage &&
         a.fitToWidth == b.fitToWidth && a.fitToHeight == b.fitToHeight &&
         columnsWidth == other.columnsWidth && a.printArea == b.printArea &&
         a.manualRowBreaks == b.manualRowBreaks;
}

SheetPageBreaks::Key SheetPageBreaks::CurrentKey() const {
  Key key{sheet_.ContentVersion(),
          sheet_.HeightsVersion(),
          {},
          sheet_.PageSetup().PrintTitleRows(),
          {}};
  const SheetLayout& layout = sheet_.Layout();
  key.layout.margins = layout.margins;
  key.layout.paperSize = layout.paperSize;
  if (layout.paperSize == SheetLayout::kPaperDefault)
    key.layout.paperSize = sheet_.Locale().defaultPaper;
  key.layout.orientation = layout.orientation;
  key.layout.scale = layout.scale;
  key.layout.printHeadings = layout.printHeadings;
  key.layout.fitToPage = layout.fitToPage;
  key.layout.fitToWidth = layout.fitToWidth;
  key.layout.fitToHeight = layout.fitToHeight;
  if (layout.fitToPage) {
    std::optional<Area> columns = AreaOf(layout.printArea);
    if (!columns) columns = sheet_.UsedArea();
    key.columnsWidth = ColumnsWidth(sheet_, columns);
  }
  key.layout.printArea = layout.printArea;
  key.layout.manualRowBreaks = layout.manualRowBreaks;
  for (const auto& run : layout.rowFormats.Runs()) {
    if (run.value.hidden) key.hiddenRows.push_back({run.first, run.last});
  }
  return key;
}

const std::vector<PageBreakPoint>& SheetPageBreaks::Breaks() {
  Key key = CurrentKey();
  if (computed_ && key == key_) return breaks_;
  PagingInput input;
  input.layout = &sheet_.Layout();
  input.defaultPaper = sheet_.Locale().defaultPaper;
  input.defaultRowHeight = sheet_.DefaultRowHeight();
  input.rowHeights = &sheet_.RowHeights();
  if (std::optional<Area> area = AreaOf(sheet_.Layout().printArea)) {
    input.firstRow = area->row;
    input.lastRow = area->LastRow();
  } else {
    std::optional<Area> used = sheet_.UsedArea();
    input.lastRow = used ? used->LastRow() : 0;
  }
  if (std::optional<Area> titles = AreaOf(key.titleRows)) {
    input.titleFirst = titles->row;
    input.titleLast = titles->LastRow();
  }
  input.scale =
      sheet_.Layout().fitToPage ? FitScale(input, key.columnsWidth) : sheet_.Layout().scale;
  breaks_ = ComputePageBreaks(input);
  key_ = std::move(key);
  computed_ = true;
  return breaks_;
}

int SheetPageBreaks::Count() {
  return static_cast<int>(Breaks().size());
}

HPageBreak& SheetPageBreaks::Item(int index) {
  if (index < 1 || index > Count()) throw HostError::SubscriptOutOfRange();
  while (static_cast<int>(items_.size()) < index) {
    items_.push_back(std::make_unique<SheetPageBreak>(*this, static_cast<int>(items_.size()) + 1));
  }
  return *items_[index - 1];
}

PageBreakPoint SheetPageBreak::Current() const {
  const std::vector<PageBreakPoint>& breaks = breaks_.Breaks();
  if (index_ > static_cast<int>(breaks.size())) throw HostError::SubscriptOutOfRange();
  return breaks[index_ - 1];
}

XlPageBreak SheetPageBreak::Type() const {
  return Current().manual ? xlPageBreakManual : xlPageBreakAutomatic;
}

Range SheetPageBreak::Location() const {
  return Range(breaks_.Parent(), Area{Current().row, 1, 1, 1});
}

void SheetPageBreak::SetLocation(const Range& row) {
  PageBreakPoint current = Current();
  int to = row.Row();
  if (to < 2 || &row.Parent() != &breaks_.Parent()) {
    throw HostError::ApplicationDefined();
  }
  breaks_.Parent().EditLayout([&](SheetLayout& layout) {
    std::vector<int>& manual = layout.manualRowBreaks;
    if (current.manual) manual.erase(std::find(manual.begin(), manual.end(), current.row));
    auto at = std::lower_bound(manual.begin(), manual.end(), to);
    if (at == manual.end() || *at != to) manual.insert(at, to);
  });
}

void SheetPageBreak::DragOff(int, int) {
  PageBreakPoint current = Current();
  if (!current.manual) throw HostError::MethodFailed("HPageBreak", "DragOff");
  breaks_.Parent().EditLayout([&](SheetLayout& layout) {
    std::vector<int>& manual = layout.manualRowBreaks;
    manual.erase(std::find(manual.begin(), manual.end(), current.row));
  });
}

}  // namespace tavrin
