#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tavrin {

// The page's own help for a tool, in the words of its dialog: what it does, each field of the
// dialog (by control name) and an example on the example workbook.
struct PageHelp {
  std::string what;
  std::vector<std::pair<std::string, std::string>> fields;  // control, what to enter
  std::string example;
};

// The help of a tool's method ("HZ"); null for a method without one.
const PageHelp* PageHelpOf(const std::string& method);

}  // namespace tavrin
