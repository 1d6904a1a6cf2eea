#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "spreadsheet/lookup_index.h"

namespace tavrin {

class Sheet;

// A question answered from the lookup indexes, the key its answer is kept under: many cells of a
// fill ask the same question. The indexes and lists it names are told apart by address; the
// answers are dropped whenever the content moves on, before any index is.
struct IndexedQuestion {
  enum class Asked { SumProduct, Count, Sum, Average };
  Asked asked = Asked::SumProduct;
  // SUMPRODUCT: each equality's index and key, and the index of the values summed (none when the
  // matching rows are counted).
  std::vector<std::pair<const LookupIndex*, LookupIndex::Key>> equalities;
  const LookupIndex* values = nullptr;
  // COUNTIFS, SUMIFS and AVERAGEIFS: per condition, the lists of positions matching it; and the
  // first cell of the range summed or averaged.
  std::vector<std::vector<const std::vector<int>*>> matching;
  const Sheet* valuesSheet = nullptr;
  int valuesRow = 0;
  int valuesColumn = 0;

  bool operator==(const IndexedQuestion&) const = default;

  struct Hash {
    size_t operator()(const IndexedQuestion& question) const;
  };
};

}  // namespace tavrin
