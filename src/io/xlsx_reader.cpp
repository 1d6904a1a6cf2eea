#include "io/xlsx_reader.h"

#include <algorithm>
#include <memory>

#include "io/file_error.h"
#include "io/rows_ahead.h"
#include "io/sheet_names.h"
#include "io/sheet_rows.h"
#include "io/worksheet_reader.h"
#include "io/xlsx_origin.h"
#include "io/xml_text.h"
#include "io/zip_reader.h"
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

// Below this size a part is inflated at once; a larger sheet is read as it is inflated, and any
// other large part inflated once the sheets are known.
constexpr uint64_t kReadAsInflatedFrom = uint64_t{1} << 20;

// The package's parts as they are inflated: the small ones at once, the large ones when asked for.
class Package {
 public:
  Package(std::string_view archive, XlsxOrigin& origin) : entries_(archive), origin_(origin) {
    for (size_t i = 0; i < entries_.Count(); ++i) {
      bool large = entries_.Claim(i) >= kReadAsInflatedFrom;
      origin.parts.push_back({entries_.Name(i), large ? std::string() : entries_.Inflate(i)});
      if (large) waiting_.push_back(i);
    }
  }

  // Whether a large part waits to be inflated.
  bool Waiting(std::string_view name) const { return IndexOf(name) != waiting_.end(); }
  // The part inflated whole, nullptr when the package has none of that name.
  const PackagePart* Whole(std::string_view name) {
    if (auto at = IndexOf(name); at != waiting_.end()) {
      origin_.parts[*at].bytes = entries_.Inflate(*at);
      waiting_.erase(at);
    }
    return origin_.Find(name);
  }
  // Inflates every part still waiting but those named.
  void InflateAllBut(const std::vector<std::string>& names) {
    for (size_t i : std::vector<size_t>(waiting_)) {
      if (std::find(names.begin(), names.end(), origin_.parts[i].name) == names.end())
        Whole(origin_.parts[i].name);
    }
  }
  // Starts inflating a waiting part into a text, a MB at a time; the part's bytes when whole.
  ZipEntries::Inflater Open(std::string_view name, std::string& text) {
    auto at = IndexOf(name);
    if (at == waiting_.end())
      throw FormatError("the workbook is damaged (" + std::string(name) + ")");
    size_t entry = *at;
    waiting_.erase(at);
    return entries_.Open(entry, text);
  }
  // Where a part's bytes go.
  std::string& Bytes(std::string_view name) {
    return std::find_if(origin_.parts.begin(), origin_.parts.end(),
                        [&](const PackagePart& p) { return p.name == name; })
        ->bytes;
  }

 private:
  std::vector<size_t>::const_iterator IndexOf(std::string_view name) const {
    return std::find_if(waiting_.begin(), waiting_.end(),
                        [&](size_t i) { return origin_.parts[i].name == name; });
  }

  ZipEntries entries_;
  XlsxOrigin& origin_;
  std::vector<size_t> waiting_;  // large parts not yet inflated, by index
};

// Parts are read by the plain names of their elements. One whose elements carry a namespace
// prefix ("x:sheetData") would read as empty and lose its cells when written back: it is refused.
void ParseUnprefixed(pugi::xml_document& xml, std::string_view bytes, const std::string& name) {
  ParseXml(xml, bytes, name);
  std::string root = xml.document_element().name();
  if (root.find(':') != std::string::npos)
    throw FormatError(name + " is written with namespace prefixes (" + root +
                      "), which cannot be read yet");
}

// The parsed XML of a part; a missing part fails as a package that is no workbook.
void ParsePart(Package& package, const std::string& name, pugi::xml_document& xml) {
  const PackagePart* part = package.Whole(name);
  if (part == nullptr) throw FormatError("not an .xlsx workbook (it has no " + name + ")");
  ParseUnprefixed(xml, part->bytes, name);
}

// The relationships of a part, its relationships part inflated first.
std::vector<Relationship> RelationshipsOf(Package& package, const XlsxOrigin& origin,
                                          const std::string& part) {
  package.Whole(RelationshipsPart(part));
  return origin.RelationshipsOf(part);
}

// The relationship id of a sheet element, whatever prefix its namespace has.
std::string RelationshipIdOf(pugi::xml_node sheet) {
  for (pugi::xml_attribute a : sheet.attributes()) {
    std::string_view name = a.name();
    if (name.ends_with(":id")) return a.value();
  }
  return "";
}

