#include "server/changed_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavrin {
namespace {

using Areas = std::vector<std::string>;

// The page reads these areas back as addresses: a name that reads as a cell or starts with a
// digit is quoted, or "1Q!B2" would name no sheet.
TEST(ChangedAreasTest, NameEachSheetAsAReferenceWritesIt) {
  ChangedCells cells = {{"Sales", {{2, 2}}},
                        {"1Q", {{2, 2}, {2, 3}, {3, 2}, {3, 3}}},
                        {"A1", {{1, 1}}},
                        {"It's", {{5, 4}}}};
  EXPECT_EQ(ChangedAreas(cells), (Areas{"'1Q'!B2:C3", "'A1'!A1", "'It''s'!D5", "Sales!B2"}));
}

}  // namespace
}  // namespace tavrin
