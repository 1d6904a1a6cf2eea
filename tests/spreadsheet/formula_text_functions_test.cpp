#include "formula_fixture.h"

namespace tavrin {
namespace {

using FormulaTextFunctionsTest = FormulaTest;

TEST_F(FormulaTextFunctionsTest, PiecesOfTextsCountCharactersNotBytes) {
  EXPECT_EQ(Eval("=LEFT(\"汉字abc\",2)&\"|\"&LEFT(\"abc\")&\"|\"&RIGHT(\"abc\",5)"),
            Variant("汉字|a|abc"));
  EXPECT_EQ(Eval("=MID(\"abcdef\",2,3)&\"|\"&MID(\"abc\",9,1)&\"|\""), Variant("bcd||"));
  EXPECT_EQ(Eval("=LEFT(\"abc\",-1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=MID(\"abc\",0,1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=LEN(\"汉字ab\")&\"|\"&LENB(\"汉字ab\")"), Variant("4|6"));
  EXPECT_EQ(Eval("=LEN(\"😀\")"), Variant(2));  // two UTF-16 units, as the host counts
  EXPECT_EQ(Eval("=LEFT(1234.5,3)&LEN(TRUE)"), Variant("1234"));  // numbers as they print
  EXPECT_EQ(Eval("=REPLACE(\"abcdef\",2,3,\"XY\")"), Variant("aXYef"));
  EXPECT_EQ(Eval("=LEFT(#N/A,1)"), Variant(ErrorValue::NA));
}

TEST_F(FormulaTextFunctionsTest, PositionsAndCountsAtTheirLimits) {
  EXPECT_EQ(Eval("=LEFT(\"abc\",0)&\"|\"&RIGHT(\"abc\",0)&\"|\""), Variant("||"));
  EXPECT_EQ(Eval("=MID(\"abc\",1,2)&\"|\"&MID(\"abc\",1,0)&\"|\"&MID(\"abc\",3,1)"),
            Variant("ab||c"));
  EXPECT_EQ(Eval("=REPLACE(\"abc\",1,1,\"X\")&\"|\"&REPLACE(\"abc\",2,0,\"X\")"),
            Variant("Xbc|aXbc"));
  EXPECT_EQ(Eval("=SUBSTITUTE(\"aaa\",\"a\",\"b\",1)"), Variant("baa"));
  EXPECT_EQ(Eval("=REPT(\"ab\",0)&\"|\""), Variant("|"));
  EXPECT_EQ(Eval("=TRIM(\"   \")&\"|\""), Variant("|"));
  EXPECT_EQ(Eval("=FIND(\"\",\"\")&SEARCH(\"\",\"\")"), Variant("11"));
  // Counts and positions that are no numbers, or too small, are #VALUE!.
  for (const char* formula :
       {"=LEFT(\"abc\",\"x\")", "=MID(\"abc\",\"x\",1)", "=MID(\"abc\",1,\"x\")",
        "=MID(\"abc\",1,-1)", "=REPLACE(\"abc\",\"x\",1,\"X\")", "=REPLACE(\"abc\",1,\"x\",\"X\")",
        "=REPLACE(\"abc\",0,1,\"X\")", "=REPLACE(\"abc\",1,-1,\"X\")", "=FIND(\"a\",\"abc\",\"x\")",
        "=SUBSTITUTE(\"aaa\",\"a\",\"b\",0)", "=SUBSTITUTE(\"aaa\",\"a\",\"b\",\"x\")",
        "=REPT(\"ab\",-1)", "=REPT(\"ab\",\"x\")", "=CHAR(\"x\")", "=VALUE(TRUE)"}) {
    EXPECT_EQ(Eval(formula), Variant(ErrorValue::Value)) << formula;
  }
  EXPECT_EQ(Eval("=TEXT(1,NA())"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=VALUE(DATE(2024,1,5))"), Variant(45296));
  EXPECT_EQ(Eval("=VALUE(A9)"), Variant(0));
}

TEST_F(FormulaTextFunctionsTest, FindTellsCaseAndSearchTakesWildcards) {
  EXPECT_EQ(Eval("=FIND(\"b\",\"abcb\",3)"), Variant(4));
  EXPECT_EQ(Eval("=FIND(\"B\",\"abc\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=FIND(\"\",\"abc\")"), Variant(1));
  EXPECT_EQ(Eval("=FIND(\"a\",\"abc\",5)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SEARCH(\"B?\",\"xAbcb\")"), Variant(3));
  EXPECT_EQ(Eval("=SEARCH(\"*c\",\"abcd\")"), Variant(1));
  EXPECT_EQ(Eval("=SEARCH(\"~*\",\"a*b\")"), Variant(2));
  EXPECT_EQ(Eval("=SEARCH(\"字\",\"汉字字\",3)"), Variant(3));
}

TEST_F(FormulaTextFunctionsTest, AStartPastTheTextsEndIsAnError) {
  EXPECT_EQ(Eval("=FIND(\"\",\"abc\",3)"), Variant(3));
  EXPECT_EQ(Eval("=FIND(\"\",\"abc\",4)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SEARCH(\"\",\"abc\",4)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SEARCH(\"*\",\"abc\",4)"), Variant(ErrorValue::Value));
}

TEST_F(FormulaTextFunctionsTest, ChangingTexts) {
  EXPECT_EQ(Eval("=SUBSTITUTE(\"aaa\",\"a\",\"b\",2)&\"|\"&SUBSTITUTE(\"aAa\",\"a\",\"bb\")"),
            Variant("aba|bbAbb"));
  EXPECT_EQ(Eval("=SUBSTITUTE(\"abc\",\"\",\"x\")"), Variant("abc"));
  EXPECT_EQ(Eval("=TRIM(\"  a   b  \")&\"|\""), Variant("a b|"));
  EXPECT_EQ(Eval("=UPPER(\"abä\")&LOWER(\"ÄBC\")"), Variant("ABÄäbc"));
  EXPECT_EQ(Eval("=PROPER(\"hello wORLD 2-way don't\")"), Variant("Hello World 2-Way Don'T"));
  EXPECT_EQ(Eval("=CONCATENATE(\"a\",1.5,TRUE,A9)"), Variant("a1.5TRUE"));
  EXPECT_EQ(Eval("=REPT(\"ab\",3)"), Variant("ababab"));
  EXPECT_EQ(Eval("=REPT(\"ab\",20000)"), Variant(ErrorValue::Value));  // past 32767 characters
  EXPECT_EQ(Eval("=REPT(\"\",1E9)&\"|\""), Variant("|"));
  // The limit counts characters, a character past U+FFFF two, not bytes.
  EXPECT_EQ(Eval("=LEN(REPT(\"汉\",32767))"), Variant(32767));
  EXPECT_EQ(Eval("=LEN(REPT(\"\xF0\x9F\x98\x80\",16383))"), Variant(32766));
  EXPECT_EQ(Eval("=REPT(\"\xF0\x9F\x98\x80\",16384)"), Variant(ErrorValue::Value));
  Set("A1", "=REPT(\"a\",30000)");
  EXPECT_EQ(Eval("=SUBSTITUTE(A1,\"a\",A1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=LEN(A1&A1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=EXACT(\"a\",\"A\")&EXACT(1,\"1\")"), Variant("FALSETRUE"));
}

TEST_F(FormulaTextFunctionsTest, ValueReadsNumbersPercentagesDatesAndTimes) {
  EXPECT_EQ(Eval("=VALUE(\" 1,234.5 \")"), Variant(1234.5));
  EXPECT_EQ(Eval("=VALUE(\"50%\")"), Variant(0.5));
  EXPECT_EQ(Eval("=VALUE(\"2024-1-5\")"), Variant(45296));
  EXPECT_EQ(Eval("=VALUE(\"2024年1月5日\")"), Variant(45296));
  EXPECT_EQ(Eval("=VALUE(\"13:30\")"), Variant(0.5625));
  EXPECT_EQ(Eval("=VALUE(\"2024/1/5 6:00 PM\")"), Variant(45296.75));
  EXPECT_EQ(Eval("=VALUE(\"abc\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=VALUE(\"2024-2-30\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=\"2024-01-05\"+1"), Variant(45297));  // arithmetic reads them too
}

TEST_F(FormulaTextFunctionsTest, ValueReadsDatesTimesAndFractionsToTheirLimits) {
  EXPECT_EQ(Eval("=VALUE(\"2019-9-9\")"), Variant(43717));
  EXPECT_EQ(Eval("=VALUE(\"2024-12-5\")"), Variant(45631));
  EXPECT_EQ(Eval("=VALUE(\"2024-1-1\")&\"|\"&VALUE(\"2024-1-31\")"), Variant("45292|45322"));
  EXPECT_EQ(Eval("=VALUE(\" 2024-1-5 \")"), Variant(45296));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"9:30\")*48,6)"), Variant(19));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"0:30\")*48,6)"), Variant(1));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"1:59\")*1440,6)"), Variant(119));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"1:00:59\")*86400,6)"), Variant(3659));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"2024:1:5\")*86400,6)"), Variant(7286465)) << "hours past a day";
  EXPECT_EQ(Eval("=ROUND(VALUE(\"9999:00\")*24,6)"), Variant(9999));
  EXPECT_EQ(Eval("=VALUE(\"6:00 am\")*4"), Variant(1));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"1:30 PM\")*48,6)"), Variant(27));
  EXPECT_EQ(Eval("=ROUND(VALUE(\"12:30 PM\")*48,6)"), Variant(25));
  EXPECT_EQ(Eval("=SECOND(\"12:00:00.9\")&SECOND(\"12:00:00.60\")"), Variant("11"));
  EXPECT_EQ(Eval("=VALUE(\"1 1/2\")&\"|\"&VALUE(\"0 1/2\")&\"|\"&VALUE(\"1 0/2\")"),
            Variant("1.5|0.5|1"));
  EXPECT_EQ(Eval("=VALUE(\"99999999999 1/2\")"), Variant(99999999999.5));
  EXPECT_EQ(Eval("=VALUE(\"-50%\")"), Variant(-0.5));
  for (const char* formula :
       {"=VALUE(\"2024-0-5\")", "=VALUE(\"2024-13-5\")", "=VALUE(\"2024-1-0\")",
        "=VALUE(\"2024-1/5\")", "=VALUE(\"2024-1-5x\")", "=VALUE(\"2024-1-5 :30\")",
        "=VALUE(\"1:60\")", "=VALUE(\"1:00:60\")", "=VALUE(\"13:00 PM\")", "=VALUE(\"10000:00\")",
        "=VALUE(\" \")", "=VALUE(\"5x1/2\")", "=VALUE(\"1 /2\")", "=VALUE(\"1 2x2\")",
        "=VALUE(\"1 1/2x\")", "=VALUE(\"1 1/0\")", "=VALUE(\"99999999999999999999 1/2\")"}) {
    EXPECT_EQ(Eval(formula), Variant(ErrorValue::Value)) << formula;
  }
}

