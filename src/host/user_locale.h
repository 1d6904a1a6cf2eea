#pragma once

#include <string>

namespace tavrin {

// The user's number and date conventions, handed over by the host; nothing reads the
// process locale behind the code's back.
struct UserLocale {
  enum class DateOrder { YearMonthDay, MonthDayYear, DayMonthYear };

  char decimalPoint = '.';
  char thousandsSeparator = ',';
  DateOrder dateOrder = DateOrder::YearMonthDay;
  char dateSeparator = '/';
};

}  // namespace tavrin
