#include "io/worksheet_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

#include "host/reference_text.h"
#include "io/file_error.h"
#include "io/newer_functions.h"
#include "io/number_format.h"
#include "io/rows_ahead.h"
#include "io/workbook_styles.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// A cell's r ("B12") into its row and column, read on the largest sheet a file describes (a
// cell past the model's sheet still says where the cells after it without an r are); false
// for anything else.
bool ReadCellReference(std::string_view text, int& row, int& column) {
  A1Corner corner;
  if (ReadA1Corner(text, corner, kFileLastRow, kFileLastColumn) != text.size() || !corner.IsCell())
    return false;
  row = corner.row;
  column = corner.column;
  return true;
}

Variant ErrorFromText(std::string_view text) {
  for (ErrorValue error : {ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value, ErrorValue::Ref,
                           ErrorValue::Name, ErrorValue::Num, ErrorValue::NA}) {
    if (ErrorText(error) == text) return error;
  }
  return Variant(text);
}

// A number; a date when isDate, its serial moved by dateOffset to the model's count. A number
// past the range of numbers (or "inf", "nan") is #NUM!, as the host would have computed it.
Variant NumberFrom(const char* text, bool isDate, double dateOffset) {
  double number = 0;
  auto [end, error] = std::from_chars(text, text + std::strlen(text), number);
  if (error == std::errc::result_out_of_range) return Variant(ErrorValue::Num);
  if (error != std::errc() || end == text) return {};
  if (!std::isfinite(number)) return Variant(ErrorValue::Num);
  return isDate ? Variant::Date(number + dateOffset) : Variant(number);
}

Variant CellValue(const CellXml& c, const std::vector<std::string>& sharedStrings, bool isDate,
                  double dateOffset) {
  std::string_view type = c.t;
  // Some writers store a blank as an inline string without its text: the cell is empty. One
  // with an empty text is the empty text, as this reader's writer stores it.
  if (type == "inlineStr") return c.hasIs ? Variant(c.is) : Variant();
  if (c.v.empty() && type != "str") return {};
  if (type == "s")
    return c.vIndex < sharedStrings.size() ? Variant(sharedStrings[c.vIndex]) : Variant();
  if (type == "str") return Variant(c.v);
  if (type == "b") return Variant::Boolean(c.v != "0");
  if (type == "e") return ErrorFromText(c.v);
  return NumberFrom(c.v.c_str(), isDate, dateOffset);
}

// A size or margin from the file: a number from 0 to most, else the fallback. A nan, a negative
// or an absurd size would otherwise page wrongly and be written back as no program reads it.
double Within(double value, double fallback, double most) {
  return std::isfinite(value) && value >= 0 && value <= most ? value : fallback;
}
double Measure(pugi::xml_attribute attribute, double fallback, double most) {
  return Within(attribute.as_double(fallback), fallback, most);
}

// The host's largest row height (points), column width (characters) and margin (inches).
constexpr double kMostRowHeight = 409.5;
constexpr double kMostColumnWidth = 255;
constexpr double kMostMargin = 49;

// A cell format index as read: one the styles part does not list (or a workbook without one)
// is the default format 0, so no cell takes a format it never had when the file is written.
uint32_t StyleOf(uint32_t style, size_t styles) {
  return style < styles ? style : 0;
}

// The format a row or col element gives its rows or columns, with the cell format it names.
LineFormat LineFormatOf(pugi::xml_node node, uint32_t style) {
  return {node.attribute("hidden").as_bool(), style,
          std::clamp(node.attribute("outlineLevel").as_int(), 0, 7),
          node.attribute("collapsed").as_bool()};
}

// The formulas shared by ranges of cells, by their group number: the formula of the group's
// first cell, nullptr when the engine cannot read it.
using SharedFormulas = std::map<int, FormulaPtr>;

// A cell's formula as the model holds it ("=" first, an array formula's in braces; an array
// formula's other cells keep their stored values alone). Every cell of a shared formula's group
// holds the formula of its first cell, written there: where the cell stands it reads as the
// engine's tree gives it, the relative references moved (SheetCalc::TreeOf, FormulaText). The
// other cells of a group whose first formula the engine cannot read keep their stored values.
FormulaPtr FormulaOf(const CellXml& c, int row, int column, SharedFormulas& shared) {
  bool inGroup = c.fType == "shared";
  if (inGroup && c.f.empty()) {
    auto first = shared.find(c.fSi);
    return first == shared.end() ? nullptr : first->second;
  }
  if (c.f.empty()) return nullptr;
  std::string text = c.fType == "array" ? "{=" + c.f + "}" : "=" + c.f;
  auto formula = std::make_shared<const CellFormula>(
      CellFormula{FormulaFromFile(text, row, column), nullptr, row, column});
  if (inGroup) {
    bool readable = SheetCalc::TreeOf(*formula, row, column)->computable;
    shared[c.fSi] = readable ? formula : nullptr;
  }
  return formula;
}

}  // namespace

