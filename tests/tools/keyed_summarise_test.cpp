#include <gtest/gtest.h>

#include "support/workplace.h"

namespace tavrin {
namespace {

const std::string kQuestion22 = "                      是否继续运行？";

std::string Question(const std::string& count) {
  return "目标数据区域中包含有 " + count + " 个数据，继续运行将会清除这些数据。\n\n\n" +
         kQuestion22;
}

// The dialog for a task and a mode; the four areas as given.
void Dialog(Workplace& w, double task, double mode, const char* source, const char* data,
            const char* target, const char* targetData = "") {
  w.Fill({{"Label10", task},
          {"Label9", mode},
          {"RefEdit1", source},
          {"RefEdit2", data},
          {"RefEdit3", target},
          {"RefEdit4", targetData}});
}

std::vector<Variant> Column(Workplace& w, const char* address) {
  Block block = w.sheet().Range(address).Values();
  std::vector<Variant> cells;
  for (int r = 1; r <= block.Rows(); ++r) cells.push_back(block(r, 1));
  return cells;
}

TEST(KeyedSummarise, DistinctConditionsInFirstAppearanceOrderWithTheirSums) {
  Workplace w;
  w.Put("A1", {{"a", 1, 10}, {"b", 2, 20}, {"a", 3, "x"}, {"c", 4, ""}, {"b", 5, 50}});
  Dialog(w, 1, 1, "A1:A5", "B1:C1", "E2");
  w.runtime.times = {10, 10.5, 20, 20.25};
  w.app.SetEnableEvents(false);
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(Column(w, "E2:E5"), (std::vector<Variant>{"a", "b", "c", Variant()}));
  EXPECT_EQ(Column(w, "F2:F4"), (std::vector<Variant>{4, 7, 4}));
  EXPECT_EQ(Column(w, "G2:G4"), (std::vector<Variant>{10, 70, Variant()}))
      << "a text adds nothing; nothing to add leaves the cell empty, not 0";
  // The time of the work only, the question-free pause between the steps left out.
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"0.75秒"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"Tavrin"}));
  EXPECT_FALSE(w.app.EnableEvents()) << "events as they were found";
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(KeyedSummarise, HeadersReplaceTheFirstSumRow) {
  Workplace w;
  w.Put("A1", {{"key", "qty"}, {"a", 1}, {"a", 2}});
  Dialog(w, 1, 1, "A1:A3", "B1", "D1");
  w.Fill({{"CheckBox1", Variant::Boolean(true)}});
  w.runtime.times = {1, 3};
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(Column(w, "D1:D2"), (std::vector<Variant>{"key", "a"}));
  EXPECT_EQ(Column(w, "E1:E2"), (std::vector<Variant>{"qty", 3}));
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"2秒"}));
}

TEST(KeyedSummarise, ATinyTimeIsWrittenAsTheHostWritesASmallNumber) {
  Workplace w;
  w.Put("A1", {{"a", 1}});
  Dialog(w, 3, 1, "A1", "", "D1");
  w.runtime.times = {0, 0.00004};
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"4E-05秒"}));
}

TEST(KeyedSummarise, HeadersAreForSumsOnly) {
  for (auto [mode, combined] : {std::pair{2, Variant("1;2")}, std::pair{4, Variant(2)}}) {
    Workplace w;
    w.Put("A1", {{"a", 1}, {"a", 2}});
    Dialog(w, 1, mode, "A1:A2", "B1", "D1");
    w.Fill({{"CheckBox1", Variant::Boolean(true)}, {"TextBox1", ";"}});
    w.korvel().HzCzBcf(w.Token(), w.form);
    EXPECT_EQ(w.At("D1"), Variant("a")) << mode;
    EXPECT_EQ(w.At("E1"), combined) << "mode " << mode << " keeps its first row";
  }
}

TEST(KeyedSummarise, JoinFirstAndLastLookUpTargetsInSourceOrder) {
  struct Case {
    int mode;
    std::vector<Variant> expected;
  };
  for (const Case& c :
       {Case{2, {"p;q;r", Variant(), "s"}}, Case{3, {"p", Variant(), "s"}},
        Case{4, {"r", Variant(), "s"}}, Case{1, {Variant(), Variant(), Variant()}}}) {
    Workplace w;
    w.Put("A1", {{"x", "p"}, {"y", "s"}, {"x", "q"}, {"x", "r"}});
    w.Put("D1", {{"x"}, {"z"}, {"y"}});
    Dialog(w, 2, c.mode, "A1:A4", "B1", "D1:D3", "E1");
    w.Fill({{"TextBox1", ";"}});
    w.korvel().HzCzBcf(w.Token(), w.form);
    EXPECT_EQ(Column(w, "E1:E3"), c.expected) << "mode " << c.mode;
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  }
}

