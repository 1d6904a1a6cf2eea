#include <cmath>
#include <optional>

#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/range_functions.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

// How a lookup compares: type 0 the first equal value (texts with wildcards), type 1 the last
// of ascending values not above the lookup value, type -1 the last of descending values not
// below it. Values of another kind than the lookup value are passed over; numbers compare
// exactly.
bool HasWildcards(const Variant& lookup) {
  return lookup.IsText() && lookup.AsText().find_first_of("*?~") != std::string::npos;
}

// The 1-based position of the lookup value in a one-row or one-column range or array; 0 when
// not found.
long long Position(Evaluator& eval, const Variant& lookup, const Operand& where, int type) {
  const RangeRef* range = std::get_if<RangeRef>(&where);
  bool wildcard = type == 0 && HasWildcards(lookup);
  if (type == 0 && !wildcard && range && (range->area.columns == 1 || range->area.rows == 1)) {
    if (const LookupIndex* index = range->sheet->Calc().Index(range->area))
      return index->First(lookup);
  }
  std::shared_ptr<const Matrix> values = eval.Array(where);
  if (values->rows != 1 && values->columns != 1) return 0;
  std::optional<WildcardPattern> pattern;
  if (wildcard) pattern.emplace(lookup.AsText());
  long long found = 0, position = 0;
  bool done = false;
  // The values in order; in a tail of like values only the first and the last can be the answer.
  values->ForEachValue([&](const Variant& value) {
    ++position;
    if (position > values->StoredRows() * static_cast<long long>(values->columns) + 1 &&
        position < static_cast<long long>(values->rows) * values->columns)
      return true;
    if (value.IsEmpty() || value.IsError()) return true;
    if (pattern) {
      if (value.IsText() && pattern->Matches(value.AsText())) found = position, done = true;
      return !done;
    }
    bool sameKind = value.IsText() == lookup.IsText() && value.IsBoolean() == lookup.IsBoolean();
    if (!sameKind) return true;
    if (type == 0) {
      bool equal = value.IsText() ? EqualsIgnoringCase(value.AsText(), lookup.AsText())
                                  : CompareForLookup(value, lookup) == 0;
      if (equal) found = position, done = true;
      return !done;
    }
    int order = CompareForLookup(value, lookup);
    if ((type > 0 && order <= 0) || (type < 0 && order >= 0)) {
      found = position;
      return true;
    }
    return false;
  });
  return found;
}

// A lookup value as a lookup takes it: one value; empty is never found.
bool LookupValue(Evaluator& eval, const FormulaNode& node, Variant& lookup) {
  lookup = eval.Scalar(eval.Eval(node));
  if (lookup.IsError()) return false;
  if (lookup.IsEmpty()) return lookup = Variant(ErrorValue::NA), false;
  return true;
}

// MATCH of an array of lookup values gives an array of positions.
Operand Match(Evaluator& eval, const Args& args) {
  Operand lookups = eval.Eval(args[0]);
  int type = 1;
  if (args.size() == 3) {
    Variant number = Whole(eval, args[2]);
    if (number.IsError()) return number;
    type = number.AsNumber() > 0 ? 1 : number.AsNumber() < 0 ? -1 : 0;
  }
  Operand where = eval.Eval(args[1]);
  auto match = [&](const Variant& lookup) {
    if (lookup.IsError()) return lookup;
    if (lookup.IsEmpty()) return Variant(ErrorValue::NA);
    long long found = Position(eval, lookup, where, type);
    return found == 0 ? Variant(ErrorValue::NA) : Variant(static_cast<double>(found));
  };
  if (std::holds_alternative<std::shared_ptr<const Matrix>>(lookups))
    return eval.Map(lookups, match);
  return match(eval.Scalar(lookups));
}

