#include "spreadsheet/formula/formula_eval.h"

#include <cmath>

#include "host/variant_rules.h"
#include "spreadsheet/book.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"
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

// A sum within the last bits of zero, as decimal fractions turned binary leave it (0.1+0.2-0.3),
// taken as 0: the host corrects a formula's final addition or subtraction so.
double NearZeroCorrected(double sum, double x, double y) {
  return std::abs(sum) <= std::max(std::abs(x), std::abs(y)) * 0x1p-50 ? 0.0 : sum;
}

Variant Arithmetic(Op op, const Variant& left, const Variant& right, bool final) {
  Variant a = ToNumber(left), b = ToNumber(right);
  if (a.IsError()) return a;
  if (b.IsError()) return b;
  double x = a.AsNumber(), y = b.AsNumber();
  switch (op) {
    case Op::Add:
      return NumberResult(final ? NearZeroCorrected(x + y, x, y) : x + y);
    case Op::Subtract:
      return NumberResult(final ? NearZeroCorrected(x - y, x, y) : x - y);
    case Op::Multiply:
      return NumberResult(x * y);
    case Op::Divide:
      return y == 0 ? Variant(ErrorValue::Div0) : NumberResult(x / y);
    default:
      if (x == 0 && y <= 0) return Variant(y == 0 ? ErrorValue::Num : ErrorValue::Div0);
      return NumberResult(std::pow(x, y));
  }
}

Variant Comparison(Op op, const Variant& left, const Variant& right) {
  if (left.IsError()) return left;
  if (right.IsError()) return right;
  // Equality of texts needs no order, so no collation.
  if ((op == Op::Equal || op == Op::NotEqual) && left.IsText() && right.IsText())
    return Variant::Boolean(EqualsIgnoringCase(left.AsText(), right.AsText()) == (op == Op::Equal));
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

bool IsReferenceOp(Op op) {
  return op == Op::Range || op == Op::Intersect || op == Op::Union;
}

template <bool kExact>
int Compare(const Variant& left, const Variant& right) {
  if (left.IsEmpty() && right.IsEmpty()) return 0;
  if (left.IsEmpty()) return Compare<kExact>(AsKindOf(right), right);
  if (right.IsEmpty()) return Compare<kExact>(left, AsKindOf(left));
  int rank = TypeRank(left) - TypeRank(right);
  if (rank != 0) return rank < 0 ? -1 : 1;
  if (left.IsText()) return CollateIgnoringCase(left.AsText(), right.AsText());
  if (left.IsBoolean()) return static_cast<int>(left.AsBoolean()) - right.AsBoolean();
  double a = left.AsNumber(), b = right.AsNumber();
  return kExact ? (a > b) - (a < b) : CompareNumbers(a, b);
}

}  // namespace

int CompareValues(const Variant& left, const Variant& right) {
  return Compare<false>(left, right);
}

int CompareForLookup(const Variant& left, const Variant& right) {
  return Compare<true>(left, right);
}

Variant NumberResult(double number) {
  return std::isfinite(number) ? Variant(number) : Variant(ErrorValue::Num);
}

Variant TextResult(std::string text) {
  if (text.size() > kMostTextLength) {
    // UTF-16 units: a character of four UTF-8 bytes takes two, any other one.
    size_t units = 0;
    for (char c : text) {
      auto byte = static_cast<unsigned char>(c);
      units += (byte & 0xC0) != 0x80;
      units += byte >= 0xF0;
    }
    if (units > kMostTextLength) return Variant(ErrorValue::Value);
  }
  return Variant(std::move(text));
}

std::string ValueText(const Variant& value) {
  if (value.IsNumber() || value.IsDate()) return NumberText(value.AsNumber(), UserLocale{});
  if (value.IsBoolean()) return value.AsBoolean() ? "TRUE" : "FALSE";
  if (value.IsText()) return value.AsText();
  return "";
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
      if (!number && MayBeValueText(value.AsText())) number = ReadValueText(value.AsText());
      return number ? Variant(*number) : Variant(ErrorValue::Value);
    }
    default:
      return value;
  }
}

bool Evaluator::RangeOf(const FormulaNode& node, RangeRef& range, Variant& error) {
  const FormulaNode* inner = &node;
  while (inner->kind == FormulaNode::Kind::Paren) inner = &inner->children[0];
  if (inner->kind != FormulaNode::Kind::Ref) return AsRange(Eval(*inner), range, error);
  Sheet* sheet = &sheet_;
  if (!inner->ref.sheet.empty()) sheet = sheet_.Parent().FindSheet(inner->ref.sheet);
  std::optional<Area> area = inner->ref.Resolve(row_, column_);
  if (sheet == nullptr || !area) return error = Variant(ErrorValue::Ref), false;
  range = RangeRef{sheet, *area};
  return true;
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
    case Kind::Call:
      return Call(node);
    case Kind::Name:
      metUnknownFunction_ = true;
      return Variant(ErrorValue::Name);
    case Kind::Array: {
      int rows = static_cast<int>(node.children.size()) / node.columns;
      return MakeMatrix(rows, node.columns, rows, [&](int r, int c) {
        return std::get<Variant>(Eval(node.children[static_cast<size_t>(r) * node.columns + c]));
      });
    }
  }
  return Variant(ErrorValue::Value);
}

