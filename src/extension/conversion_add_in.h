#pragma once

#include <com/sun/star/uno/XComponentContext.hpp>

namespace tavrin {

namespace uno = com::sun::star::uno;

// The Calc add-in of the component's conversion functions: =TODEC("FF";16) in a cell gives 255,
// as =ToDec("FF",16) does in the embedded host.
const char* ConversionAddInImplementation();
uno::Sequence<rtl::OUString> ConversionAddInServices();
uno::Reference<uno::XInterface> CreateConversionAddIn(
    const uno::Reference<uno::XComponentContext>& context);

}  // namespace tavrin