// The parts a sheet's relationship may not name: the content types, every relationships part,
// the workbook, and every part the package or the workbook relates to as anything but a
// worksheet. A sheet would be written back over it, and the saved file not open again.
std::vector<std::string> PartsOfNoSheet(const XlsxOrigin& origin,
                                        const std::vector<Relationship>& packageRelationships,
                                        const std::vector<Relationship>& relationships) {
  std::vector<std::string> parts = {"[Content_Types].xml", origin.workbookPart};
  for (const Relationship& r : packageRelationships) parts.push_back(r.target);
  for (const Relationship& r : relationships) {
    if (!IsRelationshipType(r.type, "worksheet")) parts.push_back(r.target);
  }
  for (const PackagePart& part : origin.parts) {
    if (part.name.ends_with(".rels")) parts.push_back(part.name);
  }
  return parts;
}

struct SheetToRead {
  XlsxSheetOrigin origin;
  std::unique_ptr<pugi::xml_document> xml;  // the part without its cells
  std::string_view sheetData;
  bool arriving = false;  // read as it is inflated
};

// A large sheet read as its part is inflated: the cells first, a second thread inflating and
// scanning ahead of them, then the rest of the part, whole by then.
void ReadArrivingWorksheet(Package& package, SheetToRead& read, Sheet& sheet,
                           const std::vector<std::string>& sharedStrings,
                           const WorkbookStyles& styles, ReadBudget& budget) {
  const std::string& name = read.origin.part;
  std::string text;
  ZipEntries::Inflater inflater = package.Open(name, text);
  ArrivingPart arriving{text, [&] { return inflater.More(text); }};
  size_t from = inflater.StaysPut() ? ArriveAtCells(arriving) : std::string_view::npos;
  RowHeights heights;
  if (from != std::string_view::npos) {
    RowsAhead rows(arriving, from, name);
    heights = ReadWorksheetCells(rows, sheet, sharedStrings, styles, budget);
  }
  while (inflater.More(text)) {
  }
  std::string& bytes = package.Bytes(name);
  bytes = std::move(text);
  SheetPartSplit split = SplitSheetPart(bytes, name);
  ParseUnprefixed(*read.xml, split.rest, name);
  if (from != std::string_view::npos) {
    ReadWorksheetRest(*read.xml, heights, sheet, styles.Count());
  } else {
    ReadWorksheet(*read.xml, split.sheetData, name, sheet, sharedStrings, styles, budget);
  }
}

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
      sheet.EditLayout([&](SheetLayout& layout) { layout.printArea = text; });
    }
  }
}

// The cell formats: what they say about dates, and their looks.
void ReadStyles(Package& package, const std::vector<Relationship>& relationships, bool date1904,
                XlsxOrigin& origin) {
  origin.styles.date1904 = date1904;
  const Relationship* r = FindRelationship(relationships, "styles");
  if (r == nullptr) return;
  pugi::xml_document styles;
  ParsePart(package, r->target, styles);
  origin.styles = WorkbookStyles::Of(styles, date1904);
  // The theme part is written with prefixes (a:theme) and only its colours are read: one that
  // is missing or does not parse leaves theme colours out.
  pugi::xml_document theme;
  if (const Relationship* t = FindRelationship(relationships, "theme")) {
    if (const PackagePart* part = package.Whole(t->target))
      theme.load_buffer(part->bytes.data(), part->bytes.size());
  }
  origin.looks = CellLooks(styles, theme);
}

std::vector<std::string> ReadSharedStrings(Package& package,
                                           const std::vector<Relationship>& relationships) {
  std::vector<std::string> sharedStrings;
  if (const Relationship* r = FindRelationship(relationships, "sharedStrings")) {
    pugi::xml_document strings;
    ParsePart(package, r->target, strings);
    for (pugi::xml_node si : strings.child("sst").children("si"))
      sharedStrings.push_back(RichText(si));
  }
  return sharedStrings;
}

