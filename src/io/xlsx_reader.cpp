#include "io/xlsx_reader.h"

#include <algorithm>
#include <memory>

#include "io/file_error.h"
#include "io/number_format.h"
#include "io/sheet_names.h"
#include "io/sheet_rows.h"
#include "io/worksheet_reader.h"
#include "io/xlsx_origin.h"
#include "io/xml_text.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

const Relationship* FindRelationship(const std::vector<Relationship>& relationships,
                                     std::string_view type) {
  for (const Relationship& r : relationships) {
    if (IsRelationshipType(r.type, type)) return &r;
  }
  return nullptr;
}

// The parsed XML of a part; a missing part fails as a package that is no workbook.
void ParsePart(const XlsxOrigin& origin, const std::string& name, pugi::xml_document& xml) {
  const PackagePart* part = origin.Find(name);
  if (part == nullptr) throw FormatError("not an .xlsx workbook (it has no " + name + ")");
  ParseXml(xml, part->bytes, name);
}

// The relationship id of a sheet element, whatever prefix its namespace has.
std::string RelationshipIdOf(pugi::xml_node sheet) {
  for (pugi::xml_attribute a : sheet.attributes()) {
    std::string_view name = a.name();
    if (name.ends_with(":id")) return a.value();
  }
  return "";
}

struct SheetToRead {
  XlsxSheetOrigin origin;
  std::unique_ptr<pugi::xml_document> xml;  // the part without its cells
  std::string_view sheetData;
};

void ReadDefinedNames(pugi::xml_node definedNames, const std::vector<Sheet*>& byFileIndex) {
  for (pugi::xml_node name : definedNames.children("definedName")) {
    pugi::xml_attribute local = name.attribute("localSheetId");
    size_t index = local.as_uint();
    if (!local || index >= byFileIndex.size() || byFileIndex[index] == nullptr) continue;
    Sheet& sheet = *byFileIndex[index];
    std::string_view kind = name.attribute("name").as_string();
    std::vector<Area> areas = ReadAreas(name.child_value());
    if (kind == "_xlnm.Print_Titles") {
      for (const Area& area : areas) {
        if (area.IsWholeRows()) sheet.PageSetup().SetPrintTitleRows(AreaAddress(area));
      }
    } else if (kind == "_xlnm.Print_Area") {
      std::string text;
      for (const Area& area : areas) text += (text.empty() ? "" : ",") + AreaAddress(area);
      sheet.Layout().printArea = text;
    }
  }
}

}  // namespace

Book& ReadXlsx(Spreadsheet& application, const std::string& bookName, std::string_view bytes) {
  auto origin = std::make_shared<XlsxOrigin>();
  origin->parts = ReadZip(bytes);
  std::vector<Relationship> packageRelationships = origin->RelationshipsOf("");
  const Relationship* document = FindRelationship(packageRelationships, "officeDocument");
  if (document == nullptr) throw FormatError("not an .xlsx workbook (it has no workbook part)");
  origin->workbookPart = document->target;
  // Every save edits the content types: a package whose list does not parse is refused now.
  pugi::xml_document types;
  ParsePart(*origin, "[Content_Types].xml", types);
  pugi::xml_document workbook;
  ParsePart(*origin, origin->workbookPart, workbook);
  std::vector<Relationship> relationships = origin->RelationshipsOf(origin->workbookPart);

  pugi::xml_document styles;
  if (const Relationship* r = FindRelationship(relationships, "styles")) {
    ParsePart(*origin, r->target, styles);
    origin->dateStyles = DateStyles(styles);
    origin->calendarStyles = CalendarStyles(styles);
    origin->looks = CellLooks(styles);
  }
  std::vector<std::string> sharedStrings;
  if (const Relationship* r = FindRelationship(relationships, "sharedStrings")) {
    pugi::xml_document strings;
    ParsePart(*origin, r->target, strings);
    for (pugi::xml_node si : strings.child("sst").children("si"))
      sharedStrings.push_back(RichText(si));
  }

  // Every part is parsed before the workbook is added, so a damaged file adds nothing.
  pugi::xml_node root = workbook.child("workbook");
  origin->date1904 = root.child("workbookPr").attribute("date1904").as_bool();
  const std::vector<bool> noStyles;
  const std::vector<bool>& styles1904 = origin->date1904 ? origin->calendarStyles : noStyles;
  std::vector<SheetToRead> sheets;
  for (pugi::xml_node sheet : root.child("sheets").children("sheet")) {
    SheetToRead read;
    read.origin = {sheet.attribute("name").as_string(), "", RelationshipIdOf(sheet),
                   sheet.attribute("sheetId").as_string()};
    for (const Relationship& r : relationships) {
      if (r.id != read.origin.relationshipId || !IsRelationshipType(r.type, "worksheet")) continue;
      const PackagePart* part = origin->Find(r.target);
      if (part == nullptr) throw FormatError("not an .xlsx workbook (it has no " + r.target + ")");
      // Each sheet is written back into its own part: two sheets of one part are damage.
      for (const SheetToRead& other : sheets) {
        if (other.origin.part == r.target)
          throw FormatError("the workbook is damaged (two sheets share " + r.target + ")");
      }
      SheetPartSplit split = SplitSheetPart(part->bytes, r.target);
      read.origin.part = r.target;
      read.sheetData = split.sheetData;
      read.xml = std::make_unique<pugi::xml_document>();
      ParseXml(*read.xml, split.rest, r.target);
    }
    sheets.push_back(std::move(read));  // a chart sheet stays without a part and is left out
  }

  if (std::none_of(sheets.begin(), sheets.end(), [](const auto& s) { return s.xml != nullptr; })) {
    throw FormatError("the workbook has no worksheets");
  }
  std::vector<std::string> names;
  for (const SheetToRead& read : sheets) names.push_back(read.origin.name);
  CheckSheetNames(names);
  Book* book = &application.AddWorkbook(bookName);
  std::vector<Sheet*> byFileIndex;
  try {
    for (SheetToRead& read : sheets) {
      if (!read.xml) {
        byFileIndex.push_back(nullptr);
        continue;
      }
      Sheet& sheet = book->AddSheet(read.origin.name);
      ReadWorksheet(*read.xml, read.sheetData, read.origin.part, sheet, sharedStrings,
                    origin->dateStyles, styles1904);
      byFileIndex.push_back(&sheet);
      origin->sheets.push_back(std::move(read.origin));
    }
    ReadDefinedNames(root.child("definedNames"), byFileIndex);
  } catch (...) {
    // Cells are read as the rows come: a row found damaged takes the workbook back.
    application.RemoveWorkbook(*book);
    throw;
  }

  size_t activeTab = root.child("bookViews").child("workbookView").attribute("activeTab").as_uint();
  Sheet* active = activeTab < byFileIndex.size() ? byFileIndex[activeTab] : nullptr;
  if (active != nullptr) active->Activate();
  book->Activate();
  if (book->GetActiveSheet().Layout().pageBreakPreview)
    book->GetWindow().SetView(xlPageBreakPreview);
  for (int i = 1; i <= book->SheetCount(); ++i) book->GetSheet(i).SetChanged(false);
  book->SetOrigin(std::shared_ptr<const XlsxOrigin>(std::move(origin)));
  return *book;
}

}  // namespace tavrin