Operand Evaluator::Call(const FormulaNode& node) {
  const FunctionSpec* function = node.function ? node.function : FindFunction(node.text);
  if (function == nullptr) return CallAdded(node);
  int count = static_cast<int>(node.children.size());
  if (count < function->fewest || count > function->most) return Variant(ErrorValue::Value);
  Operand result = function->call(*this, node.children);
  const Variant* value = std::get_if<Variant>(&result);
  if (value != nullptr && value->IsNumber() && !std::isfinite(value->AsNumber()))
    return Variant(ErrorValue::Num);
  return result;
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
  // The first operand of a reference operator is taken as the cells it names, one cell too.
  Operand value;
  if (IsReferenceOp(chain.back()->op)) {
    RangeRef range{};
    Variant error;
    value = RangeOf(*first, range, error) ? Operand(range) : Operand(error);
  } else {
    value = Eval(*first);
  }
  for (auto link = chain.rbegin(); link != chain.rend(); ++link)
    value = Apply((*link)->op, std::move(value), (*link)->children[1], *link == final_);
  return value;
}

Operand Evaluator::Apply(Op op, Operand left, const FormulaNode& rightNode, bool final) {
  if (IsReferenceOp(op)) return JoinReferences(op, left, rightNode);
  Operand right = Eval(rightNode);
  switch (op) {
    case Op::Concat:
      return Broadcast(left, right, [](const Variant& a, const Variant& b) {
        if (a.IsError()) return a;
        if (b.IsError()) return b;
        return TextResult(ValueText(a) + ValueText(b));
      });
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
    case Op::Power:
      return Broadcast(left, right, [op, final](const Variant& a, const Variant& b) {
        return Arithmetic(op, a, b, final);
      });
    default:
      return Broadcast(left, right,
                       [op](const Variant& a, const Variant& b) { return Comparison(op, a, b); });
  }
}

// Two references joined: ":" the rectangle spanning both, a blank the cells they share
// (#NULL! when none). A union (a comma) is the list of its areas' values side by side, all
// that the functions taking it (SUM, COUNT, ...) read of it.
Operand Evaluator::JoinReferences(Op op, const Operand& left, const FormulaNode& rightNode) {
  RangeRef a{}, b{};
  Variant error;
  if (!RangeOf(rightNode, b, error)) return error;
  if (op == Op::Union) {
    if (!std::holds_alternative<std::shared_ptr<const Matrix>>(left) && !AsRange(left, a, error))
      return error;
    return SideBySide(*Array(left), *Array(b));
  }
  if (!AsRange(left, a, error)) return error;
  if (a.sheet != b.sheet) return Variant(ErrorValue::Value);
  int r1 = std::min(a.area.row, b.area.row), c1 = std::min(a.area.column, b.area.column);
  int r2 = std::max(a.area.LastRow(), b.area.LastRow());
  int c2 = std::max(a.area.LastColumn(), b.area.LastColumn());
  if (op == Op::Intersect) {
    r1 = std::max(a.area.row, b.area.row), c1 = std::max(a.area.column, b.area.column);
    r2 = std::min(a.area.LastRow(), b.area.LastRow());
    c2 = std::min(a.area.LastColumn(), b.area.LastColumn());
    if (r1 > r2 || c1 > c2) return Variant(ErrorValue::Null);
  }
  return RangeRef{a.sheet, Area{r1, c1, r2 - r1 + 1, c2 - c1 + 1}};
}

Operand Evaluator::SideBySide(const Matrix& a, const Matrix& b) {
  int rows = std::max(a.rows, b.rows);
  auto uniform = [&](const Matrix& m) { return m.rows < rows ? m.rows : m.StoredRows(); };
  return MakeMatrix(rows, a.columns + b.columns, std::max(uniform(a), uniform(b)),
                    [&](int r, int c) {
                      const Matrix& m = c < a.columns ? a : b;
                      int j = c < a.columns ? c : c - a.columns;
                      return r < m.rows ? m.At(r, j) : Variant();
                    });
}

// A function the spreadsheet's owner added takes one value an argument.
Operand Evaluator::CallAdded(const FormulaNode& node) {
  const CellFunction* function = sheet_.Parent().Parent().FindCellFunction(node.text);
  if (function == nullptr) {
    metUnknownFunction_ = true;
    return Variant(ErrorValue::Name);
  }
  CellArguments arguments;
  for (const FormulaNode& child : node.children) {
    if (child.kind == FormulaNode::Kind::Missing) {
      arguments.emplace_back();
    } else {
      arguments.emplace_back(Scalar(Eval(child)));
    }
  }
  Variant result = (*function)(arguments);
  return result.IsNumber() ? NumberResult(result.AsNumber()) : result;
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
  final_ = &root;
  while (final_->kind == FormulaNode::Kind::Paren) final_ = &final_->children[0];
  Operand result = Eval(root);
  // An array formula in one cell shows the first value of its range or array.
  const RangeRef* range = std::get_if<RangeRef>(&result);
  Variant value = wholeRanges_ && range
                      ? range->sheet->CellValue(range->area.row, range->area.column)
                      : Scalar(result);
  if (value.IsNumber()) return NumberResult(value.AsNumber());
  return value.IsEmpty() ? Variant(0.0) : value;
}

}  // namespace tavrin
