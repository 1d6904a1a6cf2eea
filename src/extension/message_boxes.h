#pragma once

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "extension/calc_runtime.h"

namespace tavrin {

// Shows a box with Calc's toolkit over the frame's window and gives the runtime's answer
// (vbOK, vbCancel, vbYes, vbNo). Calc without a display answers Cancel at once.
CalcRuntime::Shower MessageBoxShower(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context,
    const com::sun::star::uno::Reference<com::sun::star::frame::XFrame>& frame);

}  // namespace tavrin
