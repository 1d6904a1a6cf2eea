#include "spreadsheet/lookup_index.h"

#include <algorithm>

#include "host/variant_rules.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// A number's key: its 15 significant digits, as "=" and the criteria compare; -0 and 0 alike.
double NumberKey(double number) {
  return FifteenDigits(number) + 0.0;
}

// The id a key has in a map of ids, -3 when none.
template <class Ids, class Key>
int IdIn(const Ids& ids, const Key& key) {
  auto found = ids.find(key);
  return found == ids.end() ? -3 : found->second;
}

}  // namespace

LookupIndex::LookupIndex(const Sheet& sheet, const Area& line)
    : line_(line),
      ids_(static_cast<size_t>(line.Count()), -1),
      numbers_(static_cast<size_t>(line.Count()), 0) {
  const CellStore& store = sheet.Store();
  for (int c = line.column; c <= line.LastColumn(); ++c) {
    stamps_.push_back(store.ColumnVersion(c));
    store.Column(c).ForEachFormula(line.row, line.LastRow(),
                                   [&](int, const Cell&) { formulas_ = true; });
  }
  sheet.ForEachValue(line, [&](int row, int column, const Variant& value) {
    int position = Position(row, column);
    if (value.IsEmpty()) return;
    values_.emplace_back(position, value);
    if (value.IsError()) {
      ids_[position] = -2;
      hasError_ = true;
      return;
    }
    // The position joins the values of the id in the slot, made when the slot has none.
    auto add = [&](int& id) {
      if (id < 0) {
        id = static_cast<int>(positions_.size());
        positions_.emplace_back();
      }
      positions_[id].push_back(position);
      return id;
    };
    if (value.IsText()) {
      // A criterion's number matches the texts that read as that number; arithmetic reads a
      // date, a time or a percentage too.
      std::optional<double> number = ReadNumber(value.AsText(), UserLocale{});
      if (number) add(textNumberIds_.try_emplace(NumberKey(*number), -3).first->second);
      if (!number && MayBeValueText(value.AsText())) number = ReadValueText(value.AsText());
      if (number) numbers_[position] = *number;
      hasText_ = hasText_ || !number;
      ids_[position] = add(textIds_.Obtain(value.AsText()));
    } else {
      numbers_[position] = ToNumber(value).AsNumber();
      ids_[position] =
          add(value.IsBoolean()
                  ? booleanIds_[value.AsBoolean()]
                  : numberIds_.try_emplace(NumberKey(value.AsNumber()), -3).first->second);
    }
  });
  for (int i = 0; i < Size(); ++i) {
    if (ids_[i] == -1) emptyPositions_.push_back(i);
  }
}

bool LookupIndex::StillHolds(const Sheet& sheet) {
  if (formulas_) return false;
  const CellStore& store = sheet.Store();
  for (int c = line_.column; c <= line_.LastColumn(); ++c) {
    uint64_t& stamp = stamps_[c - line_.column];
    if (store.ColumnVersion(c) == stamp) continue;
    if (!ColumnHolds(sheet, c)) return false;
    stamp = store.ColumnVersion(c);
  }
  return true;
}

// The column's cells in the range against the values indexed: constants, and the same ones in
// the same places.
bool LookupIndex::ColumnHolds(const Sheet& sheet, int column) const {
  auto next =
      std::lower_bound(values_.begin(), values_.end(), Position(line_.row, column),
                       [](const auto& value, int position) { return value.first < position; });
  auto end =
      std::upper_bound(next, values_.end(), Position(line_.LastRow(), column),
                       [](int position, const auto& value) { return position < value.first; });
  bool holds = true;
  sheet.Store().ForEach(
      Area{line_.row, column, line_.rows, 1}, [&](int row, int, const Cell& cell) {
        if (!holds || !cell.HasContent()) return;
        holds = cell.formula == nullptr && next != end && next->first == Position(row, column) &&
                next->second == cell.value;
        if (holds) ++next;
      });
  return holds && next == end;
}

int LookupIndex::IdOf(const Variant& value) const {
  if (value.IsNumber() || value.IsDate()) return IdIn(numberIds_, NumberKey(value.AsNumber()));
  if (value.IsBoolean()) return booleanIds_[value.AsBoolean()];
  return textIds_.Find(value.AsText());
}

LookupIndex::Key LookupIndex::KeyOf(const Variant& key) const {
  Key result;
  if (key.IsEmpty()) {
    result.empties = true;
    for (const Variant& blank : {Variant(0.0), Variant(""), Variant::Boolean(false)}) {
      int id = IdOf(blank);
      if (id >= 0) result.blanks.push_back(id);
    }
    return result;
  }
  result.id = IdOf(key);
  result.empties = ((key.IsNumber() || key.IsDate()) && key.AsNumber() == 0) ||
                   (key.IsText() && key.AsText().empty()) || (key.IsBoolean() && !key.AsBoolean());
  return result;
}

bool LookupIndex::Equal(int position, const Key& key) const {
  int id = ids_[position];
  if (id == -1) return key.empties;
  if (id == key.id) return true;
  for (int blank : key.blanks) {
    if (id == blank) return true;
  }
  return false;
}

void LookupIndex::Positions(const Key& key, std::vector<int>& out) const {
  out.clear();
  if (key.id >= 0) out = positions_[key.id];
  for (int blank : key.blanks)
    out.insert(out.end(), positions_[blank].begin(), positions_[blank].end());
  if (key.empties) out.insert(out.end(), emptyPositions_.begin(), emptyPositions_.end());
}

size_t LookupIndex::Count(const Key& key) const {
  size_t count = key.id >= 0 ? positions_[key.id].size() : 0;
  for (int blank : key.blanks) count += positions_[blank].size();
  return count + (key.empties ? emptyPositions_.size() : 0);
}

std::vector<const std::vector<int>*> LookupIndex::Matching(
    const Criterion::Equality& equality) const {
  std::vector<const std::vector<int>*> lists;
  auto add = [&](int id) {
    if (id >= 0) lists.push_back(&positions_[id]);
  };
  switch (equality.kind) {
    case Criterion::Kind::Blank:
      add(IdOf(Variant("")));
      lists.push_back(&emptyPositions_);
      break;
    case Criterion::Kind::Empty:
      lists.push_back(&emptyPositions_);
      break;
    case Criterion::Kind::Number:
      add(IdOf(equality.value));
      add(IdIn(textNumberIds_, NumberKey(equality.value.AsNumber())));
      break;
    default:
      add(IdOf(equality.value));
  }
  return lists;
}

int LookupIndex::First(const Variant& key) const {
  if (key.IsEmpty() || !(key == lastKey_)) {
    lastKey_ = key;
    lastFirst_ = 0;
    int id = IdOf(key);
    if (id >= 0 && !key.IsNumber() && !key.IsDate()) {
      lastFirst_ = positions_[id].front() + 1;
    } else if (id >= 0) {
      // A lookup's numbers are equal only when exactly equal.
      auto exact = std::find_if(positions_[id].begin(), positions_[id].end(),
                                [&](int position) { return numbers_[position] == key.AsNumber(); });
      if (exact != positions_[id].end()) lastFirst_ = *exact + 1;
    }
  }
  return lastFirst_;
}

}  // namespace tavrin
