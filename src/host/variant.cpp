#include "host/variant.h"

#include "host/host_error.h"

namespace tavrin {

std::string_view ErrorText(ErrorValue error) {
  switch (error) {
    case ErrorValue::Null:
      return "#NULL!";
    case ErrorValue::Div0:
      return "#DIV/0!";
    case ErrorValue::Value:
      return "#VALUE!";
    case ErrorValue::Ref:
      return "#REF!";
    case ErrorValue::Name:
      return "#NAME?";
    case ErrorValue::Num:
      return "#NUM!";
    case ErrorValue::NA:
      return "#N/A";
  }
  return "#VALUE!";
}

Variant Variant::Boolean(bool value) {
  Variant v;
  v.value_ = value;
  return v;
}

Variant Variant::Date(double serial) {
  Variant v;
  v.value_ = DateValue{serial};
  return v;
}

Variant::Kind Variant::GetKind() const {
  switch (value_.index()) {
    case 1:
      return Kind::Number;
    case 2:
      return Kind::Text;
    case 3:
      return Kind::Boolean;
    case 4:
      return Kind::Date;
    case 5:
      return Kind::Error;
    default:
      return Kind::Empty;
  }
}

double Variant::AsNumber() const {
  if (auto* number = std::get_if<double>(&value_)) return *number;
  if (auto* date = std::get_if<DateValue>(&value_)) return date->serial;
  throw HostError::TypeMismatch();
}

const std::string& Variant::AsText() const {
  if (auto* text = std::get_if<std::string>(&value_)) return *text;
  throw HostError::TypeMismatch();
}

bool Variant::AsBoolean() const {
  if (auto* b = std::get_if<bool>(&value_)) return *b;
  throw HostError::TypeMismatch();
}

ErrorValue Variant::AsError() const {
  if (auto* e = std::get_if<ErrorValue>(&value_)) return *e;
  throw HostError::TypeMismatch();
}

}  // namespace tavrin
