#include "host/typed_entry.h"

#include <algorithm>
#include <array>

#include "host/characters.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

constexpr std::array kErrorValues = {ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value,
                                     ErrorValue::Ref,  ErrorValue::Name, ErrorValue::Num,
                                     ErrorValue::NA};

// The words compared here are ASCII, so folding ASCII letters is folding them all.
bool SameWord(std::string_view text, std::string_view word) {
  return std::ranges::equal(text, word, [](char t, char w) { return Upper(t) == w; });
}

TypedEntry ReadText(const std::string& text, const UserLocale& locale) {
  if (text.empty()) return {};
  if (text.size() > 1 && text.front() == '=') return {Variant(text), true};
  if (text.front() == '\'') return {Variant(text.substr(1))};
  if (std::optional<double> number = ReadNumber(text, locale)) return {Variant(*number)};
  // Only texts as short as "FALSE" or "#DIV/0!" can be Booleans or error values.
  if (text.size() <= 7) {
    if (SameWord(text, "TRUE")) return {Variant::Boolean(true)};
    if (SameWord(text, "FALSE")) return {Variant::Boolean(false)};
    for (ErrorValue error : kErrorValues) {
      if (SameWord(text, ErrorText(error))) return {Variant(error)};
    }
  }
  return {Variant(text)};
}

}  // namespace

TypedEntry ReadTypedEntry(const Variant& value, const UserLocale& locale) {
  if (value.IsText()) return ReadText(value.AsText(), locale);
  return {value};
}

}  // namespace tavrin
