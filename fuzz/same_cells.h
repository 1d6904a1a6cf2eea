#pragma once

#include <string>

#include "io/xml_text.h"
#include "require.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

// Two values alike once written to a file and read back: texts as XML keeps them (a sheet
// written back as it was read keeps them whole), NaN equal to NaN.
inline bool SameAfterFile(const Variant& a, const Variant& b) {
  if (a.GetKind() != b.GetKind()) return false;
  if (a.IsText()) return XmlText(a.AsText()) == XmlText(b.AsText());
  if (a.IsNumber() || a.IsDate()) {
    double x = a.AsNumber(), y = b.AsNumber();
    return x == y || (x != x && y != y);
  }
  return a == b;
}

inline std::string Describe(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      return "empty";
    case Variant::Kind::Number:
      return "number " + std::to_string(value.AsNumber());
    case Variant::Kind::Date:
      return "date " + std::to_string(value.AsNumber());
    case Variant::Kind::Text:
      return "text \"" + value.AsText() + "\"";
    case Variant::Kind::Boolean:
      return value.AsBoolean() ? "TRUE" : "FALSE";
    case Variant::Kind::Error:
      return std::string(ErrorText(value.AsError()));
  }
  return "";
}

// Every cell of the first sheet holds what the second holds at the same place, and the second has
// no other cell: value, formula text and style, as a file keeps them (a style index beyond the
// workbook's cell formats, styleCount, is written as the default one).
inline void RequireSameCells(const Sheet& first, const Sheet& second, size_t styleCount) {
  const Area all{1, 1, kLastRow, kLastColumn};
  long long count = 0;
  first.Store().ForEach(all, [&](int row, int column, const Cell& cell) {
    // A formula shared by a group of cells is written where it first stands; each cell's text is
    // the one it shows.
    std::string formula = cell.formula ? XmlText(FormulaText(*cell.formula, row, column)) : "";
    if (formula == "=") formula.clear();
    uint32_t style = cell.style < styleCount ? cell.style : 0;
    if (cell.value.IsEmpty() && formula.empty() && style == 0) return;
    ++count;
    std::string at = first.Name() + "!" + ColumnLetters(column) + std::to_string(row);
    const Cell* again = second.Store().Find(row, column);
    Require(again != nullptr, "a cell read back is still there", at);
    Require(SameAfterFile(cell.value, again->value), "a cell's value reads back the same",
            at + ": " + Describe(cell.value) + " then " + Describe(again->value));
    std::string formulaAgain =
        again->formula ? XmlText(FormulaText(*again->formula, row, column)) : "";
    Require(formula == formulaAgain, "a cell's formula reads back the same",
            at + ": " + formula + " then " + formulaAgain);
    Require(style == again->style, "a cell's style reads back the same", at);
  });
  long long countAgain = 0;
  second.Store().ForEach(all, [&](int, int, const Cell& cell) { countAgain += !cell.IsBlank(); });
  Require(count == countAgain, "no cell is added on the way back",
          first.Name() + ": " + std::to_string(count) + " then " + std::to_string(countAgain));
}

}  // namespace tavrin
