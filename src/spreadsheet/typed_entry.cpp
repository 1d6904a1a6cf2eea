#include "spreadsheet/typed_entry.h"

#include "host/variant_rules.h"
#include "spreadsheet/formula/formula_text.h"

namespace tavrin {

Entry ReadEntry(const Variant& value, const UserLocale& locale) {
  // A formula in braces is an array formula, as the formula bar shows one.
  if (value.IsText() && IsArrayFormulaText(value.AsText()))
    return {Variant(), std::make_shared<const CellFormula>(CellFormula{value.AsText()})};
  TypedEntry typed = ReadTypedEntry(value, locale);
  if (!typed.isFormula) return {std::move(typed.value), nullptr};
  return {Variant(), std::make_shared<const CellFormula>(CellFormula{typed.value.AsText()})};
}

std::string EntryText(const Cell& cell, int row, int column, const UserLocale& locale) {
  if (cell.formula) return FormulaText(*cell.formula, row, column);
  return DisplayText(cell.value, locale);
}

std::string DisplayText(const Variant& value, const UserLocale& locale) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      return "";
    case Variant::Kind::Number:
      return NumberText(value.AsNumber(), locale);
    case Variant::Kind::Text:
      return value.AsText();
    case Variant::Kind::Boolean:
      return value.AsBoolean() ? "TRUE" : "FALSE";
    case Variant::Kind::Date:
      return DateText(value.AsNumber(), locale);
    case Variant::Kind::Error:
      return std::string(ErrorText(value.AsError()));
  }
  return "";
}

}  // namespace tavrin
