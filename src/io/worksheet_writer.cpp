#include "io/worksheet_writer.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string_view>

#include "io/cell_xml.h"
#include "io/workbook_styles.h"
#include "io/xml_text.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// The elements of a worksheet in the order the file format requires.
constexpr std::array<std::string_view, 39> kOrder = {"sheetPr",
                                                     "dimension",
                                                     "sheetViews",
                                                     "sheetFormatPr",
                                                     "cols",
                                                     "sheetData",
                                                     "sheetCalcPr",
                                                     "sheetProtection",
                                                     "protectedRanges",
                                                     "scenarios",
                                                     "autoFilter",
                                                     "sortState",
                                                     "dataConsolidate",
                                                     "customSheetViews",
                                                     "mergeCells",
                                                     "phoneticPr",
                                                     "conditionalFormatting",
                                                     "dataValidations",
                                                     "hyperlinks",
                                                     "printOptions",
                                                     "pageMargins",
                                                     "pageSetup",
                                                     "headerFooter",
                                                     "rowBreaks",
                                                     "colBreaks",
                                                     "customProperties",
                                                     "cellWatches",
                                                     "ignoredErrors",
                                                     "smartTags",
                                                     "drawing",
                                                     "legacyDrawing",
                                                     "legacyDrawingHF",
                                                     "drawingHF",
                                                     "picture",
                                                     "oleObjects",
                                                     "controls",
                                                     "webPublishItems",
                                                     "tableParts",
                                                     "extLst"};

// The elements the model holds, written from it.
constexpr std::array<std::string_view, 11> kOwned = {
    "sheetPr",    "dimension",    "sheetViews",  "sheetFormatPr", "cols",     "sheetData",
    "mergeCells", "printOptions", "pageMargins", "pageSetup",     "rowBreaks"};

int OrderOf(std::string_view name) {
  auto found = std::find(kOrder.begin(), kOrder.end(), name);
  return found == kOrder.end() ? -1 : static_cast<int>(found - kOrder.begin());
}

bool IsOwned(std::string_view name) {
  return std::find(kOwned.begin(), kOwned.end(), name) != kOwned.end();
}

constexpr size_t kPiece = size_t{1} << 18;

std::string AreaName(const Area& area) {
  std::string text;
  AppendCellName(text, area.row, area.column);
  if (area.rows > 1 || area.columns > 1) {
    text += ':';
    AppendCellName(text, area.LastRow(), area.LastColumn());
  }
  return text;
}

// The highest outline level of rows or columns.
int DeepestLevel(const std::map<int, LineFormat>& formats) {
  int deepest = 0;
  for (const auto& [line, format] : formats) deepest = std::max(deepest, format.outlineLevel);
  return deepest;
}
int DeepestLevel(const RowRuns<LineFormat>& formats) {
  int deepest = 0;
  for (const auto& run : formats.Runs()) deepest = std::max(deepest, run.value.outlineLevel);
  return deepest;
}

class WorksheetWriter {
 public:
  WorksheetWriter(const Sheet& sheet, const SheetViewState& view, const WorkbookStyles& styles,
                  const PartSink& sink)
      : sink_(sink), sheet_(sheet), layout_(sheet.Layout()), view_(view), styles_(styles) {}

  void Write(std::string& out, std::string_view name, pugi::xml_node original) {
    if (name == "sheetPr") return SheetProperties(out, original);
    if (name == "dimension") return Dimension(out);
    if (name == "sheetViews") return Views(out, original);
    if (name == "sheetFormatPr") return FormatProperties(out, original);
    if (name == "cols") return Columns(out);
    if (name == "sheetData") return Data(out);
    if (name == "mergeCells") return MergedCells(out);
    if (name == "printOptions") return PrintOptions(out, original);
    if (name == "pageMargins") return Margins(out);
    if (name == "pageSetup") return Setup(out, original);
    if (name == "rowBreaks") return Breaks(out);
  }

 private:
  // An element as read with some attributes set: copied into a scratch document and edited.
  pugi::xml_node Editable(pugi::xml_node original, const char* name) {
    scratch_.reset();
    return original ? scratch_.append_copy(original) : scratch_.append_child(name);
  }

  static void SetOrRemove(pugi::xml_node node, const char* name, bool set, const char* value) {
    if (set) {
      (node.attribute(name) ? node.attribute(name) : node.append_attribute(name)) = value;
    } else {
      node.remove_attribute(name);
    }
  }

  void SheetProperties(std::string& out, pugi::xml_node original) {
    if (!original && !layout_.fitToPage) return;
    pugi::xml_node properties = Editable(original, "sheetPr");
    SetOrRemove(Obtain(properties, "pageSetUpPr"), "fitToPage", layout_.fitToPage, "1");
    out += PrintXml(properties);
  }

  void Dimension(std::string& out) {
    Area used = sheet_.UsedArea(Sheet::UsedCells::ContentAndFormats).value_or(Area{});
    out += "<dimension ref=\"" + AreaName(used) + "\"/>";
  }