TEST_F(FormulaTextFunctionsTest, CharAndCodeUseTheChineseCodePage) {
  EXPECT_EQ(Eval("=CHAR(65)&CHAR(45217)"), Variant("A啊"));
  EXPECT_EQ(Eval("=CODE(\"Abc\")&\" \"&CODE(\"啊\")"), Variant("65 45217"));
  EXPECT_EQ(Eval("=CHAR(0)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=CODE(CHAR(1))"), Variant(1)) << "the first code";
  EXPECT_EQ(Eval("=CODE(\"\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=CODE(\"啊b\")"), Variant(45217)) << "the first character only";
  EXPECT_EQ(Eval("=CODE(\"😀\")"), Variant(63)) << "none in the code page: \"?\"";
  EXPECT_EQ(Eval("=CHAR(128)&CODE(\"€\")"), Variant("€128"));
}

TEST_F(FormulaTextFunctionsTest, TextFormatsNumbers) {
  EXPECT_EQ(Eval("=TEXT(1234.567,\"#,##0.00\")"), Variant("1,234.57"));
  EXPECT_EQ(Eval("=TEXT(1234.567,\"0\")"), Variant("1235"));
  EXPECT_EQ(Eval("=TEXT(5,\"000\")"), Variant("005"));
  EXPECT_EQ(Eval("=TEXT(0.5,\"#.00\")"), Variant(".50"));
  EXPECT_EQ(Eval("=TEXT(2.5,\"0.0#\")"), Variant("2.5"));
  EXPECT_EQ(Eval("=TEXT(0.256,\"0%\")"), Variant("26%"));
  EXPECT_EQ(Eval("=TEXT(0.256,\"0.0%\")"), Variant("25.6%"));
  EXPECT_EQ(Eval("=TEXT(1234567,\"#,##0,\")"), Variant("1,235"));
  EXPECT_EQ(Eval("=TEXT(12345,\"0.00E+00\")"), Variant("1.23E+04"));
  EXPECT_EQ(Eval("=TEXT(999.5,\"0.00E+00\")"), Variant("1.00E+03"))
      << "rounding up to 10.00 moves the point and the exponent on";
  EXPECT_EQ(Eval("=TEXT(-5,\"0.00\")"), Variant("-5.00"));
  EXPECT_EQ(Eval("=TEXT(-5,\"0.00;(0.00)\")"), Variant("(5.00)"));
  EXPECT_EQ(Eval("=TEXT(0,\"0;-0;zero\")"), Variant("zero"));
  EXPECT_EQ(Eval("=TEXT(12,\"\"\"No.\"\"0\\元\")"), Variant("No.12元"));
  EXPECT_EQ(Eval("=TEXT(1.5,\"General\")&TEXT(\"15\",\"0.0\")"), Variant("1.515.0"));
  EXPECT_EQ(Eval("=TEXT(\"abc\",\"0\")&TEXT(\"abc\",\"@!\")&TEXT(\"ab\",\"0;0;0;<@>\")"),
            Variant("abcabc!<ab>"));
}

