#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/user_locale.h"
#include "host/variant.h"

namespace tavrin {

// The automation runtime's conversions that the tools rely on. Failures are thrown as
// HostError (13 "类型不匹配" for a value that cannot be converted).

// A number as it prints in the user's locale: up to 15 significant digits, no trailing zeros,
// exponent form ("1.5E+20", "1E-05") for magnitudes from 1E15 up or below 1E-4.
std::string NumberText(double number, const UserLocale& locale);

// A date as the runtime prints it: the short date in the locale's order, and the time when it
// has one ("2026/12/8", "2026/12/8 13:05:00"; a pure time prints as "13:05:00"). A serial
// before 100-01-01 or after 9999-12-31 prints as its number ("3000000").
std::string DateText(double serial, const UserLocale& locale);

// A text read as a number: blanks around it, a sign, thousands separators, the decimal point,
// an exponent. Nothing else: an empty or blank text is no number.
std::optional<double> ReadNumber(std::string_view text, const UserLocale& locale);

// The runtime's text of a value (CStr): empty is "", a Boolean "True" or "False", a number by
// NumberText, a date by DateText; an error value cannot be converted (13).
std::string TextOf(const Variant& value, const UserLocale& locale);

// The runtime's number of a value (CDbl): empty is 0, a Boolean -1 or 0, a date its serial, a
// text read by ReadNumber; any other text or an error value fails (13).
double NumberOf(const Variant& value, const UserLocale& locale);

// The runtime's Val: the numeric prefix of a text, blanks ignored, "." as the decimal point;
// a text with no numeric prefix reads 0.
double Val(std::string_view text);

// Variant addition (the + operator): text+text joins, number+numeric text adds, empty+x is x,
// Boolean counts -1 or 0, date+number is a date; number+other text and any error value fail
// (13).
Variant Add(const Variant& left, const Variant& right, const UserLocale& locale);

// Variant comparison of a value with a number (value = number, value < number, ...): empty
// counts as 0, a Boolean -1 or 0, a date its serial, a text that reads as a number that number;
// any other text or an error value fails (13). Returns -1, 0 or 1.
int CompareWithNumber(const Variant& value, double number, const UserLocale& locale);

}  // namespace tavrin
