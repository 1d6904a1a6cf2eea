#include "io/workbook_styles.h"

#include <algorithm>

#include "io/number_format.h"

namespace tavrin {

WorkbookStyles WorkbookStyles::Of(const pugi::xml_document& styles, bool date1904) {
  return {DateStyles(styles), CalendarStyles(styles), date1904};
}

uint32_t WorkbookStyles::FirstDateStyle() const {
  auto first = std::find(dates.begin(), dates.end(), true);
  return first == dates.end() ? 0 : static_cast<uint32_t>(first - dates.begin());
}

}  // namespace tavrin