// The workbook's sheets in order, each with its part split and parsed, or waiting to be read as
// it is inflated; a chart sheet stays without a part and is left out. A sheet naming a part
// that is missing, that is no sheet's or that another sheet names is damage.
std::vector<SheetToRead> SheetsToRead(Package& package, const XlsxOrigin& origin,
                                      pugi::xml_node root,
                                      const std::vector<Relationship>& relationships,
                                      const std::vector<std::string>& noSheet) {
  std::vector<SheetToRead> sheets;
  for (pugi::xml_node sheet : root.child("sheets").children("sheet")) {
    SheetToRead read;
    read.origin = {sheet.attribute("name").as_string(), "", RelationshipIdOf(sheet),
                   sheet.attribute("sheetId").as_string()};
    for (const Relationship& r : relationships) {
      if (r.id != read.origin.relationshipId || !IsRelationshipType(r.type, "worksheet")) continue;
      const PackagePart* part = origin.Find(r.target);
      if (part == nullptr) throw FormatError("not an .xlsx workbook (it has no " + r.target + ")");
      if (std::find(noSheet.begin(), noSheet.end(), r.target) != noSheet.end())
        throw FormatError("the workbook is damaged (a sheet names " + r.target + ")");
      for (const SheetToRead& other : sheets) {
        if (other.origin.part == r.target)
          throw FormatError("the workbook is damaged (two sheets share " + r.target + ")");
      }
      read.origin.part = r.target;
      read.xml = std::make_unique<pugi::xml_document>();
      if (package.Waiting(r.target)) {
        read.arriving = true;
        continue;
      }
      SheetPartSplit split = SplitSheetPart(part->bytes, r.target);
      read.sheetData = split.sheetData;
      ParseUnprefixed(*read.xml, split.rest, r.target);
    }
    sheets.push_back(std::move(read));
  }
  return sheets;
}

// Adds the sheets to the workbook and fills them; by their index in the file, nullptr for one
// left out.
std::vector<Sheet*> ReadSheets(Package& package, std::vector<SheetToRead>& sheets,
                               const std::vector<std::string>& sharedStrings, Book& book,
                               XlsxOrigin& origin) {
  std::vector<Sheet*> byFileIndex;
  ReadBudget budget;
  for (SheetToRead& read : sheets) {
    if (!read.xml) {
      byFileIndex.push_back(nullptr);
      continue;
    }
    Sheet& sheet = book.AddSheet(read.origin.name);
    if (read.arriving) {
      ReadArrivingWorksheet(package, read, sheet, sharedStrings, origin.styles, budget);
    } else {
      ReadWorksheet(*read.xml, read.sheetData, read.origin.part, sheet, sharedStrings,
                    origin.styles, budget);
    }
    byFileIndex.push_back(&sheet);
    origin.sheets.push_back(std::move(read.origin));
  }
  return byFileIndex;
}

}  // namespace

Book& ReadXlsx(Spreadsheet& application, const std::string& bookName, std::string_view bytes) {
  auto origin = std::make_shared<XlsxOrigin>();
  Package package(bytes, *origin);
  std::vector<Relationship> packageRelationships = RelationshipsOf(package, *origin, "");
  const Relationship* document = FindRelationship(packageRelationships, "officeDocument");
  if (document == nullptr) throw FormatError("not an .xlsx workbook (it has no workbook part)");
  origin->workbookPart = document->target;
  // Every save edits the content types: a package whose list does not parse is refused now.
  pugi::xml_document types;
  ParsePart(package, "[Content_Types].xml", types);
  pugi::xml_document workbook;
  ParsePart(package, origin->workbookPart, workbook);
  std::vector<Relationship> relationships = RelationshipsOf(package, *origin, origin->workbookPart);

  pugi::xml_node root = workbook.child("workbook");
  ReadStyles(package, relationships, root.child("workbookPr").attribute("date1904").as_bool(),
             *origin);
  std::vector<std::string> sharedStrings = ReadSharedStrings(package, relationships);
  // Every part is parsed before the workbook is added, so a damaged file adds nothing; but for a
  // large sheet, read as it is inflated, which takes the workbook back when found damaged.
  std::vector<SheetToRead> sheets =
      SheetsToRead(package, *origin, root, relationships,
                   PartsOfNoSheet(*origin, packageRelationships, relationships));
  if (std::none_of(sheets.begin(), sheets.end(), [](const auto& s) { return s.xml != nullptr; })) {
    throw FormatError("the workbook has no worksheets");
  }
  std::vector<std::string> names;
  for (const SheetToRead& read : sheets) names.push_back(read.origin.name);
  CheckSheetNames(names);
  std::vector<std::string> arriving;
  for (const SheetToRead& read : sheets) {
    if (read.arriving) arriving.push_back(read.origin.part);
  }
  package.InflateAllBut(arriving);
  Book* book = &application.AddWorkbook(bookName);
  std::vector<Sheet*> byFileIndex;
  try {
    byFileIndex = ReadSheets(package, sheets, sharedStrings, *book, *origin);
    ReadDefinedNames(root.child("definedNames"), byFileIndex);
  } catch (...) {
    // Cells are read as the rows come: a row found damaged, or a large sheet's part, takes the
    // workbook back.
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
