#include "server/server_fixture.h"

namespace tavrin {

namespace {

TEST_F(ServerTest, ARunAsksThePageAndItsAnswersLetItFinish) {
  EXPECT_EQ(Get("/api/run").body["form"], "unloaded") << "no run yet";
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
  // An answer must name its question by number.
  for (const json& answer : {json{{"answer", "Yes"}}, json{{"id", "1"}, {"answer", "Yes"}},
                             json::array({asked["question"]["id"], "Yes"})}) {
    EXPECT_EQ(Post("/api/answer", answer).body, json({{"error", "回答缺少提示的编号（id）。"}}))
        << answer;
  }
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

// A check box or option button takes true or false, any other control a text.
TEST_F(ServerTest, ARunIsRefusedAControlValueOfTheWrongKind) {
  for (const json& controls :
       {json{{"CheckBox1", "1"}}, json{{"OptionButton2", nullptr}}, json{{"RefEdit1", true}},
        json{{"TextBox1", 1}}, json{{"Nothing", "A1"}}, json::array({"RefEdit1"})}) {
    EXPECT_EQ(Post("/api/run", {{"tool", "HZ"}, {"controls", controls}}).status, 400) << controls;
  }
  json asked = Run("HZ", {{"RefEdit1", "A1:C5"},
                          {"RefEdit2", "A1:B1"},
                          {"RefEdit3", "C1"},
                          {"RefEdit4", "E1"},
                          {"CheckBox1", true},
                          {"OptionButton1", false},
                          {"OptionButton2", true}});
  EXPECT_EQ(asked["state"], "asking");
  EXPECT_EQ(Reply(Reply(asked, "Yes"), "OK")["state"], "finished");
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

TEST_F(ServerTest, ACancelledPromptStopsTheRunAndAnErrorReachingTheCallerFailsIt) {
  json asked = Run("SC0", json::object());
  Post("/api/answer", {{"id", asked["question"]["id"]}, {"answer", "Cancel"}});
  EXPECT_EQ(Settled()["state"], "stopped");
  // The lookup's source table names no range: the host's error reaches the caller.
  json failed = Run("DSYCZ", {{"RefEdit1", "A2:A3"},
                              {"RefEdit2", "B2"},
                              {"RefEdit3", "nothing"},
                              {"RefEdit4", "A1"},
                              {"RefEdit5", "C1"}});
  EXPECT_EQ(failed["state"], "failed");
  EXPECT_EQ(failed["error"], "424 要求对象");
}

class SlowRunTest : public ServerTest {
 protected:
  // The workbook opened again with every step of a run slowed down by the pause, so that the run
  // is still working when the next request comes.
  void OpenWithStepPause(const std::string& milliseconds) {
    setenv("TAVRIN_STEP_PAUSE_MS", milliseconds.c_str(), 1);
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(
        Read(client->Post("/api/open?name=list.xlsx", bytes, "application/octet-stream")).status,
        200);
    unsetenv("TAVRIN_STEP_PAUSE_MS");
  }
};

TEST_F(SlowRunTest, ACancelledRunStopsAtItsNextStepAndLeavesTheWorkbookAsItFoundIt) {
  EXPECT_EQ(Post("/api/cancel", json::object()).status, 409);  // no run to cancel
  EXPECT_EQ(Read(client->Get("/api/cancel")).status, 405);
  EXPECT_EQ(Read(Client()->Post("/api/cancel", "{}", "application/json")).status, 403);
  OpenWithStepPause("200");
  json asked = Run(
      "HZ", {{"RefEdit1", "A1:C5"}, {"RefEdit2", "A1:B1"}, {"RefEdit3", "C1"}, {"RefEdit4", "E1"}});
  EXPECT_EQ(Post("/api/answer", {{"id", asked["question"]["id"]}, {"answer", "Yes"}}).status, 200);
  EXPECT_EQ(Post("/api/select", {{"sheet", 0}, {"selection", "A1"}}).status, 409);
  EXPECT_EQ(Post("/api/cancel", json::object()).status, 200);
  json cancelled = Settled();
  EXPECT_EQ(cancelled["state"], "cancelled");
  EXPECT_EQ(cancelled["changed"], json::array());
  EXPECT_EQ(Text(1, 5), "old");
  EXPECT_EQ(Get("/api/workbook").body["canUndo"], false);
  EXPECT_EQ(Get("/api/workbook").body["dirty"], false);
}

// The page asks with wait=1 to hear of the run's next move (or, at the latest, in a second);
// without it the state comes at once.
TEST_F(SlowRunTest, TheRunsStateComesAtOnceOrWhenTheRunMoves) {
  using Clock = std::chrono::steady_clock;
  OpenWithStepPause("1500");
  json asked = Run(
      "HZ", {{"RefEdit1", "A1:C5"}, {"RefEdit2", "A1:B1"}, {"RefEdit3", "C1"}, {"RefEdit4", "E1"}});
  EXPECT_EQ(Post("/api/answer", {{"id", asked["question"]["id"]}, {"answer", "Yes"}}).status, 200);
  Clock::time_point start = Clock::now();
  json running = Get("/api/run").body;
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1)) << "it did not wait for the run";
  EXPECT_EQ(running["state"], "running");
  EXPECT_FALSE(running.contains("question")) << "the question answered is gone";
  start = Clock::now();
  EXPECT_EQ(Get("/api/run?wait=1").body["state"], "running");
  EXPECT_GE(Clock::now() - start, std::chrono::seconds(1)) << "it waited for the run";
  EXPECT_EQ(Post("/api/cancel", json::object()).status, 200);
  EXPECT_EQ(Settled()["state"], "cancelled");
}

TEST_F(ServerTest, UndoTakesARunThatAddedASheetBack) {
  Post("/api/select", {{"sheet", 0}, {"selection", "B2"}});
  json done =
      Run("FYXJYHJ",
          {{"RefEdit1", "C2"}, {"RefEdit2", "A1"}, {"TextBox1", "小计"}, {"TextBox2", "合计"}});
  while (done["state"] == "asking") done = Reply(done, "OK");
  EXPECT_EQ(done["state"], "finished");
  json workbook = Get("/api/workbook").body;
  EXPECT_EQ(workbook["sheets"].size(), 2u);
  EXPECT_EQ(workbook["active"], 1);
  EXPECT_EQ(done["changed"][0].get<std::string>().substr(0, 14), "'Sheet1 (2)'!A");
  Post("/api/undo", json::object());
  workbook = Get("/api/workbook").body;
  EXPECT_EQ(workbook["sheets"].size(), 1u);
  EXPECT_EQ(workbook["active"], 0);
  EXPECT_EQ(workbook["selection"], "B2");
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
