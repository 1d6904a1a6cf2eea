#include "spreadsheet/formula/formula_eval.h"

#include <algorithm>

// The array side of the evaluator: blocks made, stretched over each other and mapped, and the
// rule that takes a range where one value is wanted.

namespace tavrin {

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

namespace {

// The common shape of blocks: a one-row or one-column block stretches over it, and a cell
// outside a block's own shape reads #N/A.
class Stretch {
 public:
  explicit Stretch(const std::vector<std::shared_ptr<const Matrix>>& blocks) : blocks_(blocks) {
    for (const auto& block : blocks) {
      rows = std::max(rows, block->rows);
      columns = std::max(columns, block->columns);
    }
    // The row from which every block reads the same in every row: its tail, or the #N/A past it.
    for (const auto& block : blocks) {
      const Matrix& m = *block;
      uniformFrom = std::max(uniformFrom, m.rows == 1     ? 0
                                          : m.rows < rows ? m.rows
                                                          : m.StoredRows());
    }
  }

  const Variant& At(size_t block, int r, int c) const {
    const Matrix& m = *blocks_[block];
    int i = m.rows == 1 ? 0 : r, j = m.columns == 1 ? 0 : c;
    return i < m.rows && j < m.columns ? m.At(i, j) : missing_;
  }

  int rows = 1, columns = 1, uniformFrom = 0;

 private:
  const std::vector<std::shared_ptr<const Matrix>>& blocks_;
  const Variant missing_{ErrorValue::NA};
};

}  // namespace

Operand Evaluator::OneValueWanted(const Operand& operand) {
  const RangeRef* range = std::get_if<RangeRef>(&operand);
  if (wholeRanges_ || range == nullptr) return operand;
  return Intersect(*range);
}

Operand Evaluator::EvalArray(const FormulaNode& node) {
  bool whole = wholeRanges_;
  wholeRanges_ = true;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{wholeRanges_, whole};
  return Eval(node);
}

Operand Evaluator::Broadcast(const Operand& leftOperand, const Operand& rightOperand,
                             const std::function<Variant(const Variant&, const Variant&)>& apply) {
  Operand left = OneValueWanted(leftOperand), right = OneValueWanted(rightOperand);
  const Variant* a = std::get_if<Variant>(&left);
  const Variant* b = std::get_if<Variant>(&right);
  if (a && b) return apply(*a, *b);
  std::vector<std::shared_ptr<const Matrix>> blocks{Array(left), Array(right)};
  Stretch shape(blocks);
  return MakeMatrix(shape.rows, shape.columns, shape.uniformFrom,
                    [&](int r, int c) { return apply(shape.At(0, r, c), shape.At(1, r, c)); });
}

Operand Evaluator::Broadcast(const std::vector<Operand>& operands,
                             const std::function<Variant(const std::vector<Variant>&)>& apply) {
  std::vector<Variant> values(operands.size());
  std::vector<Operand> wanted;
  wanted.reserve(operands.size());
  for (const Operand& operand : operands) wanted.push_back(OneValueWanted(operand));
  bool scalars = true;
  for (size_t i = 0; i < wanted.size() && scalars; ++i) {
    const Variant* value = std::get_if<Variant>(&wanted[i]);
    if (value == nullptr)
      scalars = false;
    else
      values[i] = *value;
  }
  if (scalars) return apply(values);
  std::vector<std::shared_ptr<const Matrix>> blocks;
  for (const Operand& operand : wanted) blocks.push_back(Array(operand));
  Stretch shape(blocks);
  return MakeMatrix(shape.rows, shape.columns, shape.uniformFrom, [&](int r, int c) {
    for (size_t i = 0; i < blocks.size(); ++i) values[i] = shape.At(i, r, c);
    return apply(values);
  });
}

Operand Evaluator::Map(const Operand& given, const std::function<Variant(const Variant&)>& apply) {
  Operand operand = OneValueWanted(given);
  if (const Variant* value = std::get_if<Variant>(&operand)) return apply(*value);
  std::shared_ptr<const Matrix> x = Array(operand);
  return MakeMatrix(x->rows, x->columns, x->StoredRows(),
                    [&](int r, int c) { return apply(x->At(r, c)); });
}

}  // namespace tavrin