TEST(KeyedSummarise, ATargetConditionWithoutTextFailsASumOrJoinAndStaysEmptyInFirstOrLast) {
  for (int mode : {1, 2, 3, 4}) {
    Workplace w;
    w.Put("A1", {{"x", "p"}, {"y", "s"}});
    w.Put("D1", {{"x"}, {Variant(ErrorValue::NA)}, {"y"}});
    Dialog(w, 2, mode, "A1:A2", "B1", "D1:D3", "E1");
    w.Fill({{"TextBox1", ";"}});
    w.korvel().HzCzBcf(w.Token(), w.form);
    if (mode <= 2) {
      EXPECT_EQ(w.Titles(), (std::vector<std::string>{"未知错误"})) << "mode " << mode;
    } else {
      EXPECT_EQ(Column(w, "E1:E3"), (std::vector<Variant>{"p", Variant(), "s"})) << "mode " << mode;
    }
  }
}

TEST(KeyedSummarise, JoinKeepsEmptyTextsBetweenSeparators) {
  Workplace w;
  w.Put("A1", {{"x", "p"}, {"x", ""}, {"x", "r"}});
  w.Put("D1", {{"x"}});
  Dialog(w, 2, 2, "A1:A3", "B1", "D1", "E1");
  w.Fill({{"TextBox1", ","}});
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(w.At("E1"), Variant("p,,r"));
}

TEST(KeyedSummarise, ConditionsMatchExactlyOnTheirTexts) {
  Workplace w;
  // The number 1 and the text 1 both read "1"; the text 1.0 and letter case differ.
  w.Put("A1", {{1, 10}, {"'1", 20}, {"'1.0", 40}, {"a", 1}, {"A", 2}});
  Dialog(w, 1, 1, "A1:A5", "B1", "D1");
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(Column(w, "D1:D5"), (std::vector<Variant>{1, 1, "a", "A", Variant()}))
      << "the distinct texts are written as typed entries";
  EXPECT_EQ(Column(w, "E1:E4"), (std::vector<Variant>{30, 40, 1, 2}));
}

TEST(KeyedSummarise, DistinctListOnlyWithTwoConditionColumns) {
  Workplace w;
  w.Put("A1", {{"a", "x", 99}, {"a", "y", 99}, {"a", "x", 99}});
  Dialog(w, 3, 1, "A1:B3", "C1", "E5");
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(Column(w, "E5:E7"), (std::vector<Variant>{"a", "a", Variant()}));
  EXPECT_EQ(Column(w, "F5:F7"), (std::vector<Variant>{"x", "y", Variant()}));
  EXPECT_TRUE(w.At("G5").IsEmpty()) << "no data for the distinct list";
}

TEST(KeyedSummarise, ConditionColumnsThatDoNotPairUpStopTheLookup) {
  Workplace w;
  w.Put("A1", {{"a", "b", 1}});
  w.Put("E1", {{"a"}});
  Dialog(w, 2, 1, "A1:B1", "C1", "E1", "F1");
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{
                           "来源-条件区域 的列数与 目标-条件区域 的列数不一致，条件无法匹配，"
                           "程序终止！"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"提示"}));
  EXPECT_TRUE(w.At("F1").IsEmpty());
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(KeyedSummarise, NoToTheOverwriteQuestionChangesNothing) {
  for (int task : {1, 2}) {
    Workplace w;
    w.Put("A1", {{"a", 1}, {"b", 2}});
    w.Put("D1", {{"a", "old"}, {"b", 7}});
    Dialog(w, task, 1, "A1:A2", "B1", task == 1 ? "D1" : "D1:D2", "E1");
    w.app.SetEnableEvents(false);
    w.korvel().HzCzBcf(w.Token(), w.form);  // the default button is No
    EXPECT_EQ(w.Texts(), (std::vector<std::string>{Question(task == 1 ? "4" : "2")}));
    EXPECT_EQ(w.Titles(), (std::vector<std::string>{"提示"}));
    EXPECT_EQ(w.runtime.shown[0].buttons, 4 + 256);
    EXPECT_EQ(w.app.Selection().Address(), "$" + std::string(task == 1 ? "D$1:$E$2" : "E$1:$E$2"));
    EXPECT_EQ(w.At("E1"), Variant("old"));
    EXPECT_EQ(w.At("E2"), Variant(7));
    EXPECT_FALSE(w.app.EnableEvents());
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  }
}

TEST(KeyedSummarise, YesOverwritesAndTheQuestionTimeIsLeftOut) {
  Workplace w;
  w.Put("A1", {{"a", 1}, {"a", 2}});
  w.Put("D1", {{"a", "old"}});
  Dialog(w, 2, 1, "A1:A2", "B1", "D1", "E1");
  w.runtime.answers = {vbYes};
  w.runtime.times = {100, 100.25, 160, 160.5};
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(w.At("E1"), Variant(3)) << "a one-cell target is a block of one row";
  EXPECT_EQ(w.Texts().back(), "0.75秒");
}

TEST(KeyedSummarise, OneCellAreasAreBlocksOfOneRowAndColumn) {
  Workplace w;
  w.Put("A1", {{"k", 5}});
  Dialog(w, 1, 3, "A1", "B1", "D1");
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(w.At("D1"), Variant("k"));
  EXPECT_EQ(w.At("E1"), Variant(5));
}

