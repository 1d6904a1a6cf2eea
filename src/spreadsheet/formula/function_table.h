#pragma once

#include <string_view>
#include <unordered_map>

#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/formula/formula_text.h"

namespace tavrin {

// The worksheet functions by upper-case name; each family adds its own.
using FunctionTable = std::unordered_map<std::string_view, FunctionSpec>;

void AddMathFunctions(FunctionTable& table);
void AddArrayFunctions(FunctionTable& table);
void AddLogicalFunctions(FunctionTable& table);
void AddInfoFunctions(FunctionTable& table);
void AddStatisticalFunctions(FunctionTable& table);
void AddConditionalFunctions(FunctionTable& table);
void AddTextFunctions(FunctionTable& table);
void AddDateFunctions(FunctionTable& table);
void AddLookupFunctions(FunctionTable& table);
void AddReferenceFunctions(FunctionTable& table);
void AddNumberFunctions(FunctionTable& table);
void AddDistributionFunctions(FunctionTable& table);
void AddConversionFunctions(FunctionTable& table);
void AddWorkdayFunctions(FunctionTable& table);

}  // namespace tavrin
