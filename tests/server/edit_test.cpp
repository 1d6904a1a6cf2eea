#include "io/cell_looks.h"
#include "server/server_fixture.h"

namespace tavrin {
namespace {

json Typed(const std::string& at, const json& rows) {
  return {{"sheet", 0}, {"at", at}, {"rows", rows}};
}

TEST_F(ServerTest, TypedCellsAreReadAsTheHostReadsThemAndFormulasThatReadThemFollow) {
  EXPECT_EQ(Post("/api/edit", Typed("F1", {{"=SUM(C2:C5)", "12.5", "'007", "true"}})).body,
            json({{"canUndo", true}, {"dirty", true}}));
  EXPECT_EQ(Text(1, 6), "13");
  EXPECT_EQ(Text(1, 7), "12.5");
  EXPECT_EQ(Text(1, 8), "007");
  EXPECT_EQ(Text(1, 9), "TRUE");
  Post("/api/edit", Typed("C2", {{"10"}}));
  EXPECT_EQ(Text(1, 6), "20");
  // Percentages and dates as the host reads them.
  Post("/api/edit", Typed("J1", {{"12.5%", "2024-6-1", "2024年6月1日"}}));
  EXPECT_EQ(Text(1, 10), "12.50%");
  EXPECT_EQ(Text(1, 11), "2024/6/1");
  EXPECT_EQ(Text(1, 12), "2024/6/1");
  // A formula that does not parse changes nothing.
  Answer wrong = Post("/api/edit", Typed("F2", json::array({json::array({"1", "=SUM("})})));
  EXPECT_EQ(wrong.status, 400);
  EXPECT_EQ(wrong.body["error"], "输入的公式有误，单元格没有改变。");
  EXPECT_EQ(Text(2, 6), "");
}

TEST_F(ServerTest, EachEditIsOneUndoStepAndARunLeavesOnlyItself) {
  Post("/api/edit", Typed("C2", {{"10"}}));
  Post("/api/edit", {{"sheet", 0}, {"clear", "A2:C3"}});
  EXPECT_EQ(Text(2, 1), "");
  EXPECT_EQ(Post("/api/undo", json::object()).body, json({{"canUndo", true}}));
  EXPECT_EQ(Text(2, 1), "North");
  EXPECT_EQ(Text(2, 3), "10");
  EXPECT_EQ(Get("/api/workbook").body["dirty"], true);
  EXPECT_EQ(Post("/api/undo", json::object()).body, json({{"canUndo", false}}));
  EXPECT_EQ(Text(2, 3), "3");
  EXPECT_EQ(Get("/api/workbook").body["dirty"], false);
  // After a run, its own undo is all there is.
  Post("/api/edit", Typed("C2", {{"10"}}));
  Summarise();
  Post("/api/undo", json::object());
  EXPECT_EQ(Get("/api/workbook").body["canUndo"], false);
  EXPECT_EQ(Text(2, 3), "10");
}

// The last hundred edits can be undone, and no more.
TEST_F(ServerTest, AHundredEditsAreKeptToUndo) {
  for (int i = 0; i <= 100; ++i) Post("/api/edit", Typed("C2", {{std::to_string(i)}}));
  for (int i = 0; i < 99; ++i) Post("/api/undo", json::object());
  EXPECT_EQ(Text(2, 3), "1");
  EXPECT_EQ(Post("/api/undo", json::object()).body, json({{"canUndo", false}}));
  EXPECT_EQ(Text(2, 3), "0") << "the first edit is past undoing";
}

TEST_F(ServerTest, AnEditOutsideTheSheetOrNotOfTextsIsRefused) {
  EXPECT_EQ(Post("/api/edit", Typed("IV1", json::array({json::array({"1", "2"})}))).status, 400);
  EXPECT_EQ(Post("/api/edit", Typed("A1,B2", {{"1"}})).status, 400);
  EXPECT_EQ(Post("/api/edit", Typed("nowhere", {{"1"}})).status, 400);
  EXPECT_EQ(Post("/api/edit", Typed("A1", {{1}})).status, 400);
  EXPECT_EQ(Post("/api/edit", Typed("A1", json::array())).body["error"],
            "rows 应是由文字组成的行。");
  EXPECT_EQ(Post("/api/edit", Typed("A1", json::array({json::array()}))).body["error"],
            "rows 应是由文字组成的行。");
  EXPECT_EQ(Post("/api/edit", Typed("A1", {"1"})).status, 400);
  EXPECT_EQ(Post("/api/edit", Typed("A1", {{"a", json::array({"1"})}})).body["error"],
            "rows 应是由文字组成的行。")
      << "rows given as an object";
  EXPECT_EQ(Post("/api/edit", {{"sheet", 5}, {"clear", "A1"}}).status, 400);
  EXPECT_EQ(Post("/api/edit", {{"sheet", 0.5}, {"clear", "A1"}}).status, 400);
  json many = json::array();
  for (int r = 0; r < 50001; ++r) many.push_back({"x"});
  EXPECT_EQ(Post("/api/edit", Typed("A1", many)).body["error"], "一次最多写入 50000 个单元格。");
  json most = json::array();
  for (int r = 0; r < 500; ++r) most.push_back(json::array());
  for (json& row : most) row = json(std::vector<std::string>(100, "x"));
  EXPECT_EQ(Post("/api/edit", Typed("Z1", most)).status, 200) << "50000 cells at once";
  Post("/api/undo", json::object());
  EXPECT_EQ(Read(client->Get("/api/edit")).status, 405);
  EXPECT_EQ(
      Read(Client()->Post("/api/edit", Typed("A1", {{"1"}}).dump(), "application/json")).status,
      403);
  EXPECT_EQ(Text(1, 1), "Region");
  EXPECT_EQ(Get("/api/workbook").body["canUndo"], false);
}

// Cut and paste moves cells with their formulas and formats; formulas that refer to them follow.
TEST_F(ServerTest, AMoveTakesTheCellsAndTheFormulasThatReadThemAlongAndUndoesAsOneStep) {
  auto formula = [&](int row, int column) {
    json cells =
        Get("/api/cells?sheet=0&top=" + std::to_string(row) + "&left=" + std::to_string(column) +
            "&bottom=" + std::to_string(row) + "&right=" + std::to_string(column))
            .body["cells"];
    return cells.empty() ? json() : cells[0].value("formula", json());
  };
  Post("/api/edit", Typed("E2", {{"=C2*2", "=SUM(C2:C3)", "2024-6-1"}}));
  auto moved = Post("/api/edit", {{"sheet", 0}, {"move", "C2:C3"}, {"to", "H5"}});
  EXPECT_EQ(moved.body, json({{"canUndo", true}, {"dirty", true}}));
  Post("/api/edit", {{"sheet", 0}, {"move", "G2"}, {"to", "G9"}});
  EXPECT_EQ(Text(9, 7), "2024/6/1");
  EXPECT_EQ(Text(2, 7), "");
  Post("/api/undo", json::object());
  EXPECT_EQ(Text(2, 3), "");
  EXPECT_EQ(Text(3, 3), "");
  EXPECT_EQ(Text(5, 8), "3");
  EXPECT_EQ(Text(6, 8), "4");
  EXPECT_EQ(formula(2, 5), "=H5*2");
  EXPECT_EQ(formula(2, 6), "=SUM(H5:H6)");
  EXPECT_EQ(Text(2, 6), "7");
  // A formula moved keeps reading the cells it read; one moved over another cell replaces it.
  Post("/api/edit", {{"sheet", 0}, {"move", "E2"}, {"to", "A1"}});
  EXPECT_EQ(formula(1, 1), "=H5*2");
  EXPECT_EQ(Text(1, 1), "6");
  EXPECT_EQ(Text(2, 5), "");
  // Each move is one undo step, and all comes back as it was.
  Post("/api/undo", json::object());
  EXPECT_EQ(Text(1, 1), "Region");
  EXPECT_EQ(formula(2, 5), "=H5*2");
  Post("/api/undo", json::object());
  EXPECT_EQ(Text(2, 3), "3");
  EXPECT_EQ(Text(5, 8), "");
  EXPECT_EQ(formula(2, 5), "=C2*2");
  EXPECT_EQ(formula(2, 6), "=SUM(C2:C3)");
  Post("/api/undo", json::object());
  EXPECT_EQ(Get("/api/workbook").body["dirty"], false);
  // A block moved onto part of itself.
  Post("/api/edit", {{"sheet", 0}, {"move", "A2:A3"}, {"to", "A3"}});
  EXPECT_EQ(Text(2, 1), "");
  EXPECT_EQ(Text(3, 1), "North");
  EXPECT_EQ(Text(4, 1), "South");
}

TEST_F(ServerTest, UndoKeepsTheLastTenMovesWithTheEditsAfterTheOldestOfThem) {
  Post("/api/edit", Typed("H1", {{"before the moves"}}));
  for (int i = 0; i < 11; ++i)
    Post("/api/edit",
         {{"sheet", 0}, {"move", i % 2 == 0 ? "A1" : "J1"}, {"to", i % 2 == 0 ? "J1" : "A1"}});
  Post("/api/edit", Typed("H2", {{"after"}}));
  for (int i = 0; i < 11; ++i) EXPECT_EQ(Post("/api/undo", json::object()).status, 200) << i;
  EXPECT_EQ(Post("/api/undo", json::object()).status, 409);
  // The first move and the edit before it went with the oldest copy of the workbook.
  EXPECT_EQ(Text(1, 10), "Region");
  EXPECT_EQ(Text(1, 8), "before the moves");
}

TEST_F(ServerTest, AMovePastTheSheetsEdgeOrOfNoOneBlockOrDuringARunIsRefused) {
  auto move = [&](const json& from, const json& to) {
    return Post("/api/edit", {{"sheet", 0}, {"move", from}, {"to", to}});
  };
  Answer past = move("A1:C6", "A65532");
  EXPECT_EQ(past.status, 400);
  EXPECT_EQ(past.body["error"], "移动的单元格会超出工作表。");
  EXPECT_EQ(move("A1:C6", "IU1").status, 400);
  EXPECT_EQ(move("A1:B2", "IU65535").status, 200);  // the last cells of the sheet are in it
  Post("/api/undo", json::object());
  EXPECT_EQ(move("A1,C1", "H1").status, 400);
  EXPECT_EQ(move("A1", "H1:H2,J1").status, 400);
  EXPECT_EQ(move("nowhere", "H1").body["error"], "“nowhere”不是这个工作表上的一个区域。");
  EXPECT_EQ(move(1, "H1").status, 400);
  EXPECT_EQ(Post("/api/edit", {{"sheet", 0}, {"move", "A1"}}).status, 400);
  EXPECT_EQ(Get("/api/workbook").body["canUndo"], false);
  json asked = Run(
      "HZ", {{"RefEdit1", "A1:C5"}, {"RefEdit2", "A1:B1"}, {"RefEdit3", "C1"}, {"RefEdit4", "E1"}});
  EXPECT_EQ(move("A1", "H1").status, 409);
  EXPECT_EQ(Text(1, 1), "Region");
  EXPECT_EQ(Text(1, 8), "");
  Reply(Reply(asked, "Yes"), "OK");
}

TEST_F(ServerTest, CtrlArrowGoesToTheEdgeOfTheDataAsRangeEndDoes) {
  auto end = [&](int row, int column, const std::string& way) {
    return Get("/api/end?sheet=0&row=" + std::to_string(row) + "&column=" + std::to_string(column) +
               "&direction=" + way);
  };
  EXPECT_EQ(end(1, 1, "down").body, json({{"r", 6}, {"c", 1}}));
  EXPECT_EQ(end(6, 1, "down").body, json({{"r", 65536}, {"c", 1}}));
  EXPECT_EQ(end(2, 1, "right").body, json({{"r", 2}, {"c", 3}}));
  EXPECT_EQ(end(2, 3, "left").body, json({{"r", 2}, {"c", 1}}));
  EXPECT_EQ(end(1, 5, "up").body, json({{"r", 1}, {"c", 5}}));
  // From the sheet's last row and column, and not a step past them.
  EXPECT_EQ(end(65536, 1, "up").body, json({{"r", 6}, {"c", 1}}));
  EXPECT_EQ(end(1, 256, "left").body, json({{"r", 1}, {"c", 5}}));
  EXPECT_EQ(end(1, 1, "sideways").status, 400);
  for (auto [row, column] : {std::pair{0, 1}, {65537, 1}, {1, 0}, {1, 257}})
    EXPECT_EQ(end(row, column, "up").status, 400) << row << "," << column;
  EXPECT_EQ(Get("/api/end?sheet=0&row=1&column=1").status, 400);
  EXPECT_EQ(Read(Client()->Get("/api/end?sheet=0&row=1&column=1&direction=up")).status, 403);
}

TEST_F(ServerTest, TheStatusBarSumsCountsAndAveragesASelection) {
  EXPECT_EQ(Get("/api/summary?sheet=0&top=1&left=1&bottom=6&right=3").body,
            json({{"count", 18}, {"numbers", 5}, {"sum", "13"}, {"average", "2.6"}}));
  EXPECT_EQ(Get("/api/summary?sheet=0&top=1&left=1&bottom=65536&right=256").body["count"], 19);
  EXPECT_EQ(Get("/api/summary?sheet=0&top=1&left=1&bottom=1&right=2").body,
            json({{"count", 2}, {"numbers", 0}}));
  EXPECT_EQ(Get("/api/summary?sheet=0&top=0&left=1&bottom=1&right=2").status, 400);
  // A number with more after it is no number.
  EXPECT_EQ(Get("/api/summary?sheet=0&top=1&left=1&bottom=1x&right=2").status, 400);
  EXPECT_EQ(Get("/api/summary?sheet=0&top=1&left=1&bottom=&right=2").status, 400);
  EXPECT_EQ(Read(Client()->Get("/api/summary?sheet=0&top=1&left=1&bottom=1&right=2")).status, 403);
}

TEST_F(ServerTest, ColumnsAndRowsTakeASizeOrFitTheirCellsAndAreSavedSo) {
  json columns = json::parse(R"j([{"c":1,"width":20.0,"hidden":false}])j");
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 1}, {"width", 20}}).status, 200);
  EXPECT_EQ(Get("/api/layout?sheet=0").body["columns"], columns);
  Post("/api/edit", Typed("B2", {{"a text of twenty-one"}}));
  Post("/api/size", {{"sheet", 0}, {"column", 2}, {"fit", true}});
  EXPECT_EQ(Get("/api/layout?sheet=0").body["columns"][1]["width"],
            18.8);  // 17 characters and 3 half-width blanks
  Post("/api/size", {{"sheet", 0}, {"row", 3}, {"height", 30}});
  EXPECT_EQ(Get("/api/layout?sheet=0").body["rows"][0],
            json::parse(R"j({"r":3,"height":30.0,"hidden":false})j"));
  // A text of three lines grows its row to show them, unless the row's height was set.
  Post("/api/edit", Typed("A3", {{"one\ntwo\nthree"}}));
  Post("/api/edit", Typed("A5", {{"one\ntwo\nthree"}}));
  EXPECT_EQ(Get("/api/layout?sheet=0").body["rows"],
            json::parse(R"j([{"r":3,"height":30.0,"hidden":false},
                             {"r":5,"height":38.25,"hidden":false}])j"));
  EXPECT_EQ(Get("/api/workbook").body["dirty"], true);
  Post("/api/save", json::object());
  Spreadsheet app;
  EXPECT_EQ(OpenWorkbook(app, file).GetSheet(1).ColumnWidth(1), 20);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 256}, {"width", 5}}).status, 200);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 257}, {"width", 5}}).status, 400);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 0}, {"width", 5}}).status, 400);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 1}, {"width", 256}}).status, 400);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 1}, {"width", -1}}).body,
            json({{"error", "width 应在 0 到 255 之间。"}}));
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"row", 1}, {"height", "30"}}).status, 400);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"column", 1}, {"width", 0}}).status, 200);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"row", 65536}, {"height", 20}}).status, 200);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"row", 65537}, {"height", 20}}).status, 400);
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"row", 0}, {"height", 5}}).status, 400);
  EXPECT_EQ(Read(client->Get("/api/size")).status, 405);
}

