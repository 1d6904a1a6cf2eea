#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "io/cell_looks.h"
#include "io/workbook_styles.h"
#include "io/zip_archive.h"

namespace tavrin {

// The relationship types the workbook files use, by the last part of their type URI.
bool IsRelationshipType(std::string_view type, std::string_view name);

// One relationship of a package part, its target resolved to a package path.
struct Relationship {
  std::string id;
  std::string type;
  std::string target;
};

// The relationships part of a part: "xl/_rels/workbook.xml.rels" for "xl/workbook.xml".
std::string RelationshipsPart(const std::string& part);

// Where a sheet of the workbook came from in its .xlsx package.
struct XlsxSheetOrigin {
  std::string name;
  std::string part;
  std::string relationshipId;
  std::string sheetId;
};

// What a workbook read from an .xlsx file keeps for writing it back: every part as read (so
// what the model does not know is carried through), and where its sheets came from.
struct XlsxOrigin {
  std::vector<PackagePart> parts;  // in archive order
  std::string workbookPart;
  std::vector<XlsxSheetOrigin> sheets;  // in workbook order
  WorkbookStyles styles;                // what the cell formats say about dates
  std::vector<CellLook> looks;          // by cell format index: bold, fill colour

  const PackagePart* Find(std::string_view name) const;
  const XlsxSheetOrigin* FindSheet(std::string_view name) const;
  // The relationships of a part; none when it has no relationships part. XML that does not
  // parse fails (FormatError).
  std::vector<Relationship> RelationshipsOf(const std::string& part) const;
};

}  // namespace tavrin