TEST(KeyedSummarise, TextsHoldingNulSohAndCrStayWhole) {
  Workplace w;
  std::string nul("b\0a", 3);
  std::string soh = "a\x01";
  std::string cr = "a\rb";
  w.Put("A1", {{nul,
                "1\x01"
                "2"},
               {"a", "3"},
               {soh, 4},
               {cr, "p\rq"},
               {"a", 5}});
  Dialog(w, 1, 2, "A1:A5", "B1", "D1");
  w.Fill({{"TextBox1", "+"}});
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(Column(w, "D1:D5"), (std::vector<Variant>{nul, "a", soh, cr, Variant()}));
  EXPECT_EQ(Column(w, "E1:E4"), (std::vector<Variant>{"1\x01"
                                                      "2",
                                                      "3+5", 4, "p\rq"}));
  for (int mode : {1, 3, 4}) {
    Workplace m;
    m.Put("A1", {{nul, 1}, {"a", 2}, {cr, 3}, {"a", 4}});
    m.Put("D1", {{"a"}, {cr}, {"b"}});
    Dialog(m, 2, mode, "A1:A4", "B1", "D1:D3", "E1");
    m.korvel().HzCzBcf(m.Token(), m.form);
    std::vector<Variant> expected = mode == 1   ? std::vector<Variant>{6, 3, Variant()}
                                    : mode == 3 ? std::vector<Variant>{2, 3, Variant()}
                                                : std::vector<Variant>{4, 3, Variant()};
    EXPECT_EQ(Column(m, "E1:E3"), expected) << "mode " << mode;
  }
}

TEST(KeyedSummarise, FailuresEndInTheReportWithEventsAsFound) {
  Workplace w;
  w.Put("A1", {{Variant(ErrorValue::NA), 1}});
  Dialog(w, 1, 1, "A1", "B1", "D1");
  w.app.SetEnableEvents(false);
  w.app.SetScreenUpdating(false);
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{
                           "错误内容：\n\n\t类型不匹配\n\n程序已经终止，输出结果可能不正确！"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"未知错误"}));
  EXPECT_FALSE(w.app.EnableEvents());
  EXPECT_TRUE(w.app.ScreenUpdating());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);

  Workplace empty;
  Dialog(empty, 1, 1, "", "B1", "D1");
  empty.korvel().HzCzBcf(empty.Token(), empty.form);
  EXPECT_EQ(empty.Titles(), (std::vector<std::string>{"未知错误"})) << "an empty address";
}

// As the runtime's addition: the tool stops with the overflow, never writes infinity.
TEST(KeyedSummarise, ASumPastTheRangeOfNumbersEndsInTheOverflowReport) {
  Workplace w;
  w.Put("A1", {{"a", 1e308}, {"b", 1}, {"a", "1E308"}});
  Dialog(w, 1, 1, "A1:A3", "B1", "D1");
  w.korvel().HzCzBcf(w.Token(), w.form);
  EXPECT_EQ(
      w.Texts(),
      (std::vector<std::string>{"错误内容：\n\n\t溢出\n\n程序已经终止，输出结果可能不正确！"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"未知错误"}));
  EXPECT_TRUE(w.At("E1").IsEmpty()) << "no sum written";
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(KeyedSummarise, AnUnknownModeWritesTheDistinctListOnly) {
  for (double mode : {0.0, 5.0, 1.5}) {
    Workplace w;
    w.Put("A1", {{"a", 1}});
    Dialog(w, 1, mode, "A1", "B1", "D1");
    w.korvel().HzCzBcf(w.Token(), w.form);
    EXPECT_EQ(w.At("D1"), Variant("a")) << "mode " << mode;
    EXPECT_TRUE(w.At("E1").IsEmpty()) << "mode " << mode;
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  }
}

TEST(KeyedSummarise, AnUnknownTaskLooksUpWithoutSourceDataAndSoFails) {
  for (double task : {0.0, 4.0, 2.5}) {
    Workplace w;
    w.Put("A1", {{"a", 1}});
    w.Put("D1", {{"a", "b"}});
    Dialog(w, task, 1, "A1", "B1", "D1", "F1");
    w.korvel().HzCzBcf(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), (std::vector<std::string>{"错误内容：\n\n\t应用程序定义或对象定义错误"
                                                   "\n\n程序已经终止，输出结果可能不正确！"}))
        << "task " << task << ": a data target of no columns";
    EXPECT_TRUE(w.At("F1").IsEmpty());
    EXPECT_EQ(w.At("E1"), Variant("b")) << "no distinct list";

    Workplace wide;
    wide.Put("A1", {{"a", 1}});
    Dialog(wide, task, 1, "A1", "B1", "D1:E1", "F1");
    wide.korvel().HzCzBcf(wide.Token(), wide.form);
    EXPECT_EQ(wide.Titles(), (std::vector<std::string>{"提示"})) << "the column-count message";
  }
}

TEST(KeyedSummarise, StaleTokenOnlyTellsSo) {
  Workplace w;
  w.app.SetEnableEvents(false);
  w.korvel().HzCzBcf("stale", w.form);
  EXPECT_EQ(w.Texts().size(), 1u);
  EXPECT_FALSE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

}  // namespace
}  // namespace tavrin
