#include <string>
#include <tuple>

#include "formula_fixture.h"

namespace tavrin {
namespace {

// Formulas as a file holds them: their texts and the results the file stored with them.
class FormulaStoredResultsTest : public FormulaTest {
 protected:
  // A formula cell as the file reader puts it, the sheet then marked as read.
  void Stored(int row, int column, const std::string& text, const Variant& result) {
    sheet.Store().Put(row, column, Cell{result, std::make_shared<const CellFormula>(text), 0});
    sheet.SetChanged(false);
  }
  static std::string Call(const std::string& name, int arguments) {
    std::string text = "=" + name + "(1";
    for (int i = 1; i < arguments; ++i) text += ",1";
    return text + ")";
  }
};

TEST_F(FormulaStoredResultsTest, AFunctionTheEngineLacksKeepsTheStoredResultThroughChanges) {
  Set("A1", 2);
  Stored(1, 2, "=ADDINFN(A1)*2", Variant(42));
  Stored(1, 3, "=IFERROR(_xlfn.NEWER(A1),0)+B1", Variant(50));
  Set("A1", 3);  // the sheet changes: the formulas are computed again
  EXPECT_EQ(Get("B1"), Variant(42));
  EXPECT_EQ(Get("C1"), Variant(50));
  EXPECT_EQ(At("B1").Formula(), "=ADDINFN(A1)*2");
  EXPECT_EQ(sheet.Store().Find(1, 2)->value, Variant(42));  // what a save writes back
  Set("D1", "=B1+1");  // cells reading it read the stored result
  EXPECT_EQ(Get("D1"), Variant(43));
}

// A defined name, which only a file's formula holds (written in its cell, as the file reader
// puts it): the stored result kept, the references beside it moving with the cells; one that
// reads as a cell of a file's larger sheet is no name.
TEST_F(FormulaStoredResultsTest, AFilesDefinedNameKeepsTheStoredResultAndItsReferencesMove) {
  Set("A2", 2);
  for (auto [column, text, result] : {std::tuple{2, "=Rate*A2", 42}, std::tuple{3, "=XFD2*2", 7}}) {
    auto formula = std::make_shared<const CellFormula>(CellFormula{text, nullptr, 2, column});
    sheet.Store().Put(2, column, Cell{Variant(result), formula, 0});
  }
  sheet.SetChanged(false);
  sheet.Rows(1, 1).Insert();
  EXPECT_EQ(At("B3").Formula(), "=Rate*A3");
  EXPECT_EQ(At("B3").FormulaR1C1(), "=Rate*RC[-1]");
  EXPECT_EQ(Get("B3"), Variant(42));
  EXPECT_EQ(At("C3").Formula(), "=XFD2*2") << "no formula the engine reads: its text as read";
  EXPECT_EQ(Get("C3"), Variant(7));
  EXPECT_FALSE(ParseFormula("=Rate*A2", Notation::A1, 1, 1)) << "typed, a name is no formula";
  EXPECT_TRUE(ParseFormula("=Rate*A2", Notation::A1, 1, 1, true));
}

TEST_F(FormulaStoredResultsTest, ATypedFormulaWithAnUnknownFunctionIsANameError) {
  Set("A1", "=ADDINFN(1)");
  EXPECT_EQ(Get("A1"), Variant(ErrorValue::Name));
  EXPECT_EQ(At("A1").Formula(), "=ADDINFN(1)");
  // Copied elsewhere it is a new formula: computed, #NAME?.
  Stored(2, 1, "=ADDINFN(1)", Variant(7));
  At("A2").Copy(At("A3"));
  EXPECT_EQ(Get("A3"), Variant(ErrorValue::Name));
}

TEST_F(FormulaStoredResultsTest, AtMost255ArgumentsAndTheNumbersEachFunctionTakes) {
  Set("A1", Call("SUM", 255).c_str());
  EXPECT_EQ(Get("A1"), Variant(255));
  EXPECT_EQ(ErrorOf([&] { Set("A2", Call("SUM", 256).c_str()); }), 1004);
  EXPECT_EQ(ErrorOf([&] { Set("A2", Call("ADDINFN", 256).c_str()); }), 1004);
  EXPECT_EQ(ErrorOf([&] { Set("A2", "=ROUND(1)"); }), 1004);
  EXPECT_EQ(ErrorOf([&] { Set("A2", "=IF(1,2,3,4)"); }), 1004);
  EXPECT_EQ(ErrorOf([&] { Set("A2", "=SUM()"); }), 1004);
  // COUNTIFS takes pairs: 127 of them at most.
  std::string pairs = "=COUNTIFS(B1,\"\"";
  for (int i = 1; i < 127; ++i) pairs += ",B1,\"\"";
  Set("A5", (pairs + ")").c_str());
  EXPECT_EQ(Get("A5"), Variant(1));
  EXPECT_EQ(ErrorOf([&] { Set("A2", (pairs + ",B1)").c_str()); }), 1004);
  EXPECT_TRUE(Get("A2").IsEmpty());
  // From a file such a formula keeps its text and its stored result.
  Stored(3, 1, Call("SUM", 256), Variant(256));
  Stored(4, 1, "=ROUND(1)", Variant(1));
  Set("B1", 0);
  EXPECT_EQ(Get("A3"), Variant(256));
  EXPECT_EQ(At("A3").Formula(), Call("SUM", 256));
  EXPECT_EQ(Get("A4"), Variant(ErrorValue::Value));
}

TEST_F(FormulaStoredResultsTest, FunctionsTheOwnerAddsAreCalledWithTheArgumentsValues) {
  app.AddCellFunction("Twice", [](const CellArguments& arguments) {
    if (arguments.size() != 1 || !arguments[0] || !arguments[0]->IsNumber())
      return Variant(ErrorValue::Value);
    return Variant(arguments[0]->AsNumber() * 2);
  });
  Set("A1", 21);
  EXPECT_EQ(Eval("=twice(A1)"), Variant(42));
  EXPECT_EQ(Eval("=TWICE()"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=TWICE(,)"), Variant(ErrorValue::Value));
  Stored(2, 1, "=TWICE(A1)", Variant(5));
  Set("B1", 0);
  EXPECT_EQ(Get("A2"), Variant(42));  // computed: the function is there
}

}  // namespace
}  // namespace tavrin
