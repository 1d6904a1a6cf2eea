#pragma once

#include <string>
#include <vector>

#include "host/cell_function.h"
#include "host/user_locale.h"

namespace tavrin {

class Korvel;

// The component's conversion functions as cell formulas call them when the host runs the
// component as an automation add-in: =ToDec(A1,16), =DecTo(255,2,4), =BaseToBase("FF",16,2).
// A base is a byte to the component: a number (or a text that reads as one) rounded half to
// even, from 0 to 255; anything else, like a missing number or base, is #VALUE!, as the host
// shows a call the component cannot take. The group size may be left out. The component must
// stay while cells call them.
struct NamedCellFunction {
  std::string name;
  CellFunction call;
};

// The service of the component's add-in in LibreOffice Calc. Calc writes a call of an add-in's
// function into a workbook file by the service's name and the function's, upper case
// ("ORG.TAVRIN.CONVERSIONFUNCTIONS.TODEC"), and reads only that name back.
inline constexpr const char* kConversionAddInService = "org.tavrin.ConversionFunctions";
// The name Calc gives a conversion function ("ToDec") in the files it writes.
std::string CalcFileName(const std::string& name);
std::vector<NamedCellFunction> ConversionCellFunctions(Korvel& component, const UserLocale& locale);

}  // namespace tavrin
