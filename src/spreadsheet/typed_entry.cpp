#include "spreadsheet/typed_entry.h"

#include "host/variant_rules.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/formula/serial_date.h"

namespace tavrin {

namespace {

// A serial before 1900-03-01 in the host's calendar, which has a 1900-01-00 (serial 0) and a
// 1900-02-29 (serial 60): the runtime's calendar, which DateText follows, is a day behind there.
std::string EarlyDateText(double serial, const UserLocale& locale) {
  CivilDate date = DateOf(serial);
  std::string year = std::to_string(date.year), month = std::to_string(date.month);
  std::string day = std::to_string(date.day), sep(1, locale.dateSeparator);
  std::string text =
      locale.dateOrder == UserLocale::DateOrder::MonthDayYear   ? month + sep + day + sep + year
      : locale.dateOrder == UserLocale::DateOrder::DayMonthYear ? day + sep + month + sep + year
                                                                : year + sep + month + sep + day;
  int seconds = SecondsOfDay(serial);
  if (seconds == 0) return text;
  auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  return text + " " + std::to_string(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" +
         two(seconds % 60);
}

}  // namespace

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
      if (value.AsNumber() >= 0 && value.AsNumber() < 61)
        return EarlyDateText(value.AsNumber(), locale);
      return DateText(value.AsNumber(), locale);
    case Variant::Kind::Error:
      return std::string(ErrorText(value.AsError()));
  }
  return "";
}

}  // namespace tavrin
