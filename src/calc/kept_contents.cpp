#include "calc/kept_contents.h"

#include "calc/found_cells.h"

#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XTextRange.hpp>

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace sheet = com::sun::star::sheet;
namespace table = com::sun::star::table;
namespace CellFlags = com::sun::star::sheet::CellFlags;

namespace {

uno::Sequence<uno::Sequence<uno::Any>> CellByCell(const uno::Reference<table::XCellRange>& cells,
                                                  const table::CellRangeAddress& origin) {
  sal_Int32 rows = origin.EndRow - origin.StartRow + 1;
  sal_Int32 columns = origin.EndColumn - origin.StartColumn + 1;
  uno::Sequence<uno::Sequence<uno::Any>> data(rows);
  for (sal_Int32 r = 0; r < rows; ++r) {
    uno::Sequence<uno::Any> line(columns);
    for (sal_Int32 c = 0; c < columns; ++c) {
      uno::Reference<table::XCell> cell = cells->getCellByPosition(c, r);
      if (cell->getType() == table::CellContentType_VALUE)
        line.getArray()[c] <<= cell->getValue();
      else if (cell->getType() == table::CellContentType_TEXT)
        line.getArray()[c] <<=
            uno::Reference<com::sun::star::text::XTextRange>(cell, uno::UNO_QUERY_THROW)
                ->getString();
    }
    data.getArray()[r] = line;
  }
  return data;
}

}  // namespace

KeptContents::KeptContents(uno::Reference<table::XCellRange> cells) : cells_(std::move(cells)) {
  uno::Reference<sheet::XCellRangesQuery> query(cells_, uno::UNO_QUERY_THROW);
  table::CellRangeAddress origin =
      uno::Reference<sheet::XCellRangeAddressable>(cells_, uno::UNO_QUERY_THROW)->getRangeAddress();
  for (const table::CellRangeAddress& found :
       FoundWithin(query->queryContentCells(CellFlags::FORMULA), origin)) {
    for (sal_Int32 r = found.StartRow; r <= found.EndRow; ++r) {
      for (sal_Int32 c = found.StartColumn; c <= found.EndColumn; ++c) {
        sal_Int32 row = r - origin.StartRow, column = c - origin.StartColumn;
        formulas_.push_back({row, column, cells_->getCellByPosition(column, row)->getFormula()});
      }
    }
  }
  try {
    data_ = uno::Reference<sheet::XCellRangeData>(cells_, uno::UNO_QUERY_THROW)->getDataArray();
  } catch (const uno::RuntimeException&) {
    // Calc refuses the block at once for some error results: the cells one by one.
    data_ = CellByCell(cells_, origin);
  }
}

void KeptContents::PutBack() {
  uno::Reference<sheet::XSheetOperation>(cells_, uno::UNO_QUERY_THROW)
      ->clearContents(CellFlags::VALUE | CellFlags::DATETIME | CellFlags::STRING |
                      CellFlags::FORMULA);
  // An error result reads as nothing; its formula is put back below.
  for (sal_Int32 r = 0; r < data_.getLength(); ++r) {
    uno::Sequence<uno::Any>& line = data_.getArray()[r];
    for (sal_Int32 c = 0; c < line.getLength(); ++c) {
      if (!line[c].hasValue()) line.getArray()[c] <<= rtl::OUString();
    }
  }
  uno::Reference<sheet::XCellRangeData>(cells_, uno::UNO_QUERY_THROW)->setDataArray(data_);
  for (const Formula& formula : formulas_)
    cells_->getCellByPosition(formula.column, formula.row)->setFormula(formula.text);
}

}  // namespace tavrin
