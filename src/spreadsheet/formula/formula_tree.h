#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/address.h"
#include "host/variant.h"
#include "spreadsheet/cell_store.h"

namespace tavrin {

struct FunctionSpec;
class A1Texts;

// One coordinate of a reference: an absolute 1-based index, or an offset from the formula's own
// cell. A relative part moves with its cell when a formula is filled or copied; an absolute one
// is what a row insertion or deletion has to shift.
struct RefPart {
  int value = 0;
  bool absolute = false;

  int At(int own) const { return absolute ? value : own + value; }
};

// A reference as a formula holds it: a cell, a rectangle, whole columns or whole rows, on the
// formula's own sheet or on the sheet it names.
struct Reference {
  enum class Shape { Cell, Area, Columns, Rows };

  std::string sheet;
  Shape shape = Shape::Cell;
  RefPart row1, column1, row2, column2;

  // The cells it names from the formula cell (row, column); nothing when it falls off the sheet.
  std::optional<Area> Resolve(int row, int column) const;
};

enum class Op {
  Range,
  Intersect,  // a blank between two references
  Union,      // a comma between references inside parentheses
  Negate,
  Plus,
  Percent,
  Power,
  Multiply,
  Divide,
  Add,
  Subtract,
  Concat,
  Equal,
  NotEqual,
  Less,
  LessEqual,
  Greater,
  GreaterEqual
};

// A node of a formula's tree. Parentheses are kept as nodes so that the text written back is the
// text entered. An array constant ({1,2;3,4}) holds its values row by row as children. A name
// is a defined name of a formula read from a file, its text as written there.
struct FormulaNode {
  enum class Kind {
    Number,
    Text,
    Boolean,
    Error,
    Ref,
    Missing,
    Unary,
    Binary,
    Paren,
    Call,
    Array,
    Name
  };

  Kind kind = Kind::Missing;
  double number = 0;
  bool boolean = false;
  ErrorValue error = ErrorValue::NA;
  // A text literal, a function's name in upper case, an error's sheet, a defined name.
  std::string text;
  const FunctionSpec* function = nullptr;  // a call's host function, found when it was read
  int columns = 0;                         // an array constant's
  Reference ref;
  Op op = Op::Add;
  std::vector<FormulaNode> children;
};

// A parsed formula, relative to its cell, shared by every cell that holds the same relative
// formula. Its R1C1 text (with "=") is the same in every such cell and keys the sharing.
// A text read from a file that the engine cannot read is kept as a tree that is not computable:
// its cell keeps the result the file stored.
struct FormulaTree {
  FormulaNode root;
  std::string r1c1;  // in braces for an array formula
  bool computable = true;
  // An array formula ({=...}) takes ranges whole wherever it computes; any other formula takes
  // the cell of a range in its row or column where one value is wanted (Evaluator).
  bool array = false;
  // Its A1 texts, made when a cell holding it is first asked for its text (FormulaText).
  mutable std::shared_ptr<const A1Texts> a1 = nullptr;
  // How far its references reach, found when it is first placed in a cell (SheetCalc::Place).
  mutable std::optional<FormulaReach> reach = std::nullopt;
};
using TreePtr = std::shared_ptr<const FormulaTree>;

}  // namespace tavrin
