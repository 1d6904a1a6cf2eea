#include "host/application.h"

#include "host/address.h"
#include "host/host_error.h"
#include "host/worksheet.h"

namespace tavrin {

const Range& RangeOrValue::AsRange() const {
  if (!range_) throw HostError::ObjectRequired();
  return *range_;
}

Variant RangeOrValue::Value() const {
  return range_ ? range_->Value() : value_;
}

RangeOrValue EvaluateAddress(std::string_view text, Worksheet& activeSheet,
                             const std::function<Worksheet*(const std::string&)>& sheetNamed) {
  std::optional<ParsedAddress> parsed = ParseAddress(text);
  if (!parsed) {
    bool blank = text.find_first_not_of(" \t") == std::string_view::npos;
    return Variant(blank ? ErrorValue::Value : ErrorValue::Name);
  }
  Worksheet* sheet = parsed->sheet.empty() ? &activeSheet : sheetNamed(parsed->sheet);
  if (sheet == nullptr) return Variant(ErrorValue::Ref);
  return Range(*sheet, std::move(parsed->areas));
}

RangeOrValue InputBoxAnswer(const std::optional<std::string>& answer, int type,
                            const std::function<RangeOrValue(std::string_view)>& evaluate) {
  if (!answer) return Variant::Boolean(false);
  if (type != 8) return Variant(*answer);
  std::string_view address = *answer;
  if (!address.empty() && address.front() == '=') address.remove_prefix(1);
  RangeOrValue result = evaluate(address);
  return result.IsRange() ? result : RangeOrValue(Variant::Boolean(false));
}

}  // namespace tavrin
