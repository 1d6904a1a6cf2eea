#include "io/xlsx_writer.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "io/added_formats.h"
#include "io/file_error.h"
#include "io/package_index.h"
#include "io/sheet_rows.h"
#include "io/workbook_part.h"
#include "io/worksheet_writer.h"
#include "io/xlsx_origin.h"
#include "io/xml_text.h"
#include "io/zip_archive.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

constexpr char kMinimalStyles[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<fonts count=\"1\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font>"
    "</fonts><fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill>"
    "<fill><patternFill patternType=\"gray125\"/></fill></fills>"
    "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
    "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/>"
    "</cellStyleXfs><cellXfs count=\"2\">"
    "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>"
    "<xf numFmtId=\"14\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\" "
    "applyNumberFormat=\"1\"/></cellXfs>"
    "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
    "</styleSheet>";

constexpr char kRootRelationships[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
    "Target=\"xl/workbook.xml\"/></Relationships>";

// A sheet id as read: a whole number, anything else (or one past a million) counted as 0.
int SheetIdOf(const std::string& text) {
  int id = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
  return error == std::errc() && id > 0 && id < 1000000 ? id : 0;
}

// The package being written: parts replaced or added, parts dropped, and what the workbook's
// relationships and content types gain and lose.
class PackageWriter {
 public:
  PackageWriter(Book& book, const XlsxOrigin* origin) : book_(book), origin_(origin) {
    if (origin_) {
      workbookPart_ = origin_->workbookPart;
      relationships_ = origin_->RelationshipsOf(workbookPart_);
      for (const PackagePart& part : origin_->parts) used_.insert(part.name);
    }
    for (const Relationship& r : relationships_) usedIds_.insert(r.id);
    folder_ = workbookPart_.substr(0, workbookPart_.rfind('/') + 1);
  }

  std::string Write() {
    if (book_.SheetCount() == 0) throw FormatError("the workbook has no sheets");
    bool hasStyles = std::any_of(relationships_.begin(), relationships_.end(), [](const auto& r) {
      return IsRelationshipType(r.type, "styles");
    });
    // A workbook counting dates from 1904 keeps that count in every sheet.
    if (origin_) {
      if (hasStyles) styles_ = origin_->styles;
      styles_.date1904 = origin_->styles.date1904;
    }
    const PackagePart* stylesPart = hasStyles ? origin_->Find(StylesTarget()) : nullptr;
    // The formats the workbook gained go at the end of the styles part's, when they are
    // numbered on from its own (else their cells are written with the default format).
    const AddedFormats* added = AddedFormatsOf(book_);
    if (added != nullptr && added->first == styles_.Count() && (stylesPart || !hasStyles)) {
      addedFormats_ = added;
      styles_.dates.resize(styles_.Count() + added->formats.size(), false);
      styles_.calendar.resize(styles_.Count(), false);
    }
    if (!hasStyles) {
      // The sheets' cell formats pointed at nothing; the reader took them as the default one,
      // and each sheet is written from that so that none gains the new part's formats.
      rewriteSheets_ = true;
      std::string part = NewPartName("styles", "");
      Add(part, WithAddedFormats(kMinimalStyles, part), xlsx::kStylesType, xlsx::kStylesContent);
    } else if (addedFormats_ != nullptr) {
      replaced_[stylesPart->name] = WithAddedFormats(stylesPart->bytes, stylesPart->name);
    }
    for (const Relationship& r : relationships_) {
      bool worksheet = IsRelationshipType(r.type, "worksheet");
      if (IsRelationshipType(r.type, "calcChain") || (worksheet && !Keeps(r.id))) {
        removedRelationships_.insert({r.id, r.type});
        removedParts_.insert(r.target);
      }
    }
    // A part another relationship still names stays (a damaged package may name one twice).
    for (const Relationship& r : relationships_) {
      if (!removedRelationships_.contains({r.id, r.type})) removedParts_.erase(r.target);
    }
    std::vector<WorkbookSheet> sheets = WriteSheets();
    auto active = std::ranges::find(sheets, &book_.GetActiveSheet(), &WorkbookSheet::sheet);
    int activeTab = active == sheets.end() ? 0 : static_cast<int>(active - sheets.begin());
    const PackagePart* workbook = origin_ ? origin_->Find(workbookPart_) : nullptr;
    replaced_[workbookPart_] =
        WriteWorkbookPart(workbook ? workbook->bytes : "", sheets, activeTab);
    std::string relsName = RelationshipsPart(workbookPart_);
    const PackagePart* rels = origin_ ? origin_->Find(relsName) : nullptr;
    replaced_[relsName] =
        EditRelationships(rels ? rels->bytes : "", removedRelationships_, newRelationships_);
    const PackagePart* types = origin_ ? origin_->Find("[Content_Types].xml") : nullptr;
    if (!origin_)
      newContentTypes_.insert(newContentTypes_.begin(), {workbookPart_, xlsx::kWorkbookContent});
    replaced_["[Content_Types].xml"] =
        EditContentTypes(types ? types->bytes : "", removedParts_, newContentTypes_);
    if (!origin_) replaced_["_rels/.rels"] = kRootRelationships;
    return WriteArchive();
  }

 private:
  std::string StylesTarget() const {
    for (const Relationship& r : relationships_) {
      if (IsRelationshipType(r.type, "styles")) return r.target;
    }
    return "";
  }

  // A styles part with the added formats at the end of its cell formats; as it is without them.
  std::string WithAddedFormats(std::string_view bytes, const std::string& part) const {
    if (addedFormats_ == nullptr) return std::string(bytes);
    pugi::xml_document styles;
    ParseXml(styles, bytes, part);
    AppendAddedFormats(styles, *addedFormats_);
    return PrintXml(styles);
  }

  bool Keeps(const std::string& relationshipId) const {
    for (int i = 1; i <= book_.SheetCount(); ++i) {
      const XlsxSheetOrigin* from = origin_->FindSheet(book_.GetSheet(i).Name());
      if (from && from->relationshipId == relationshipId) return true;
    }
    return false;
  }

  std::string NewPartName(const std::string& stem, const std::string& subfolder) {
    for (int n = 1;; ++n) {
      std::string name = folder_ + subfolder + stem +
                         (n > 1 || !subfolder.empty() ? std::to_string(n) : "") + ".xml";
      if (!used_.contains(name)) {
        used_.insert(name);
        return name;
      }
    }
  }

  std::string NewId() {
    for (int n = 1;; ++n) {
      std::string id = "rId" + std::to_string(n);
      if (usedIds_.insert(id).second) return id;
    }
  }

  // Adds a part that the workbook part points to.
  std::string Add(const std::string& part, std::string bytes, const char* type,
                  const char* contentType) {
    std::string id = NewId();
    added_.push_back({part, std::move(bytes)});
    newRelationships_.push_back({id, type, part.substr(folder_.size())});
    newContentTypes_.emplace_back(part, contentType);
    return id;
  }

  std::vector<WorkbookSheet> WriteSheets() {
    std::vector<WorkbookSheet> sheets;
    int nextSheetId = 1;
    if (origin_) {
      for (const XlsxSheetOrigin& s : origin_->sheets)
        nextSheetId = std::max(nextSheetId, SheetIdOf(s.sheetId) + 1);
    }
    Sheet& active = book_.GetActiveSheet();
    for (int i = 1; i <= book_.SheetCount(); ++i) {
      Sheet& sheet = book_.GetSheet(i);
      const SheetLayout& layout = sheet.Layout();
      SheetViewState view{&sheet == &active, &sheet == &active
                                                 ? book_.GetWindow().View() == xlPageBreakPreview
                                                 : layout.pageBreakPreview};
      const XlsxSheetOrigin* from = origin_ ? origin_->FindSheet(sheet.Name()) : nullptr;
      if (from == nullptr) {
        std::string part = NewPartName("sheet", "worksheets/");
        std::string id = Add(part, "", xlsx::kWorksheetType, xlsx::kWorksheetContent);
        streamed_[part] = [this, &sheet, view](const PartSink& sink) {
          WriteWorksheet(sheet, view, styles_, {}, sink);
        };
        sheets.push_back({&sheet, std::to_string(nextSheetId++), id});
        continue;
      }
      sheets.push_back({&sheet, from->sheetId, from->relationshipId});
      bool asRead = !rewriteSheets_ && !sheet.Changed() && layout.tabSelected == view.tabSelected &&
                    layout.pageBreakPreview == view.pageBreakPreview;
      if (asRead) continue;
      auto& original = *originals_.emplace_back(std::make_unique<pugi::xml_document>());
      ParseXml(original, SplitSheetPart(origin_->Find(from->part)->bytes, from->part).rest,
               from->part);
      streamed_[from->part] = [this, &sheet, view, &original](const PartSink& sink) {
        WriteWorksheet(sheet, view, styles_, original.child("worksheet"), sink);
      };
    }
    return sheets;
  }

  // The archive: the parts as read, in their order, with the replaced ones in their place, then
  // the new ones. Sheets are made as they go into it.
  std::string WriteArchive() {
    ZipWriter zip;
    auto put = [&](const std::string& name, std::string_view bytes) {
      if (auto streamed = streamed_.find(name); streamed != streamed_.end()) {
        zip.Begin(name);
        streamed->second([&](std::string_view piece) { zip.Write(piece); });
        zip.End();
        streamed_.erase(streamed);
      } else if (auto replacement = replaced_.find(name); replacement != replaced_.end()) {
        zip.Add(name, replacement->second);
        replaced_.erase(replacement);
      } else {
        zip.Add(name, bytes);
      }
    };
    if (origin_) {
      for (const PackagePart& part : origin_->parts) {
        if (!removedParts_.contains(part.name)) put(part.name, part.bytes);
      }
    }
    for (const char* name : {"[Content_Types].xml", "_rels/.rels"}) {
      if (replaced_.contains(name)) put(name, "");
    }
    for (const auto& [name, bytes] : replaced_) zip.Add(name, bytes);
    replaced_.clear();
    for (const PackagePart& part : added_) put(part.name, part.bytes);
    return zip.Finish();
  }

  Book& book_;
  const XlsxOrigin* origin_;
  std::string workbookPart_ = "xl/workbook.xml";
  std::string folder_;
  std::vector<Relationship> relationships_;
  bool rewriteSheets_ = false;
  WorkbookStyles styles_{{false, true}, {false, true}};  // the minimal styles part's
  const AddedFormats* addedFormats_ = nullptr;           // null when none are written
  std::set<std::string> used_;
  std::set<std::string> usedIds_;
  std::set<std::pair<std::string, std::string>> removedRelationships_;  // id and type
  std::set<std::string> removedParts_;
  std::map<std::string, std::string> replaced_;
  std::vector<PackagePart> added_;
  // Sheets made as they are written, with the trees of the parts they were read from.
  std::map<std::string, std::function<void(const PartSink&)>> streamed_;
  std::vector<std::unique_ptr<pugi::xml_document>> originals_;
  std::vector<NewRelationship> newRelationships_;
  std::vector<std::pair<std::string, std::string>> newContentTypes_;
};

}  // namespace

std::string WriteXlsx(Book& book) {
  const auto* origin = std::any_cast<std::shared_ptr<const XlsxOrigin>>(&book.Origin());
  return PackageWriter(book, origin ? origin->get() : nullptr).Write();
}

}  // namespace tavrin
