#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The host's rules for the sheet names of a workbook: not empty, at most 31 characters (counted
// as the host counts them, a character beyond U+FFFF as two), none of : \ / ? * [ ], and no two
// names alike when letter case is ignored.

// Fails (FormatError naming the sheet and the rule) at the first name the host would refuse.
void CheckSheetNames(const std::vector<std::string>& names);

// A name the host takes, made of any text (a file's stem): what XML cannot hold left out, the
// characters a sheet name cannot hold as "_", cut to 31 characters; "Sheet1" for nothing left.
std::string SheetNameFrom(std::string_view text);

}  // namespace tavrin
