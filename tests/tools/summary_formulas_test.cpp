#include "tools/summary/summary_formulas.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// The list A1:E100, keys B:C, values D:E, target H3: the blank-key count over the source and
// the result formula of the first result cell J4.
TEST(SummaryFormulas, SummariseWorkedExample) {
  EXPECT_EQ(BlankKeyCountFormula(2, 100, 2, 3),
            "=SUMPRODUCT((R2C2:R100C2=\"\")*(R2C3:R100C3=\"\")*"
            "(ROW(R2C2:R100C2)/ROW(R2C2:R100C2)))");
  EXPECT_EQ(KeyedSumFormula(2, 100, 2, 2, 8, 4 - (8 + 2)),
            "=SUMPRODUCT((R2C2:R100C2=RC8)*(R2C3:R100C3=RC9)*(R2C[-6]:R100C[-6]))");
}

// Index target A2:B10, output column F, index source H2:I500, data source K2:L500.
TEST(SummaryFormulas, SumLookupWorkedExample) {
  EXPECT_EQ(KeyedSumFormula(2, 500, 8, 2, 1, 11 - 6),
            "=SUMPRODUCT((R2C8:R500C8=RC1)*(R2C9:R500C9=RC2)*(R2C[5]:R500C[5]))");
  EXPECT_EQ(KeyedSumFormula(1, 3, 1, 1, 4, 0), "=SUMPRODUCT((R1C1:R3C1=RC4)*(R1C[0]:R3C[0]))");
}

// Index values A2:A10, target B2:C10, source table E1:H100, index column E, data G:H, "x".
TEST(SummaryFormulas, MatchIndexWorkedExample) {
  EXPECT_EQ(MatchIndexFormula(1, 1, 100, 5, 8, 5, 5, "x"),
            "=IF(ISERROR(MATCH(RC1,R1C5:R100C5,0)),\"x\",INDEX(R1C5:R100C8,"
            "MATCH(RC1,R1C5:R100C5,0),COLUMN(R1C[5])-COLUMN(R1C5)+1))");
  EXPECT_EQ(MatchIndexFormula(1, 1, 2, 2, 2, 2, -3, "say \"none\""),
            "=IF(ISERROR(MATCH(RC1,R1C2:R2C2,0)),\"say \"\"none\"\"\",INDEX(R1C2:R2C2,"
            "MATCH(RC1,R1C2:R2C2,0),COLUMN(R1C[-3])-COLUMN(R1C2)+1))")
      << "a quote in the not-found text is doubled";
}

}  // namespace
}  // namespace tavrin
