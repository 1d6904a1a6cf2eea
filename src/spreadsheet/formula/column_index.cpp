#include "spreadsheet/formula/column_index.h"

#include <cstring>

#include "host/variant_rules.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

std::string Packed(char kind, const void* data, size_t size) {
  std::string code(1 + size, kind);
  std::memcpy(code.data() + 1, data, size);
  return code;
}

// A number's key text, N for numbers and R for texts read as numbers: its 15 significant
// digits, as "=" and the criteria compare; -0 and 0 alike.
std::string NumberCode(char kind, double number) {
  number = FifteenDigits(number) + 0.0;
  return Packed(kind, &number, sizeof number);
}

// A value's key text: equal values as formulas compare them have equal keys.
std::string Code(const Variant& value) {
  if (value.IsNumber() || value.IsDate()) return NumberCode('N', value.AsNumber());
  if (value.IsBoolean()) return value.AsBoolean() ? "B1" : "B0";
  std::u32string folded = FoldCase(value.AsText());
  return Packed('T', folded.data(), folded.size() * sizeof(char32_t));
}

}  // namespace

ColumnIndex::ColumnIndex(const Sheet& sheet, const Area& column)
    : ids_(static_cast<size_t>(column.rows), -1), numbers_(static_cast<size_t>(column.rows), 0) {
  sheet.ForEachValue(column, [&](int row, int, const Variant& value) {
    int position = row - column.row;
    if (value.IsEmpty()) return;
    if (value.IsError()) {
      ids_[position] = -2;
      hasError_ = true;
      return;
    }
    auto add = [&](std::string code) {
      auto [found, added] =
          idOfCode_.try_emplace(std::move(code), static_cast<int>(positions_.size()));
      if (added) positions_.emplace_back();
      positions_[found->second].push_back(position);
      return found->second;
    };
    if (value.IsText()) {
      // A criterion's number matches the texts that read as that number; arithmetic reads a
      // date, a time or a percentage too.
      std::optional<double> number = ReadNumber(value.AsText(), UserLocale{});
      if (number) add(NumberCode('R', *number));
      if (!number && MayBeValueText(value.AsText())) number = ReadValueText(value.AsText());
      if (number) numbers_[position] = *number;
      hasText_ = hasText_ || !number;
    } else {
      numbers_[position] = ToNumber(value).AsNumber();
    }
    ids_[position] = add(Code(value));
  });
  for (int i = 0; i < Size(); ++i) {
    if (ids_[i] == -1) emptyPositions_.push_back(i);
  }
}

int ColumnIndex::IdOf(const std::string& code) const {
  auto found = idOfCode_.find(code);
  return found == idOfCode_.end() ? -3 : found->second;
}

ColumnIndex::Key ColumnIndex::KeyOf(const Variant& key) const {
  Key result;
  if (key.IsEmpty()) {
    result.empties = true;
    for (const Variant& blank : {Variant(0.0), Variant(""), Variant::Boolean(false)}) {
      int id = IdOf(Code(blank));
      if (id >= 0) result.blanks.push_back(id);
    }
    return result;
  }
  result.id = IdOf(Code(key));
  result.empties = ((key.IsNumber() || key.IsDate()) && key.AsNumber() == 0) ||
                   (key.IsText() && key.AsText().empty()) || (key.IsBoolean() && !key.AsBoolean());
  return result;
}

bool ColumnIndex::Equal(int position, const Key& key) const {
  int id = ids_[position];
  if (id == -1) return key.empties;
  if (id == key.id) return true;
  for (int blank : key.blanks) {
    if (id == blank) return true;
  }
  return false;
}

void ColumnIndex::Positions(const Key& key, std::vector<int>& out) const {
  out.clear();
  if (key.id >= 0) out = positions_[key.id];
  for (int blank : key.blanks)
    out.insert(out.end(), positions_[blank].begin(), positions_[blank].end());
  if (key.empties) out.insert(out.end(), emptyPositions_.begin(), emptyPositions_.end());
}

std::vector<const std::vector<int>*> ColumnIndex::Matching(
    const Criterion::Equality& equality) const {
  std::vector<const std::vector<int>*> lists;
  auto add = [&](const std::string& code) {
    int id = IdOf(code);
    if (id >= 0) lists.push_back(&positions_[id]);
  };
  switch (equality.kind) {
    case Criterion::Kind::Blank:
      add(Code(Variant("")));
      lists.push_back(&emptyPositions_);
      break;
    case Criterion::Kind::Empty:
      lists.push_back(&emptyPositions_);
      break;
    case Criterion::Kind::Number:
      add(Code(equality.value));
      add(NumberCode('R', equality.value.AsNumber()));
      break;
    default:
      add(Code(equality.value));
  }
  return lists;
}

int ColumnIndex::First(const Variant& key) const {
  int id = IdOf(Code(key));
  if (id < 0) return 0;
  if (!key.IsNumber() && !key.IsDate()) return positions_[id].front() + 1;
  // A lookup's numbers are equal only when exactly equal.
  for (int position : positions_[id]) {
    if (numbers_[position] == key.AsNumber()) return position + 1;
  }
  return 0;
}

}  // namespace tavrin
