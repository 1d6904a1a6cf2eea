#include "spreadsheet/advanced_filter.h"

#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "host/host_error.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

// Appends a cell's comparison key: a kind tag, then what identifies the value within its kind.
// Texts carry their folded length, so the keys of two records are equal only when every cell
// is.
void AppendKey(std::string& key, const Variant& value) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      key += 'z';
      return;
    case Variant::Kind::Number:
    case Variant::Kind::Date: {
      double number = value.AsNumber() == 0 ? 0.0 : value.AsNumber();
      char bytes[sizeof number];
      std::memcpy(bytes, &number, sizeof number);
      key += 'n';
      key.append(bytes, sizeof bytes);
      return;
    }
    case Variant::Kind::Text: {
      std::u32string folded = FoldCase(value.AsText());
      key += 't';
      key += std::to_string(folded.size());
      key += ':';
      key.append(reinterpret_cast<const char*>(folded.data()), folded.size() * sizeof(char32_t));
      return;
    }
    case Variant::Kind::Boolean:
      key += value.AsBoolean() ? "b1" : "b0";
      return;
    case Variant::Kind::Error:
      key += 'e';
      key += static_cast<char>('0' + static_cast<int>(value.AsError()));
      return;
  }
}

}  // namespace

void CopyFilteredRows(const CellStore& source, const Area& list,
                      const std::function<Variant(int, int, const Cell&)>& valueOf,
                      CellStore& destination, int row, int column, bool unique) {
  // The list's values, row by row; a formula cell gives its result.
  std::vector<Variant> values(static_cast<size_t>(list.Count()));
  source.ForEach(list, [&](int r, int c, const Cell& cell) {
    values[static_cast<size_t>(r - list.row) * list.columns + (c - list.column)] =
        cell.formula ? valueOf(r, c, cell) : cell.value;
  });

  // The field-name row always, then the records that are kept.
  std::vector<int> kept{0};
  std::unordered_set<std::string> seen;
  std::string key;
  for (int r = 1; r < list.rows; ++r) {
    if (unique) {
      key.clear();
      for (int c = 0; c < list.columns; ++c) {
        AppendKey(key, values[static_cast<size_t>(r) * list.columns + c]);
      }
      if (!seen.insert(key).second) continue;
    }
    kept.push_back(r);
  }

  Area target{row, column, static_cast<int>(kept.size()), list.columns};
  if (target.LastRow() > kLastRow || target.LastColumn() > kLastColumn) {
    throw HostError::MethodFailed("Range", "AdvancedFilter");
  }
  for (int k = 0; k < target.rows; ++k) {
    for (int c = 0; c < list.columns; ++c) {
      Variant& value = values[static_cast<size_t>(kept[k]) * list.columns + c];
      destination.SetContent(row + k, column + c, std::move(value), nullptr);
    }
  }
}

}  // namespace tavrin