TEST_F(ServerTest, ATypedPercentageShowsAsOneAsTheHostFormatsItAndIsSavedSo) {
  Post("/api/edit", Typed("C2", json::array({json::array({"50%", "7.25%"})})));
  EXPECT_EQ(Text(2, 3), "50%");
  EXPECT_EQ(Text(2, 4), "7.25%");
  // A cell that shows percentages already keeps its format.
  Post("/api/edit", Typed("D2", {{"12%"}}));
  EXPECT_EQ(Text(2, 4), "12.00%");
  Post("/api/save", json::object());
  Spreadsheet app;
  Book& saved = OpenWorkbook(app, file);
  EXPECT_EQ(LookOf(saved, saved.GetSheet(1).Store().Find(2, 3)->style)->numberFormat, "0%");
  EXPECT_EQ(saved.GetSheet(1).CellValue(2, 3), Variant(0.5));
  // Undo gives the cells back their values and their formats.
  Post("/api/undo", json::object());
  Post("/api/undo", json::object());
  EXPECT_EQ(Text(2, 3), "3");
}

TEST_F(ServerTest, EachResizeIsOneUndoStepThatPutsTheDefaultSizeBack) {
  Post("/api/size", {{"sheet", 0}, {"column", 2}, {"width", 20}});
  Post("/api/size", {{"sheet", 0}, {"column", 2}, {"width", 30}});
  EXPECT_EQ(Post("/api/size", {{"sheet", 0}, {"row", 3}, {"height", 30}}).body,
            json({{"canUndo", true}, {"dirty", true}}));
  Post("/api/undo", json::object());
  EXPECT_EQ(Get("/api/layout?sheet=0").body["rows"], json::array());
  Post("/api/undo", json::object());
  EXPECT_EQ(Get("/api/layout?sheet=0").body["columns"][0]["width"], 20.0);
  EXPECT_EQ(Get("/api/workbook").body["dirty"], true);
  // Back to the standard width, and to the workbook as its file holds it.
  EXPECT_EQ(Post("/api/undo", json::object()).body, json({{"canUndo", false}}));
  EXPECT_EQ(Get("/api/layout?sheet=0").body["columns"], json::array());
  EXPECT_EQ(Get("/api/workbook").body["dirty"], false);
}

}  // namespace
}  // namespace tavrin
