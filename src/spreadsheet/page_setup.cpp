#include "spreadsheet/page_setup.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "host/address.h"
#include "host/host_error.h"

namespace tavrin {

namespace {

// "$12" or "12".
std::optional<int> ReadRow(std::string_view text) {
  if (!text.empty() && text.front() == '$') text.remove_prefix(1);
  int row = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || row < 1 ||
      row > kLastRow) {
    return std::nullopt;
  }
  return row;
}

}  // namespace

void SheetPageSetup::SetPrintTitleRows(const std::string& rows) {
  sheetChanged_ = true;
  if (rows.empty()) {
    printTitleRows_.clear();
    return;
  }
  std::string_view text = rows;
  size_t colon = text.find(':');
  std::optional<int> first = ReadRow(text.substr(0, colon));
  std::optional<int> last =
      colon == std::string_view::npos ? first : ReadRow(text.substr(colon + 1));
  if (!first || !last) throw HostError::ApplicationDefined();
  printTitleRows_ = "$" + std::to_string(std::min(*first, *last)) + ":$" +
                    std::to_string(std::max(*first, *last));
}

}  // namespace tavrin
