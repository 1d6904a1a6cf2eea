#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "spreadsheet/criteria.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/range_functions.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// What COUNTIF, SUMIF, AVERAGEIF and their several-criteria forms give of the matching cells.
enum class Aggregate { Count, Sum, Average };

// A range and the criterion its cells must match.
struct Condition {
  RangeRef range;
  Criterion criterion;
};

// The running answer: the matching cells, the numbers of the value cells among them, or the
// first error value met in a value cell.
struct Tally {
  double count = 0;
  double sum = 0;
  double numbers = 0;
  Variant error;

  // Adds a matching cell `times` times; false once an error value stops the count.
  bool Add(const Variant& value, double times, Aggregate what) {
    count += times;
    if (what == Aggregate::Count) return true;
    if (value.IsError()) return error = value, false;
    if (value.IsNumber() || value.IsDate()) {
      sum += value.AsNumber() * times;
      numbers += times;
    }
    return true;
  }

  Variant Answer(Aggregate what) const {
    if (error.IsError()) return error;
    if (what == Aggregate::Count) return Variant(count);
    if (what == Aggregate::Sum) return NumberResult(sum);
    return numbers == 0 ? Variant(ErrorValue::Div0) : NumberResult(sum / numbers);
  }
};

// The matching lists of a condition that the lookup index answers: a plain equality over one
// column of at least two rows. Nothing when the indexes are off or the condition is another.
std::optional<std::vector<const std::vector<int>*>> IndexedLists(const Condition& condition) {
  std::optional<Criterion::Equality> equality = condition.criterion.PlainEquality();
  const Area& area = condition.range.area;
  if (!equality || area.columns != 1 || area.rows < 2) return std::nullopt;
  const LookupIndex* index = condition.range.sheet->Calc().Index(area);
  if (index == nullptr) return std::nullopt;
  return index->Matching(*equality);
}

// The answer from the lookup indexes: the positions matching the condition with the fewest
// of them, kept when they match every other condition, read from the index where it answers
// and from the cell otherwise. Questions answered wholly from indexes are kept for the other
// cells of a fill. Nothing when no condition is indexed.
std::optional<Variant> Indexed(Evaluator& eval, const std::vector<Condition>& conditions,
                               const RangeRef& values, Aggregate what) {
  std::vector<std::optional<std::vector<const std::vector<int>*>>> lists;
  std::optional<size_t> fewest;
  auto size = [](const std::vector<const std::vector<int>*>& parts) {
    size_t total = 0;
    for (const std::vector<int>* part : parts) total += part->size();
    return total;
  };
  bool allIndexed = true;
  for (size_t i = 0; i < conditions.size(); ++i) {
    lists.push_back(IndexedLists(conditions[i]));
    if (!lists.back()) {
      allIndexed = false;
    } else if (!fewest || size(*lists.back()) < size(*lists[*fewest])) {
      fewest = i;
    }
  }
  if (!fewest) return std::nullopt;
  IndexedQuestion question;
  question.asked = what == Aggregate::Count ? IndexedQuestion::Asked::Count
                   : what == Aggregate::Sum ? IndexedQuestion::Asked::Sum
                                            : IndexedQuestion::Asked::Average;
  if (allIndexed) {
    for (const auto& parts : lists) question.matching.push_back(*parts);
    if (what != Aggregate::Count) {
      question.valuesSheet = values.sheet;
      question.valuesRow = values.area.row;
      question.valuesColumn = values.area.column;
    }
    auto& answers = eval.OwnSheet().Calc().IndexedAnswers();
    if (auto answered = answers.find(question); answered != answers.end()) return answered->second;
  }
  // In row order, as the scan adds them.
  std::vector<int> positions;
  for (const std::vector<int>* part : *lists[*fewest])
    positions.insert(positions.end(), part->begin(), part->end());
  if (lists[*fewest]->size() > 1) std::sort(positions.begin(), positions.end());
  Tally tally;
  for (int position : positions) {
    bool all = true;
    for (size_t i = 0; i < conditions.size() && all; ++i) {
      if (i == *fewest) continue;
      if (lists[i]) {
        all = std::any_of(lists[i]->begin(), lists[i]->end(), [&](const std::vector<int>* part) {
          return std::binary_search(part->begin(), part->end(), position);
        });
      } else {
        const Area& area = conditions[i].range.area;
        all = conditions[i].criterion.Matches(
            conditions[i].range.sheet->CellValue(area.row + position, area.column));
      }
    }
    if (!all) continue;
    Variant value;
    if (what != Aggregate::Count)
      value = values.sheet->CellValue(values.area.row + position, values.area.column);
    if (!tally.Add(value, 1, what)) break;
  }
  Variant answer = tally.Answer(what);
  if (allIndexed) eval.OwnSheet().Calc().IndexedAnswers().emplace(std::move(question), answer);
  return answer;
}

