// A formula text, in A1 and in R1C1 notation, entered on a small sheet: it is computed, its text
// written back in both notations must parse again, and the text written from that must be the
// same text; a cell takes it or refuses it as the host does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/host_error.h"
#include "require.h"
#include "spreadsheet/book.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

// The cell the formula is entered in, with room around it for relative references both ways.
constexpr int kRow = 5;
constexpr int kColumn = 4;

void FillSheets(Book& book) {
  Sheet& sheet = book.AddSheet("Sheet1");
  sheet.Range("A1").SetValue(1);
  sheet.Range("A2").SetValue(2.5);
  sheet.Range("A3").SetValue("abc");
  sheet.Range("A4").SetValue(Variant::Boolean(true));
  sheet.Range("B1").SetValue(Variant(ErrorValue::Div0));
  sheet.Range("B2").SetValue(Variant::Date(45000.5));
  sheet.Range("B3").SetValue("=A1+A2");
  sheet.Range("B4").SetValue("=SUM(A1:A2)*2");
  sheet.Range("C1:C3").SetValue(3);
  Sheet& other = book.AddSheet("My sheet");
  other.Range("A1").SetValue("x");
  other.Range("B2").SetValue(-4);
  book.AddSheet("Data").Range("A1").SetValue("=Sheet1!A1*10");
  sheet.Activate();
}

void WriteParseWrite(const FormulaNode& root, Notation notation, std::string_view entered) {
  std::string text = WriteFormula(root, notation, kRow, kColumn);
  std::optional<FormulaNode> again = ParseFormula(text, notation, kRow, kColumn);
  std::string what = std::string(notation == Notation::A1 ? "A1" : "R1C1") + " text written: ";
  Require(again.has_value(), "a formula's written text parses",
          what + text + "\nentered: " + std::string(entered));
  std::string textAgain = WriteFormula(*again, notation, kRow, kColumn);
  Require(textAgain == text, "a formula's written text is written the same after parsing",
          what + text + "\nthen: " + textAgain);
}

void Enter(Sheet& sheet, std::string_view entered, Notation notation) {
  std::optional<FormulaNode> root = ParseFormula(entered, notation, kRow, kColumn);
  if (!root) return;
  Evaluator evaluator(sheet, kRow, kColumn);
  (void)evaluator.Result(*root);
  WriteParseWrite(*root, Notation::A1, entered);
  WriteParseWrite(*root, Notation::R1C1, entered);

  // As a user enters it: in the cell, then its value, its displayed text and both texts read.
  Range cell = sheet.Cells(kRow, kColumn);
  try {
    if (notation == Notation::A1) {
      cell.SetFormula(std::string(entered));
    } else {
      cell.SetFormulaR1C1(std::string(entered));
    }
  } catch (const HostError& error) {
    // A cell refuses what the host refuses (a function given too few or too many arguments).
    Require(error.Number() == 1004, "a cell refuses a formula only as the host does (1004)",
            std::string(error.what()) + "\n" + std::string(entered));
    return;
  }
  (void)cell.Text();
  (void)cell.Formula();
  (void)cell.FormulaR1C1();
  (void)sheet.Range("B3").Value();
}

}  // namespace
}  // namespace tavrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  std::string_view entered(reinterpret_cast<const char*>(data), size);
  Spreadsheet app;
  Book& book = app.AddWorkbook("Book1");
  FillSheets(book);
  Sheet& sheet = book.GetSheet(1);
  Enter(sheet, entered, Notation::A1);
  Enter(sheet, entered, Notation::R1C1);
  return 0;
}
