#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <variant>
#include <vector>

#include "host/address.h"
#include "host/variant.h"
#include "spreadsheet/formula/formula_tree.h"

namespace tavrin {

class Sheet;

// A block of values, row by row. Only the first rows are stored: every row below them holds the
// values of `tail` (a range's rows past its sheet's content are empty, and so is all that is
// computed from them), so a whole column costs what its content costs.
struct Matrix {
  int rows = 1;
  int columns = 1;
  std::vector<Variant> cells;  // the stored rows
  std::vector<Variant> tail;   // the values of every row past them; empty when all are stored

  int StoredRows() const {
    return tail.empty() ? rows : static_cast<int>(cells.size()) / std::max(columns, 1);
  }
  const Variant& At(int r, int c) const {
    return r < StoredRows() ? cells[static_cast<size_t>(r) * columns + c] : tail[c];
  }
  // Calls visit(value) for every value, row by row, until it returns false.
  template <class Visit>
  void ForEachValue(Visit&& visit) const {
    for (const Variant& value : cells) {
      if (!visit(value)) return;
    }
    for (int r = StoredRows(); r < rows; ++r) {
      for (const Variant& value : tail) {
        if (!visit(value)) return;
      }
    }
  }
};

// The most values a computed block may store, some 128 MB: past it a formula gives #NUM!.
constexpr size_t kMostMatrixCells = size_t{1} << 22;

// Cells of a sheet, as a reference evaluates.
struct RangeRef {
  Sheet* sheet;
  Area area;
};

// What a formula's part evaluates to: one value, a range of cells or an array of values.
using Operand = std::variant<Variant, RangeRef, std::shared_ptr<const Matrix>>;

// The host's comparison, as "=" and "<" compare: texts ignore letter case, an empty value
// equals "", 0 and FALSE, numbers < texts < Booleans, and numbers are equal when their 15
// significant digits are (0.1+0.2=0.3). Both values must be free of errors. Returns -1, 0 or 1.
int CompareValues(const Variant& left, const Variant& right);
// The lookups' comparison (MATCH, VLOOKUP, HLOOKUP, LOOKUP): the same, but numbers exactly.
int CompareForLookup(const Variant& left, const Variant& right);

// A value as arithmetic takes it: empty 0, a Boolean 1 or 0, a text that reads as a number
// (or a percentage, a date or a time, as VALUE reads it) that number; any other text #VALUE!;
// an error value stays.
Variant ToNumber(const Variant& value);

// A value as "&" and the text functions take it: a number in the general format, TRUE or
// FALSE, an empty value "". The value must be free of errors.
std::string ValueText(const Variant& value);

// A number result: #NUM! past the range of numbers, as the host gives it.
Variant NumberResult(double number);

// The longest text a cell holds, in UTF-16 units as the host counts characters.
constexpr size_t kMostTextLength = 32767;
// A text result: #VALUE! past the longest text, as the host gives it.
Variant TextResult(std::string text);

// Evaluates a tree in the cell (row, column) of a sheet.
class Evaluator {
 public:
  // `arrayFormula`: the formula is an array formula ({=...}), which takes every range whole.
  // Any other takes, where one value is wanted (an operator's operand, a function's argument
  // of one value), the cell of a range in the formula's row or column, as the host does.
  Evaluator(Sheet& sheet, int row, int column, bool arrayFormula = true)
      : sheet_(sheet), row_(row), column_(column), wholeRanges_(arrayFormula) {}

  Sheet& OwnSheet() const { return sheet_; }
  int Row() const { return row_; }
  int Column() const { return column_; }

  Operand Eval(const FormulaNode& node);
  // Eval of an argument the function takes as an array (SUMPRODUCT's, LOOKUP's, INDEX's first):
  // ranges inside it are taken whole, as in an array formula.
  Operand EvalArray(const FormulaNode& node);
  // The cell's result: an array gives its top-left value, a range the value of the cell in the
  // formula's row or column.
  Variant Result(const FormulaNode& root);
  // One value: a one-cell range or array gives its value; larger ones intersect as Result does.
  Variant Scalar(const Operand& operand);
  // All values, a scalar as a 1x1 block.
  std::shared_ptr<const Matrix> Array(const Operand& operand);
  // The cells a node names (a reference, one cell too, or a function giving a range such as
  // INDEX or OFFSET), without reading them; false, and the error value in `error`, otherwise.
  bool RangeOf(const FormulaNode& node, RangeRef& range, Variant& error);
  bool AsRange(const Operand& operand, RangeRef& range, Variant& error);

  // Applies a function to each pair of values, stretching a one-row or one-column operand over
  // the common shape; cells outside it are #N/A. Two scalars give a scalar. Outside an array
  // formula, and arguments taken as arrays, a range operand is first intersected (Scalar).
  Operand Broadcast(const Operand& left, const Operand& right,
                    const std::function<Variant(const Variant&, const Variant&)>& apply);
  // The same rule for any number of operands.
  Operand Broadcast(const std::vector<Operand>& operands,
                    const std::function<Variant(const std::vector<Variant>&)>& apply);
  Operand Map(const Operand& operand, const std::function<Variant(const Variant&)>& apply);
  // A block of the shape whose value at (r, c) is value(r, c), where every row from uniformFrom
  // on equals that row (kept once, as the tail). #NUM! when it would store too many values.
  static Operand MakeMatrix(int rows, int columns, int uniformFrom,
                            const std::function<Variant(int, int)>& value);

  // Whether the formula called a function that neither the host nor the spreadsheet's owner
  // provides, or read a defined name (#NAME?): a formula read from a file then keeps the result
  // the file stored.
  bool MetUnknownFunction() const { return metUnknownFunction_; }

 private:
  Operand Binary(const FormulaNode& node);
  // `final` marks the formula's last operation, whose sum near zero is corrected.
  Operand Apply(Op op, Operand left, const FormulaNode& rightNode, bool final);
  Variant Intersect(const RangeRef& range);
  Operand JoinReferences(Op op, const Operand& left, const FormulaNode& rightNode);
  static Operand SideBySide(const Matrix& a, const Matrix& b);
  // The operand where one value is wanted: a range intersected unless ranges are taken whole.
  Operand OneValueWanted(const Operand& operand);

  Operand Call(const FormulaNode& node);
  Operand CallAdded(const FormulaNode& node);

  Sheet& sheet_;
  int row_, column_;
  bool metUnknownFunction_ = false;
  bool wholeRanges_;
  const FormulaNode* final_ = nullptr;  // the root's operation, parentheses aside
};

// A worksheet function: its arguments unevaluated, so IF and the like choose what to compute.
using SheetFunction = Operand (*)(Evaluator&, const std::vector<FormulaNode>&);

// A function with the numbers of arguments it takes; a call with fewer or more is #VALUE!
// (and a typed formula holding one is refused).
struct FunctionSpec {
  SheetFunction call = nullptr;
  int fewest = 0;
  int most = 0;
};

// The host's function of that upper-case name, nullptr when the host knows none.
const FunctionSpec* FindFunction(std::string_view name);

}  // namespace tavrin
