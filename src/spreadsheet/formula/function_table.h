#pragma once

#include <string_view>
#include <unordered_map>

#include "spreadsheet/formula/formula_eval.h"

namespace tavrin {

// The worksheet functions by upper-case name; each family adds its own.
using FunctionTable = std::unordered_map<std::string_view, SheetFunction>;

void AddMathFunctions(FunctionTable& table);
void AddLookupFunctions(FunctionTable& table);

}  // namespace tavrin
