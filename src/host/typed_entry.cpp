#include "host/typed_entry.h"

#include <array>

#include "host/variant_rules.h"

namespace tavrin {

namespace {

constexpr std::array kErrorValues = {ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value,
                                     ErrorValue::Ref,  ErrorValue::Name, ErrorValue::Num,
                                     ErrorValue::NA};

// The words compared here are ASCII, so folding ASCII letters is folding them all.
bool SameWord(std::string_view text, std::string_view word) {
  if (text.size() != word.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 'a' + 'A') : text[i];
    if (c != word[i]) return false;
  }
  return true;
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