  void Views(std::string& out, pugi::xml_node original) {
    pugi::xml_node views = Editable(original, "sheetViews");
    pugi::xml_node view = views.child("sheetView");
    if (!view) view = views.append_child("sheetView");
    if (!view.attribute("workbookViewId")) view.append_attribute("workbookViewId") = 0;
    SetOrRemove(view, "tabSelected", view_.tabSelected, "1");
    SetOrRemove(view, "view", view_.pageBreakPreview, "pageBreakPreview");
    SetOrRemove(view, "zoomScale", layout_.zoom != 100 || view.attribute("zoomScale"),
                std::to_string(layout_.zoom).c_str());
    out += PrintXml(views);
  }

  void FormatProperties(std::string& out, pugi::xml_node original) {
    pugi::xml_node properties = Editable(original, "sheetFormatPr");
    std::string rowHeight;
    AppendNumber(rowHeight, sheet_.DefaultRowHeight());
    SetOrRemove(properties, "defaultRowHeight", true, rowHeight.c_str());
    int rows = DeepestLevel(layout_.rowFormats);
    int columns = DeepestLevel(layout_.columnFormats);
    SetOrRemove(properties, "outlineLevelRow", rows > 0, std::to_string(rows).c_str());
    SetOrRemove(properties, "outlineLevelCol", columns > 0, std::to_string(columns).c_str());
    out += PrintXml(properties);
  }

  LineFormat ColumnFormat(int column) const {
    auto found = layout_.columnFormats.find(column);
    return found == layout_.columnFormats.end() ? LineFormat{} : found->second;
  }

  // The attributes of a row's or column's format; style is the name of its cell format's.
  void AppendLineFormat(std::string& out, const LineFormat& format, const char* style) const {
    if (format.style != 0 && format.style < styles_.Count()) {
      out += std::string(" ") + style + "=\"" + std::to_string(format.style) + '"';
      if (style == std::string_view("s")) out += " customFormat=\"1\"";
    }
    if (format.hidden) out += " hidden=\"1\"";
    if (format.outlineLevel > 0)
      out += " outlineLevel=\"" + std::to_string(format.outlineLevel) + '"';
    if (format.collapsed) out += " collapsed=\"1\"";
  }

  // Neighbouring columns of the same width and format share one col element.
  void Columns(std::string& out) {
    std::string cols;
    for (int c = 1; c <= kLastColumn; ++c) {
      double width = sheet_.ColumnWidth(c);
      LineFormat format = ColumnFormat(c);
      if (width == Sheet::kDefaultColumnWidth && format == LineFormat{}) continue;
      // A run ends by IV: the column past it has the default width and no format.
      int last = c;
      while (sheet_.ColumnWidth(last + 1) == width && ColumnFormat(last + 1) == format) ++last;
      cols += "<col min=\"" + std::to_string(c) + "\" max=\"" + std::to_string(last) + '"';
      if (width != Sheet::kDefaultColumnWidth) {
        cols += " width=\"";
        AppendNumber(cols, width);
        cols += "\" customWidth=\"1\"";
      }
      AppendLineFormat(cols, format, "style");
      cols += "/>";
      c = last;
    }
    if (!cols.empty()) out += "<cols>" + cols + "</cols>";
  }

  void Data(std::string& out);

  void MergedCells(std::string& out) {
    if (layout_.mergedCells.empty()) return;
    out += "<mergeCells count=\"" + std::to_string(layout_.mergedCells.size()) + "\">";
    for (const Area& area : layout_.mergedCells)
      out += "<mergeCell ref=\"" + AreaName(area) + "\"/>";
    out += "</mergeCells>";
  }

  void Margins(std::string& out) {
    const PageMargins& m = layout_.margins;
    std::pair<const char*, double> values[] = {{"left", m.left},     {"right", m.right},
                                               {"top", m.top},       {"bottom", m.bottom},
                                               {"header", m.header}, {"footer", m.footer}};
    out += "<pageMargins";
    for (auto [name, value] : values) {
      out += std::string(" ") + name + "=\"";
      AppendNumber(out, value);
      out += '"';
    }
    out += "/>";
  }

  void PrintOptions(std::string& out, pugi::xml_node original) {
    const SheetLayout& l = layout_;
    if (!original && !l.printHeadings && !l.printGridlines && !l.centerHorizontally &&
        !l.centerVertically)
      return;
    pugi::xml_node options = Editable(original, "printOptions");
    SetOrRemove(options, "headings", l.printHeadings, "1");
    SetOrRemove(options, "gridLines", l.printGridlines, "1");
    SetOrRemove(options, "horizontalCentered", l.centerHorizontally, "1");
    SetOrRemove(options, "verticalCentered", l.centerVertically, "1");
    out += PrintXml(options);
  }

