#include "spreadsheet/formula/formula_eval.h"

#include <cmath>

#include "host/variant_rules.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

int TypeRank(const Variant& value) {
  if (value.IsText()) return 1;
  if (value.IsBoolean()) return 2;
  return 0;
}

// An empty value taken as the kind of the value it is compared with.
Variant AsKindOf(const Variant& like) {
  if (like.IsText()) return Variant("");
  if (like.IsBoolean()) return Variant::Boolean(false);
  return Variant(0.0);
}

// A result past the range of numbers is #NUM!, as the host gives it.
Variant Number(double number) {
  return std::isfinite(number) ? Variant(number) : Variant(ErrorValue::Num);
}

std::string ConcatText(const Variant& value) {
  if (value.IsNumber() || value.IsDate()) return NumberText(value.AsNumber(), UserLocale{});
  if (value.IsBoolean()) return value.AsBoolean() ? "TRUE" : "FALSE";
  if (value.IsText()) return value.AsText();
  return "";
}

Variant Arithmetic(Op op, const Variant& left, const Variant& right) {
  Variant a = ToNumber(left), b = ToNumber(right);
  if (a.IsError()) return a;
  if (b.IsError()) return b;
  double x = a.AsNumber(), y = b.AsNumber();
  switch (op) {
    case Op::Add:
      return Number(x + y);
    case Op::Subtract:
      return Number(x - y);
    case Op::Multiply:
      return Number(x * y);
    case Op::Divide:
      return y == 0 ? Variant(ErrorValue::Div0) : Number(x / y);
    default:
      if (x == 0 && y <= 0) return Variant(y == 0 ? ErrorValue::Num : ErrorValue::Div0);
      return Number(std::pow(x, y));
  }
}

Variant Comparison(Op op, const Variant& left, const Variant& right) {
  if (left.IsError()) return left;
  if (right.IsError()) return right;
  int order = CompareValues(left, right);
  switch (op) {
    case Op::Equal:
      return Variant::Boolean(order == 0);
    case Op::NotEqual:
      return Variant::Boolean(order != 0);
    case Op::Less:
      return Variant::Boolean(order < 0);
    case Op::LessEqual:
      return Variant::Boolean(order <= 0);
    case Op::Greater:
      return Variant::Boolean(order > 0);
    default:
      return Variant::Boolean(order >= 0);
  }
}

}  // namespace

int CompareValues(const Variant& left, const Variant& right) {
  if (left.IsEmpty() && right.IsEmpty()) return 0;
  if (left.IsEmpty()) return CompareValues(AsKindOf(right), right);
  if (right.IsEmpty()) return CompareValues(left, AsKindOf(left));
  int rank = TypeRank(left) - TypeRank(right);
  if (rank != 0) return rank < 0 ? -1 : 1;
  if (left.IsText()) return CompareIgnoringCase(left.AsText(), right.AsText());
  if (left.IsBoolean()) return static_cast<int>(left.AsBoolean()) - right.AsBoolean();
  return (left.AsNumber() > right.AsNumber()) - (left.AsNumber() < right.AsNumber());
}

Variant ToNumber(const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      return Variant(0.0);
    case Variant::Kind::Boolean:
      return Variant(value.AsBoolean() ? 1.0 : 0.0);
    case Variant::Kind::Date:
      return Variant(value.AsNumber());
    case Variant::Kind::Text: {
      std::optional<double> number = ReadNumber(value.AsText(), UserLocale{});
      return number ? Variant(*number) : Variant(ErrorValue::Value);
    }
    default:
      return value;
  }
}

bool Evaluator::RangeOf(const FormulaNode& node, RangeRef& range, Variant& error) {
  return AsRange(Eval(node), range, error);
}

bool Evaluator::AsRange(const Operand& operand, RangeRef& range, Variant& error) {
  if (const RangeRef* found = std::get_if<RangeRef>(&operand)) {
    range = *found;
    return true;
  }
  const Variant* value = std::get_if<Variant>(&operand);
  error = value && value->IsError() ? *value : Variant(ErrorValue::Value);
  return false;
}

