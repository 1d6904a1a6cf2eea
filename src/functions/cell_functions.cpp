#include "functions/cell_functions.h"

#include <cctype>
#include <cmath>
#include <cstdint>

#include "component/korvel.h"
#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

// The runtime's CByte of an argument: nothing when it is missing, no number or out of range.
std::optional<std::uint8_t> Byte(const std::optional<Variant>& argument, const UserLocale& locale) {
  if (!argument) return std::nullopt;
  try {
    double number = std::nearbyint(NumberOf(*argument, locale));
    if (number < 0 || number > 255) return std::nullopt;
    return static_cast<std::uint8_t>(number);
  } catch (const HostError&) {
    return std::nullopt;
  }
}

const Variant kValueError{ErrorValue::Value};

}  // namespace

std::vector<NamedCellFunction> ConversionCellFunctions(Korvel& component,
                                                       const UserLocale& locale) {
  auto groups = [](const CellArguments& arguments, size_t at) {
    return arguments.size() > at && arguments[at] ? *arguments[at] : Variant(0);
  };
  return {
      {"ToDec",
       [&component, locale](const CellArguments& arguments) {
         std::optional<std::uint8_t> base =
             arguments.size() == 2 ? Byte(arguments[1], locale) : std::nullopt;
         if (!base || !arguments[0]) return kValueError;
         return component.ToDec(*arguments[0], *base);
       }},
      {"DecTo",
       [&component, locale, groups](const CellArguments& arguments) {
         std::optional<std::uint8_t> base = arguments.size() == 2 || arguments.size() == 3
                                                ? Byte(arguments[1], locale)
                                                : std::nullopt;
         if (!base || !arguments[0]) return kValueError;
         return component.DecTo(*arguments[0], *base, groups(arguments, 2));
       }},
      {"BaseToBase",
       [&component, locale, groups](const CellArguments& arguments) {
         bool counted = arguments.size() == 3 || arguments.size() == 4;
         std::optional<std::uint8_t> from = counted ? Byte(arguments[1], locale) : std::nullopt;
         std::optional<std::uint8_t> to = counted ? Byte(arguments[2], locale) : std::nullopt;
         if (!from || !to || !arguments[0]) return kValueError;
         return component.BaseToBase(*arguments[0], *from, *to, groups(arguments, 3));
       }},
  };
}

std::string CalcFileName(const std::string& name) {
  std::string full = std::string(kConversionAddInService) + "." + name;
  for (char& c : full) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return full;
}

}  // namespace tavrin
