#pragma once

#include <string>
#include <string_view>

#include <rtl/ustring.hxx>

namespace tavrin {

// Texts between the toolbox (UTF-8) and UNO (UTF-16).
std::string Utf8(const rtl::OUString& text);
rtl::OUString Unicode(std::string_view text);

}  // namespace tavrin
