#include "server/server_fixture.h"

namespace tavrin {

namespace {

TEST_F(ServerTest, DescribesTheWorkbookAndTheCellsOfABlock) {
  EXPECT_EQ(Get("/api/workbook").body,
            json::parse(R"j({"file":"list.xlsx","sheets":[{"name":"Sheet1","lastRow":6,
              "lastColumn":5}],"active":0,"selection":"A1","canUndo":false,"dirty":false,
              "running":false})j"));
  EXPECT_EQ(Get("/api/cells?sheet=0&top=1&left=2&bottom=2&right=4").body,
            json::parse(R"j({"cells":[{"r":1,"c":2,"text":"Product","number":false},
              {"r":2,"c":2,"text":"Tea","number":false},{"r":1,"c":3,"text":"Units",
              "number":false},{"r":2,"c":3,"text":"3","number":true}]})j"));
  EXPECT_EQ(Get("/api/cells?sheet=0&top=1&left=1&bottom=65536&right=1").status, 400);
  EXPECT_EQ(Get("/api/cells?sheet=1&top=1&left=1&bottom=1&right=1").status, 400);
  EXPECT_EQ(Get("/api/layout?sheet=0").body["defaultRowHeight"], 12.75);
}

TEST_F(ServerTest, SelectingSetsTheSelectionToolsReadAndRefusesWhatIsNoAddress) {
  EXPECT_EQ(Post("/api/select", {{"sheet", 0}, {"selection", "B2:C3"}}).body["selection"], "B2:C3");
  EXPECT_EQ(Post("/api/select", {{"sheet", 0}, {"selection", "B2:"}}).body,
            json({{"error", "“B2:”不是这个工作表上的地址。"}}));
  EXPECT_EQ(Get("/api/workbook").body["selection"], "B2:C3");
}

TEST_F(ServerTest, TheMenuOpensDialogsAndQuitAndRestartTakeItAwayAndBack) {
  json menu = Get("/api/menu").body;
  EXPECT_EQ(menu["menu"]["caption"], "Tavrin(&U)");
  EXPECT_EQ(menu["toolbar"]["items"][0],
            json::parse(R"j({"caption":"汇总与查找","action":"Tavrin.xls!F2","faceId":4153,
              "beginGroup":false})j"));

  json dialog = Post("/api/action", {{"action", "Tavrin.xls!F2"}}).body["dialog"];
  EXPECT_EQ(dialog["title"], "汇总与查找");
  std::vector<std::string> tools;
  for (const json& page : dialog["pages"]) tools.push_back(page["tool"]);
  EXPECT_EQ(tools, (std::vector<std::string>{"HZ", "HZCZSZ", "DSYCZ", "HzCzBcf"}));
  EXPECT_EQ(dialog["pages"][0]["fields"][0],
            json::parse(R"j({"control":"RefEdit1","kind":"ref","label":"清单区域(含标题行)",
              "value":""
})j"));
  EXPECT_EQ(dialog["pages"][3]["fields"][1],
            json::parse(R"j({"control":"Label10","kind":"option","group":"Label10",
              "groupLabel":"任务","label":"查找","choice":"2","value":false})j"));

  EXPECT_EQ(Post("/api/action", {{"action", "Tavrin.xls!QuitTools"}}).body["menuChanged"], true);
  EXPECT_EQ(Get("/api/menu").body, json::parse(R"j({"menu":null,"toolbar":null})j"));
  Post("/api/action", {{"action", "Tavrin.xls!BbbThing"}});
  EXPECT_EQ(Get("/api/menu").body["menu"]["items"].size(), 8u);
  EXPECT_EQ(Post("/api/action", {{"action", "MyInfo"}}).body["about"]["label"],
            json::parse(R"j({"left":368,"top":325,"width":89,"height":25})j"));
  EXPECT_EQ(Post("/api/action", {{"action", "Tavrin.xls!F9"}}).status, 400);
}

}  // namespace

}  // namespace tavrin
