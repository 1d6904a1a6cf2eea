#pragma once

#include <string>

namespace tavrin {

// The formula texts the summary tools write, in R1C1 notation with numbers in plain decimal.

// Counts the rows a to b in which every key column k1..kN is blank:
// =SUMPRODUCT((RaCk1:RbCk1="")*...*(ROW(RaCk1:RbCk1)/ROW(RaCk1:RbCk1)))
std::string BlankKeyCountFormula(int a, int b, int k1, int kN);

// Sums the column at valueOffset from the formula's cell over the rows first to last whose
// keyCount key columns from keyColumn equal the formula row's cells from matchColumn:
// =SUMPRODUCT((R2C2:R100C2=RC8)*(R2C3:R100C3=RC9)*(R2C[-6]:R100C[-6]))
std::string KeyedSumFormula(int firstRow, int lastRow, int keyColumn, int keyCount, int matchColumn,
                            int valueOffset);

// Fetches, for the index in column ka of the formula's row, the value of the table s1..s2 x
// c1..c2 in the row where column d holds it and in the column at offset k from the formula's
// cell; notFound (written as a text literal, quotes doubled) where the index is missing.
std::string MatchIndexFormula(int ka, int s1, int s2, int c1, int c2, int d, int k,
                              const std::string& notFound);

}  // namespace tavrin
