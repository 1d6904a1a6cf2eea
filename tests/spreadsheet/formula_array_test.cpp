#include "formula_fixture.h"

namespace tavrin {
namespace {

// Array constants and the functions that give arrays: each argument that takes one value
// takes an array cell by cell.
class FormulaArrayTest : public FormulaTest {
 protected:
  // A1:B2: the names of the fruit and their numbers, B before A as a reverse lookup needs.
  void SetUp() override {
    Set("A1", 5);
    Set("B1", "apple");
    Set("A2", 6);
    Set("B2", "pear");
  }
};

TEST_F(FormulaArrayTest, IndexPicksFromAnArrayConstant) {
  EXPECT_EQ(Eval("=INDEX({1,2,3},2)"), Variant(2));
  EXPECT_EQ(Eval("=INDEX({1,2,3},0,2)"), Variant(2));
  EXPECT_EQ(Eval("=INDEX({1;2;3},3)"), Variant(3));
  EXPECT_EQ(Eval("=SUM(INDEX({1,2;3,4},0,2))"), Variant(6));
  EXPECT_EQ(Eval("=SUM(INDEX({1,2;3,4},2,0))"), Variant(7));
  EXPECT_EQ(Eval("=INDEX({1,2,3},4)"), Variant(ErrorValue::Ref));
}

TEST_F(FormulaArrayTest, ChooseOfAnArrayOfIndexesChoosesCellByCell) {
  EXPECT_EQ(Eval("=SUM(CHOOSE({1,2},1,10))"), Variant(11));
  EXPECT_EQ(Eval("=SUM(CHOOSE({1,2,3},1,10))"), Variant(ErrorValue::Value));
}

TEST_F(FormulaArrayTest, ReverseLookupThroughAnArrayOfTwoColumns) {
  EXPECT_EQ(Eval("{=VLOOKUP(\"pear\",IF({1,0},B1:B2,A1:A2),2,0)}"), Variant(6));
  EXPECT_EQ(Eval("=VLOOKUP(\"pear\",CHOOSE({1,2},B1:B2,A1:A2),2,0)"), Variant(6))
      << "CHOOSE takes its choices whole outside an array formula too";
  EXPECT_EQ(Eval("=SUM(IF({1;0},{1,2},{10,20,30}))"), Variant(ErrorValue::NA))
      << "cells outside a branch's shape are #N/A";
  EXPECT_EQ(Eval("=SUM(IF({1;1;1},{1;2},5))"), Variant(ErrorValue::NA)) << "rows too";
}

TEST_F(FormulaArrayTest, MatchOfAnArrayOfLookupValues) {
  EXPECT_EQ(Eval("{=SUM(MATCH({\"apple\",\"pear\"},B1:B2,0))}"), Variant(3));
  EXPECT_EQ(Eval("=COUNT(MATCH({\"apple\",\"fig\"},B1:B2,0))"), Variant(1));
}

TEST_F(FormulaArrayTest, AFunctionOfPlainValuesGivesAPlainValueNotAnArray) {
  // SUM reads a text typed as an argument as a number, but passes over the texts of an array.
  EXPECT_EQ(Eval("=SUM(LEFT(\"12\",2),1)"), Variant(13));
  EXPECT_EQ(Eval("=SUM(LEFT({\"12\"},2),1)"), Variant(1));
}

}  // namespace
}  // namespace tavrin