void ReadBudget::Take(const Cell& cell) {
  ++cells;
  if (cell.value.IsText()) text += cell.value.AsText().size();
  if (cell.formula) text += cell.formula->text.size();
  if (cells > kMostCells) {
    throw FormatError("it holds more than " + std::to_string(kMostCells) +
                      " cells, more than Tavrin reads from one file");
  }
  if (text > kMostText) {
    throw FormatError("its cells hold more than " + std::to_string(kMostText >> 20) +
                      " MB of text, more than Tavrin reads from one file");
  }
}

RowHeights ReadWorksheetCells(RowsAhead& rows, Sheet& sheet,
                              const std::vector<std::string>& sharedStrings,
                              const WorkbookStyles& styles, ReadBudget& budget) {
  RowHeights heights;
  SharedFormulas shared;
  CellStore& store = sheet.Store();
  // Counted wide, and held just past the last row, so neither a huge r nor the rows after it can
  // overflow.
  long long counted = 0;
  while (const RowXml* next = rows.Next()) {
    const RowXml& r = *next;
    counted = std::clamp(r.hasR ? r.r : counted + 1, 0LL, kLastRow + 1LL);
    if (counted < 1 || counted > kLastRow) continue;
    int row = static_cast<int>(counted);
    double height = r.hasHt ? Within(r.ht, -1, kMostRowHeight) : -1;
    if (height >= 0) heights.push_back({row, height, r.customHeight});
    // A row's s names its format only with customFormat.
    LineFormat format{r.hidden, r.customFormat ? StyleOf(r.s, styles.Count()) : 0,
                      std::clamp(r.outlineLevel, 0, 7), r.collapsed};
    if (format != LineFormat{})
      sheet.EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(row, format); });
    int column = 0;
    for (const CellXml& c : r.cells) {
      int cellRow = row;
      if (!c.hasR) {
        column = std::min(column + 1, kLastColumn + 1);
      } else if (!ReadCellReference(c.r, cellRow, column) || cellRow != row) {
        continue;
      }
      if (column > kLastColumn) continue;
      Cell cell;
      cell.style = StyleOf(c.s, styles.Count());
      cell.value = CellValue(c, sharedStrings, styles.ShowsDate(cell.style),
                             styles.Counts1904(cell.style) ? kDays1900To1904 : 0);
      if (c.hasF) cell.formula = FormulaOf(c, row, column, shared);
      if (cell.IsBlank()) continue;
      budget.Take(cell);
      store.Put(row, column, std::move(cell));
    }
  }
  return heights;
}

