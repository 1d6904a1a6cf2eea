#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "spreadsheet/criteria.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

using Args = std::vector<FormulaNode>;

const FormulaNode& Unwrapped(const FormulaNode& node) {
  return node.kind == FormulaNode::Kind::Paren ? Unwrapped(node.children[0]) : node;
}

// The cells an argument names, without reading them; false (and the error) for a value.
bool AreaOf(Evaluator& eval, const FormulaNode& node, RangeRef& range, Variant& error) {
  const FormulaNode& inner = Unwrapped(node);
  if (inner.kind != FormulaNode::Kind::Ref) return eval.RangeOf(inner, range, error);
  Sheet* sheet = &eval.OwnSheet();
  if (!inner.ref.sheet.empty()) sheet = sheet->Parent().FindSheet(inner.ref.sheet);
  std::optional<Area> area = inner.ref.Resolve(eval.Row(), eval.Column());
  if (sheet == nullptr || !area) return error = Variant(ErrorValue::Ref), false;
  range = RangeRef{sheet, *area};
  return true;
}

// A whole number argument, or an error value.
Variant Whole(Evaluator& eval, const FormulaNode& node) {
  Variant number = ToNumber(eval.Scalar(eval.Eval(node)));
  // Held within what an int holds: any number so large is out of every range anyway.
  return number.IsError() ? number : Variant(std::clamp(std::trunc(number.AsNumber()), -1e9, 1e9));
}

template <bool kRow>
Operand RowOrColumn(Evaluator& eval, const Args& args) {
  if (args.empty()) return Variant(kRow ? eval.Row() : eval.Column());
  RangeRef range{};
  Variant error;
  if (!AreaOf(eval, args[0], range, error)) return error;
  int first = kRow ? range.area.row : range.area.column;
  int count = kRow ? range.area.rows : range.area.columns;
  if (count == 1) return Variant(first);
  auto out = std::make_shared<Matrix>();
  (kRow ? out->rows : out->columns) = count;
  for (int i = 0; i < count; ++i) out->cells.emplace_back(first + i);
  return out;
}

// Appends a part of a question to the indexes, kept as the key of its answer.
template <class Part>
void AddPart(std::string& question, const Part& part) {
  question.append(reinterpret_cast<const char*>(&part), sizeof part);
}

