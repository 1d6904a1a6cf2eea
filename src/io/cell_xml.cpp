#include "io/cell_xml.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "io/newer_functions.h"
#include "io/number_format.h"
#include "io/workbook_styles.h"
#include "io/xml_text.h"
#include "spreadsheet/cell_store.h"
#include "spreadsheet/formula/formula_text.h"

namespace tavrin {

namespace {

const Variant kOutOfRange(ErrorValue::Num);

const char* TypeOf(const Variant& value, bool formula) {
  switch (value.GetKind()) {
    case Variant::Kind::Text:
      return formula ? " t=\"str\"" : " t=\"inlineStr\"";
    case Variant::Kind::Boolean:
      return " t=\"b\"";
    case Variant::Kind::Error:
      return " t=\"e\"";
    default:
      return "";
  }
}

void AppendFormula(std::string& out, int row, int column, const CellFormula& formula) {
  std::string written = FormulaForFile(FormulaText(formula, row, column), row, column);
  std::string_view text = written;
  if (IsArrayFormulaText(text)) {
    text = text.substr(2, text.size() - 3);
    out += "<f t=\"array\" ref=\"";
    AppendCellName(out, row, column);
    out += "\">";
  } else {
    if (text.starts_with('=')) text.remove_prefix(1);
    out += "<f>";
  }
  AppendEscaped(out, text);
  out += "</f>";
}

void AppendValue(std::string& out, const Variant& value, bool formula, bool counts1904) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      break;
    case Variant::Kind::Number:
    case Variant::Kind::Date:
      out += "<v>";
      AppendNumber(out, value.AsNumber() - (counts1904 ? kDays1900To1904 : 0));
      out += "</v>";
      break;
    case Variant::Kind::Text:
      out += formula ? "<v>" : "<is><t xml:space=\"preserve\">";
      AppendEscaped(out, value.AsText());
      out += formula ? "</v>" : "</t></is>";
      break;
    case Variant::Kind::Boolean:
      out += value.AsBoolean() ? "<v>1</v>" : "<v>0</v>";
      break;
    case Variant::Kind::Error:
      out += "<v>" + std::string(ErrorText(value.AsError())) + "</v>";
      break;
  }
}

}  // namespace

void AppendNumber(std::string& out, double number) {
  char buffer[32];
  auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, number);
  out.append(buffer, end);
}

void AppendCellName(std::string& out, int row, int column) {
  out += ColumnLetters(column);
  out += std::to_string(row);
}

void AppendCellXml(std::string& out, int row, int column, const Cell& cell,
                   const WorkbookStyles& styles) {
  uint32_t style = cell.style < styles.Count() ? cell.style : 0;
  if (cell.value.IsDate() && !styles.ShowsDate(style)) {
    if (uint32_t dateStyle = styles.FirstDateStyle(); dateStyle != 0) style = dateStyle;
  }
  out += "<c r=\"";
  AppendCellName(out, row, column);
  out += '"';
  if (style != 0) out += " s=\"" + std::to_string(style) + '"';
  const Variant& value =
      (cell.value.IsNumber() || cell.value.IsDate()) && !std::isfinite(cell.value.AsNumber())
          ? kOutOfRange
          : cell.value;
  bool formula = cell.formula != nullptr;
  out += TypeOf(value, formula);
  out += '>';
  if (formula) AppendFormula(out, row, column, *cell.formula);
  AppendValue(out, value, formula, styles.Counts1904(style));
  out += "</c>";
}

}  // namespace tavrin