namespace {

void ReadColumns(pugi::xml_node cols, Sheet& sheet, size_t styles) {
  for (pugi::xml_node col : cols.children("col")) {
    pugi::xml_attribute custom = col.attribute("customWidth");
    bool width = col.attribute("width") && (!custom || custom.as_bool());
    LineFormat format = LineFormatOf(col, StyleOf(col.attribute("style").as_uint(), styles));
    int last = std::min(col.attribute("max").as_int(), kLastColumn);
    for (int c = std::max(col.attribute("min").as_int(), 1); c <= last; ++c) {
      if (width) {
        sheet.SetColumnWidth(
            c, Measure(col.attribute("width"), Sheet::kDefaultColumnWidth, kMostColumnWidth));
      }
      if (format != LineFormat{})
        sheet.EditLayout([&](SheetLayout& layout) { layout.columnFormats[c] = format; });
    }
  }
}

void ReadLayout(pugi::xml_node worksheet, SheetLayout& layout) {
  pugi::xml_node fit = worksheet.child("sheetPr").child("pageSetUpPr");
  layout.fitToPage = fit.attribute("fitToPage").as_bool();
  pugi::xml_node view = worksheet.child("sheetViews").child("sheetView");
  layout.tabSelected = view.attribute("tabSelected").as_bool();
  layout.pageBreakPreview =
      std::string_view(view.attribute("view").as_string()) == "pageBreakPreview";
  layout.zoom = std::clamp(view.attribute("zoomScale").as_int(100), 10, 400);
  for (pugi::xml_node merge : worksheet.child("mergeCells").children("mergeCell")) {
    std::optional<ParsedAddress> address = ParseAddress(merge.attribute("ref").as_string());
    if (address) layout.mergedCells.push_back(address->areas.front());
  }
  pugi::xml_node margins = worksheet.child("pageMargins");
  PageMargins& m = layout.margins;
  m.left = Measure(margins.attribute("left"), m.left, kMostMargin);
  m.right = Measure(margins.attribute("right"), m.right, kMostMargin);
  m.top = Measure(margins.attribute("top"), m.top, kMostMargin);
  m.bottom = Measure(margins.attribute("bottom"), m.bottom, kMostMargin);
  m.header = Measure(margins.attribute("header"), m.header, kMostMargin);
  m.footer = Measure(margins.attribute("footer"), m.footer, kMostMargin);
  pugi::xml_node options = worksheet.child("printOptions");
  layout.printHeadings = options.attribute("headings").as_bool();
  layout.printGridlines = options.attribute("gridLines").as_bool();
  layout.centerHorizontally = options.attribute("horizontalCentered").as_bool();
  layout.centerVertically = options.attribute("verticalCentered").as_bool();
  pugi::xml_node setup = worksheet.child("pageSetup");
  layout.paperSize = setup.attribute("paperSize").as_int(layout.paperSize);
  layout.orientation = std::string_view(setup.attribute("orientation").as_string()) == "landscape"
                           ? PageOrientation::Landscape
                           : PageOrientation::Portrait;
  layout.scale = std::clamp(setup.attribute("scale").as_int(layout.scale), 10, 400);
  layout.fitToWidth = setup.attribute("fitToWidth").as_int(layout.fitToWidth);
  layout.fitToHeight = setup.attribute("fitToHeight").as_int(layout.fitToHeight);
  for (pugi::xml_node brk : worksheet.child("rowBreaks").children("brk")) {
    int after = brk.attribute("id").as_int();
    if (brk.attribute("man").as_bool() && after >= 1 && after < kLastRow) {
      layout.manualRowBreaks.push_back(after + 1);
    }
  }
  std::sort(layout.manualRowBreaks.begin(), layout.manualRowBreaks.end());
}

}  // namespace

std::string RichText(pugi::xml_node item) {
  std::string text = item.child_value("t");
  for (pugi::xml_node run : item.children("r")) text += run.child_value("t");
  return text;
}

std::vector<Area> ReadAreas(std::string_view references) {
  std::vector<Area> areas;
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i <= references.size(); ++i) {
    if (i < references.size() && references[i] == '\'') quoted = !quoted;
    if (i < references.size() && (quoted || references[i] != ',')) continue;
    std::string_view part = references.substr(start, i - start);
    size_t bang = part.rfind('!');
    if (bang != std::string_view::npos) part.remove_prefix(bang + 1);
    if (std::optional<ParsedAddress> address = ParseAddress(part)) {
      areas.insert(areas.end(), address->areas.begin(), address->areas.end());
    }
    start = i + 1;
  }
  return areas;
}

void ReadWorksheetRest(const pugi::xml_document& rest, const RowHeights& heights, Sheet& sheet,
                       size_t styles) {
  pugi::xml_node worksheet = rest.child("worksheet");
  // The height of rows without their own; none at all is what zeroHeight says, not this.
  double rowHeight = Measure(worksheet.child("sheetFormatPr").attribute("defaultRowHeight"),
                             Sheet::kDefaultRowHeight, kMostRowHeight);
  if (rowHeight > 0) sheet.SetDefaultRowHeight(rowHeight);
  // A stored height counts with or without customHeight; without it the host fitted the row to
  // its content, and one equal to the default adds nothing.
  for (const RowHeight& h : heights) {
    if (h.custom || h.height != sheet.DefaultRowHeight())
      sheet.SetRowHeight(h.row, h.height, !h.custom);
  }
  ReadColumns(worksheet.child("cols"), sheet, styles);
  sheet.EditLayout([&](SheetLayout& layout) { ReadLayout(worksheet, layout); });
}

void ReadWorksheet(const pugi::xml_document& rest, std::string_view sheetData,
                   const std::string& part, Sheet& sheet,
                   const std::vector<std::string>& sharedStrings, const WorkbookStyles& styles,
                   ReadBudget& budget) {
  RowsAhead rows(sheetData, part);
  RowHeights heights = ReadWorksheetCells(rows, sheet, sharedStrings, styles, budget);
  ReadWorksheetRest(rest, heights, sheet, styles.Count());
}

}  // namespace tavrin
