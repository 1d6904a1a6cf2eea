#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "host/variant_rules.h"
#include "io/workbook_file.h"
#include "spreadsheet/book.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

// The golden workbooks: formulas computed and saved by another spreadsheet program
// (LibreOffice Calc, scripts/make-golden). Every formula is computed afresh here and compared
// with the result stored beside it, numbers to 15 significant digits, except where the host
// answers otherwise than that program did: there the host's answer is expected, and why.
struct Departure {
  Variant expected;
  const char* why;
};

const std::map<std::string, Departure>& Departures() {
  static const std::map<std::string, Departure> departures = {
      // LibreOffice holds a Boolean as the number 1 or 0: it counts, sums and joins TRUE as 1.
      // To the host a Boolean is no number in a range and joins as "TRUE".
      {"golden-math|Numbers!B6", {Variant(15), "COUNT passes over the Boolean in H7"}},
      {"golden-text|Texts!B10", {Variant(4), "LEN of TRUE is the length of \"TRUE\""}},
      {"golden-text|Texts!B32", {Variant("TRUE0.1"), "TRUE joins as \"TRUE\""}},
      {"golden-text|Texts!B46", {Variant("North10TRUE"), "TRUE joins as \"TRUE\""}},
      {"golden-criteria|Criteria!B11", {Variant(6), "\"*\" matches texts only, not TRUE"}},
      // LibreOffice reads no text as a number where the host does: a number typed as text in
      // SUM's arguments, a date text in a date function, a text among a numeric criterion's
      // cells.
      {"golden-math|Numbers!B2", {Variant(33.1), "SUM counts \"2\" typed as an argument"}},
      {"golden-dates|Dates!B16", {Variant(3), "MONTH reads the date text \"2024/3/9\""}},
      {"golden-criteria|Criteria!B5", {Variant(1), "the criterion 5 counts the text \"5\""}},
      {"golden-criteria|Criteria!B17", {Variant(3), "the criterion 0.3 counts the text \"0.3\""}},
      {"golden-criteria|Criteria!B19",
       {Variant(2), "an empty criterion asks for 0 and counts \"0\""}},
      // Lookups: a text never equals a number, and exact lookups compare numbers exactly
      // where LibreOffice compares them to 15 digits as "=" does.
      {"golden-lookup|Lookup!B5",
       {Variant(ErrorValue::NA), "MATCH finds no number 7 for the text \"7\""}},
      {"golden-criteria|Criteria!B36",
       {Variant(ErrorValue::NA), "exact MATCH: 0.1+0.2 is not 0.3"}},
      // Error values the host documents where LibreOffice gives #VALUE!.
      {"golden-math|Numbers!B20",
       {Variant(ErrorValue::Num), "LARGE with k past the count of numbers"}},
      {"golden-math|Numbers!B24", {Variant(ErrorValue::NA), "RANK of a number not in the range"}},
      {"golden-math|Numbers!B52", {Variant(ErrorValue::Div0), "0 to a negative power"}},
      {"golden-math|Numbers!B54", {Variant(ErrorValue::Num), "SQRT of a negative number"}},
      {"golden-dates|Dates!B11", {Variant(ErrorValue::Num), "TIME before midnight"}},
      {"golden-dates|Dates!B27",
       {Variant(ErrorValue::Num), "WEEKDAY of a type this generation lacks"}},
      {"golden-dates|Dates!B41",
       {Variant(ErrorValue::Num), "DATEDIF with the start after the end"}},
      {"golden-lookup|Lookup!B17",
       {Variant(ErrorValue::Ref), "VLOOKUP of a column past the table"}},
      {"golden-lookup|Lookup!B31", {Variant(ErrorValue::Ref), "OFFSET off the sheet"}},
      // Dates: the host's run from 1900-01-00 to 9999-12-31.
      {"golden-dates|Dates!B7", {Variant(ErrorValue::Num), "DATE of the year 10000"}},
      {"golden-dates|Dates!B22", {Variant(ErrorValue::Num), "YEAR of a serial before 0"}},
      // FIND of an empty text finds it at the start position.
      {"golden-text|Texts!B15", {Variant(1), "FIND(\"\",...) is the start position"}},
      // The functions, operators and coercions of docs/formulas.md's later rounds.
      {"golden-more|More!B3", {Variant(15), "SUBTOTAL's COUNT passes over the Boolean in H7"}},
      {"golden-more|More!B14",
       {Variant(0.8928316960659495), "the file holds 15 digits of the shortest text, ...950"}},
      {"golden-more|More!B45",
       {Variant("'My sheet'!A1"), "ADDRESS joins the sheet with \"!\", not LibreOffice's \".\""}},
      {"golden-more|More!B46", {Variant(ErrorValue::NA), "MODE of numbers that never repeat"}},
      {"golden-more|More!B65", {Variant::Boolean(true), "AND takes the text TRUE as TRUE"}},
      {"golden-more|More!B66", {Variant(ErrorValue::Value), "IF takes no number text as a test"}},
      {"golden-more|More!B70",
       {Variant(-2.7755575615628914e-17), "only a formula's final sum near zero is corrected"}},
      {"golden-more|More!B80",
       {Variant(ErrorValue::Null), "references that share no cell intersect in #NULL!"}},
  };
  return departures;
}

