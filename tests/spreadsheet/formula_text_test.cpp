#include "sheet_fixture.h"

namespace tavrin {
namespace {

using FormulaTextTest = SheetTest;

// The texts the tools write, through Value and FormulaR1C1, read back as written.
TEST_F(FormulaTextTest, ToolTextsRoundTripCharacterForCharacter) {
  const char* texts[] = {
      "=SUMPRODUCT((R2C2:R100C2=RC8)*(R2C3:R100C3=RC9)*(R2C[-6]:R100C[-6]))",
      "=SUMPRODUCT((R2C2:R100C2=\"\")*(R2C3:R100C3=\"\")*(ROW(R2C2:R100C2)/ROW(R2C2:R100C2)))",
      "=SUMPRODUCT((R2C8:R500C8=RC1)*(R2C9:R500C9=RC2)*(R2C[5]:R500C[5]))",
      ("=IF(ISERROR(MATCH(RC1,R1C5:R100C5,0)),\"x\",INDEX(R1C5:R100C8,MATCH(RC1,R1C5:R100C5,0),"
       "COLUMN(R1C[5])-COLUMN(R1C5)+1))"),
      "=IF(ISERROR(MATCH(RC1,R1C5:R100C5,0)),\"say \"\"hi\"\"\",1)",
      "=SUM(R[-47]C:R[-1]C)",
  };
  for (const char* text : texts) {
    Set("J4", text);
    EXPECT_EQ(At("J4").FormulaR1C1(), text);
    At("J4").SetFormulaR1C1(text);
    EXPECT_EQ(At("J4").FormulaR1C1(), text);
  }
  Set("J4", texts[0]);
  EXPECT_EQ(At("J4").Formula(), "=SUMPRODUCT(($B$2:$B$100=$H4)*($C$2:$C$100=$I4)*(D$2:D$100))");
  Set("B60", "=SUM(R[-47]C:R[-1]C)");
  EXPECT_EQ(At("B60").Formula(), "=SUM(B13:B59)");
}

TEST_F(FormulaTextTest, A1AndR1C1ConvertBothWays) {
  Set("C3", "=a1+$B$2*c$1-'My sheet'!$A2&sum(A:B, 2:2)");
  EXPECT_EQ(At("C3").Formula(), "=A1+$B$2*C$1-'My sheet'!$A2&SUM(A:B,2:2)");
  EXPECT_EQ(At("C3").FormulaR1C1(),
            "=R[-2]C[-2]+R2C2*R1C-'My sheet'!R[-1]C1&SUM(C[-2]:C[-1],R[-1])");
  At("C3").SetFormulaR1C1("=RC[-1]+R[1]C+R+C2:C3+Sheet1!R1C1");
  EXPECT_EQ(At("C3").Formula(), "=B3+C4+3:3+$B:$C+Sheet1!$A$1");
  // "C2" is a cell in A1 notation, a column in R1C1 notation.
  Set("D1", "=C2");
  EXPECT_EQ(At("D1").FormulaR1C1(), "=R[1]C[-1]");
  At("D1").SetFormulaR1C1("=C2");
  EXPECT_EQ(At("D1").Formula(), "=$B:$B");
  // Literals: numbers, texts with quotes, Booleans, error values, percent, missing arguments.
  Set("E1", "=IF(TRUE,1.5E+20,#N/A)&\"a\"\"b\"&-2^2%&IF(,,)");
  EXPECT_EQ(At("E1").Formula(), "=IF(TRUE,1.5E+20,#N/A)&\"a\"\"b\"&-2^2%&IF(,,)");
  // Whole numbers up to 15 digits as digits, larger ones in the exponent form.
  Set("E2", "=0+007-123456789012345+999999999999999+1000000000000000+0.25+\"\"\"\"");
  EXPECT_EQ(At("E2").Formula(), "=0+7-123456789012345+999999999999999+1E+15+0.25+\"\"\"\"");
}

TEST_F(FormulaTextTest, TextsThatAreNoFormulaAreRefused) {
  for (const char* text : {"=SUM(", "=1+", "=foo", "=\"open", "=A1:", "=R[x]C", "='Sheet 1"}) {
    EXPECT_EQ(ErrorOf([&] { Set("A1", text); }), 1004) << text;
    EXPECT_EQ(ErrorOf([&] { At("A1").SetFormulaR1C1(text); }), 1004) << text;
  }
  // An operator or a range without its second part, a part left over.
  for (const char* text : {"=1=", "=1&", "=1*", "=1^", "=-", "=()", "=1)", "=1 A1", "=A1 1",
                           "=SUM(A1:B)", "=SUM(A:1)", "=SUM(1:A)", "=$A", "=SUM($1)"}) {
    EXPECT_EQ(ErrorOf([&] { Set("A1", text); }), 1004) << text;
    EXPECT_EQ(ErrorOf([&] { At("A1").SetFormulaR1C1(text); }), 1004) << text;
  }
  EXPECT_TRUE(Get("A1").IsEmpty());
}

TEST_F(FormulaTextTest, EveryTextWrittenReadsBackInBothNotations) {
  book.AddSheet("R5");
  Set("B2", "='R5'!A1+'A1'!B2+'RC'!C3+'Tea'!A1");  // sheets need not exist
  EXPECT_EQ(At("B2").Formula(), "='R5'!A1+'A1'!B2+'RC'!C3+Tea!A1");
  At("E5").SetFormulaR1C1("=SUM(RC:'R5'!R)");
  EXPECT_EQ(At("E5").Formula(), "=SUM(E5:'R5'!5:5)");
  At("D2").SetFormulaR1C1("=Sheet2!R[-44]C[-3]");
  EXPECT_EQ(At("D2").Formula(), "=Sheet2!#REF!");
  Set("D3", At("D2").Formula().c_str());
  EXPECT_EQ(At("D3").FormulaR1C1(), "=Sheet2!#REF!");
  EXPECT_EQ(Get("D3"), Variant(ErrorValue::Ref));
  At("D4").SetFormulaR1C1("=SUM(R1C1:Sheet2!R[-44]C)");
  EXPECT_EQ(At("D4").Formula(), "=SUM($A$1:Sheet2!#REF!)");
  Set("D5", At("D4").Formula().c_str());
  EXPECT_EQ(At("D5").Formula(), "=SUM($A$1:Sheet2!#REF!)");
  // A row range beside ":" keeps both its ends, so its text does not run into the next one.
  At("D6").SetFormulaR1C1("=SUM(R2:R2:R3:R3:R4)");
  EXPECT_EQ(At("D6").FormulaR1C1(), "=SUM(R2:R2:R3:R3:R4:R4)");
  At("D7").SetFormulaR1C1("=SUM(R2:R2)");
  EXPECT_EQ(At("D7").FormulaR1C1(), "=SUM(R2)");
  At("D8").SetFormulaR1C1("=SUM(R2:R3,C2:C3,R2:R[2],C4:C[4])");
  EXPECT_EQ(At("D8").FormulaR1C1(), "=SUM(R2:R3,C2:C3,R2:R[2],C4:C[4])");
  At("D9").SetFormulaR1C1("=SUM(RC:R2)");
  EXPECT_EQ(At("D9").FormulaR1C1(), "=SUM(RC:R2:R2)") << "a cell, \":\" and a row";
  // A range whose second corner runs into a call: the first corner, ":" and the call.
  At("F1").SetFormulaR1C1("=SUM(RC:R2())");
  EXPECT_EQ(At("F1").Formula(), "=SUM(F1:R2())");
  At("F2").SetFormula("=SUM(F2:R2())");
  EXPECT_EQ(At("F2").FormulaR1C1(), "=SUM(RC:R2())");
  // What the host refuses: a number past the range of numbers, ":" by a number or a text.
  for (const char* text : {"=1E310", "=2:R2", "=R[-3]:R[-3]:2", "=1:A1", "=\"a\":A1"}) {
    EXPECT_EQ(ErrorOf([&] { At("F1").SetFormulaR1C1(text); }), 1004) << text;
  }
}

TEST_F(FormulaTextTest, ReferencesOffTheSheetWriteAsRefError) {
  At("A2").SetFormulaR1C1("=R[-1]C");
  At("A2").AutoFill(At("A1:A2"));
  EXPECT_EQ(At("A1").Formula(), "=#REF!");
  EXPECT_EQ(Get("A1"), Variant(ErrorValue::Ref));
}

// A filled formula's text in each cell: what moves with the cell moves, the rest stays.
TEST_F(FormulaTextTest, FilledFormulasWriteTheirOwnReferences) {
  Set("B2", "=$A$1+A1+'My sheet'!B$1:$C2&\"A1\"&SUM($A:A,1:$2)");
  At("B2").AutoFill(At("B2:B4"));
  At("B2").AutoFill(At("A2:B2"));
  At("B2").AutoFill(At("B1:B2"));
  EXPECT_EQ(At("B4").Formula(), "=$A$1+A3+'My sheet'!B$1:$C4&\"A1\"&SUM($A:A,3:$2)");
  EXPECT_EQ(At("A2").Formula(), "=$A$1+#REF!+'My sheet'!A$1:$C2&\"A1\"&SUM(#REF!,1:$2)");
  EXPECT_EQ(At("B1").Formula(), "=$A$1+#REF!+'My sheet'!B$1:$C1&\"A1\"&SUM($A:A,#REF!)");
  EXPECT_EQ(At("B2").Formula(), "=$A$1+A1+'My sheet'!B$1:$C2&\"A1\"&SUM($A:A,1:$2)");
  // A reference moves when any of its parts is relative.
  Set("D2", "=$A1+A$1+SUM($B$1:$C2)+SUM($B$1:C$2)");
  At("D2").AutoFill(At("D2:D3"));
  At("D2").AutoFill(At("D2:E2"));
  EXPECT_EQ(At("D3").Formula(), "=$A2+A$1+SUM($B$1:$C3)+SUM($B$1:C$2)");
  EXPECT_EQ(At("E2").Formula(), "=$A1+B$1+SUM($B$1:$C2)+SUM($B$1:D$2)");
}

}  // namespace
}  // namespace tavrin
