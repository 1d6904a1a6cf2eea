#include "calc/calc_pages.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XPrintAreas.hpp>
#include <com/sun/star/sheet/XSheetCellCursor.hpp>
#include <com/sun/star/sheet/XSheetPageBreak.hpp>
#include <com/sun/star/sheet/XUsedAreaCursor.hpp>
#include <com/sun/star/table/XColumnRowRange.hpp>

#include "calc/calc_sheet.h"
#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tavrin {

namespace table = com::sun::star::table;

namespace {

uno::Reference<sheet::XPrintAreas> PrintAreas(const CalcSheet& sheet) {
  return uno::Reference<sheet::XPrintAreas>(sheet.UnoSheet(), uno::UNO_QUERY_THROW);
}

// The last row in use, 1-based; 0 on an empty sheet.
int LastUsedRow(const CalcSheet& sheet) {
  uno::Reference<sheet::XSheetCellCursor> cursor = sheet.UnoSheet()->createCursor();
  uno::Reference<sheet::XUsedAreaCursor>(cursor, uno::UNO_QUERY_THROW)->gotoEndOfUsedArea(false);
  return static_cast<int>(uno::Reference<sheet::XCellRangeAddressable>(cursor, uno::UNO_QUERY_THROW)
                              ->getRangeAddress()
                              .EndRow) +
         1;
}

}  // namespace

std::string CalcPageSetup::PrintTitleRows() const {
  uno::Reference<sheet::XPrintAreas> areas = PrintAreas(sheet_);
  if (!areas->getPrintTitleRows()) return "";
  table::CellRangeAddress rows = areas->getTitleRows();
  return "$" + std::to_string(rows.StartRow + 1) + ":$" + std::to_string(rows.EndRow + 1);
}

void CalcPageSetup::SetPrintTitleRows(const std::string& rows) {
  uno::Reference<sheet::XPrintAreas> areas = PrintAreas(sheet_);
  if (rows.empty()) {
    areas->setPrintTitleRows(false);
    return;
  }
  std::optional<ParsedAddress> parsed = ParseAddress(rows);
  if (!parsed || !parsed->sheet.empty() || parsed->areas.size() != 1 ||
      !parsed->areas.front().IsWholeRows())
    throw HostError::ApplicationDefined();
  areas->setTitleRows(sheet_.Address(parsed->areas.front()));
  areas->setPrintTitleRows(true);
}

Range CalcPageBreak::Location() const {
  return sheet_.Cells(row_, 1);
}

void CalcPageBreak::SetLocation(const Range& row) {
  if (manual_) CalcPageBreaks::SetManual(sheet_, row_, false);
  CalcPageBreaks::SetManual(sheet_, row.Row(), true);
  row_ = row.Row();
  manual_ = true;
}

void CalcPageBreak::DragOff(int, int) {
  if (!manual_) throw HostError::MethodFailed("HPageBreak", "DragOff");
  CalcPageBreaks::SetManual(sheet_, row_, false);
}

void CalcPageBreaks::SetManual(CalcSheet& sheet, int row, bool manual) {
  uno::Reference<com::sun::star::container::XIndexAccess> rows(
      uno::Reference<table::XColumnRowRange>(sheet.UnoSheet(), uno::UNO_QUERY_THROW)->getRows(),
      uno::UNO_QUERY_THROW);
  uno::Reference<com::sun::star::beans::XPropertySet>(rows->getByIndex(row - 1),
                                                      uno::UNO_QUERY_THROW)
      ->setPropertyValue(Unicode("IsStartOfNewPage"), uno::Any(manual));
}

void CalcPageBreaks::Refresh() {
  int last = LastUsedRow(sheet_);
  std::vector<std::unique_ptr<CalcPageBreak>> found;
  // Calc marks the call deprecated without a successor that lists automatic breaks.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  uno::Sequence<sheet::TablePageBreakData> rowBreaks =
      uno::Reference<sheet::XSheetPageBreak>(sheet_.UnoSheet(), uno::UNO_QUERY_THROW)
          ->getRowPageBreaks();
#pragma GCC diagnostic pop
  for (const sheet::TablePageBreakData& data : rowBreaks) {
    int row = static_cast<int>(data.Position) + 1;
    if (row <= 1 || row > last || row > kLastRow) continue;
    found.push_back(std::make_unique<CalcPageBreak>(sheet_, row, data.ManualBreak));
  }
  previous_ = std::move(breaks_);
  breaks_ = std::move(found);
}

int CalcPageBreaks::Count() {
  Refresh();
  return static_cast<int>(breaks_.size());
}

HPageBreak& CalcPageBreaks::Item(int index) {
  Refresh();
  if (index < 1 || index > static_cast<int>(breaks_.size())) throw HostError::SubscriptOutOfRange();
  return *breaks_[static_cast<size_t>(index - 1)];
}

}  // namespace tavrin
