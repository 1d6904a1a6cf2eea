#pragma once

#include <optional>
#include <string>

#include "host/user_locale.h"
#include "host/variant.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

// A COUNTIF criterion as the host reads it. A number, Boolean or error value asks for equality;
// an empty value (an empty criterion cell) asks for 0. A text may begin with "=", "<>", "<",
// "<=", ">" or ">="; the rest is read as a number (compared with number cells, and for equality
// also with texts that read as that number), as TRUE or FALSE, as an error value, or else as a
// text pattern with wildcards, letter case ignored, matched against texts only. Numbers compare
// to 15 significant digits, as "=" compares them. "" alone matches blank cells (empty, or the
// text ""), "=" empty cells only, "<>" every cell that is not empty. "<>x" matches exactly what
// "=x" does not.
class Criterion {
 public:
  enum class Kind { Blank, Empty, Number, Boolean, Error, Text };
  // An equality an index of values can answer: what it compares with and the value (the number,
  // the Boolean or the text).
  struct Equality {
    Kind kind;
    Variant value;
  };

  Criterion(const Variant& criteria, const UserLocale& locale);

  // Whether a cell's value matches; an empty cell's value is Empty.
  bool Matches(const Variant& value) const;
  // The equality this criterion asks for; nothing for comparisons, "<>", error values and texts
  // with wildcards ("~*" is none: the criterion asks for the text "*").
  std::optional<Equality> PlainEquality() const;

 private:
  enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

  bool MatchesEqual(const Variant& value) const;
  bool Holds(int order) const;

  Op op_ = Op::Equal;
  Kind kind_ = Kind::Blank;
  Variant operand_;
  std::optional<WildcardPattern> pattern_;
  UserLocale locale_;  // a copy: a criterion outlives the locale it was made with
};

}  // namespace tavrin
