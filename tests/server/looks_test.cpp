#include "io/zip_archive.h"
#include "server/sheet_views.h"
#include "server_fixture.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

// The example list, its header in a bold and filled format (1), with row 8 and column G in
// that format too, uploaded in place of the fixture's list.
TEST_F(ServerTest, CellsCarryTheBoldAndTheFillOfTheirFormatOrOfTheirRowOrColumn) {
  std::vector<PackagePart> parts = ReadZip(Bytes("../examples/sales.xlsx"));
  for (PackagePart& part : parts) {
    auto replace = [&](const std::string& from, const std::string& to) {
      size_t at = part.bytes.find(from);
      ASSERT_NE(at, std::string::npos) << from;
      part.bytes.replace(at, from.size(), to);
    };
    if (part.name == "xl/styles.xml") {
      // A third format, plain.
      replace("<cellXfs count=\"2\">", "<cellXfs count=\"3\">");
      replace("</cellXfs>",
              "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellXfs>");
    }
    if (part.name != "xl/worksheets/sheet1.xml") continue;
    replace("<row r=\"8\">", "<row r=\"8\" s=\"1\" customFormat=\"1\">");
    replace("</cols>", "<col min=\"7\" max=\"7\" style=\"1\"/></cols>");
    // G10 has a plain format of its own, which its column's does not show through.
    size_t row10 = part.bytes.find("<row r=\"10\"");
    ASSERT_NE(row10, std::string::npos);
    part.bytes.insert(part.bytes.find("</row>", row10), "<c r=\"G10\" s=\"2\"/>");
  }
  ASSERT_EQ(
      Read(client->Post("/api/open?name=styled.xlsx", WriteZip(parts), "application/octet-stream"))
          .status,
      200);
  EXPECT_EQ(Get("/api/cells?sheet=0&top=1&left=1&bottom=2&right=1").body, json::parse(R"j({"cells":[
              {"r":1,"c":1,"text":"Region","number":false,"bold":true,"fill":"#DDEBF7"},
              {"r":2,"c":1,"text":"North","number":false}]})j"));
  // An empty cell of a filled row or column is listed for its fill.
  EXPECT_EQ(Get("/api/cells?sheet=0&top=7&left=5&bottom=9&right=7").body, json::parse(R"j({"cells":[
              {"r":7,"c":5,"text":"20","number":true},
              {"r":8,"c":5,"text":"42","number":true,"bold":true,"fill":"#DDEBF7"},
              {"r":9,"c":5,"text":"24","number":true},
              {"r":8,"c":6,"text":"","number":false,"fill":"#DDEBF7"},
              {"r":7,"c":7,"text":"","number":false,"fill":"#DDEBF7"},
              {"r":8,"c":7,"text":"","number":false,"fill":"#DDEBF7"},
              {"r":9,"c":7,"text":"","number":false,"fill":"#DDEBF7"}]})j"));
  EXPECT_EQ(
      Get("/api/cells?sheet=0&top=10&left=7&bottom=11&right=7").body,
      json::parse(R"j({"cells":[{"r":11,"c":7,"text":"","number":false,"fill":"#DDEBF7"}]})j"));
  // A block ending on the filled row still shows it.
  EXPECT_EQ(
      Get("/api/cells?sheet=0&top=7&left=6&bottom=8&right=6").body,
      json::parse(R"j({"cells":[{"r":8,"c":6,"text":"","number":false,"fill":"#DDEBF7"}]})j"));
}

// The frozen rows and columns are read from the sheet's view as the file stores it, the pane
// closed at once or by an end tag; a pane that is only split freezes nothing.
TEST_F(ServerTest, TheLayoutNamesTheFrozenRowsAndColumnsOfTheFile) {
  const std::vector<PackagePart> parts = ReadZip(Bytes("data/formats.xlsx"));
  auto frozenWith = [&](const std::string& state) {
    std::vector<PackagePart> changed = parts;
    for (PackagePart& part : changed) {
      size_t at = part.bytes.find("state=\"frozen\"/>");
      if (part.name == "xl/worksheets/sheet1.xml" && at != std::string::npos)
        part.bytes.replace(at, 16, "state=\"" + state);
    }
    EXPECT_EQ(Read(client->Post("/api/open?name=panes.xlsx", WriteZip(changed),
                                "application/octet-stream"))
                  .status,
              200);
    return Get("/api/layout?sheet=0").body.value("frozen", json());
  };
  EXPECT_EQ(frozenWith("frozen\"/>"), json::parse(R"j({"rows":1,"columns":1})j"));
  EXPECT_EQ(frozenWith("frozen\"></pane>"), json::parse(R"j({"rows":1,"columns":1})j"));
  EXPECT_EQ(frozenWith("frozenSplit\"/>"), json::parse(R"j({"rows":1,"columns":1})j"));
  EXPECT_EQ(frozenWith("split\"/>"), json());
}

// A red section of a number format colours its number; a font's colour colours a text.
TEST_F(ServerTest, CellsCarryTheColourOfTheirSectionOrOfTheirFont) {
  ASSERT_EQ(Read(client->Post("/api/open?name=formats.xlsx", Bytes("data/formats.xlsx"),
                              "application/octet-stream"))
                .status,
            200);
  auto colourAt = [&](int row) {
    json cells = Get("/api/cells?sheet=0&top=" + std::to_string(row) +
                     "&left=3&bottom=" + std::to_string(row) + "&right=3")
                     .body["cells"];
    return cells.empty() ? json() : cells[0].value("colour", json());
  };
  EXPECT_EQ(colourAt(13), "#FF0000");
  EXPECT_EQ(colourAt(16), "#0070C0");
  EXPECT_EQ(colourAt(10), json());
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {

// A column keeps its place in the layout for its width or for being hidden, not for a format
// or an outline level it also has.
TEST(SheetLayoutView, AColumnIsHiddenOnlyWhenItsFormatSaysSo) {
  Spreadsheet app;
  Sheet& sheet = app.AddWorkbook("Layout.xlsx").AddSheet("List");
  sheet.EditLayout([](SheetLayout& layout) {
    layout.columnFormats[2] = LineFormat{.style = 1, .outlineLevel = 1};
    layout.columnFormats[3] = LineFormat{.hidden = true};
  });
  EXPECT_EQ(LayoutOf(sheet)["columns"],
            nlohmann::json::parse(R"j([{"c":3,"width":8.43,"hidden":true}])j"));
}

// A row the host fitted to its content keeps the height it was saved with: a text of one line
// leaves it so, even lower than the default, and only a text of more lines grows it.
TEST(SheetLayoutView, AFittedRowGrowsOnlyForTheLinesOfItsTexts) {
  Spreadsheet app;
  Sheet& sheet = app.AddWorkbook("Layout.xlsx").AddSheet("List");
  sheet.SetRowHeight(2, 6, true);
  sheet.SetRowHeight(3, 6, true);
  sheet.Range("A2").SetValue("one line");
  sheet.Range("A3").SetValue("one\ntwo");
  EXPECT_EQ(LayoutOf(sheet)["rows"], nlohmann::json::parse(R"j([
              {"r":2,"height":6.0,"hidden":false},
              {"r":3,"height":25.5,"hidden":false}])j"));
}

}  // namespace
}  // namespace tavrin
