#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tavrin {

// What the workbook's cell formats tell the reader and the writer of its sheets about dates, by
// cell format index.
struct WorkbookStyles {
  std::vector<bool> dates;     // shows a date or a time
  std::vector<bool> calendar;  // shows a day, a month or a year
  bool date1904 = false;       // the workbook counts dates from 1904-01-01

  // The cell formats of a styles part.
  static WorkbookStyles Of(const pugi::xml_document& styles, bool date1904);

  size_t Count() const { return dates.size(); }
  bool ShowsDate(uint32_t style) const { return style < dates.size() && dates[style]; }
  // A number in the format is a date counted from 1904, the model's count less
  // kDays1900To1904: a calendar format of a workbook counting from 1904.
  bool Counts1904(uint32_t style) const {
    return date1904 && style < calendar.size() && calendar[style];
  }
  // The first format showing a date, 0 when none does.
  uint32_t FirstDateStyle() const;
};

}  // namespace tavrin
