#pragma once

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin {

// The content types and relationship URIs the workbook files use.
namespace xlsx {
inline constexpr char kRelationshipsNamespace[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
inline constexpr char kWorksheetType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
inline constexpr char kStylesType[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles";
inline constexpr char kWorksheetContent[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";
inline constexpr char kStylesContent[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml";
inline constexpr char kWorkbookContent[] =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
}  // namespace xlsx

// A relationship to add: its id, type URI and target as written (relative to the part).
struct NewRelationship {
  std::string id;
  std::string type;
  std::string target;
};

// A relationships part with the relationships of the given ids and types removed (a damaged part
// may give two relationships one id) and the new ones added; "" as the original starts from an
// empty one.
std::string EditRelationships(std::string_view original,
                              const std::set<std::pair<std::string, std::string>>& removed,
                              const std::vector<NewRelationship>& added);

// The content types part with the overrides of removed parts dropped and the given parts
// (package paths, content types) added; "" as the original starts from the basic defaults.
std::string EditContentTypes(std::string_view original, const std::set<std::string>& removed,
                             const std::vector<std::pair<std::string, std::string>>& added);

}  // namespace tavrin
