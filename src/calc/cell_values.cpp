#include "calc/cell_values.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XCellFormatRangesSupplier.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeData.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/util/NumberFormat.hpp>

#include "calc/found_cells.h"
#include "calc/uno_text.h"

namespace tavrin {

namespace table = com::sun::star::table;
namespace beans = com::sun::star::beans;
namespace NumberFormat = com::sun::star::util::NumberFormat;

namespace {

enum class NumberKind { Plain, Date, Boolean };

NumberKind KindOfFormat(sal_Int16 kind) {
  if (kind & NumberFormat::LOGICAL) return NumberKind::Boolean;
  if (kind & (NumberFormat::DATE | NumberFormat::TIME)) return NumberKind::Date;
  return NumberKind::Plain;
}

NumberKind KindOfCell(const uno::Reference<beans::XPropertySet>& properties,
                      CalcDocument& document) {
  sal_Int32 key = 0;
  properties->getPropertyValue(Unicode("NumberFormat")) >>= key;
  return KindOfFormat(document.FormatKind(key));
}

Variant Number(double number, NumberKind kind) {
  if (kind == NumberKind::Date) return Variant::Date(number);
  if (kind == NumberKind::Boolean) return Variant::Boolean(number != 0);
  return Variant(number);
}

std::string CellString(const uno::Reference<table::XCell>& cell) {
  return Utf8(
      uno::Reference<com::sun::star::text::XTextRange>(cell, uno::UNO_QUERY_THROW)->getString());
}

// Calls `each` with the block's row and column (from 1) of every cell in the ranges.
template <class Each>
void ForEachCellOf(const uno::Reference<sheet::XSheetCellRanges>& ranges,
                   const table::CellRangeAddress& origin, Each each) {
  for (const table::CellRangeAddress& found : FoundWithin(ranges, origin)) {
    for (sal_Int32 r = found.StartRow; r <= found.EndRow; ++r) {
      for (sal_Int32 c = found.StartColumn; c <= found.EndColumn; ++c)
        each(r - origin.StartRow + 1, c - origin.StartColumn + 1);
    }
  }
}

// Numbers in cells formatted as dates, times or Booleans.
void MendFormats(const uno::Reference<table::XCellRange>& cells,
                 const table::CellRangeAddress& origin, Block& block, CalcDocument& document) {
  uno::Reference<sheet::XCellFormatRangesSupplier> supplier(cells, uno::UNO_QUERY_THROW);
  uno::Reference<com::sun::star::container::XIndexAccess> parts = supplier->getCellFormatRanges();
  for (sal_Int32 i = 0; i < parts->getCount(); ++i) {
    uno::Reference<beans::XPropertySet> part(parts->getByIndex(i), uno::UNO_QUERY_THROW);
    NumberKind kind = KindOfCell(part, document);
    if (kind == NumberKind::Plain) continue;
    table::CellRangeAddress at =
        uno::Reference<sheet::XCellRangeAddressable>(part, uno::UNO_QUERY_THROW)->getRangeAddress();
    for (sal_Int32 r = at.StartRow; r <= at.EndRow; ++r) {
      for (sal_Int32 c = at.StartColumn; c <= at.EndColumn; ++c) {
        Variant& value = block(r - origin.StartRow + 1, c - origin.StartColumn + 1);
        if (value.IsNumber()) value = Number(value.AsNumber(), kind);
      }
    }
  }
}

}  // namespace

ErrorValue ErrorOfCode(sal_Int32 code) {
  switch (code) {
    case 521:
      return ErrorValue::Null;
    case 532:
      return ErrorValue::Div0;
    case 524:
      return ErrorValue::Ref;
    case 525:
      return ErrorValue::Name;
    case 503:
    case 523:
      return ErrorValue::Num;
    case 32767:
      return ErrorValue::NA;
    default:
      return ErrorValue::Value;
  }
}

Variant ReadCell(const uno::Reference<table::XCell>& cell, CalcDocument& document) {
  uno::Reference<beans::XPropertySet> properties(cell, uno::UNO_QUERY_THROW);
  switch (cell->getType()) {
    case table::CellContentType_EMPTY:
      return Variant();
    case table::CellContentType_TEXT:
      return Variant(CellString(cell));
    case table::CellContentType_VALUE:
      return Number(cell->getValue(), KindOfCell(properties, document));
    default:
      break;
  }
  sal_Int32 result = 0;
  properties->getPropertyValue(Unicode("FormulaResultType2")) >>= result;
  if (result == sheet::FormulaResult::ERROR) return Variant(ErrorOfCode(cell->getError()));
  if (result == sheet::FormulaResult::STRING) return Variant(CellString(cell));
  return Number(cell->getValue(), KindOfCell(properties, document));
}

Block ReadCells(const uno::Reference<table::XCellRange>& cells, int rows, int columns,
                CalcDocument& document) {
  Block block(rows, columns);
  uno::Sequence<uno::Sequence<uno::Any>> data =
      uno::Reference<sheet::XCellRangeData>(cells, uno::UNO_QUERY_THROW)->getDataArray();
  for (int r = 0; r < rows && r < data.getLength(); ++r) {
    const uno::Sequence<uno::Any>& line = data[r];
    for (int c = 0; c < columns && c < line.getLength(); ++c) {
      double number = 0;
      rtl::OUString text;
      if (line[c] >>= number) {
        block(r + 1, c + 1) = Variant(number);
      } else if ((line[c] >>= text) && !text.isEmpty()) {
        block(r + 1, c + 1) = Variant(Utf8(text));
      }
    }
  }
  table::CellRangeAddress origin =
      uno::Reference<sheet::XCellRangeAddressable>(cells, uno::UNO_QUERY_THROW)->getRangeAddress();
  uno::Reference<sheet::XCellRangesQuery> query(cells, uno::UNO_QUERY_THROW);
  // One call gives "" for a formula's empty text and nothing for an error: ask again for those.
  ForEachCellOf(query->queryFormulaCells(sheet::FormulaResult::STRING), origin, [&](int r, int c) {
    if (block(r, c).IsEmpty()) block(r, c) = Variant("");
  });
  ForEachCellOf(query->queryFormulaCells(sheet::FormulaResult::ERROR), origin, [&](int r, int c) {
    block(r, c) = Variant(ErrorOfCode(cells->getCellByPosition(c - 1, r - 1)->getError()));
  });
  MendFormats(cells, origin, block, document);
  return block;
}

void WriteCells(const uno::Reference<table::XCellRange>& cells, const Block& values,
                CalcDocument& document) {
  uno::Sequence<uno::Sequence<uno::Any>> data(values.Rows());
  for (int r = 1; r <= values.Rows(); ++r) {
    uno::Sequence<uno::Any> line(values.Columns());
    for (int c = 1; c <= values.Columns(); ++c) {
      const Variant& value = values(r, c);
      uno::Any& element = line.getArray()[c - 1];
      if (value.IsNumber() || value.IsDate())
        element <<= value.AsNumber();
      else if (value.IsBoolean())
        element <<= (value.AsBoolean() ? 1.0 : 0.0);
      else if (value.IsText())
        element <<= Unicode(value.AsText());
      else
        element <<= rtl::OUString();
    }
    data.getArray()[r - 1] = line;
  }
  uno::Reference<sheet::XCellRangeData>(cells, uno::UNO_QUERY_THROW)->setDataArray(data);
  // Formats for dates and Booleans, and formulas for error values, cell by cell: they are few.
  for (int r = 1; r <= values.Rows(); ++r) {
    for (int c = 1; c <= values.Columns(); ++c) {
      const Variant& value = values(r, c);
      if (!value.IsDate() && !value.IsBoolean() && !value.IsError()) continue;
      uno::Reference<table::XCell> cell = cells->getCellByPosition(c - 1, r - 1);
      if (value.IsError()) {
        cell->setFormula(Unicode("=" + std::string(ErrorText(value.AsError()))));
        continue;
      }
      sal_Int16 kind = value.IsDate() ? NumberFormat::DATE : NumberFormat::LOGICAL;
      uno::Reference<beans::XPropertySet>(cell, uno::UNO_QUERY_THROW)
          ->setPropertyValue(Unicode("NumberFormat"), uno::Any(document.StandardFormat(kind)));
    }
  }
}

}  // namespace tavrin