// INDEX of a range gives a reference (so A1:INDEX(...) is a range and SUM passes over its
// texts), of an array a value; row or column 0 gives the whole column or row of a range. A
// range of several rows and columns needs both numbers; an array given one number gives the
// whole row.
Operand Index(Evaluator& eval, const Args& args) {
  RangeRef range{};
  Variant error;
  bool isRange = eval.RangeOf(args[0], range, error);
  std::shared_ptr<const Matrix> array;
  if (!isRange) {
    if (error.IsError() && Unwrapped(args[0]).kind == FormulaNode::Kind::Ref) return error;
    array = eval.Array(eval.EvalArray(args[0]));
  }
  int rows = isRange ? range.area.rows : array->rows;
  int columns = isRange ? range.area.columns : array->columns;
  Variant r = Whole(eval, args[1]);
  if (r.IsError()) return r;
  Variant c = args.size() == 3 ? Whole(eval, args[2]) : Variant(0.0);
  if (c.IsError()) return c;
  if (isRange && args.size() == 2 && rows > 1 && columns > 1) return Variant(ErrorValue::Ref);
  int row = static_cast<int>(r.AsNumber()), column = static_cast<int>(c.AsNumber());
  // One number into a single row picks a column.
  if (args.size() == 2 && rows == 1) row = 1, column = static_cast<int>(r.AsNumber());
  if (args.size() == 2 && columns == 1) column = 1;
  if (row < 0 || column < 0 || row > rows || column > columns) return Variant(ErrorValue::Ref);
  if ((row == 0 || column == 0) && !isRange) {
    return Evaluator::MakeMatrix(row > 0 ? 1 : rows, column > 0 ? 1 : columns,
                                 row > 0 ? 1 : array->StoredRows(), [&](int i, int j) {
                                   return array->At(row > 0 ? row - 1 : i,
                                                    column > 0 ? column - 1 : j);
                                 });
  }
  if (row == 0 || column == 0) {
    Area area = range.area;
    if (row > 0) area.row += row - 1, area.rows = 1;
    if (column > 0) area.column += column - 1, area.columns = 1;
    return RangeRef{range.sheet, area};
  }
  if (!isRange) return array->At(row - 1, column - 1);
  return RangeRef{range.sheet, Area{range.area.row + row - 1, range.area.column + column - 1}};
}

// The first row or column of a block as an operand of its own (a range stays a range).
Operand Line(Evaluator& eval, const Operand& block, bool row, bool last) {
  if (const RangeRef* range = std::get_if<RangeRef>(&block)) {
    Area area = range->area;
    if (row) {
      if (last) area.row = area.LastRow();
      area.rows = 1;
    } else {
      if (last) area.column = area.LastColumn();
      area.columns = 1;
    }
    return RangeRef{range->sheet, area};
  }
  std::shared_ptr<const Matrix> m = eval.Array(block);
  int fixed = last ? (row ? m->rows - 1 : m->columns - 1) : 0;
  return Evaluator::MakeMatrix(
      row ? 1 : m->rows, row ? m->columns : 1, row ? 1 : m->StoredRows(),
      [&](int r, int c) { return row ? m->At(fixed, c) : m->At(r, fixed); });
}

// VLOOKUP (kVertical) and HLOOKUP: the lookup value in the first column (row) of the table (a
// range or an array), the value from the numbered column (row) of the row (column) found.
template <bool kVertical>
Operand TableLookup(Evaluator& eval, const Args& args) {
  Variant lookup = eval.Scalar(eval.Eval(args[0]));
  if (lookup.IsError()) return lookup;
  RangeRef table{};
  Variant error;
  Operand block = eval.RangeOf(args[1], table, error) ? Operand(table) : eval.Eval(args[1]);
  if (const Variant* value = std::get_if<Variant>(&block)) {
    return value->IsError() ? *value : Variant(ErrorValue::NA);
  }
  std::shared_ptr<const Matrix> array;
  if (!std::holds_alternative<RangeRef>(block)) array = eval.Array(block);
  Variant index = Whole(eval, args[2]);
  if (index.IsError()) return index;
  bool sorted = true;
  if (args.size() == 4 && Unwrapped(args[3]).kind != FormulaNode::Kind::Missing) {
    Variant flag = NumberArg(eval, args[3]);
    if (flag.IsError()) return flag;
    sorted = flag.AsNumber() != 0;
  }
  int across = array ? (kVertical ? array->columns : array->rows)
                     : (kVertical ? table.area.columns : table.area.rows);
  if (index.AsNumber() < 1) return Variant(ErrorValue::Value);
  if (index.AsNumber() > across) return Variant(ErrorValue::Ref);
  if (lookup.IsEmpty()) return Variant(ErrorValue::NA);
  long long position = Position(eval, lookup, Line(eval, block, !kVertical, false), sorted ? 1 : 0);
  if (position == 0) return Variant(ErrorValue::NA);
  int offset = static_cast<int>(position) - 1, pick = static_cast<int>(index.AsNumber()) - 1;
  int r = kVertical ? offset : pick, c = kVertical ? pick : offset;
  if (array) return array->At(r, c);
  return table.sheet->CellValue(table.area.row + r, table.area.column + c);
}

