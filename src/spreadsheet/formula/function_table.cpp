#include "spreadsheet/formula/function_table.h"

namespace tavrin {

const FunctionSpec* FindFunction(std::string_view name) {
  static const FunctionTable table = [] {
    FunctionTable all;
    AddMathFunctions(all);
    AddArrayFunctions(all);
    AddLogicalFunctions(all);
    AddInfoFunctions(all);
    AddStatisticalFunctions(all);
    AddConditionalFunctions(all);
    AddTextFunctions(all);
    AddDateFunctions(all);
    AddLookupFunctions(all);
    AddReferenceFunctions(all);
    AddNumberFunctions(all);
    AddDistributionFunctions(all);
    AddConversionFunctions(all);
    AddWorkdayFunctions(all);
    return all;
  }();
  auto found = table.find(name);
  return found == table.end() ? nullptr : &found->second;
}

}  // namespace tavrin
