#include "tools/summary/keyed_combine.h"

#include "host/variant_rules.h"

namespace tavrin {

TextTuple RowTexts(const Block& block, int row, const UserLocale& locale) {
  TextTuple texts;
  texts.reserve(block.Columns());
  for (int c = 1; c <= block.Columns(); ++c) texts.push_back(TextOf(block(row, c), locale));
  return texts;
}

KeyedGroups GroupRows(const Block& conditions, const UserLocale& locale) {
  KeyedGroups groups;
  for (int i = 1; i <= conditions.Rows(); ++i) {
    TextTuple key = RowTexts(conditions, i, locale);
    if (KeyedGroup* group = groups.Find(key)) {
      group->rows.push_back(i);
    } else {
      groups.Add(std::move(key), KeyedGroup{{i}, {}});
    }
  }
  return groups;
}

void CombineGroups(KeyedGroups& groups, const Block& data, KeyedMode mode,
                   const std::string& separator, const UserLocale& locale) {
  // Every record's data texts first: a value that has no text fails before anything is combined.
  std::vector<TextTuple> texts(data.Rows() + 1);
  for (int i = 1; i <= data.Rows(); ++i) texts[i] = RowTexts(data, i, locale);

  for (size_t k = 0; k < groups.Count(); ++k) {
    KeyedGroup& group = groups.ItemAt(k);
    std::vector<Variant>& combined = group.combined;
    combined.assign(data.Columns(), Variant());
    switch (mode) {
      case KeyedMode::Sum:
        // Texts that do not read as numbers, and empty ones, add nothing; a sum past the range
        // of numbers overflows (6) as the runtime's addition does.
        for (int row : group.rows) {
          for (int z = 0; z < data.Columns(); ++z) {
            std::optional<double> number = ReadNumber(texts[row][z], locale);
            if (number) combined[z] = Add(combined[z], *number, locale);
          }
        }
        break;
      case KeyedMode::Join:
        for (int z = 0; z < data.Columns(); ++z) {
          std::string joined = texts[group.rows.front()][z];
          for (size_t m = 1; m < group.rows.size(); ++m) {
            joined += separator + texts[group.rows[m]][z];
          }
          combined[z] = joined;
        }
        break;
      case KeyedMode::First:
      case KeyedMode::Last: {
        int row = mode == KeyedMode::First ? group.rows.front() : group.rows.back();
        for (int z = 0; z < data.Columns(); ++z) combined[z] = texts[row][z];
        break;
      }
    }
  }
}

Block ResultBlock(KeyedGroups& groups, const std::vector<std::optional<TextTuple>>& targets,
                  int columns) {
  Block result(static_cast<int>(targets.size()), columns);
  for (size_t i = 0; i < targets.size(); ++i) {
    const KeyedGroup* group = targets[i] ? groups.Find(*targets[i]) : nullptr;
    if (group == nullptr) continue;
    for (int z = 0; z < columns; ++z) result(static_cast<int>(i) + 1, z + 1) = group->combined[z];
  }
  return result;
}

}  // namespace tavrin
