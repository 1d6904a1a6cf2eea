#include "calc/calc_sheet.h"

#include <algorithm>

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRangeContainer.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include "calc/calc_application.h"
#include "calc/calc_book.h"
#include "calc/calc_pages.h"
#include "calc/found_cells.h"
#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tavrin {

namespace table = com::sun::star::table;
namespace CellFlags = com::sun::star::sheet::CellFlags;

CalcSheet::CalcSheet(CalcBook& book, uno::Reference<sheet::XSpreadsheet> sheet)
    : book_(book),
      sheet_(std::move(sheet)),
      pageSetup_(std::make_unique<CalcPageSetup>(*this)),
      pageBreaks_(std::make_unique<CalcPageBreaks>(*this)) {}

CalcSheet::~CalcSheet() = default;

sal_Int16 CalcSheet::Index() const {
  return uno::Reference<sheet::XCellRangeAddressable>(sheet_, uno::UNO_QUERY_THROW)
      ->getRangeAddress()
      .Sheet;
}

table::CellRangeAddress CalcSheet::Address(const Area& area) const {
  return table::CellRangeAddress(Index(), area.column - 1, area.row - 1, area.LastColumn() - 1,
                                 area.LastRow() - 1);
}

uno::Reference<table::XCellRange> CalcSheet::CellRange(const Area& area) const {
  return sheet_->getCellRangeByPosition(area.column - 1, area.row - 1, area.LastColumn() - 1,
                                        area.LastRow() - 1);
}

CalcDocument& CalcSheet::Document() const {
  return book_.Document();
}

std::string CalcSheet::Name() const {
  return Utf8(
      uno::Reference<com::sun::star::container::XNamed>(sheet_, uno::UNO_QUERY_THROW)->getName());
}

Workbook& CalcSheet::Parent() {
  return book_;
}

void CalcSheet::Activate() {
  book_.SetActiveSheet(*this);
  book_.App().SetActive(book_);
}

// The copy is named as the host names copies: "Name (2)", or the next number free; a copy of
// "Name (2)" counts on from "Name".
void CalcSheet::Copy(Worksheet& after) {
  auto* target = dynamic_cast<CalcSheet*>(&after);
  if (target == nullptr || &target->book_ != &book_)
    throw HostError::MethodFailed("Worksheet", "Copy");
  std::string name = Name();
  size_t open = name.rfind(" (");
  if (open != std::string::npos && name.back() == ')' &&
      name.find_first_not_of("0123456789", open + 2) == name.size() - 1 && open + 3 < name.size())
    name.resize(open);
  std::string copyName;
  for (int n = 2; book_.FindSheet(copyName = name + " (" + std::to_string(n) + ")"); ++n) {
  }
  uno::Reference<sheet::XSpreadsheets> sheets = Document().Document()->getSheets();
  sheets->copyByName(Unicode(Name()), Unicode(copyName), target->Index() + 1);
  book_.FindSheet(copyName)->Activate();
}

tavrin::PageSetup& CalcSheet::PageSetup() {
  return *pageSetup_;
}

tavrin::HPageBreaks& CalcSheet::HPageBreaks() {
  return *pageBreaks_;
}

tavrin::Range CalcSheet::Range(std::string_view address) {
  std::optional<ParsedAddress> parsed = ParseAddress(address);
  if (!parsed || (!parsed->sheet.empty() && book_.FindSheet(parsed->sheet) != this))
    throw HostError::ApplicationDefined();
  return tavrin::Range(*this, std::move(parsed->areas));
}

void CalcSheet::ShowInView() {
  if (&book_.ActiveSheet() != this) throw HostError::MethodFailed("Range", "Select");
}

