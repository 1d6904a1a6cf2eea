#include "server/server_fixture.h"

namespace tavrin {

namespace {

TEST_F(ServerTest, ARunAsksThePageAndItsAnswersLetItFinish) {
  json asked = Run(
      "HZ", {{"RefEdit1", "A1:C5"}, {"RefEdit2", "A1:B1"}, {"RefEdit3", "C1"}, {"RefEdit4", "E1"}});
  EXPECT_EQ(asked["state"], "asking");
  EXPECT_EQ(asked["form"], "hidden");
  EXPECT_EQ(asked["question"]["kind"], "message");
  EXPECT_EQ(asked["question"]["buttons"], "YesNo");
  EXPECT_EQ(asked["question"]["default"], "No");
  EXPECT_EQ(asked["question"]["title"], "Lumo提示");

  // One run at a time, and only the open question takes an answer.
  EXPECT_EQ(Post("/api/run", {{"tool", "SC0"}}).body,
            json({{"error", "另一个操作正在进行，请先回答它的提示。"}}));
  EXPECT_EQ(Post("/api/select", {{"sheet", 0}, {"selection", "A1"}}).status, 409);
  EXPECT_EQ(Post("/api/answer", {{"id", asked["question"]["id"].get<int>() + 1}, {"answer", "Yes"}})
                .status,
            409);
  EXPECT_EQ(Post("/api/answer", {{"id", asked["question"]["id"]}, {"answer", "OK"}}).status, 400);
  EXPECT_EQ(Get("/api/workbook").body["running"], true);

  json done = Reply(Reply(asked, "Yes"), "OK");
  EXPECT_EQ(done["state"], "finished");
  EXPECT_EQ(done["form"], "unloaded");
  EXPECT_EQ(done["changed"], json({"Sheet1!E1:G4"}));
  EXPECT_EQ(done["messages"].back(), json({{"title", "Lumo提示"}, {"text", "汇总完毕"}}));
  json cell = Get("/api/cells?sheet=0&top=2&left=7&bottom=2&right=7").body["cells"][0];
  EXPECT_EQ(cell, json::parse(R"j({"r":2,"c":7,"text":"8","number":true,"changed":true})j"));
  json workbook = Get("/api/workbook").body;
  EXPECT_EQ(workbook["canUndo"], true);
  EXPECT_EQ(workbook["dirty"], true);
}

TEST_F(ServerTest, ACheckThatStopsTheRunLeavesTheDialogUp) {
  json stopped = Reply(Run("HZ", {{"RefEdit1", "A1:C5"}}), "OK");
  EXPECT_EQ(stopped["state"], "stopped");
  EXPECT_EQ(stopped["form"], "shown");
  EXPECT_EQ(stopped["messages"], json({{{"title", "Tavrin"}, {"text", "请选定区域"}}}));
  EXPECT_EQ(Get("/api/workbook").body["canUndo"], false);
}

TEST_F(ServerTest, TheSelectionPromptTakesARangeFromThePage) {
  json asked = Run("SC0", json::object());
  EXPECT_EQ(asked["question"]["kind"], "range");
  EXPECT_EQ(asked["question"]["prompt"], "请选定你要清零的单元格区域");
  Post("/api/answer", {{"id", asked["question"]["id"]}, {"range", "C2:C6"}});
  json done = Settled();
  while (done["state"] == "asking") done = Reply(done, "OK");
  EXPECT_EQ(done["state"], "finished");
  EXPECT_EQ(done["changed"], json({"Sheet1!C6"}));
  EXPECT_EQ(Text(6, 3), "");
}

TEST_F(ServerTest, UndoTakesTheWholeLastRunBack) {
  EXPECT_EQ(Post("/api/undo", json::object()).status, 409);
  Summarise();
  EXPECT_EQ(Text(1, 5), "Region");
  EXPECT_EQ(Post("/api/undo", json::object()).body, json({{"canUndo", false}}));
  EXPECT_EQ(Text(1, 5), "old");
  EXPECT_EQ(Text(2, 7), "");
  json workbook = Get("/api/workbook").body;
  EXPECT_EQ(workbook["dirty"], false);
  EXPECT_EQ(workbook["canUndo"], false);
  EXPECT_EQ(
      Get("/api/cells?sheet=0&top=1&left=5&bottom=1&right=5").body["cells"][0].count("changed"),
      0u);
}

}  // namespace

}  // namespace tavrin
