// An address text as the toolbox hands it over: read by the address parser, by a sheet's Range
// and the application's Range and Evaluate, and as a reference formula in A1 and R1C1 notation.
// What is read must lie on the sheet, and its address written back must read as the same cells.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/host_error.h"
#include "require.h"
#include "spreadsheet/book.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

constexpr int kRow = 5;
constexpr int kColumn = 4;

bool OnSheet(const Area& area) {
  return area.row >= 1 && area.column >= 1 && area.rows >= 1 && area.columns >= 1 &&
         area.LastRow() <= kLastRow && area.LastColumn() <= kLastColumn;
}

std::string Quoted(const std::string& sheet) {
  std::string text = "'";
  for (char c : sheet) text += c == '\'' ? std::string("''") : std::string(1, c);
  return text + "'!";
}

void CheckParsed(std::string_view text) {
  std::optional<ParsedAddress> parsed = ParseAddress(text);
  if (!parsed) return;
  Require(!parsed->areas.empty(), "an address names at least one area", text);
  std::string all;
  for (const Area& area : parsed->areas) {
    Require(OnSheet(area), "an address lies on the sheet", text);
    std::optional<ParsedAddress> again = ParseAddress(AreaAddress(area));
    Require(again && again->sheet.empty() && again->areas.size() == 1 && again->areas[0] == area,
            "an area's address reads as the same area", AreaAddress(area));
    all += (all.empty() ? "" : ",") + AreaAddress(area);
  }
  if (!parsed->sheet.empty()) all = Quoted(parsed->sheet) + all;
  std::optional<ParsedAddress> again = ParseAddress(all);
  Require(again && again->sheet == parsed->sheet && again->areas == parsed->areas,
          "an address written back reads as the same areas", all);
}

// Moves and resizes that fall off the sheet fail as the host fails (1004), whatever the numbers.
void CheckGeometry(const Range& range) {
  const int steps[] = {0, 1, -1, kLastRow, -kLastRow, INT_MAX, INT_MIN};
  for (int rows : steps) {
    for (int columns : steps) {
      try {
        Range moved = range.Offset(rows, columns);
        Require(OnSheet(moved.FirstArea()), "an offset range lies on the sheet", range.Address());
      } catch (const HostError&) {
      }
      try {
        Require(OnSheet(range.Resize(rows, columns).FirstArea()),
                "a resized range lies on the sheet", range.Address());
      } catch (const HostError&) {
      }
      try {
        Require(OnSheet(range.Cells(rows, columns).FirstArea()), "a cell of a range lies on it",
                range.Address());
      } catch (const HostError&) {
      }
    }
  }
  (void)range.EntireRow();
  (void)range.Count();
  (void)range.Value();
  (void)range.Text();
}

void CheckRanges(Spreadsheet& app, Sheet& sheet, std::string_view text) {
  RangeOrValue evaluated = app.Evaluate(text);
  if (evaluated.IsRange()) {
    const Range& range = evaluated.AsRange();
    RangeOrValue again = app.Evaluate(Quoted(range.Parent().Name()) + range.Address());
    Require(again.IsRange() && again.AsRange() == range,
            "an evaluated range's address evaluates to the same range", range.Address());
    CheckGeometry(range);
  }
  try {
    CheckGeometry(sheet.Range(text));
  } catch (const HostError& error) {
    Require(error.Number() == 1004, "a sheet's Range of a bad address fails with 1004", text);
  }
  try {
    CheckGeometry(app.Range(text));
  } catch (const HostError& error) {
    Require(error.Number() == 1004, "Range of a bad address fails with 1004", text);
  }
}

// A reference formula reads the same cells the address parser reads from its A1 text.
void CheckReference(std::string_view text, Notation notation) {
  std::string formula = "=" + std::string(text);
  std::optional<FormulaNode> root = ParseFormula(formula, notation, kRow, kColumn);
  if (!root || root->kind != FormulaNode::Kind::Ref) return;
  std::optional<Area> area = root->ref.Resolve(kRow, kColumn);
  if (!area) return;
  Require(OnSheet(*area), "a reference resolves to cells on the sheet", text);
  std::string a1 = WriteFormula(*root, Notation::A1, kRow, kColumn).substr(1);
  std::optional<ParsedAddress> parsed = ParseAddress(a1);
  Require(parsed && parsed->sheet == root->ref.sheet && parsed->areas.size() == 1 &&
              parsed->areas[0] == *area,
          "a reference's A1 text is an address of the same cells", a1);
}

}  // namespace
}  // namespace tavrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckParsed(text);
  Spreadsheet app;
  Book& book = app.AddWorkbook("Book1");
  Sheet& sheet = book.AddSheet("Sheet1");
  book.AddSheet("My sheet");
  book.AddSheet("Data");
  sheet.Activate();
  sheet.Range("A1").SetValue(1);
  sheet.Range("B2").SetValue("text");
  CheckRanges(app, sheet, text);
  CheckReference(text, Notation::A1);
  CheckReference(text, Notation::R1C1);
  return 0;
}