const Variant kNoValue;

// The answer from the cells: every position of the common shape in row order; the rows past
// the last one holding content in any of the ranges are all alike and count at once.
Variant Scanned(Evaluator& eval, const std::vector<Condition>& conditions, const RangeRef& values,
                Aggregate what) {
  std::vector<std::shared_ptr<const Matrix>> blocks;
  for (const Condition& condition : conditions) blocks.push_back(eval.Array(condition.range));
  std::shared_ptr<const Matrix> valueBlock;
  if (what != Aggregate::Count) valueBlock = eval.Array(values);
  const Area& shape = conditions.front().range.area;
  int stored = valueBlock ? valueBlock->StoredRows() : 0;
  for (const auto& block : blocks) stored = std::max(stored, block->StoredRows());
  const Criterion& first = conditions.front().criterion;
  const Matrix& firstBlock = *blocks.front();
  Tally tally;
  auto add = [&](int r, int c, double times) {
    if (!first.Matches(firstBlock.At(r, c))) return true;
    for (size_t i = 1; i < conditions.size(); ++i) {
      if (!conditions[i].criterion.Matches(blocks[i]->At(r, c))) return true;
    }
    return tally.Add(valueBlock ? valueBlock->At(r, c) : kNoValue, times, what);
  };
  int rows = std::min(stored, shape.rows);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < shape.columns; ++c) {
      if (!add(r, c, 1)) return tally.Answer(what);
    }
  }
  for (int c = 0; rows < shape.rows && c < shape.columns; ++c) {
    if (!add(rows, c, shape.rows - rows)) break;
  }
  return tally.Answer(what);
}

// The count of one condition from the cells holding content, each tested; the empty cells are
// counted at once, never visited, so a whole column costs what its content does.
double CountedCells(const Condition& condition) {
  const Sheet& sheet = *condition.range.sheet;
  const Area& area = condition.range.area;
  double count = 0;
  if (condition.criterion.Matches(Variant()))
    count = static_cast<double>(area.Count() - sheet.Store().ContentCount(area));
  sheet.ForEachValue(area, [&](int, int, const Variant& value) {
    if (condition.criterion.Matches(value)) ++count;
  });
  return count;
}

Variant Answer(Evaluator& eval, const std::vector<Condition>& conditions, const RangeRef& values,
               Aggregate what) {
  if (std::optional<Variant> indexed = Indexed(eval, conditions, values, what)) return *indexed;
  if (what == Aggregate::Count && conditions.size() == 1)
    return Variant(CountedCells(conditions.front()));
  return Scanned(eval, conditions, values, what);
}