std::string Shown(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      return "(empty)";
    case Variant::Kind::Text:
      return '"' + value.AsText() + '"';
    case Variant::Kind::Error:
      return std::string(ErrorText(value.AsError()));
    case Variant::Kind::Boolean:
      return value.AsBoolean() ? "TRUE" : "FALSE";
    default:
      return NumberText(value.AsNumber(), UserLocale{});
  }
}

bool Same(const Variant& computed, const Variant& expected) {
  bool numbers =
      (computed.IsNumber() || computed.IsDate()) && (expected.IsNumber() || expected.IsDate());
  if (numbers) return CompareNumbers(computed.AsNumber(), expected.AsNumber()) == 0;
  return computed == expected;
}

class GoldenWorkbooks : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenWorkbooks, EveryFormulaComputesTheStoredResultOrTheHostsAnswer) {
  Spreadsheet app;
  std::filesystem::path path = std::filesystem::path("golden") / (GetParam() + ".xlsx");
  Book& book = OpenWorkbook(app, path);
  struct Stored {
    Sheet* sheet;
    int row, column;
    Variant value;
  };
  std::vector<Stored> formulas;
  for (int s = 1; s <= book.SheetCount(); ++s) {
    Sheet& sheet = book.GetSheet(s);
    sheet.Store().ForEach(Area{1, 1, kLastRow, kLastColumn}, [&](int r, int c, const Cell& cell) {
      if (cell.formula) formulas.push_back({&sheet, r, c, cell.value});
    });
    // A write, so that no stored result is trusted.
    sheet.Range("IV65536").SetValue(1);
    sheet.Range("IV65536").ClearContents();
  }
  ASSERT_GT(formulas.size(), 20u);
  int departed = 0;
  for (const Stored& stored : formulas) {
    std::string cell =
        stored.sheet->Name() + "!" + ColumnLetters(stored.column) + std::to_string(stored.row);
    Variant expected = stored.value;
    auto departure = Departures().find(GetParam() + "|" + cell);
    if (departure != Departures().end()) {
      expected = departure->second.expected;
      ++departed;
    }
    Variant computed = stored.sheet->CellValue(stored.row, stored.column);
    EXPECT_TRUE(Same(computed, expected))
        << cell << " "
        << FormulaText(*stored.sheet->Store().Find(stored.row, stored.column)->formula, stored.row,
                       stored.column)
        << ": computed " << Shown(computed) << ", expected " << Shown(expected);
  }
  int listed = 0;
  for (const auto& [key, departure] : Departures()) listed += key.starts_with(GetParam() + "|");
  EXPECT_EQ(departed, listed) << "a departure names a cell without a formula";
}

INSTANTIATE_TEST_SUITE_P(Corpus, GoldenWorkbooks,
                         ::testing::Values("golden-math", "golden-text", "golden-dates",
                                           "golden-lookup", "golden-criteria", "golden-more"));

}  // namespace
}  // namespace tavrin
