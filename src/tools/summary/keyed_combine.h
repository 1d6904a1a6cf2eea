#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/block.h"
#include "host/user_locale.h"
#include "tools/summary/ordered_dictionary.h"

namespace tavrin {

// The combining modes of the keyed tool: the numeric sum, the texts joined with a separator,
// the first or the last record's texts.
enum class KeyedMode { Sum = 1, Join = 2, First = 3, Last = 4 };

// The source rows of one condition combination, top down, and their combined data.
struct KeyedGroup {
  std::vector<int> rows;
  std::vector<Variant> combined;
};
using KeyedGroups = OrderedDictionary<TextTuple, KeyedGroup, TextTupleHash>;

// The texts of a block row's cells, as the runtime converts them; an error value fails (13).
TextTuple RowTexts(const Block& block, int row, const UserLocale& locale);

// The rows 1 to the block's last, grouped by their condition texts in order of first
// appearance.
KeyedGroups GroupRows(const Block& conditions, const UserLocale& locale);

// Fills every group's combined data from the source data block (the same rows as the
// conditions). A sum is a number, or empty when nothing of the group reads as a number; the
// other modes give texts.
void CombineGroups(KeyedGroups& groups, const Block& data, KeyedMode mode,
                   const std::string& separator, const UserLocale& locale);

// The result block: one row per target, holding the combined data of the target's group, or
// empty cells for a target with no group (or none readable).
Block ResultBlock(KeyedGroups& groups, const std::vector<std::optional<TextTuple>>& targets,
                  int columns);

}  // namespace tavrin
