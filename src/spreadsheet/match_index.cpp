#include "spreadsheet/match_index.h"

#include <algorithm>

#include "spreadsheet/text_compare.h"

namespace tavrin {

MatchIndex::MatchIndex(const CellStore& store, const Area& area)
    : store_(&store), area_(area), values_(static_cast<size_t>(area.Count())) {
  for (int c = area.column; c <= area.LastColumn(); ++c) stamps_.push_back(store.ColumnVersion(c));
  store.ForEach(area, [&](int row, int column, const Cell& cell) {
    long long position = Position(row, column);
    const Variant& value = cell.value;
    values_[position - 1] = value;
    // The first occurrence wins: emplace keeps what is there.
    if (value.IsNumber() || value.IsDate()) {
      numbers_.emplace(value.AsNumber() == 0 ? 0.0 : value.AsNumber(), position);
    } else if (value.IsText()) {
      texts_.emplace(FoldCase(value.AsText()), position);
    } else if (value.IsBoolean() && booleans_[value.AsBoolean()] == 0) {
      booleans_[value.AsBoolean()] = position;
    }
  });
}

bool MatchIndex::StillHolds(const CellStore& store) {
  if (&store != store_) return false;
  for (int c = area_.column; c <= area_.LastColumn(); ++c) {
    uint64_t& stamp = stamps_[c - area_.column];
    if (store.ColumnVersion(c) == stamp) continue;
    for (int r = area_.row; r <= area_.LastRow(); ++r) {
      const Cell* cell = store.Find(r, c);
      if (cell != nullptr && cell->formula != nullptr) return false;
      const Variant& now = cell != nullptr ? cell->value : Variant();
      if (!(now == values_[Position(r, c) - 1])) return false;
    }
    stamp = store.ColumnVersion(c);
  }
  return true;
}

long long MatchIndex::Find(const Variant& lookup) const {
  if (lookup.IsNumber() || lookup.IsDate()) {
    auto found = numbers_.find(lookup.AsNumber() == 0 ? 0.0 : lookup.AsNumber());
    return found == numbers_.end() ? 0 : found->second;
  }
  if (lookup.IsText()) {
    auto found = texts_.find(FoldCase(lookup.AsText()));
    return found == texts_.end() ? 0 : found->second;
  }
  if (lookup.IsBoolean()) return booleans_[lookup.AsBoolean()];
  return 0;
}

const MatchIndex* MatchIndexCache::For(const CellStore& store, const Area& area) {
  auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) {
    return entry->Store() == &store && entry->IndexedArea() == area;
  });
  if (found != entries_.end() && !(*found)->StillHolds(store)) {
    entries_.erase(found);
    found = entries_.end();
  }
  if (found == entries_.end()) {
    bool formulas = false;
    store.ForEach(area, [&](int, int, const Cell& cell) { formulas |= cell.formula != nullptr; });
    if (formulas) return nullptr;
    if (entries_.size() == kEntries) entries_.pop_back();
    entries_.insert(entries_.begin(), std::make_unique<MatchIndex>(store, area));
    return entries_.front().get();
  }
  std::rotate(entries_.begin(), found, found + 1);
  return entries_.front().get();
}

}  // namespace tavrin
