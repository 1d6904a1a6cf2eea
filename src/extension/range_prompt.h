#pragma once

#include <optional>
#include <string>

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace tavrin {

// The host's input box for a range, in Calc: the prompt, a box for the address, a button that picks
// the range on the sheet, 确定 and 取消. Waits for the user's answer while Calc goes on working,
// and gives the address, or nothing when the user cancelled.
std::optional<std::string> AskForRange(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context,
    const com::sun::star::uno::Reference<com::sun::star::frame::XFrame>& frame,
    const std::string& prompt, const std::string& title);

}  // namespace tavrin