  void Setup(std::string& out, pugi::xml_node original) {
    pugi::xml_node setup = Editable(original, "pageSetup");
    SetOrRemove(setup, "paperSize", layout_.paperSize != SheetLayout::kPaperDefault,
                std::to_string(layout_.paperSize).c_str());
    SetOrRemove(setup, "scale", true, std::to_string(layout_.scale).c_str());
    SetOrRemove(setup, "fitToWidth", true, std::to_string(layout_.fitToWidth).c_str());
    SetOrRemove(setup, "fitToHeight", true, std::to_string(layout_.fitToHeight).c_str());
    SetOrRemove(setup, "orientation", true,
                layout_.orientation == PageOrientation::Landscape ? "landscape" : "portrait");
    out += PrintXml(setup);
  }

  void Breaks(std::string& out) {
    if (layout_.manualRowBreaks.empty()) return;
    std::string count = std::to_string(layout_.manualRowBreaks.size());
    out += "<rowBreaks count=\"" + count + "\" manualBreakCount=\"" + count + "\">";
    for (int first : layout_.manualRowBreaks) {
      out += "<brk id=\"" + std::to_string(first - 1) + "\" max=\"16383\" man=\"1\"/>";
    }
    out += "</rowBreaks>";
  }

  const PartSink& sink_;
  const Sheet& sheet_;
  const SheetLayout& layout_;
  SheetViewState view_;
  const WorkbookStyles& styles_;
  pugi::xml_document scratch_;
};

// The store keeps cells by column; the part lists them by row. A counting sort by row puts
// every cell in place in two passes.
void WorksheetWriter::Data(std::string& out) {
  const CellStore& store = sheet_.Store();
  const Area all{1, 1, kLastRow, kLastColumn};
  std::vector<int> start(kLastRow + 2, 0);
  store.ForEach(all, [&](int row, int, const Cell&) { ++start[row + 1]; });
  for (int r = 1; r <= kLastRow + 1; ++r) start[r] += start[r - 1];
  std::vector<std::pair<int, const Cell*>> cells(start[kLastRow + 1]);
  std::vector<int> next(start.begin(), start.end() - 1);
  store.ForEach(all, [&](int row, int column, const Cell& cell) {
    cells[next[row]++] = {column, &cell};
  });
  out += "<sheetData>";
  const RowRuns<StoredRowHeight>& heights = sheet_.RowHeights();
  for (int row = 1; row <= kLastRow; ++row) {
    const StoredRowHeight* height = heights.Find(row);
    bool sized = height != nullptr;
    const LineFormat* format = layout_.rowFormats.Find(row);
    bool formatted = format != nullptr;
    if (start[row] == start[row + 1] && !sized && !formatted) continue;
    out += "<row r=\"" + std::to_string(row) + '"';
    // A fitted height goes without customHeight, so the host goes on fitting the row.
    if (sized) {
      out += " ht=\"";
      AppendNumber(out, height->points);
      out += height->fitted ? "\"" : "\" customHeight=\"1\"";
    }
    if (formatted) AppendLineFormat(out, *format, "s");
    out += '>';
    for (int i = start[row]; i < start[row + 1]; ++i)
      AppendCellXml(out, row, cells[i].first, *cells[i].second, styles_);
    out += "</row>";
    // The cells go on as they are made, a few hundred kilobytes at a time.
    if (out.size() > kPiece) {
      sink_(out);
      out.clear();
    }
  }
  out += "</sheetData>";
}

void AppendRootStart(std::string& out, pugi::xml_node original) {
  out += "<worksheet";
  if (!original) {
    out +=
        " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\""
        " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
  }
  for (pugi::xml_attribute a : original.attributes()) {
    out += std::string(" ") + a.name() + "=\"";
    AppendEscaped(out, a.value());
    out += '"';
  }
  out += '>';
}

}  // namespace

void WriteWorksheet(const Sheet& sheet, const SheetViewState& view, const WorkbookStyles& styles,
                    const pugi::xml_node& original, const PartSink& sink) {
  WorksheetWriter writer(sheet, view, styles, sink);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  AppendRootStart(out, original);
  std::set<std::string_view> present;
  for (pugi::xml_node child : original.children()) present.insert(child.name());
  // Elements of the model missing from the original go where the order puts them.
  size_t nextOwned = 0;
  auto writeMissingBefore = [&](int order) {
    for (; nextOwned < kOwned.size() && OrderOf(kOwned[nextOwned]) < order; ++nextOwned) {
      if (!present.contains(kOwned[nextOwned])) writer.Write(out, kOwned[nextOwned], {});
    }
  };
  for (pugi::xml_node child : original.children()) {
    if (child.type() != pugi::node_element) continue;
    int order = OrderOf(child.name());
    if (order >= 0) writeMissingBefore(order);
    if (IsOwned(child.name())) {
      writer.Write(out, child.name(), child);
    } else {
      out += PrintXml(child);
    }
  }
  writeMissingBefore(static_cast<int>(kOrder.size()));
  out += "</worksheet>";
  sink(out);
}

std::string WriteWorksheet(const Sheet& sheet, const SheetViewState& view,
                           const WorkbookStyles& styles, const pugi::xml_node& original) {
  std::string whole;
  WriteWorksheet(sheet, view, styles, original, [&](std::string_view piece) { whole += piece; });
  return whole;
}

}  // namespace tavrin
