#include "spreadsheet/typed_entry.h"

#include <array>

#include "host/variant_rules.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

constexpr std::array kErrorValues = {ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value,
                                     ErrorValue::Ref,  ErrorValue::Name, ErrorValue::Num,
                                     ErrorValue::NA};

Entry ReadText(const std::string& text, const UserLocale& locale) {
  if (text.empty()) return {};
  if (text.size() > 1 && text.front() == '=') {
    return {Variant(), std::make_shared<const CellFormula>(CellFormula{text})};
  }
  if (text.front() == '\'') return {Variant(text.substr(1)), nullptr};
  if (std::optional<double> number = ReadNumber(text, locale)) return {Variant(*number), nullptr};
  // Only texts as short as "FALSE" or "#DIV/0!" can be Booleans or error values, and only
  // those starting with a letter t or f (no other character folds to either) or with "#".
  char first = static_cast<char>(text.front() | 0x20);
  if (text.size() <= 7 && (first == 't' || first == 'f' || text.front() == '#')) {
    if (EqualsIgnoringCase(text, "TRUE")) return {Variant::Boolean(true), nullptr};
    if (EqualsIgnoringCase(text, "FALSE")) return {Variant::Boolean(false), nullptr};
    for (ErrorValue error : kErrorValues) {
      if (EqualsIgnoringCase(text, ErrorText(error))) return {Variant(error), nullptr};
    }
  }
  return {Variant(text), nullptr};
}

}  // namespace

Entry ReadEntry(const Variant& value, const UserLocale& locale) {
  if (value.IsText()) return ReadText(value.AsText(), locale);
  return {value, nullptr};
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