// SUMPRODUCT of a product of equality factors (a column range against one value) and an
// optional last column range of values, answered from the column indexes: the rows matching
// the first factor, kept when they match the others, their values summed. Nothing when the
// argument has another shape or the data hold what the index cannot answer (errors, texts
// among the values), which the general rule then computes.
std::optional<Variant> IndexedSumProduct(Evaluator& eval, const FormulaNode& arg) {
  std::vector<const FormulaNode*> factors;
  const FormulaNode* node = &Unwrapped(arg);
  while (node->kind == FormulaNode::Kind::Binary && node->op == Op::Multiply) {
    factors.insert(factors.begin(), &Unwrapped(node->children[1]));
    node = &Unwrapped(node->children[0]);
  }
  factors.insert(factors.begin(), node);
  if (factors.size() < 2) return std::nullopt;
  auto column = [&](const FormulaNode& ref, int rows) -> const ColumnIndex* {
    if (ref.kind != FormulaNode::Kind::Ref) return nullptr;
    RangeRef range{};
    Variant error;
    if (!AreaOf(eval, ref, range, error) || range.area.columns != 1 || range.area.rows < 2 ||
        (rows > 0 && range.area.rows != rows))
      return nullptr;
    return range.sheet->Calc().Index(range.area);
  };
  std::vector<std::pair<const ColumnIndex*, ColumnIndex::Key>> conditions;
  const ColumnIndex* values = nullptr;
  int rows = 0;
  for (size_t i = 0; i < factors.size(); ++i) {
    const FormulaNode& factor = *factors[i];
    if (factor.kind == FormulaNode::Kind::Binary && factor.op == Op::Equal) {
      const FormulaNode& left = Unwrapped(factor.children[0]);
      const ColumnIndex* index = column(left, rows);
      if (index == nullptr || index->HasError()) return std::nullopt;
      rows = index->Size();
      Operand key = eval.Eval(factor.children[1]);
      const Variant* value = std::get_if<Variant>(&key);
      if (value == nullptr || value->IsError()) return std::nullopt;
      conditions.emplace_back(index, index->KeyOf(*value));
    } else if (i + 1 == factors.size() && !conditions.empty()) {
      values = column(factor, rows);
      if (values == nullptr || values->HasError() || values->HasText()) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  std::string question = "P";
  auto add = [&](const auto& part) { AddPart(question, part); };
  for (const auto& [index, key] : conditions) {
    add(index);
    add(key.id);
    add(key.empties);
    for (int blank : key.blanks) add(blank);
  }
  add(values);
  auto [memo, added] = eval.OwnSheet().Calc().IndexedSums().try_emplace(std::move(question), 0.0);
  if (!added) return Variant(memo->second);
  std::vector<int> positions;
  conditions.front().first->Positions(conditions.front().second, positions);
  double sum = 0;
  for (int position : positions) {
    bool all = true;
    for (size_t c = 1; c < conditions.size() && all; ++c)
      all = conditions[c].first->Equal(position, conditions[c].second);
    if (all) sum += values ? values->Number(position) : 1;
  }
  memo->second = sum;
  return Variant(sum);
}

Operand SumProduct(Evaluator& eval, const Args& args) {
  if (args.empty()) return Variant(ErrorValue::Value);
  if (args.size() == 1) {
    if (std::optional<Variant> indexed = IndexedSumProduct(eval, args[0])) return *indexed;
  }
  std::vector<std::shared_ptr<const Matrix>> arrays;
  for (const FormulaNode& arg : args) {
    arrays.push_back(eval.Array(eval.Eval(arg)));
    if (arrays.back()->rows != arrays.front()->rows ||
        arrays.back()->columns != arrays.front()->columns)
      return Variant(ErrorValue::Value);
  }
  // Rows from the last stored one of any array on are all alike: their product counts once for
  // each of them.
  int stored = 0;
  for (const auto& array : arrays) stored = std::max(stored, array->StoredRows());
  const Matrix& shape = *arrays.front();
  double sum = 0;
  for (int r = 0; r < std::min(stored + 1, shape.rows); ++r) {
    double times = r < stored ? 1 : shape.rows - stored;
    for (int c = 0; c < shape.columns; ++c) {
      double product = times;
      for (const auto& array : arrays) {
        const Variant& value = array->At(r, c);
        if (value.IsError()) return value;
        product *= value.IsNumber() || value.IsDate() ? value.AsNumber() : 0;
      }
      sum += product;
    }
  }
  return Variant(sum);
}

// The 1-based position of the lookup value in a one-row or one-column range or array, as MATCH
// finds it; 0 when not found.
long long Position(Evaluator& eval, const Variant& lookup, const Operand& where, int type) {
  const RangeRef* range = std::get_if<RangeRef>(&where);
  bool wildcard =
      type == 0 && lookup.IsText() && lookup.AsText().find_first_of("*?~") != std::string::npos;
  if (type == 0 && !wildcard && range && range->area.columns == 1) {
    if (const ColumnIndex* index = range->sheet->Calc().Index(range->area))
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
    int order = CompareValues(value, lookup);
    if (type == 0) {
      if (order == 0) found = position, done = true;
      return !done;
    }
    if ((type > 0 && order <= 0) || (type < 0 && order >= 0)) {
      found = position;
      return true;
    }
    return false;
  });
  return found;
}

Operand Match(Evaluator& eval, const Args& args) {
  if (args.size() < 2 || args.size() > 3) return Variant(ErrorValue::Value);
  Variant lookup = eval.Scalar(eval.Eval(args[0]));
  if (lookup.IsError()) return lookup;
  int type = 1;
  if (args.size() == 3) {
    Variant number = Whole(eval, args[2]);
    if (number.IsError()) return number;
    type = number.AsNumber() > 0 ? 1 : number.AsNumber() < 0 ? -1 : 0;
  }
  if (lookup.IsEmpty()) return Variant(ErrorValue::NA);
  long long found = Position(eval, lookup, eval.Eval(args[1]), type);
  return found == 0 ? Variant(ErrorValue::NA) : Variant(static_cast<double>(found));
}

Operand Index(Evaluator& eval, const Args& args) {
  if (args.size() < 2 || args.size() > 3) return Variant(ErrorValue::Value);
  RangeRef range{};
  Variant error;
  bool isRange = AreaOf(eval, args[0], range, error);
  std::shared_ptr<const Matrix> array;
  if (!isRange) {
    if (error.IsError() && Unwrapped(args[0]).kind == FormulaNode::Kind::Ref) return error;
    array = eval.Array(eval.Eval(args[0]));
  }
  int rows = isRange ? range.area.rows : array->rows;
  int columns = isRange ? range.area.columns : array->columns;
  Variant r = Whole(eval, args[1]);
  if (r.IsError()) return r;
  Variant c = args.size() == 3 ? Whole(eval, args[2]) : Variant(0.0);
  if (c.IsError()) return c;
  int row = static_cast<int>(r.AsNumber()), column = static_cast<int>(c.AsNumber());
  // One number into a single row picks a column.
  if (args.size() == 2 && rows == 1) std::swap(row, column);
  if (args.size() == 2 && columns == 1) column = 1;
  if (row < 0 || column < 0 || row > rows || column > columns) return Variant(ErrorValue::Ref);
  if (row == 0 || column == 0) {
    if (!isRange) return Variant(ErrorValue::Value);
    Area area = range.area;
    if (row > 0) area.row += row - 1, area.rows = 1;
    if (column > 0) area.column += column - 1, area.columns = 1;
    return RangeRef{range.sheet, area};
  }
  if (!isRange) return array->At(row - 1, column - 1);
  return range.sheet->CellValue(range.area.row + row - 1, range.area.column + column - 1);
}

Operand VLookup(Evaluator& eval, const Args& args) {
  if (args.size() < 3 || args.size() > 4) return Variant(ErrorValue::Value);
  Variant lookup = eval.Scalar(eval.Eval(args[0]));
  if (lookup.IsError()) return lookup;
  RangeRef table{};
  Variant error;
  if (!AreaOf(eval, args[1], table, error)) return error;
  Variant column = Whole(eval, args[2]);
  if (column.IsError()) return column;
  bool sorted = true;
  if (args.size() == 4 && Unwrapped(args[3]).kind != FormulaNode::Kind::Missing) {
    Variant flag = ToNumber(eval.Scalar(eval.Eval(args[3])));
    if (flag.IsError()) return flag;
    sorted = flag.AsNumber() != 0;
  }
  if (column.AsNumber() < 1) return Variant(ErrorValue::Value);
  if (column.AsNumber() > table.area.columns) return Variant(ErrorValue::Ref);
  if (lookup.IsEmpty()) return Variant(ErrorValue::NA);
  Area first{table.area.row, table.area.column, table.area.rows, 1};
  long long found = Position(eval, lookup, RangeRef{table.sheet, first}, sorted ? 1 : 0);
  if (found == 0) return Variant(ErrorValue::NA);
  return table.sheet->CellValue(table.area.row + static_cast<int>(found) - 1,
                                table.area.column + static_cast<int>(column.AsNumber()) - 1);
}

// COUNTIF or SUMIF of a criterion's plain equality over a column range, answered from the
// column index; identical questions from the cells of a fill are answered once. Nothing when
// the index is off, the criterion is not such an equality or a matching cell of the sum range
// holds an error value: the scan then finds the same (and the first error).
template <bool kSum>
std::optional<Variant> IndexedCountOrSumIf(Evaluator& eval, const RangeRef& range,
                                           const RangeRef& sumRange, const Criterion& criterion) {
  std::optional<Criterion::Equality> equality = criterion.PlainEquality();
  if (!equality || range.area.columns != 1 || range.area.rows < 2) return std::nullopt;
  const ColumnIndex* index = range.sheet->Calc().Index(range.area);
  if (index == nullptr) return std::nullopt;
  std::vector<const std::vector<int>*> lists = index->Matching(*equality);
  std::string question = kSum ? "S" : "C";
  for (const std::vector<int>* list : lists) AddPart(question, list);
  if (kSum) {
    AddPart(question, sumRange.sheet);
    AddPart(question, sumRange.area.row);
    AddPart(question, sumRange.area.column);
  }
  std::unordered_map<std::string, double>& answers = eval.OwnSheet().Calc().IndexedSums();
  if (auto answered = answers.find(question); answered != answers.end())
    return Variant(answered->second);
  double total = 0;
  if (!kSum) {
    for (const std::vector<int>* list : lists) total += static_cast<double>(list->size());
  } else {
    // In row order, as the scan adds them.
    std::vector<int> positions;
    for (const std::vector<int>* list : lists)
      positions.insert(positions.end(), list->begin(), list->end());
    if (lists.size() > 1) std::sort(positions.begin(), positions.end());
    for (int position : positions) {
      Variant value = sumRange.sheet->CellValue(sumRange.area.row + position, sumRange.area.column);
      if (value.IsError()) return std::nullopt;
      if (value.IsNumber() || value.IsDate()) total += value.AsNumber();
    }
  }
  answers.emplace(std::move(question), total);
  return Variant(total);
}

// COUNTIF and SUMIF: the criterion as WorksheetFunction.CountIf reads it.
template <bool kSum>
Operand CountOrSumIf(Evaluator& eval, const Args& args) {
  if (args.size() < 2 || args.size() > (kSum ? 3u : 2u)) return Variant(ErrorValue::Value);
  RangeRef range{}, sumRange{};
  Variant error;
  if (!AreaOf(eval, args[0], range, error)) return error;
  if (args.size() == 3 && !AreaOf(eval, args[2], sumRange, error)) return error;
  if (args.size() < 3) sumRange = range;
  Variant criteria = eval.Scalar(eval.Eval(args[1]));
  if (criteria.IsError()) return criteria;
  Criterion criterion(criteria, UserLocale{});
  if (std::optional<Variant> indexed = IndexedCountOrSumIf<kSum>(eval, range, sumRange, criterion))
    return *indexed;
  std::shared_ptr<const Matrix> values = eval.Array(range);
  double total = 0;
  for (int r = 0; r < values->rows; ++r) {
    for (int c = 0; c < values->columns; ++c) {
      if (!criterion.Matches(values->At(r, c))) continue;
      if (!kSum) {
        ++total;
        continue;
      }
      Variant value = sumRange.sheet->CellValue(sumRange.area.row + r, sumRange.area.column + c);
      if (value.IsError()) return value;
      if (value.IsNumber() || value.IsDate()) total += value.AsNumber();
    }
  }
  return Variant(total);
}

}  // namespace

void AddLookupFunctions(FunctionTable& table) {
  table["ROW"] = RowOrColumn<true>;
  table["COLUMN"] = RowOrColumn<false>;
  table["SUMPRODUCT"] = SumProduct;
  table["MATCH"] = Match;
  table["INDEX"] = Index;
  table["VLOOKUP"] = VLookup;
  table["COUNTIF"] = CountOrSumIf<false>;
  table["SUMIF"] = CountOrSumIf<true>;
}

}  // namespace tavrin
