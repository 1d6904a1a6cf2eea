#pragma once

#include <set>
#include <string>
#include <utility>

#include <nlohmann/json_fwd.hpp>

#include "host/address.h"

namespace tavrin {

class Book;
class Sheet;

// The sheets as the page lists them: [{"name", "lastRow", "lastColumn"}], the used area's
// extent (0 when a sheet is empty).
nlohmann::json SheetList(Book& book);

// The selection of a sheet as the user reads it: "A1:B3", areas joined by commas.
std::string SelectionText(Sheet& sheet);

// The rows and columns whose height or width differs from the default, or that are hidden. A
// row without a height of its own is as tall as the most lines of a text in it.
nlohmann::json LayoutOf(Sheet& sheet);

// The cells of a block that hold something: their text as shown in their column and number
// format, their formula or (when it differs from the text) the constant as typed, whether a
// number, their look, and whether the last run changed them (`changed` may be null).
nlohmann::json CellsOf(Sheet& sheet, const Area& block,
                       const std::set<std::pair<int, int>>* changed);

// What the status bar tells of a selection, as the host's does: how many cells hold something,
// and of the numbers among them, how many, their sum and their average (as General shows them).
nlohmann::json SelectionSummary(Sheet& sheet, const Area& block);

}  // namespace tavrin
