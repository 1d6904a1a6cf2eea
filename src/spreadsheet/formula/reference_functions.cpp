#include <algorithm>
#include <cctype>
#include <cmath>

#include "host/address.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

// ROW and COLUMN: of the formula's own cell, or the numbers of a range's rows or columns.
template <bool kRow>
Operand RowOrColumn(Evaluator& eval, const Args& args) {
  if (args.empty()) return Variant(kRow ? eval.Row() : eval.Column());
  RangeRef range{};
  Variant error;
  if (!eval.RangeOf(args[0], range, error)) return error;
  int first = kRow ? range.area.row : range.area.column;
  int count = kRow ? range.area.rows : range.area.columns;
  if (count == 1) return Variant(first);
  auto out = std::make_shared<Matrix>();
  (kRow ? out->rows : out->columns) = count;
  for (int i = 0; i < count; ++i) out->cells.emplace_back(first + i);
  return out;
}

// ROWS and COLUMNS of a range or an array; a single value has one of each.
template <bool kRows>
Operand Count(Evaluator& eval, const Args& args) {
  RangeRef range{};
  Variant error;
  if (eval.RangeOf(args[0], range, error))
    return Variant(kRows ? range.area.rows : range.area.columns);
  Operand operand = eval.Eval(args[0]);
  if (const Variant* value = std::get_if<Variant>(&operand)) {
    return value->IsError() ? *value : Variant(1);
  }
  std::shared_ptr<const Matrix> array = eval.Array(operand);
  return Variant(kRows ? array->rows : array->columns);
}

// OFFSET: the range so many rows and columns from a reference, of its size or the height and
// width given (a negative one runs up or left from the moved corner). Past the sheet's edge,
// or 0 high or wide, it is #REF!.
Operand Offset(Evaluator& eval, const Args& args) {
  RangeRef range{};
  Variant error;
  if (!eval.RangeOf(args[0], range, error)) return error;
  double numbers[4] = {0, 0, static_cast<double>(range.area.rows),
                       static_cast<double>(range.area.columns)};
  for (size_t i = 1; i < args.size(); ++i) {
    if (i >= 3 && Unwrapped(args[i]).kind == FormulaNode::Kind::Missing) continue;
    Variant number = Whole(eval, args[i]);
    if (number.IsError()) return number;
    numbers[i - 1] = number.AsNumber();
  }
  double row = range.area.row + numbers[0], column = range.area.column + numbers[1];
  double height = numbers[2], width = numbers[3];
  if (height == 0 || width == 0) return Variant(ErrorValue::Ref);
  if (height < 0) row += height + 1, height = -height;
  if (width < 0) column += width + 1, width = -width;
  if (row < 1 || column < 1 || row + height - 1 > kLastRow || column + width - 1 > kLastColumn)
    return Variant(ErrorValue::Ref);
  return RangeRef{range.sheet, Area{static_cast<int>(row), static_cast<int>(column),
                                    static_cast<int>(height), static_cast<int>(width)}};
}

// Whether a node is references alone, joined by ":" (so nothing is computed to find them).
bool ReferencesOnly(const FormulaNode& node) {
  const FormulaNode* part = &Unwrapped(node);
  while (part->kind == FormulaNode::Kind::Binary && part->op == Op::Range) {
    if (Unwrapped(part->children[1]).kind != FormulaNode::Kind::Ref) return false;
    part = &Unwrapped(part->children[0]);
  }
  return part->kind == FormulaNode::Kind::Ref;
}

// INDIRECT: the range an address text names, in A1 notation (or R1C1 when the second argument
// is FALSE, relative to the formula's cell); a text that names no range is #REF!.
Operand Indirect(Evaluator& eval, const Args& args) {
  Variant text = eval.Scalar(eval.Eval(args[0]));
  if (text.IsError()) return text;
  Notation notation = Notation::A1;
  if (args.size() == 2 && Unwrapped(args[1]).kind != FormulaNode::Kind::Missing) {
    Variant a1 = NumberArg(eval, args[1]);
    if (a1.IsError()) return a1;
    if (a1.AsNumber() == 0) notation = Notation::R1C1;
  }
  std::optional<FormulaNode> node =
      ParseFormula("=" + ValueText(text), notation, eval.Row(), eval.Column());
  RangeRef range{};
  Variant error;
  if (!node || !ReferencesOnly(*node) || !eval.RangeOf(*node, range, error))
    return Variant(ErrorValue::Ref);
  return range;
}

// ADDRESS: the text of a cell's address, absolute (1), row absolute (2), column absolute (3) or
// relative (4), in A1 or R1C1, after a sheet name (quoted when it holds more than letters and
// digits) when one is given.
Operand Address(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    Variant error = FirstError(values);
    if (error.IsError()) return error;
    double n[3] = {0, 0, 1};
    for (size_t i = 0; i < 3 && i < values.size(); ++i) {
      if (i == 2 && values[i].IsEmpty()) continue;
      Variant number = ToNumber(values[i]);
      if (number.IsError()) return number;
      n[i] = std::trunc(number.AsNumber());
    }
    bool a1 = values.size() < 4 || values[3].IsEmpty() || ToNumber(values[3]).AsNumber() != 0;
    if (n[0] < 1 || n[0] > kLastRow || n[1] < 1 || n[1] > kLastColumn || n[2] < 1 || n[2] > 4)
      return Variant(ErrorValue::Value);
    int row = static_cast<int>(n[0]), column = static_cast<int>(n[1]),
        kind = static_cast<int>(n[2]);
    bool absRow = kind == 1 || kind == 2, absColumn = kind == 1 || kind == 3;
    std::string text =
        a1 ? (absColumn ? "$" : "") + ColumnLetters(column) + (absRow ? "$" : "") +
                 std::to_string(row)
           : (absRow ? "R" + std::to_string(row) : "R[" + std::to_string(row) + "]") +
                 (absColumn ? "C" + std::to_string(column) : "C[" + std::to_string(column) + "]");
    if (values.size() < 5 || values[4].IsEmpty()) return Variant(text);
    std::string sheet = ValueText(values[4]);
    bool plain = std::all_of(sheet.begin(), sheet.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80);
    });
    if (!plain) {
      std::string quoted = "'";
      for (char c : sheet) quoted += c == '\'' ? "''" : std::string(1, c);
      sheet = quoted + "'";
    }
    return Variant(sheet + "!" + text);
  });
}

}  // namespace

void AddReferenceFunctions(FunctionTable& table) {
  table["ROW"] = {RowOrColumn<true>, 0, 1};
  table["COLUMN"] = {RowOrColumn<false>, 0, 1};
  table["ROWS"] = {Count<true>, 1, 1};
  table["COLUMNS"] = {Count<false>, 1, 1};
  table["OFFSET"] = {Offset, 3, 5};
  table["INDIRECT"] = {Indirect, 1, 2};
  table["ADDRESS"] = {Address, 2, 5};
}

}  // namespace tavrin
