#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

// A test of one value, cell by cell over an array or a range.
template <bool (*kTest)(const Variant&)>
Operand Is(Evaluator& eval, const Args& args) {
  Operand operand = eval.Eval(args[0]);
  if (const Variant* value = std::get_if<Variant>(&operand)) return Variant::Boolean(kTest(*value));
  return eval.Broadcast({operand}, [](const std::vector<Variant>& values) {
    return Variant::Boolean(kTest(values[0]));
  });
}

bool Number(const Variant& value) {
  return value.IsNumber() || value.IsDate();
}
bool Blank(const Variant& value) {
  return value.IsEmpty();
}
bool Error(const Variant& value) {
  return value.IsError();
}
// ISERR: any error value but #N/A.
bool ErrorButNA(const Variant& value) {
  return value.IsError() && value.AsError() != ErrorValue::NA;
}
bool NA(const Variant& value) {
  return value.IsError() && value.AsError() == ErrorValue::NA;
}
bool Text(const Variant& value) {
  return value.IsText();
}
// ISNONTEXT: an empty cell and an error value are no text either.
bool NonText(const Variant& value) {
  return !value.IsText();
}
bool Logical(const Variant& value) {
  return value.IsBoolean();
}

Operand MakeNA(Evaluator&, const Args&) {
  return Variant(ErrorValue::NA);
}

}  // namespace

void AddInfoFunctions(FunctionTable& table) {
  table["ISNUMBER"] = {Is<Number>, 1, 1};
  table["ISBLANK"] = {Is<Blank>, 1, 1};
  table["ISERROR"] = {Is<Error>, 1, 1};
  table["ISERR"] = {Is<ErrorButNA>, 1, 1};
  table["ISNA"] = {Is<NA>, 1, 1};
  table["ISTEXT"] = {Is<Text>, 1, 1};
  table["ISNONTEXT"] = {Is<NonText>, 1, 1};
  table["ISLOGICAL"] = {Is<Logical>, 1, 1};
  table["NA"] = {MakeNA, 0, 0};
}

}  // namespace tavrin