Operand Evaluator::Eval(const FormulaNode& node) {
  using Kind = FormulaNode::Kind;
  switch (node.kind) {
    case Kind::Number:
      return Variant(node.number);
    case Kind::Text:
      return Variant(node.text);
    case Kind::Boolean:
      return Variant::Boolean(node.boolean);
    case Kind::Error:
      return Variant(node.error);
    case Kind::Missing:
      return Variant();
    case Kind::Paren:
      return Eval(node.children[0]);
    case Kind::Ref: {
      Sheet* sheet = &sheet_;
      if (!node.ref.sheet.empty()) sheet = sheet_.Parent().FindSheet(node.ref.sheet);
      std::optional<Area> area = node.ref.Resolve(row_, column_);
      if (sheet == nullptr || !area) return Variant(ErrorValue::Ref);
      if (area->Count() == 1) return sheet->CellValue(area->row, area->column);
      return RangeRef{sheet, *area};
    }
    case Kind::Unary: {
      Operand operand = Eval(node.children[0]);
      return Map(operand, [op = node.op](const Variant& value) {
        Variant number = ToNumber(value);
        if (number.IsError()) return number;
        if (op == Op::Negate) return Variant(-number.AsNumber());
        return op == Op::Percent ? Variant(number.AsNumber() / 100) : number;
      });
    }
    case Kind::Binary:
      return Binary(node);
    case Kind::Call: {
      SheetFunction function = FindFunction(node.text);
      if (function == nullptr) return Variant(ErrorValue::Name);
      Operand result = function(*this, node.children);
      const Variant* value = std::get_if<Variant>(&result);
      if (value != nullptr && value->IsNumber()) return Number(value->AsNumber());
      return result;
    }
  }
  return Variant(ErrorValue::Value);
}

// Operators of one level chain to the left ("=A1+A2+...+A900" holds its first term 900 levels
// down), so a chain is walked down to its first operand and folded back up, never recursed.
Operand Evaluator::Binary(const FormulaNode& node) {
  std::vector<const FormulaNode*> chain;
  const FormulaNode* first = &node;
  while (first->kind == FormulaNode::Kind::Binary) {
    chain.push_back(first);
    first = &first->children[0];
  }
  Operand value = Eval(*first);
  for (auto link = chain.rbegin(); link != chain.rend(); ++link)
    value = Apply((*link)->op, std::move(value), (*link)->children[1]);
  return value;
}

Operand Evaluator::Apply(Op op, Operand left, const FormulaNode& rightNode) {
  if (op == Op::Range) {
    // Two references joined: the rectangle spanning both.
    RangeRef a{}, b{};
    Variant error;
    if (!AsRange(left, a, error) || !RangeOf(rightNode, b, error)) return error;
    if (a.sheet != b.sheet) return Variant(ErrorValue::Value);
    int r1 = std::min(a.area.row, b.area.row), c1 = std::min(a.area.column, b.area.column);
    int r2 = std::max(a.area.LastRow(), b.area.LastRow());
    int c2 = std::max(a.area.LastColumn(), b.area.LastColumn());
    return RangeRef{a.sheet, Area{r1, c1, r2 - r1 + 1, c2 - c1 + 1}};
  }
  Operand right = Eval(rightNode);
  switch (op) {
    case Op::Concat:
      return Broadcast(left, right, [](const Variant& a, const Variant& b) {
        if (a.IsError()) return a;
        if (b.IsError()) return b;
        return Variant(ConcatText(a) + ConcatText(b));
      });
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
    case Op::Power:
      return Broadcast(left, right,
                       [op](const Variant& a, const Variant& b) { return Arithmetic(op, a, b); });
    default:
      return Broadcast(left, right,
                       [op](const Variant& a, const Variant& b) { return Comparison(op, a, b); });
  }
}

