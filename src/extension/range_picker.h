#pragma once

#include <functional>
#include <optional>
#include <string>

#include <com/sun/star/frame/XFrame.hpp>

namespace tavrin {

// Lets the user pick a range by dragging over the sheet in the frame's view, as a reference box
// does: Calc shows the title and the range picked, and the pick ends when the mouse button is
// released or the user presses Enter. `done` gets the range's address in the host's form
// ("Sheet1!$A$1:$E$121"), or nothing when the user called it off with Esc.
void PickRange(const com::sun::star::uno::Reference<com::sun::star::frame::XFrame>& frame,
               const std::string& title,
               std::function<void(const std::optional<std::string>& address)> done);

}  // namespace tavrin
