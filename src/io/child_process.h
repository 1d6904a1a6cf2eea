#pragma once

#include <functional>
#include <string>

namespace tavrin {

// Runs the work in a child process and returns the bytes it returned. Whatever memory the work
// takes, or a library it calls keeps for good, is the child's and goes with it. A FormatError
// the work throws is thrown here with its message; a child that ends any other way fails as a
// damaged workbook (FormatError).
std::string RunInChild(const std::function<std::string()>& work);

}  // namespace tavrin
