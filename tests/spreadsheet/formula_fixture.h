#pragma once

#include <string>

#include "sheet_fixture.h"

namespace tavrin {

// A sheet to compute formulas on: Eval writes one into Z1 and reads its value.
class FormulaTest : public SheetTest {
 protected:
  Variant Eval(const std::string& formula) {
    Set("Z1", formula.c_str());
    return Get("Z1");
  }
};

}  // namespace tavrin
