#pragma once

#include <com/sun/star/sheet/XFunctionAccess.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "host/worksheet_function.h"

namespace tavrin {

namespace uno = com::sun::star::uno;

// WorksheetFunction through Calc's function access, with wildcards in criteria and letter case
// ignored, as the host matches. A function that gives an error value fails as the host's does.
class CalcFunctions : public WorksheetFunction {
 public:
  explicit CalcFunctions(uno::Reference<uno::XComponentContext> context);

  double CountA(const Range& range) override;
  double CountBlank(const Range& range) override;
  double CountIf(const Range& range, const Variant& criteria) override;
  double Sum(const Range& range) override;
  double Match(const Variant& lookupValue, const Range& lookupArray, int matchType) override;
  double RoundUp(double number, double digits) override;

 private:
  // Calls a function of one range once an area and adds the results.
  double OverAreas(const char* name, const char* hostName, const Range& range);
  double Call(const char* name, const char* hostName, const uno::Sequence<uno::Any>& arguments);

  uno::Reference<uno::XComponentContext> context_;
  uno::Reference<com::sun::star::sheet::XFunctionAccess> access_;
};

}  // namespace tavrin
