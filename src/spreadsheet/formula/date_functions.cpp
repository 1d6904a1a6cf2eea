#include <algorithm>
#include <cmath>

#include "spreadsheet/book.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

const Variant kNumError{ErrorValue::Num};

bool IsSerial(double serial) {
  return serial >= 0 && serial < kLastSerial + 1;
}

// DATE: years 0 to 1899 count from 1900; months and days past their ends roll over.
Operand Date(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double year = std::trunc(n[0]), month = std::trunc(n[1]), day = std::trunc(n[2]);
    if (year < 0 || year >= 10000) return kNumError;
    // Past these the date is off the calendar anyway; held there, they convert to int.
    month = std::clamp(month, -1e6, 1e6);
    day = std::clamp(day, -1e8, 1e8);
    if (year < 1900) year += 1900;
    std::optional<double> serial =
        SerialOf(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    return serial ? Variant::Date(*serial) : kNumError;
  });
}

// TIME: a time of day; hours past 24 wrap around, a negative time is #NUM!.
Operand Time(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double hour = std::trunc(n[0]), minute = std::trunc(n[1]), second = std::trunc(n[2]);
    if (hour > 32767 || minute > 32767 || second > 32767) return kNumError;
    double seconds = hour * 3600 + minute * 60 + second;
    if (seconds < 0) return kNumError;
    return Variant::Date(std::fmod(seconds, 86400) / 86400);
  });
}

enum class Part { Year, Month, Day, Hour, Minute, Second };

template <Part kPart>
Operand DatePart(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    if (!IsSerial(n[0])) return kNumError;
    if (kPart == Part::Year || kPart == Part::Month || kPart == Part::Day) {
      CivilDate date = DateOf(n[0]);
      return Variant(kPart == Part::Year    ? date.year
                     : kPart == Part::Month ? date.month
                                            : date.day);
    }
    int seconds = SecondsOfDay(n[0]);
    return Variant(kPart == Part::Hour     ? seconds / 3600
                   : kPart == Part::Minute ? seconds / 60 % 60
                                           : seconds % 60);
  });
}

// WEEKDAY: type 1 (or omitted) Sunday 1 to Saturday 7, type 2 Monday 1 to Sunday 7, type 3
// Monday 0 to Sunday 6. Serial 1 is a Sunday, as the host counts.
Operand Weekday(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t count) {
    if (!IsSerial(n[0])) return kNumError;
    double type = count > 1 ? std::trunc(n[1]) : 1;
    int sunday0 = static_cast<int>(std::fmod(std::floor(n[0]) + 6, 7));  // 0 Sunday
    if (type == 1) return Variant(sunday0 + 1);
    if (type == 2) return Variant((sunday0 + 6) % 7 + 1);
    if (type == 3) return Variant((sunday0 + 6) % 7);
    return kNumError;
  });
}

double Now(Evaluator& eval) {
  return eval.OwnSheet().Parent().Parent().Now();
}

Operand Today(Evaluator& eval, const Args&) {
  return Variant::Date(std::floor(Now(eval)));
}

Operand NowFunction(Evaluator& eval, const Args&) {
  return Variant::Date(Now(eval));
}

// EDATE and EOMONTH: the date so many months on, its day held within the month (EDATE) or the
// month's last day (EOMONTH); a plain serial number.
template <bool kEndOfMonth>
Operand MonthsOn(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    if (!IsSerial(n[0]) || std::fabs(n[1]) > 1e6) return kNumError;
    CivilDate date = DateOf(n[0]);
    int months = date.year * 12 + date.month - 1 + static_cast<int>(std::trunc(n[1]));
    int year = months / 12, month = months % 12 + 1;
    // Before 1900 (1899-12-31 would be serial 0) or after 9999 is no date.
    if (year < 1900 || year > 9999) return kNumError;
    int last = DaysInMonth(year, month);
    std::optional<double> serial =
        SerialOf(year, month, kEndOfMonth ? last : std::min(date.day, last));
    return serial ? Variant(*serial) : kNumError;
  });
}

// DATEDIF: whole years ("Y"), months ("M") or days ("D") between two dates, or what is left of
// them: days besides the months ("MD"), months besides the years ("YM"), days besides the years
// ("YD"). A start after the end, or another unit, is #NUM!.
Operand DateDif(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    Variant error = FirstError(values);
    if (error.IsError()) return error;
    Variant start = ToNumber(values[0]), end = ToNumber(values[1]);
    if (start.IsError()) return start;
    if (end.IsError()) return end;
    double from = std::floor(start.AsNumber()), to = std::floor(end.AsNumber());
    if (!IsSerial(from) || !IsSerial(to) || from > to) return kNumError;
    std::string unit = ValueText(values[2]);
    for (char& c : unit) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    CivilDate a = DateOf(from), b = DateOf(to);
    int months = (b.year - a.year) * 12 + b.month - a.month - (b.day < a.day ? 1 : 0);
    if (unit == "D") return Variant(to - from);
    if (unit == "M") return Variant(months);
    if (unit == "Y") return Variant(months / 12);
    if (unit == "YM") return Variant(months % 12);
    if (unit == "MD") {
      if (b.day >= a.day) return Variant(b.day - a.day);
      // From the start's day in the month before the end's, rolling over a day it lacks.
      std::optional<double> before = SerialOf(b.year, b.month - 1, a.day);
      return before ? Variant(to - *before) : kNumError;
    }
    if (unit == "YD") {
      bool sameYear = b.month > a.month || (b.month == a.month && b.day >= a.day);
      std::optional<double> anniversary = SerialOf(b.year - (sameYear ? 0 : 1), a.month, a.day);
      return anniversary ? Variant(to - *anniversary) : kNumError;
    }
    return kNumError;
  });
}

}  // namespace

void AddDateFunctions(FunctionTable& table) {
  table["DATE"] = {Date, 3, 3};
  table["TIME"] = {Time, 3, 3};
  table["YEAR"] = {DatePart<Part::Year>, 1, 1};
  table["MONTH"] = {DatePart<Part::Month>, 1, 1};
  table["DAY"] = {DatePart<Part::Day>, 1, 1};
  table["HOUR"] = {DatePart<Part::Hour>, 1, 1};
  table["MINUTE"] = {DatePart<Part::Minute>, 1, 1};
  table["SECOND"] = {DatePart<Part::Second>, 1, 1};
  table["WEEKDAY"] = {Weekday, 1, 2};
  table["TODAY"] = {Today, 0, 0};
  table["NOW"] = {NowFunction, 0, 0};
  table["EDATE"] = {MonthsOn<false>, 2, 2};
  table["EOMONTH"] = {MonthsOn<true>, 2, 2};
  table["DATEDIF"] = {DateDif, 3, 3};
}

}  // namespace tavrin