void CalcSheet::Select(const tavrin::Range& range) {
  ShowInView();
  uno::Reference<com::sun::star::view::XSelectionSupplier> view(Document().Controller(),
                                                                uno::UNO_QUERY);
  if (!view.is()) return;
  if (range.Areas().size() == 1) {
    view->select(uno::Any(CellRange(range.FirstArea())));
    return;
  }
  uno::Reference<sheet::XSheetCellRanges> several(
      uno::Reference<com::sun::star::lang::XMultiServiceFactory>(Document().Document(),
                                                                 uno::UNO_QUERY_THROW)
          ->createInstance(Unicode("com.sun.star.sheet.SheetCellRanges")),
      uno::UNO_QUERY_THROW);
  uno::Reference<sheet::XSheetCellRangeContainer> container(several, uno::UNO_QUERY_THROW);
  for (const Area& area : range.Areas()) container->addRangeAddress(Address(area), false);
  view->select(uno::Any(several));
}

void CalcSheet::Activate(const tavrin::Range& range) {
  Select(range);
}

namespace {

// The rows (or columns) of a line that hold something, as runs [first, last], 1-based.
std::vector<std::pair<int, int>> FilledRuns(const uno::Reference<table::XCellRange>& line,
                                            bool down) {
  uno::Reference<sheet::XCellRangesQuery> query(line, uno::UNO_QUERY_THROW);
  std::vector<std::pair<int, int>> runs;
  table::CellRangeAddress within =
      uno::Reference<sheet::XCellRangeAddressable>(line, uno::UNO_QUERY_THROW)->getRangeAddress();
  for (const table::CellRangeAddress& found :
       FoundWithin(query->queryContentCells(CellFlags::VALUE | CellFlags::DATETIME |
                                            CellFlags::STRING | CellFlags::FORMULA),
                   within)) {
    if (down)
      runs.emplace_back(found.StartRow + 1, found.EndRow + 1);
    else
      runs.emplace_back(found.StartColumn + 1, found.EndColumn + 1);
  }
  std::sort(runs.begin(), runs.end());
  // Calc may give one run of cells as several ranges side by side.
  std::vector<std::pair<int, int>> merged;
  for (const auto& run : runs) {
    if (!merged.empty() && run.first <= merged.back().second + 1)
      merged.back().second = std::max(merged.back().second, run.second);
    else
      merged.push_back(run);
  }
  return merged;
}

// The host's End along a line of `last` cells from position `at`: within a run of filled
// cells to its end; otherwise to the next filled cell; otherwise to the edge.
int EndAlong(std::vector<std::pair<int, int>> runs, int at, int last, bool forward) {
  if (!forward) {
    for (auto& run : runs) run = {last + 1 - run.second, last + 1 - run.first};
    std::reverse(runs.begin(), runs.end());
    at = last + 1 - at;
  }
  auto filled = [&](int position) {
    return std::any_of(runs.begin(), runs.end(), [&](const auto& run) {
      return run.first <= position && position <= run.second;
    });
  };
  int result = last;
  if (at < last && filled(at) && filled(at + 1)) {
    for (const auto& run : runs) {
      if (run.first <= at + 1 && at + 1 <= run.second) result = std::min(run.second, last);
    }
  } else {
    for (const auto& run : runs) {
      if (run.second > at) {
        result = std::max(run.first, at + 1);
        break;
      }
    }
  }
  if (at >= last) result = last;
  return forward ? result : last + 1 - result;
}

}  // namespace

tavrin::Range CalcSheet::End(const tavrin::Range& from, XlDirection direction) {
  int row = from.Row(), column = from.Column();
  bool down = direction == xlUp || direction == xlDown;
  bool forward = direction == xlDown || direction == xlToRight;
  Area line = down ? Area{1, column, kLastRow, 1} : Area{row, 1, 1, kLastColumn};
  std::vector<std::pair<int, int>> runs = FilledRuns(CellRange(line), down);
  int at = EndAlong(runs, down ? row : column, down ? kLastRow : kLastColumn, forward);
  return down ? Cells(at, column) : Cells(row, at);
}

}  // namespace tavrin