// The answers for the criteria's values, read as the host reads them (an empty criterion cell
// asks for 0): criteria that are arrays or ranges of several cells give an array of answers,
// one for each of their values, so SUMPRODUCT(1/COUNTIF(A1:A9,A1:A9)) counts distinct values.
Operand Answers(Evaluator& eval, const std::vector<RangeRef>& ranges,
                const std::vector<Operand>& criteria, const RangeRef& values, Aggregate what) {
  auto answer = [&](const auto& itemOf) {
    std::vector<Condition> conditions;
    conditions.reserve(ranges.size());
    for (size_t i = 0; i < ranges.size(); ++i) {
      const Variant& item = itemOf(i);
      if (item.IsError()) return item;
      conditions.push_back(Condition{ranges[i], Criterion(item, UserLocale{})});
    }
    return Answer(eval, conditions, values, what);
  };
  bool scalars = std::all_of(criteria.begin(), criteria.end(), [](const Operand& criterion) {
    return std::holds_alternative<Variant>(criterion);
  });
  if (scalars)
    return answer([&](size_t i) -> const Variant& { return std::get<Variant>(criteria[i]); });
  return eval.Broadcast(criteria, [&](const std::vector<Variant>& items) {
    return answer([&](size_t i) -> const Variant& { return items[i]; });
  });
}

// COUNTIF, SUMIF and AVERAGEIF: one range and criterion; the values from the range of the
// range's shape at the last argument's first cell, or the range itself.
template <Aggregate kWhat>
Operand OneCriterion(Evaluator& eval, const Args& args) {
  RangeRef range{}, values{};
  Variant error;
  if (!eval.RangeOf(args[0], range, error)) return error;
  Operand criterion = eval.Eval(args[1]);
  if (args.size() == 3 && !eval.RangeOf(args[2], values, error)) return error;
  if (args.size() < 3) {
    values = range;
  } else {
    // Cut at the sheet's edge: past it there are no cells to add.
    values.area.rows = std::min(range.area.rows, kLastRow - values.area.row + 1);
    values.area.columns = std::min(range.area.columns, kLastColumn - values.area.column + 1);
    range.area.rows = values.area.rows;
    range.area.columns = values.area.columns;
  }
  return Answers(eval, {range}, {criterion}, values, kWhat);
}

// COUNTIFS (pairs of range and criterion), SUMIFS and AVERAGEIFS (the values first): every
// range of the same shape, else #VALUE!.
template <Aggregate kWhat>
Operand SeveralCriteria(Evaluator& eval, const Args& args) {
  size_t first = kWhat == Aggregate::Count ? 0 : 1;
  if ((args.size() - first) % 2 != 0) return Variant(ErrorValue::Value);
  RangeRef values{};
  Variant error;
  if (first == 1 && !eval.RangeOf(args[0], values, error)) return error;
  std::vector<RangeRef> ranges;
  std::vector<Operand> criteria;
  for (size_t i = first; i < args.size(); i += 2) {
    RangeRef range{};
    if (!eval.RangeOf(args[i], range, error)) return error;
    ranges.push_back(range);
    criteria.push_back(eval.Eval(args[i + 1]));
  }
  const Area& shape = first == 1 ? values.area : ranges.front().area;
  for (const RangeRef& range : ranges) {
    if (range.area.rows != shape.rows || range.area.columns != shape.columns)
      return Variant(ErrorValue::Value);
  }
  return Answers(eval, ranges, criteria, values, kWhat);
}

}  // namespace

double CountMatching(Evaluator& eval, const RangeRef& range, const Criterion& criterion) {
  return Answer(eval, {Condition{range, criterion}}, RangeRef{}, Aggregate::Count).AsNumber();
}

void AddConditionalFunctions(FunctionTable& table) {
  table["COUNTIF"] = {OneCriterion<Aggregate::Count>, 2, 2};
  table["SUMIF"] = {OneCriterion<Aggregate::Sum>, 2, 3};
  table["AVERAGEIF"] = {OneCriterion<Aggregate::Average>, 2, 3};
  table["COUNTIFS"] = {SeveralCriteria<Aggregate::Count>, 2, kMaxArguments - 1};
  table["SUMIFS"] = {SeveralCriteria<Aggregate::Sum>, 3, kMaxArguments};
  table["AVERAGEIFS"] = {SeveralCriteria<Aggregate::Average>, 3, kMaxArguments};
}

}  // namespace tavrin
