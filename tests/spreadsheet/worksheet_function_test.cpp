#include "host/worksheet_function.h"

#include <string>

#include "sheet_fixture.h"

namespace tavrin {
namespace {

class WorksheetFunctionTest : public SheetTest {
 protected:
  WorksheetFunction& functions = app.WorksheetFunction();

  double CountIf(const char* address, const Variant& criteria) {
    return functions.CountIf(At(address), criteria);
  }
};

TEST_F(WorksheetFunctionTest, CountAAndCountBlankCountContentAndEmptyCells) {
  Set("A1", 1);
  Set("A2", "=B1");  // a formula counts as content
  Set("A3", "x");
  sheet.Store().SetStyle(4, 1, 2);  // a style alone does not
  EXPECT_EQ(functions.CountA(At("A:A")), 3);
  EXPECT_EQ(functions.CountA(At("A1:B5,A1")), 4);
  EXPECT_EQ(functions.CountBlank(At("A1:A10")), 7);  // the formula's value is 0
  EXPECT_EQ(functions.CountBlank(At("A:B")), 2 * 65536 - 3);
}

TEST_F(WorksheetFunctionTest, CountIfReadsOperatorsNumbersAndBlanks) {
  for (const char* address : {"A1", "A2"}) Set(address, 0);
  Set("A3", 5);
  Set("A4", -2);
  Set("A5", "'5");  // the text "5"
  Set("A6", "abc");
  Set("A7", Variant::Boolean(true));
  // A8:A10 empty.
  EXPECT_EQ(CountIf("A1:A10", "=0"), 2);
  EXPECT_EQ(CountIf("A1:A10", 0), 2);
  EXPECT_EQ(CountIf("A1:A10", ">0"), 1);
  EXPECT_EQ(CountIf("A1:A10", "<0"), 1);
  EXPECT_EQ(CountIf("A1:A10", ">=0"), 3);
  EXPECT_EQ(CountIf("A1:A10", "=5"), 2);
  EXPECT_EQ(CountIf("A1:A10", 5), 2);
  EXPECT_EQ(CountIf("A1:A10", "<>5"), 8);
  EXPECT_EQ(CountIf("A1:A10", "TRUE"), 1);
  EXPECT_EQ(CountIf("A1:A10", ""), 3);
  EXPECT_EQ(CountIf("A1:A10", "="), 3);
  EXPECT_EQ(CountIf("A1:A10", "<>"), 7);
  EXPECT_EQ(CountIf("A:A", "<>"), 7);
  EXPECT_EQ(CountIf("A:A", ""), 65536 - 7);
}

TEST_F(WorksheetFunctionTest, CountIfMatchesTextPatternsIgnoringCase) {
  Set("B1", "Äpfel");
  Set("B2", "äPFEL");
  Set("B3", "apple");
  Set("B4", "a*b");
  Set("B5", "axb");
  Set("B6", 12);
  EXPECT_EQ(CountIf("B:B", "*"), 5);
  EXPECT_EQ(CountIf("B:B", "äpfel"), 2);
  EXPECT_EQ(CountIf("B:B", "Ä*"), 2);
  EXPECT_EQ(CountIf("B:B", "a*"), 3);
  EXPECT_EQ(CountIf("B:B", "a?b"), 2);
  EXPECT_EQ(CountIf("B:B", "a~*b"), 1);
  EXPECT_EQ(CountIf("B:B", "<>a*"), 65536 - 3);
  EXPECT_EQ(CountIf("B3:B5", ">apple"), 1);
  EXPECT_EQ(CountIf("B:B", "1*"), 0);  // a number is not a text
}

TEST_F(WorksheetFunctionTest, SumAddsNumbersAndFailsOnAnErrorValue) {
  Set("A1", 1.5);
  Set("A2", "2");
  Set("A3", "'7");
  Set("A4", Variant::Boolean(true));
  EXPECT_EQ(functions.Sum(At("A:A")), 3.5);
  Set("A5", "#DIV/0!");
  try {
    functions.Sum(At("A:A"));
    FAIL();
  } catch (const HostError& error) {
    EXPECT_EQ(error.Description(), "不能取得类 WorksheetFunction 的 Sum 属性");
  }
}

TEST_F(WorksheetFunctionTest, MatchFindsPositionsExactlyOrInSortedLists) {
  Set("C2", "Apple");
  Set("C3", 10);
  Set("C4", "'10");
  Set("C5", "Berry");
  Set("C6", 20);
  Range list = At("C2:C7");
  EXPECT_EQ(functions.Match("apple", list, 0), 1);
  EXPECT_EQ(functions.Match("B*y", list, 0), 4);
  EXPECT_EQ(functions.Match(10, list, 0), 2);
  EXPECT_EQ(functions.Match(20, list, 0), 5);
  EXPECT_EQ(functions.Match("10", list, 0), 3);
  EXPECT_EQ(ErrorOf([&] { functions.Match("cherry", list, 0); }), 1004);
  EXPECT_EQ(ErrorOf([&] { functions.Match(1, At("C2:D7"), 0); }), 1004);
  // Nothing, or an error value, is never looked for: not even where a 0 or an error stands.
  Set("C7", 0);
  Set("C8", "=NA()");
  EXPECT_EQ(ErrorOf([&] { functions.Match(Variant(), At("C2:C8"), 0); }), 1004);
  EXPECT_EQ(ErrorOf([&] { functions.Match(Variant(ErrorValue::NA), At("C2:C8"), 0); }), 1004);
  Set("E1", 1);
  Set("F1", 3);
  Set("G1", 5);
  EXPECT_EQ(functions.Match(4, At("E1:H1"), 1), 2);
  EXPECT_EQ(functions.Match(5, At("E1:H1"), 1), 3);
  EXPECT_EQ(ErrorOf([&] { functions.Match(0, At("E1:H1"), 1); }), 1004);
}

// The object's Match and CountIf are the formulas' MATCH and COUNTIF, a not found the object's
// 1004: the same answers with the lookup indexes on and off.
TEST_F(WorksheetFunctionTest, MatchAndCountIfAnswerAsTheFormulasDo) {
  const Variant column[] = {"Apple", 10, "10",      Variant::Boolean(true),
                            "Berry", 20, Variant(), Variant(ErrorValue::NA),
                            "b~*"};
  for (int r = 0; r < 9; ++r) sheet.Store().Put(r + 1, 3, Cell{column[r], nullptr, 0});
  auto ask = [&](const std::string& formula, const Variant& value) {
    sheet.Store().Put(1, 26, Cell{value, nullptr, 0});
    Set("Z2", formula.c_str());
    return Get("Z2");
  };
  const Variant lookups[] = {"apple", "B*y", 10, "10", Variant::Boolean(true), 15, "zzz", "b~~*"};
  const Variant criteria[] = {"apple", "b*", 10, "10", ">5", "<>", "", Variant::Boolean(true)};
  for (bool indexed : {true, false}) {
    app.SetLookupIndexEnabled(indexed);
    for (const Variant& lookup : lookups) {
      for (int type : {0, 1, -1}) {
        Variant formula = ask("=MATCH(Z1,C1:C9," + std::to_string(type) + ")", lookup);
        if (formula.IsError()) {
          EXPECT_EQ(ErrorOf([&] { functions.Match(lookup, At("C1:C9"), type); }), 1004);
        } else {
          EXPECT_EQ(Variant(functions.Match(lookup, At("C1:C9"), type)), formula);
        }
      }
    }
    for (const Variant& criterion : criteria) {
      EXPECT_EQ(Variant(CountIf("C1:C9", criterion)), ask("=COUNTIF(C1:C9,Z1)", criterion));
    }
  }
}

TEST_F(WorksheetFunctionTest, RoundUpRoundsAwayFromZero) {
  EXPECT_EQ(functions.RoundUp(1.1, 1), 1.1);
  EXPECT_EQ(functions.RoundUp(2.31, 1), 2.4);
  EXPECT_EQ(functions.RoundUp(-2.31, 1), -2.4);
  EXPECT_EQ(functions.RoundUp(3.2, 0), 4);
  EXPECT_EQ(functions.RoundUp(1234, -2), 1300);
  EXPECT_EQ(functions.RoundUp(7.9, 0.9), 8);
  EXPECT_EQ(functions.RoundUp(5, 0), 5);
}

TEST_F(WorksheetFunctionTest, WholeColumnCountsOnAFullColumn) {
  FillColumn(1, 1, kLastRow - 1);
  Set("B1", "x");
  EXPECT_EQ(functions.CountA(At("A:B")), kLastRow);
  EXPECT_EQ(functions.CountBlank(At("A:A")), 1);
  EXPECT_EQ(CountIf("A:A", ">32768"), kLastRow - 1 - 32768);
  EXPECT_EQ(CountIf("A:C", ""), 2 * kLastRow);
  EXPECT_EQ(At("A1").End(xlDown).Row(), kLastRow - 1);
  EXPECT_EQ(At("A65536").End(xlUp).Row(), kLastRow - 1);
}

}  // namespace
}  // namespace tavrin
