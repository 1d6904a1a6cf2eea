#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XFormulaTokens.hpp>
#include <com/sun/star/sheet/XSheetOperation.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/text/XTextRange.hpp>

#include "calc/calc_book.h"
#include "calc/calc_sheet.h"
#include "calc/cell_values.h"
#include "calc/uno_text.h"
#include "host/host_error.h"
#include "host/typed_entry.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace table = com::sun::star::table;
namespace CellFlags = com::sun::star::sheet::CellFlags;

namespace {

constexpr sal_Int32 kUnknownName = 525;

// Calc's codes of a formula text it could not read.
bool IsSyntaxError(sal_Int32 code) {
  return code == 501 || (code >= 507 && code <= 510);
}

// Every user-visible value keeps the host's locale: decimal point and separators as the host's.
UserLocale HostLocale() {
  return UserLocale{};
}

}  // namespace

Variant CalcSheet::Value(const tavrin::Range& cell) {
  return ReadCell(sheet_->getCellByPosition(cell.Column() - 1, cell.Row() - 1), Document());
}

Block CalcSheet::Values(const Area& area) {
  return ReadCells(CellRange(area), area.rows, area.columns, Document());
}

void CalcSheet::SetValues(const Area& area, const Block& values) {
  if (values.Rows() != area.rows || values.Columns() != area.columns)
    throw HostError::ApplicationDefined();
  Block constants(area.rows, area.columns);
  std::vector<std::tuple<int, int, std::string>> formulas;
  for (int r = 1; r <= area.rows; ++r) {
    for (int c = 1; c <= area.columns; ++c) {
      TypedEntry entry = ReadTypedEntry(values(r, c), HostLocale());
      if (entry.isFormula)
        formulas.emplace_back(r, c, entry.value.AsText());
      else
        constants(r, c) = std::move(entry.value);
    }
  }
  WriteCells(CellRange(area), constants, Document());
  for (const auto& [r, c, formula] : formulas) {
    int row = area.row + r - 1, column = area.column + c - 1;
    WriteFormula(Area{row, column, 1, 1}, formula, FormulaNotation::A1, row, column);
  }
}

void CalcSheet::SetValue(const tavrin::Range& range, const Variant& value) {
  WriteEntry(range, value, FormulaNotation::A1);
}

void CalcSheet::SetFormula(const tavrin::Range& range, const std::string& formula) {
  WriteEntry(range, Variant(formula), FormulaNotation::A1);
}

void CalcSheet::SetFormulaR1C1(const tavrin::Range& range, const std::string& formula) {
  WriteEntry(range, Variant(formula), FormulaNotation::R1C1);
}

// As the host takes one value typed into a selection: a formula is read in the first cell and
// every cell gets the same relative formula; a constant goes into every cell.
void CalcSheet::WriteEntry(const tavrin::Range& range, const Variant& value,
                           FormulaNotation notation) {
  TypedEntry entry = ReadTypedEntry(value, HostLocale());
  for (const Area& area : range.Areas()) {
    if (entry.isFormula) {
      WriteFormula(area, entry.value.AsText(), notation, range.Row(), range.Column());
      continue;
    }
    if (entry.value.IsEmpty()) {
      ClearContents(tavrin::Range(*this, area));
      continue;
    }
    Block one(1, 1);
    one(1, 1) = entry.value;
    WriteCells(CellRange(Area{area.row, area.column, 1, 1}), one, Document());
    if (area.Count() > 1) Repeat(Area{area.row, area.column, 1, 1}, area);
  }
}

// As the host, a formula is read in the notation asked for, else in the other one. Calc reads
// what is no reference in A1 ("R2C1") as an unknown name, so a #NAME? there tries the other
// notation too.
void CalcSheet::WriteFormula(const Area& area, const std::string& formula, FormulaNotation notation,
                             int row, int column) {
  uno::Reference<table::XCell> first = sheet_->getCellByPosition(area.column - 1, area.row - 1);
  auto write = [&](FormulaNotation in) {
    uno::Reference<sheet::XFormulaTokens>(first, uno::UNO_QUERY_THROW)
        ->setTokens(Document().Parse(formula, in, row, column));
    return first->getError();
  };
  FormulaNotation other =
      notation == FormulaNotation::A1 ? FormulaNotation::R1C1 : FormulaNotation::A1;
  sal_Int32 error = write(notation);
  if (IsSyntaxError(error) || error == kUnknownName) {
    sal_Int32 otherError = write(other);
    if (IsSyntaxError(otherError) || otherError == kUnknownName)
      error = write(notation);
    else
      error = otherError;
  }
  if (IsSyntaxError(error)) {
    first->setFormula(rtl::OUString());
    throw HostError::ApplicationDefined();
  }
  if (area.Count() > 1) Repeat(Area{area.row, area.column, 1, 1}, area);
}

std::string CalcSheet::CellFormula(const tavrin::Range& cell, FormulaNotation notation) {
  uno::Reference<table::XCell> found = sheet_->getCellByPosition(cell.Column() - 1, cell.Row() - 1);
  if (found->getType() == table::CellContentType_FORMULA) {
    uno::Sequence<sheet::FormulaToken> tokens =
        uno::Reference<sheet::XFormulaTokens>(found, uno::UNO_QUERY_THROW)->getTokens();
    return Document().Print(tokens, notation, cell.Row(), cell.Column());
  }
  Variant value = ReadCell(found, Document());
  if (value.IsBoolean()) return value.AsBoolean() ? "TRUE" : "FALSE";
  if (value.IsDate()) return DateText(value.AsNumber(), HostLocale());
  if (value.IsNumber()) return NumberText(value.AsNumber(), HostLocale());
  return value.IsText() ? value.AsText() : "";
}

std::string CalcSheet::Formula(const tavrin::Range& cell) {
  return CellFormula(cell, FormulaNotation::A1);
}

std::string CalcSheet::FormulaR1C1(const tavrin::Range& cell) {
  return CellFormula(cell, FormulaNotation::R1C1);
}

std::string CalcSheet::Text(const tavrin::Range& cell) {
  uno::Reference<table::XCell> found = sheet_->getCellByPosition(cell.Column() - 1, cell.Row() - 1);
  return Utf8(
      uno::Reference<com::sun::star::text::XTextRange>(found, uno::UNO_QUERY_THROW)->getString());
}

// Contents go; formats stay, as the host clears contents.
void CalcSheet::ClearContents(const tavrin::Range& range) {
  for (const Area& area : range.Areas()) {
    uno::Reference<sheet::XSheetOperation>(CellRange(area), uno::UNO_QUERY_THROW)
        ->clearContents(CellFlags::VALUE | CellFlags::DATETIME | CellFlags::STRING |
                        CellFlags::FORMULA);
  }
}

}  // namespace tavrin