// LOOKUP: the last value not above the lookup value in a sorted vector, and the value at the
// same place of the result vector (which may run past its own end, as a range does). With one
// array, it searches the array's first row when it is wider than high, else its first column,
// and answers from the last row or column.
Operand Lookup(Evaluator& eval, const Args& args) {
  Variant lookup;
  if (!LookupValue(eval, args[0], lookup)) return lookup;
  Operand where = eval.EvalArray(args[1]);
  if (std::holds_alternative<Variant>(where)) {
    const Variant& only = std::get<Variant>(where);
    if (only.IsError()) return only;
    where = Evaluator::MakeMatrix(1, 1, 1, [&](int, int) { return only; });
  }
  Operand results;
  RangeRef resultRange{};
  Variant error;
  if (args.size() == 3) {
    results =
        eval.RangeOf(args[2], resultRange, error) ? Operand(resultRange) : eval.EvalArray(args[2]);
  } else {
    std::shared_ptr<const Matrix> block = eval.Array(where);
    bool wide = block->columns > block->rows;
    results = Line(eval, where, wide, true);
    where = Line(eval, where, wide, false);
  }
  long long position = Position(eval, lookup, where, 1);
  if (position == 0) return Variant(ErrorValue::NA);
  int offset = static_cast<int>(position) - 1;
  if (const RangeRef* range = std::get_if<RangeRef>(&results)) {
    bool row = range->area.rows == 1 && range->area.columns > 1;
    int r = range->area.row + (row ? 0 : offset), c = range->area.column + (row ? offset : 0);
    if (r > kLastRow || c > kLastColumn) return Variant(ErrorValue::Ref);
    return range->sheet->CellValue(r, c);
  }
  if (const Variant* value = std::get_if<Variant>(&results)) {
    return offset == 0 || value->IsError() ? *value : Variant(ErrorValue::NA);
  }
  std::shared_ptr<const Matrix> m = eval.Array(results);
  if (m->rows == 1 && offset < m->columns) return m->At(0, offset);
  if (m->columns == 1 && offset < m->rows) return m->At(offset, 0);
  return Variant(ErrorValue::NA);
}

// CHOOSE: the argument the index names, computed alone, a range staying a range. An array of
// indexes chooses cell by cell, stretched over the choices: CHOOSE({1,2},A1:A2,B1:B2) is two
// columns side by side.
Operand Choose(Evaluator& eval, const Args& args) {
  Operand indexes = eval.Eval(args[0]);
  if (std::holds_alternative<std::shared_ptr<const Matrix>>(indexes)) {
    // The choices are taken whole, even outside an array formula.
    std::vector<Operand> operands{indexes};
    for (size_t i = 1; i < args.size(); ++i) operands.push_back(eval.Array(eval.Eval(args[i])));
    return eval.Broadcast(operands, [](const std::vector<Variant>& values) {
      Variant number = ToNumber(values[0]);
      if (number.IsError()) return number;
      double which = std::trunc(number.AsNumber());
      if (which < 1 || which >= static_cast<double>(values.size()))
        return Variant(ErrorValue::Value);
      return values[static_cast<size_t>(which)];
    });
  }
  Variant index = ToNumber(eval.Scalar(indexes));
  if (index.IsError()) return index;
  double which = std::trunc(index.AsNumber());
  if (which < 1 || which >= static_cast<double>(args.size())) return Variant(ErrorValue::Value);
  return eval.Eval(args[static_cast<size_t>(which)]);
}

}  // namespace

long long MatchPosition(Evaluator& eval, const Variant& lookup, const RangeRef& range, int type) {
  return Position(eval, lookup, range, type);
}

void AddLookupFunctions(FunctionTable& table) {
  table["MATCH"] = {Match, 2, 3};
  table["INDEX"] = {Index, 2, 3};
  table["VLOOKUP"] = {TableLookup<true>, 3, 4};
  table["HLOOKUP"] = {TableLookup<false>, 3, 4};
  table["LOOKUP"] = {Lookup, 2, 3};
  table["CHOOSE"] = {Choose, 2, kMaxArguments};
}

}  // namespace tavrin
