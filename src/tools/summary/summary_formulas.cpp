#include "tools/summary/summary_formulas.h"

namespace tavrin {

namespace {

std::string N(int number) {
  return std::to_string(number);
}

// "R2C3:R100C3": rows first to last of an absolute column.
std::string ColumnSpan(int firstRow, int lastRow, int column) {
  return "R" + N(firstRow) + "C" + N(column) + ":R" + N(lastRow) + "C" + N(column);
}

// A text as a formula's text literal: quoted, every quote doubled, so the cell receives
// exactly the text typed whatever it holds.
std::string TextLiteral(const std::string& text) {
  std::string literal = "\"";
  for (char c : text) {
    literal += c;
    if (c == '"') literal += '"';
  }
  return literal + "\"";
}

}  // namespace

std::string BlankKeyCountFormula(int a, int b, int k1, int kN) {
  std::string text = "=SUMPRODUCT(";
  for (int k = k1; k <= kN; ++k) text += "(" + ColumnSpan(a, b, k) + "=\"\")*";
  return text + "(ROW(" + ColumnSpan(a, b, k1) + ")/ROW(" + ColumnSpan(a, b, k1) + ")))";
}

std::string KeyedSumFormula(int firstRow, int lastRow, int keyColumn, int keyCount, int matchColumn,
                            int valueOffset) {
  std::string text = "=SUMPRODUCT(";
  for (int j = 0; j < keyCount; ++j) {
    text += "(" + ColumnSpan(firstRow, lastRow, keyColumn + j) + "=RC" + N(matchColumn + j) + ")*";
  }
  return text + "(R" + N(firstRow) + "C[" + N(valueOffset) + "]:R" + N(lastRow) + "C[" +
         N(valueOffset) + "]))";
}

std::string MatchIndexFormula(int ka, int s1, int s2, int c1, int c2, int d, int k,
                              const std::string& notFound) {
  std::string match =
      "MATCH(RC" + N(ka) + ",R" + N(s1) + "C" + N(d) + ":R" + N(s2) + "C" + N(d) + ",0)";
  std::string column =
      "COLUMN(R" + N(s1) + "C[" + N(k) + "])-COLUMN(R" + N(s1) + "C" + N(c1) + ")+1";
  std::string index = "INDEX(R" + N(s1) + "C" + N(c1) + ":R" + N(s2) + "C" + N(c2) + "," + match +
                      "," + column + ")";
  return "=IF(ISERROR(" + match + ")," + TextLiteral(notFound) + "," + index + ")";
}

}  // namespace tavrin
