#pragma once

#include <optional>
#include <string_view>

namespace tavrin {

// Dates as the host's cells count them: serial 1 is 1900-01-01 and 60 the 1900-02-29 the host
// keeps for compatibility, so from 61 (1900-03-01) on the serials are days since 1899-12-30.
// Serial 0 is "1900-01-00". The time of day is the fraction.
struct CivilDate {
  int year = 1900;
  int month = 1;
  int day = 0;
};

constexpr double kLastSerial = 2958465;  // 9999-12-31

// The serial of a year, month and day, months and days past their ends rolling over as DATE
// rolls them (month 13 is January of the next year, day 0 the last of the month before);
// nothing before serial 0 or after 9999-12-31.
std::optional<double> SerialOf(int year, int month, int day);

// The date of a serial from 0 to kLastSerial (its whole part).
CivilDate DateOf(double serial);

int DaysInMonth(int year, int month);

// The time of day of a serial in whole seconds, rounded to the nearest second (0 to 86399).
int SecondsOfDay(double serial);

// A text the host reads as a number though it is none as written: a percentage ("50%"), a date
// in year-month-day order ("2024-1-5", "2024/1/5", "2024年1月5日"), a time ("13:05",
// "1:05:30 PM"), a date and a time, or a whole number and a fraction ("15 1/7"). Blanks around
// it are allowed.
std::optional<double> ReadValueText(std::string_view text);

// Whether a text may be one ReadValueText reads, told from its ends alone: it starts with a
// digit or ends with "%" (blanks around it aside).
inline bool MayBeValueText(std::string_view text) {
  return !text.empty() && ((text.front() >= '0' && text.front() <= '9') || text.front() == ' ' ||
                           text.back() == '%' || text.back() == ' ');
}

}  // namespace tavrin
