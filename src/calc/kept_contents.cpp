#include "calc/kept_contents.h"

#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace sheet = com::sun::star::sheet;
namespace table = com::sun::star::table;
namespace CellFlags = com::sun::star::sheet::CellFlags;

KeptContents::KeptContents(uno::Reference<table::XCellRange> cells) : cells_(std::move(cells)) {
  uno::Reference<sheet::XCellRangesQuery> query(cells_, uno::UNO_QUERY_THROW);
  table::CellRangeAddress origin =
      uno::Reference<sheet::XCellRangeAddressable>(cells_, uno::UNO_QUERY_THROW)->getRangeAddress();
  for (const table::CellRangeAddress& found :
       query->queryContentCells(CellFlags::FORMULA)->getRangeAddresses()) {
    for (sal_Int32 r = found.StartRow; r <= found.EndRow; ++r) {
      for (sal_Int32 c = found.StartColumn; c <= found.EndColumn; ++c) {
        sal_Int32 row = r - origin.StartRow, column = c - origin.StartColumn;
        formulas_.push_back({row, column, cells_->getCellByPosition(column, row)->getFormula()});
      }
    }
  }
  data_ = uno::Reference<sheet::XCellRangeData>(cells_, uno::UNO_QUERY_THROW)->getDataArray();
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