TEST_F(FormulaTextFunctionsTest, TextFormatsDatesAndTimes) {
  Set("A1", "=DATE(2024,1,5)+TIME(18,5,9)");
  EXPECT_EQ(Eval("=TEXT(A1,\"yyyy-mm-dd\")"), Variant("2024-01-05"));
  EXPECT_EQ(Eval("=TEXT(A1,\"yyyy年m月d日\")"), Variant("2024年1月5日"));
  EXPECT_EQ(Eval("=TEXT(A1,\"yy/m/d hh:mm:ss\")"), Variant("24/1/5 18:05:09"));
  EXPECT_EQ(Eval("=TEXT(A1,\"h:mm AM/PM\")"), Variant("6:05 PM"));
  EXPECT_EQ(Eval("=TEXT(A1,\"dddd, mmmm d\")"), Variant("Friday, January 5"));
  EXPECT_EQ(Eval("=TEXT(A1,\"ddd mmm aaaa\")"), Variant("Fri Jan 星期五"));
  EXPECT_EQ(Eval("=TEXT(1.25,\"[h]:mm\")"), Variant("30:00"));
  EXPECT_EQ(Eval("=TEXT(-1,\"yyyy\")"), Variant(ErrorValue::Value));
}

}  // namespace
}  // namespace tavrin
