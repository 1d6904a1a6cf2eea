#include <algorithm>
#include <cmath>
#include <set>

#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/serial_date.h"

namespace tavrin {

namespace {

// The day of the week of a serial: 0 Sunday to 6 Saturday (serial 1 is a Sunday, as the host
// counts).
int DayOfWeek(double serial) {
  return static_cast<int>(std::fmod(std::fmod(serial - 1, 7) + 7, 7));
}

bool IsWeekend(double serial) {
  int day = DayOfWeek(serial);
  return day == 0 || day == 6;
}

bool IsDay(double serial) {
  return serial >= 0 && serial < kLastSerial + 1;
}

// WEEKNUM: the week of the year, weeks starting on Sunday (type 1) or Monday (type 2); the
// week holding 1 January is week 1.
Operand WeekNum(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t count) {
    double serial = std::floor(n[0]), type = count > 1 ? std::trunc(n[1]) : 1;
    if (!IsDay(serial)) return Variant(ErrorValue::Num);
    if (type != 1 && type != 2) return Variant(ErrorValue::Num);
    double january = *SerialOf(DateOf(serial).year, 1, 1);
    int offset = (DayOfWeek(january) + (type == 2 ? 6 : 0)) % 7;
    return Variant(std::floor((serial - january + offset) / 7) + 1);
  });
}

// The holidays of the third argument, whole days; false, and the error in `error`, when they
// hold one.
bool Holidays(Evaluator& eval, const Args& args, std::set<double>& days, Variant& error) {
  if (args.size() < 3) return true;
  std::vector<double> numbers;
  error = Numbers(eval, {args[2]}, numbers);
  for (double day : numbers) days.insert(std::floor(day));
  return !error.IsError();
}

// NETWORKDAYS: the working days (Monday to Friday, not holidays) from the start to the end, both
// counted; negative when the end comes first.
Operand NetworkDays(Evaluator& eval, const Args& args) {
  Variant start = NumberArg(eval, args[0]), end = NumberArg(eval, args[1]), error;
  if (start.IsError()) return start;
  if (end.IsError()) return end;
  std::set<double> holidays;
  if (!Holidays(eval, args, holidays, error)) return error;
  double from = std::floor(start.AsNumber()), to = std::floor(end.AsNumber());
  if (!IsDay(from) || !IsDay(to)) return Variant(ErrorValue::Num);
  double sign = from <= to ? 1 : -1;
  if (from > to) std::swap(from, to);
  double weeks = std::floor((to - from + 1) / 7), count = weeks * 5;
  for (double day = from + weeks * 7; day <= to; ++day) count += !IsWeekend(day);
  for (double day : holidays) count -= day >= from && day <= to && !IsWeekend(day);
  return Variant(sign * count);
}

// WORKDAY: the working day so many working days after (or before) the start.
Operand Workday(Evaluator& eval, const Args& args) {
  Variant start = NumberArg(eval, args[0]), days = NumberArg(eval, args[1]), error;
  if (start.IsError()) return start;
  if (days.IsError()) return days;
  std::set<double> holidays;
  if (!Holidays(eval, args, holidays, error)) return error;
  double day = std::floor(start.AsNumber()), left = std::trunc(days.AsNumber());
  if (!IsDay(day) || std::fabs(left) > kLastSerial) return Variant(ErrorValue::Num);
  double step = left < 0 ? -1 : 1;
  for (left = std::fabs(left); left > 0;) {
    day += step;
    if (!IsDay(day)) return Variant(ErrorValue::Num);
    left -= !IsWeekend(day) && !holidays.contains(day);
  }
  return Variant::Date(day);
}

}  // namespace

void AddWorkdayFunctions(FunctionTable& table) {
  table["WEEKNUM"] = {WeekNum, 1, 2};
  table["NETWORKDAYS"] = {NetworkDays, 2, 3};
  table["WORKDAY"] = {Workday, 2, 3};
}

}  // namespace tavrin
