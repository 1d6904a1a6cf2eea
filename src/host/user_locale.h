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
  // The paper of the user's default printer, a sheet's paper when its page setup names none:
  // the host's code, A4 (9) unless the locale's paper is Letter (1), as in North America.
  int defaultPaper = 9;
};

}  // namespace tavrin
