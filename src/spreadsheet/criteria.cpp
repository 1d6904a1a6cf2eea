#include "spreadsheet/criteria.h"

#include <array>
#include <string_view>
#include <utility>

#include "host/variant_rules.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/typed_entry.h"

namespace tavrin {

Criterion::Criterion(const Variant& criteria, const UserLocale& locale) : locale_(locale) {
  switch (criteria.GetKind()) {
    case Variant::Kind::Number:
    case Variant::Kind::Date:
      kind_ = Kind::Number;
      operand_ = Variant(criteria.AsNumber());
      return;
    case Variant::Kind::Boolean:
      kind_ = Kind::Boolean;
      operand_ = criteria;
      return;
    case Variant::Kind::Error:
      kind_ = Kind::Error;
      operand_ = criteria;
      return;
    case Variant::Kind::Empty:
      kind_ = Kind::Number;
      operand_ = Variant(0.0);
      return;
    case Variant::Kind::Text:
      break;
  }
  std::string_view text = criteria.AsText();
  // Two-character operators first, so "<=" is not read as "<" and "=...".
  static constexpr std::array<std::pair<std::string_view, Op>, 6> kOps = {{
      {"<=", Op::LessEqual},
      {">=", Op::GreaterEqual},
      {"<>", Op::NotEqual},
      {"=", Op::Equal},
      {"<", Op::Less},
      {">", Op::Greater},
  }};
  bool hasOp = false;
  for (const auto& [prefix, op] : kOps) {
    if (text.starts_with(prefix)) {
      op_ = op;
      text.remove_prefix(prefix.size());
      hasOp = true;
      break;
    }
  }
  if (text.empty() && (op_ == Op::Equal || op_ == Op::NotEqual)) {
    kind_ = hasOp ? Kind::Empty : Kind::Blank;
    return;
  }
  // The operand reads as a typed entry does: a date, a time or a percentage is its number.
  std::optional<double> number = ReadNumber(text, locale);
  if (!number && MayBeValueText(text)) number = ReadValueText(text);
  if (number) {
    kind_ = Kind::Number;
    operand_ = Variant(*number);
    return;
  }
  // TRUE, FALSE and error texts read as a typed entry reads them.
  Variant constant = ReadEntry(Variant(text), locale).value;
  if (constant.IsBoolean() || constant.IsError()) {
    kind_ = constant.IsBoolean() ? Kind::Boolean : Kind::Error;
    operand_ = constant;
    return;
  }
  kind_ = Kind::Text;
  operand_ = Variant(text);
  pattern_.emplace(text);
}

// For the comparisons only: "=" and "<>" are matched by MatchesEqual.
bool Criterion::Holds(int order) const {
  switch (op_) {
    case Op::Less:
      return order < 0;
    case Op::LessEqual:
      return order <= 0;
    case Op::Greater:
      return order > 0;
    default:
      return order >= 0;
  }
}

bool Criterion::Matches(const Variant& value) const {
  if (op_ == Op::Equal) return MatchesEqual(value);
  if (op_ == Op::NotEqual) return !MatchesEqual(value);
  switch (kind_) {
    case Kind::Number:
      if (!value.IsNumber() && !value.IsDate()) return false;
      return Holds(CompareNumbers(value.AsNumber(), operand_.AsNumber()));
    case Kind::Boolean:
      return value.IsBoolean() &&
             Holds(static_cast<int>(value.AsBoolean()) - static_cast<int>(operand_.AsBoolean()));
    case Kind::Text:
      return value.IsText() && Holds(CollateIgnoringCase(value.AsText(), operand_.AsText()));
    default:
      return false;
  }
}

std::optional<Criterion::Equality> Criterion::PlainEquality() const {
  if (op_ != Op::Equal || kind_ == Kind::Error) return std::nullopt;
  if (kind_ != Kind::Text) return Equality{kind_, operand_};
  if (operand_.AsText().find('~') == std::string::npos) {
    if (operand_.AsText().find_first_of("*?") != std::string::npos) return std::nullopt;
    return Equality{kind_, operand_};
  }
  if (pattern_->HasWildcards()) return std::nullopt;
  return Equality{kind_, Variant(Utf8(pattern_->Literal()))};
}

bool Criterion::MatchesEqual(const Variant& value) const {
  switch (kind_) {
    case Kind::Blank:
      return value.IsEmpty() || (value.IsText() && value.AsText().empty());
    case Kind::Empty:
      return value.IsEmpty();
    case Kind::Number: {
      if (value.IsNumber() || value.IsDate())
        return CompareNumbers(value.AsNumber(), operand_.AsNumber()) == 0;
      std::optional<double> number;
      if (value.IsText()) number = ReadNumber(value.AsText(), locale_);
      return number && CompareNumbers(*number, operand_.AsNumber()) == 0;
    }
    case Kind::Boolean:
    case Kind::Error:
      return value == operand_;
    case Kind::Text:
      return value.IsText() && pattern_->Matches(value.AsText());
  }
  return false;
}

}  // namespace tavrin
