#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/reference_text.h"
#include "spreadsheet/formula/formula_text.h"

namespace tavrin {

// The reading of a formula text (ParseFormula): a recursive descent over the text, each step
// down one level of nesting, which the host's limits keep shallow. Every method returns false
// when the text does not parse. The operators and calls are read in formula_parser.cpp, the
// literals in formula_literals.cpp and the references in formula_references.cpp.
class FormulaParser {
 public:
  FormulaParser(std::string_view text, Notation notation, int row, int column, bool definedNames)
      : text_(text), notation_(notation), row_(row), column_(column), definedNames_(definedNames) {}

  std::optional<FormulaNode> Formula();

 private:
  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void Blanks() {
    while (Peek() == ' ') ++pos_;
  }
  bool Eat(char c) {
    Blanks();
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }

  // Every step down into a parenthesis, a function's arguments or a sign is one level of
  // nesting; the host refuses a formula past its levels, and so the tree stays shallow enough
  // for every walk over it.
  class Nested {
   public:
    Nested(FormulaParser& parser, bool function) : parser_(parser), function_(function) {
      ++parser_.nesting_;
      if (function_) ++parser_.functionNesting_;
    }
    ~Nested() {
      --parser_.nesting_;
      if (function_) --parser_.functionNesting_;
    }
    bool Allowed() const {
      return parser_.nesting_ <= kMaxNesting && parser_.functionNesting_ <= kMaxFunctionNesting;
    }

   private:
    FormulaParser& parser_;
    bool function_;
  };

  // Operators, parentheses and calls.
  static FormulaNode Binary(Op op, FormulaNode left, FormulaNode right);
  bool Comparison(FormulaNode& out);
  bool Concat(FormulaNode& out);
  bool Additive(FormulaNode& out);
  bool Multiplicative(FormulaNode& out);
  bool Power(FormulaNode& out);

  // Negation binds tighter than "^" in the host: -2^2 is 4.
  bool Unary(FormulaNode& out);

  // Only what can name cells joins with ":": references (one that fell off the sheet, #REF!,
  // too), calls and parenthesised parts.
  static bool NamesCells(const FormulaNode& node);
  bool RangeOf(FormulaNode& out);

  // A blank between two parts that name cells is their intersection ("B1:B3 B2:B5"); a blank
  // before anything else is only a blank.
  bool Intersection(FormulaNode& out);

  // Parentheses: a part, or the union of parts that name cells, joined by commas ("(B1:B3,B5)").
  bool Parenthesised(FormulaNode& out);
  bool Primary(FormulaNode& out);

  // A function call, TRUE or FALSE, or a defined name when they are read.
  bool NameAt(FormulaNode& out);
  // The arguments of a call, from its "(".
  bool CallAt(FormulaNode& out, std::string name);

  // Texts, array constants, Booleans, error values and numbers.
  bool TextLiteral(FormulaNode& out);

  // "{1,2;3,4}": numbers (signed), texts, Booleans and error values, "," between the values of
  // a row and ";" between rows, every row as long as the first.
  bool ArrayLiteral(FormulaNode& out);
  bool BooleanAt(FormulaNode& out);
  bool ErrorLiteral(FormulaNode& out);
  bool NumberLiteral(FormulaNode& out);

  // References, sheet-qualified or not, in either notation. Whether a name, a call or a bracket
  // goes on from here, so what came before is no whole reference.
  bool RunsOn() const { return IsFormulaNameChar(Peek()) || Peek() == '(' || Peek() == '['; }

  RefPart RowOf(const A1Corner& corner) const {
    return {corner.rowAbsolute ? corner.row : corner.row - row_, corner.rowAbsolute};
  }
  RefPart ColumnOf(const A1Corner& corner) const {
    return {corner.columnAbsolute ? corner.column : corner.column - column_, corner.columnAbsolute};
  }

  // A sheet name and "!", when one comes next.
  bool SheetPrefix(std::string& sheet);
  bool ReferenceAt(FormulaNode& out);

  // An A1 corner at the current position, read past; false, and nothing read, when none.
  bool Corner(A1Corner& corner);

  // ":" and a corner after it, read past; false when not both.
  bool SecondCorner(A1Corner& corner);

  // "$A$1", "A1:B2", "A:C", "1:3", each part "$" for absolute.
  bool A1Reference(Reference& ref);

  // "R2C3", "R[-1]C", "RC[2]", "R2:R5", "C[-1]", "R", "C" and ranges of them.
  bool R1C1Reference(Reference& ref);
  bool R1C1Part(char letter, RefPart& part, int last);

  std::string_view text_;
  Notation notation_;
  int row_, column_;
  bool definedNames_;
  size_t pos_ = 0;
  int nesting_ = 0;
  int functionNesting_ = 0;
};

}  // namespace tavrin
