#pragma once

#include <string>
#include <string_view>
#include <variant>

namespace tavrin {

// The host's error values, as cells show them.
enum class ErrorValue { Null, Div0, Value, Ref, Name, Num, NA };

// "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A".
std::string_view ErrorText(ErrorValue error);

// The value type of cells and of the component's arithmetic: empty, number, text (UTF-8),
// Boolean, date (a serial day number, 1899-12-30 is day 0, the time as its fraction) or an
// error value. Conversions and operators live in variant_rules.h.
class Variant {
 public:
  enum class Kind { Empty, Number, Text, Boolean, Date, Error };

  Variant() = default;
  Variant(double number) : value_(number) {}
  Variant(int number) : value_(static_cast<double>(number)) {}
  Variant(long number) : value_(static_cast<double>(number)) {}
  Variant(std::string text) : value_(std::move(text)) {}
  Variant(std::string_view text) : value_(std::string(text)) {}
  Variant(const char* text) : value_(std::string(text)) {}
  Variant(ErrorValue error) : value_(error) {}
  static Variant Boolean(bool value);
  static Variant Date(double serial);

  Kind GetKind() const;
  bool IsEmpty() const { return GetKind() == Kind::Empty; }
  bool IsNumber() const { return GetKind() == Kind::Number; }
  bool IsText() const { return GetKind() == Kind::Text; }
  bool IsBoolean() const { return GetKind() == Kind::Boolean; }
  bool IsDate() const { return GetKind() == Kind::Date; }
  bool IsError() const { return GetKind() == Kind::Error; }

  // The number of a number, or the serial of a date.
  double AsNumber() const;
  const std::string& AsText() const;
  bool AsBoolean() const;
  ErrorValue AsError() const;

  // Same kind and same value (texts compared exactly). Not the host's comparison.
  bool operator==(const Variant& other) const = default;

 private:
  struct DateValue {
    double serial;
    bool operator==(const DateValue&) const = default;
  };
  std::variant<std::monostate, double, std::string, bool, DateValue, ErrorValue> value_;
};

}  // namespace tavrin
