#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "host/variant.h"

namespace tavrin {

// A function that cell formulas call by name, provided by the host's owner rather than the host
// (as the host runs an automation add-in's functions): the values of its arguments as the cell
// hands them over, nothing for an omitted one; its result is what the cell shows.
using CellArguments = std::vector<std::optional<Variant>>;
using CellFunction = std::function<Variant(const CellArguments& arguments)>;

}  // namespace tavrin
