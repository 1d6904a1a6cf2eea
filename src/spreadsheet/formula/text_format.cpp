#include "spreadsheet/formula/text_format.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "host/variant_rules.h"
#include "spreadsheet/formula/format_section.h"
#include "spreadsheet/formula/formula_eval.h"

namespace tavrin {

namespace {

// A text: the fourth section, or a single one holding "@"; else the text as it is.
Variant FormatTextValue(const Variant& value, const std::vector<std::string_view>& sections) {
  std::string_view textCode;
  if (sections.size() >= 4) {
    textCode = sections[3];
  } else if (sections.size() == 1 && ParseFormatSection(sections[0]).text) {
    textCode = sections[0];
  } else {
    return value;
  }
  std::string out;
  for (const FormatToken& token : ParseFormatSection(textCode).tokens)
    out += token.kind == FormatToken::Kind::Text ? value.AsText() : token.text;
  return TextResult(std::move(out));
}

// The section a number is shown by, and whether it shows a minus sign. Without conditions the
// second section is for negative numbers (shown without a sign) and the third for zero; with
// them, the first section whose condition holds, else the next one without a condition.
size_t SectionFor(const std::vector<FormatSection>& sections, double x, bool& minus) {
  minus = x < 0;
  bool conditional = sections[0].condition || (sections.size() > 1 && sections[1].condition);
  if (conditional) {
    for (size_t i = 0; i < sections.size() && i < 3; ++i) {
      if (!sections[i].condition || sections[i].condition->Holds(x)) return i;
    }
    return sections.size() > 2 ? 2 : sections.size() - 1;
  }
  if (x < 0 && sections.size() >= 2) return minus = false, 1;
  if (x == 0 && sections.size() >= 3) return 2;
  return 0;
}

}  // namespace

Variant FormatText(const Variant& value, std::string_view code) {
  if (value.IsError()) return value;
  if (value.IsBoolean()) return Variant(value.AsBoolean() ? "TRUE" : "FALSE");
  std::vector<std::string_view> codes = FormatSections(code);
  std::optional<double> number;
  if (value.IsNumber() || value.IsDate()) number = value.AsNumber();
  if (value.IsEmpty()) number = 0;
  if (value.IsText()) {
    Variant read = ToNumber(value);
    if (!read.IsError()) number = read.AsNumber();
  }
  if (!number) return FormatTextValue(value, codes);
  std::vector<FormatSection> sections;
  for (size_t i = 0; i < codes.size() && i < 3; ++i)
    sections.push_back(ParseFormatSection(codes[i]));
  bool minus = false;
  const FormatSection& section = sections[SectionFor(sections, *number, minus)];
  double x = std::abs(*number);
  // A number shown by a section for texts ("@") shows as General does.
  if (section.general || section.text) {
    std::string out = minus ? "-" : "";
    for (const FormatToken& token : section.tokens) {
      bool shows =
          token.kind == FormatToken::Kind::General || token.kind == FormatToken::Kind::Text;
      out += shows ? NumberText(x, UserLocale{}) : token.text;
    }
    return Variant(out);
  }
  if (section.date) {
    if (minus) return Variant(ErrorValue::Value);
    return FormatDate(section, x);
  }
  return FormatNumber(section, x, minus);
}

}  // namespace tavrin
