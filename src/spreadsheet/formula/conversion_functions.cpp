#include <cmath>
#include <string>

#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/formula/text_format.h"

namespace tavrin {

namespace {

// N: a number (a date, TRUE as 1) as it is, any other value 0; error values stay.
Operand N(Evaluator& eval, const Args& args) {
  Variant value = eval.Scalar(eval.Eval(args[0]));
  if (value.IsError()) return value;
  if (value.IsNumber() || value.IsDate()) return Variant(value.AsNumber());
  return Variant(value.IsBoolean() && value.AsBoolean() ? 1.0 : 0.0);
}

// T: a text as it is, any other value "".
Operand T(Evaluator& eval, const Args& args) {
  Variant value = eval.Scalar(eval.Eval(args[0]));
  if (value.IsError() || value.IsText()) return value;
  return Variant("");
}

// DATEVALUE and TIMEVALUE: the date (the whole days) or the time (the fraction) of a text that
// reads as a date or a time; any other value is #VALUE!.
template <bool kDate>
Operand DateOrTimeValue(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    const Variant& value = values[0];
    if (value.IsError()) return value;
    std::optional<double> serial;
    if (value.IsText() && MayBeValueText(value.AsText())) serial = ReadValueText(value.AsText());
    if (!serial || *serial < 0 || *serial >= kLastSerial + 1 || value.AsText().ends_with('%'))
      return Variant(ErrorValue::Value);
    double day = std::floor(*serial);
    return Variant(kDate ? day : *serial - day);
  });
}

// A number rounded to decimals and shown by a format code made for them: FIXED (thousands
// separators unless asked not to), DOLLAR and RMB (the Chinese locale's currency, "¥1,234.57",
// "¥-1,234.57"). Decimals left of the point round the number there and show none.
enum class Shown { Fixed, Currency };

template <Shown kShown>
Operand Fixed(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    Variant error = FirstError(values);
    if (error.IsError()) return error;
    Variant number = ToNumber(values[0]);
    Variant decimals =
        values.size() > 1 && !values[1].IsEmpty() ? ToNumber(values[1]) : Variant(2.0);
    if (number.IsError()) return number;
    if (decimals.IsError()) return decimals;
    double places = std::trunc(decimals.AsNumber());
    if (places > 127) return Variant(ErrorValue::Value);
    double rounded = RoundDigits(number.AsNumber(), places, Rounding::Nearest);
    bool commas = values.size() < 3 || ToNumber(values[2]).AsNumber() == 0;
    std::string code = kShown == Shown::Currency || commas ? "#,##0" : "0";
    if (places > 0) code += "." + std::string(static_cast<size_t>(places), '0');
    if (kShown == Shown::Currency) code = "¥" + code + ";¥-" + code;
    return FormatText(Variant(rounded), code);
  });
}

// CLEAN: the text without the characters that do not print (codes 0 to 31).
Operand Clean(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    if (values[0].IsError()) return values[0];
    std::string text = ValueText(values[0]);
    std::erase_if(text, [](char c) { return static_cast<unsigned char>(c) < 32; });
    return Variant(text);
  });
}

}  // namespace

void AddConversionFunctions(FunctionTable& table) {
  table["N"] = {N, 1, 1};
  table["T"] = {T, 1, 1};
  table["DATEVALUE"] = {DateOrTimeValue<true>, 1, 1};
  table["TIMEVALUE"] = {DateOrTimeValue<false>, 1, 1};
  table["FIXED"] = {Fixed<Shown::Fixed>, 1, 3};
  table["DOLLAR"] = {Fixed<Shown::Currency>, 1, 2};
  table["RMB"] = {Fixed<Shown::Currency>, 1, 2};
  table["CLEAN"] = {Clean, 1, 1};
}

}  // namespace tavrin