std::shared_ptr<const Matrix> Evaluator::Array(const Operand& operand) {
  if (const auto* matrix = std::get_if<std::shared_ptr<const Matrix>>(&operand)) return *matrix;
  auto block = std::make_shared<Matrix>();
  if (const RangeRef* range = std::get_if<RangeRef>(&operand)) {
    const Area& area = range->area;
    block->rows = area.rows;
    block->columns = area.columns;
    // Rows past the last one holding content in the area's columns are the empty tail.
    const CellStore& store = range->sheet->Store();
    int lastContent = 0;
    for (int c = area.column; c <= area.LastColumn(); ++c)
      lastContent = std::max(lastContent, store.Column(c).PreviousContent(area.LastRow()));
    int stored = std::clamp(lastContent - area.row + 1, 0, area.rows);
    if (stored < area.rows) block->tail.resize(static_cast<size_t>(area.columns));
    block->cells.resize(static_cast<size_t>(stored) * area.columns);
    Area storedArea{area.row, area.column, std::max(stored, 1), area.columns};
    range->sheet->ForEachValue(storedArea, [&](int row, int column, const Variant& value) {
      if (row - area.row < stored)
        block->cells[static_cast<size_t>(row - area.row) * area.columns + (column - area.column)] =
            value;
    });
  } else {
    block->cells.push_back(std::get<Variant>(operand));
  }
  return block;
}

Variant Evaluator::Intersect(const RangeRef& range) {
  const Area& area = range.area;
  if (area.Count() == 1) return range.sheet->CellValue(area.row, area.column);
  if (area.columns == 1 && row_ >= area.row && row_ <= area.LastRow())
    return range.sheet->CellValue(row_, area.column);
  if (area.rows == 1 && column_ >= area.column && column_ <= area.LastColumn())
    return range.sheet->CellValue(area.row, column_);
  return Variant(ErrorValue::Value);
}

Variant Evaluator::Scalar(const Operand& operand) {
  if (const Variant* value = std::get_if<Variant>(&operand)) return *value;
  if (const RangeRef* range = std::get_if<RangeRef>(&operand)) return Intersect(*range);
  return std::get<std::shared_ptr<const Matrix>>(operand)->At(0, 0);
}

Variant Evaluator::Result(const FormulaNode& root) {
  Variant value = Scalar(Eval(root));
  if (value.IsNumber()) return Number(value.AsNumber());
  return value.IsEmpty() ? Variant(0.0) : value;
}

Operand Evaluator::MakeMatrix(int rows, int columns, int uniformFrom,
                              const std::function<Variant(int, int)>& value) {
  uniformFrom = std::clamp(uniformFrom, 0, rows);
  if (static_cast<size_t>(uniformFrom) * columns > kMostMatrixCells)
    return Variant(ErrorValue::Num);
  auto out = std::make_shared<Matrix>();
  out->rows = rows;
  out->columns = columns;
  out->cells.reserve(static_cast<size_t>(uniformFrom) * columns);
  for (int r = 0; r < uniformFrom; ++r) {
    for (int c = 0; c < columns; ++c) out->cells.push_back(value(r, c));
  }
  if (uniformFrom < rows) {
    for (int c = 0; c < columns; ++c) out->tail.push_back(value(uniformFrom, c));
  }
  return out;
}

Operand Evaluator::Broadcast(const Operand& left, const Operand& right,
                             const std::function<Variant(const Variant&, const Variant&)>& apply) {
  const Variant* a = std::get_if<Variant>(&left);
  const Variant* b = std::get_if<Variant>(&right);
  if (a && b) return apply(*a, *b);
  std::shared_ptr<const Matrix> x = Array(left), y = Array(right);
  int rows = std::max(x->rows, y->rows), columns = std::max(x->columns, y->columns);
  const Variant missing(ErrorValue::NA);
  auto at = [&](const Matrix& m, int r, int c) -> const Variant& {
    int i = m.rows == 1 ? 0 : r, j = m.columns == 1 ? 0 : c;
    return i < m.rows && j < m.columns ? m.At(i, j) : missing;
  };
  // The row from which an operand reads the same in every row: its tail, or the #N/A past it.
  auto uniformFrom = [&](const Matrix& m) {
    return m.rows == 1 ? 0 : m.rows < rows ? m.rows : m.StoredRows();
  };
  return MakeMatrix(rows, columns, std::max(uniformFrom(*x), uniformFrom(*y)),
                    [&](int r, int c) { return apply(at(*x, r, c), at(*y, r, c)); });
}

Operand Evaluator::Map(const Operand& operand,
                       const std::function<Variant(const Variant&)>& apply) {
  if (const Variant* value = std::get_if<Variant>(&operand)) return apply(*value);
  std::shared_ptr<const Matrix> x = Array(operand);
  return MakeMatrix(x->rows, x->columns, x->StoredRows(),
                    [&](int r, int c) { return apply(x->At(r, c)); });
}

}  // namespace tavrin
