#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

// The worked example's layout on a short list: keys B:C, values D:E, target H3.
void PutRecords(Workplace& w, const std::vector<std::vector<Variant>>& records) {
  w.Put("A1", {{"id", "k1", "k2", "v1", "v2"}});
  w.Put("A2", records);
  std::string last = std::to_string(records.size() + 1);
  w.Fill({{"RefEdit1", "A1:E" + last},
          {"RefEdit2", "B1:C1"},
          {"RefEdit3", "D1:E1"},
          {"RefEdit4", "H3"}});
}

TEST(FormulaSummarise, SumsEveryKeyCombinationWithTheAllBlankOneLast) {
  Workplace w;
  PutRecords(
      w, {{1, "a", "x", 1, 10}, {2, "A", "X", 2, 20}, {3, "b", "x", 4, 40}, {4, "", "", 8, 80}});
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("H3"), Variant("k1"));
  EXPECT_EQ(w.At("I3"), Variant("k2"));  // restored after the blank-key probe
  EXPECT_EQ(w.At("J3"), Variant("v1"));
  EXPECT_EQ(w.At("K3"), Variant("v2"));
  EXPECT_EQ(w.At("J4"), Variant(3));  // a/x with A/X: the filter and the formula agree
  EXPECT_EQ(w.At("K4"), Variant(30));
  EXPECT_EQ(w.At("J5"), Variant(4));
  EXPECT_EQ(w.At("J6"), Variant(8));  // the all-blank combination, below the last key row
  EXPECT_EQ(w.At("K6"), Variant(80));
  EXPECT_TRUE(w.At("J7").IsEmpty());
  EXPECT_EQ(w.FormulaAt("K6"), "80");
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"汇总完毕"}));
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(FormulaSummarise, AnEmptyFieldAsksForARangeAndChangesNothing) {
  for (const char* field : {"RefEdit1", "RefEdit2", "RefEdit3", "RefEdit4"}) {
    Workplace w;
    PutRecords(w, {{1, "a", "x", 1, 10}});
    w.Fill({{field, ""}});
    w.korvel().HZ(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请选定区域"})) << field;
    EXPECT_EQ(w.Titles(), (std::vector<std::string>{"Tavrin"})) << field;
    EXPECT_EQ(w.form.Focus(), field);
    EXPECT_TRUE(w.At("H3").IsEmpty()) << field;
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown) << field;
  }
}

TEST(FormulaSummarise, OnlyTheValueHeadersAreCopied) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}});
  w.Put("F1", {{"note", "more"}});  // beside the list's header row
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("K3"), Variant("v2"));
  EXPECT_TRUE(w.At("L3").IsEmpty());
  EXPECT_TRUE(w.At("M3").IsEmpty());
}

TEST(FormulaSummarise, EveryKeyBlankGivesOneRowOfGrandTotals) {
  Workplace w;
  PutRecords(w, {{1, "", "", 1, 10}, {2, "", "", 2, 20}, {3, "", "", 4, 40}});
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("I3"), Variant("k2"));
  EXPECT_TRUE(w.At("H4").IsEmpty() && w.At("I4").IsEmpty());
  EXPECT_EQ(w.At("J4"), Variant(7));
  EXPECT_EQ(w.At("K4"), Variant(70));
  EXPECT_TRUE(w.At("J5").IsEmpty());
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"汇总完毕"}));
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(FormulaSummarise, AHeaderRowHoldingANumberIsQueriedAndNoStops) {
  for (int answer : {vbNo, vbYes}) {
    Workplace w;
    PutRecords(w, {{1, "a", "x", 1, 10}});
    w.Put("E1", {{2024}});
    w.runtime.answers = {answer};
    w.korvel().HZ(w.Token(), w.form);
    EXPECT_EQ(w.Texts().front(), "标题行中包含有数值，该行真的是标题行吗？");
    EXPECT_EQ(w.At("J4"), answer == vbYes ? Variant(1) : Variant()) << answer;
  }
}

TEST(FormulaSummarise, AHeaderRowWithABlankIsQueriedAndNoStops) {
  for (int answer : {vbNo, vbYes}) {
    Workplace w;
    PutRecords(w, {{1, "a", "x", 1, 10}});
    w.Put("A1", {{Variant()}});
    w.runtime.answers = {answer};
    w.korvel().HZ(w.Token(), w.form);
    EXPECT_EQ(w.Texts().front(),
              "标题行中包含有空格，继续运行可能会出错。\n\n           是否继续运行？");
    EXPECT_EQ(w.At("J4"), answer == vbYes ? Variant(1) : Variant()) << answer;
  }
}

TEST(FormulaSummarise, ATotalRowAndANoteBelowTheListAreNotItsValues) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}, {2, "b", "x", 2, 20}});
  w.Put("B4", {{"合计", "", 3, 30}, {"", "", "note", ""}});
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("J5"), Variant(2));
  EXPECT_TRUE(w.At("H6").IsEmpty()) << "the total row's label is no key of the list";
  EXPECT_TRUE(w.At("J6").IsEmpty());
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"汇总完毕"}));
}

// The result ends with the keys: a note further down the value columns is neither asked about
// nor reached by the sums.
TEST(FormulaSummarise, ANoteBelowTheValueTargetIsLeftAlone) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}, {2, "b", "x", 2, 20}});
  w.Put("K20", {{"note"}});
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("K5"), Variant(20));
  EXPECT_TRUE(w.At("J6").IsEmpty() && w.At("K6").IsEmpty());
  EXPECT_EQ(w.At("K20"), Variant("note"));
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"汇总完毕"}));
}

TEST(FormulaSummarise, TextInTheValuesStopsWithItsCount) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", "'1", 10}, {2, "b", "x", 2, "n"}});
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(),
            (std::vector<std::string>{"要汇总的数据区域中包含有 2 个文本值，程序无法运行！"}));
  EXPECT_TRUE(w.At("H3").IsEmpty());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  EXPECT_TRUE(w.app.EnableEvents());
}

TEST(FormulaSummarise, AnOccupiedKeyTargetAnsweredNoChangesNothing) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}});
  w.Put("H900", {{"old"}});
  w.runtime.answers = {vbNo};
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("H900"), Variant("old"));
  EXPECT_TRUE(w.At("H3").IsEmpty());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  Workplace yes;
  PutRecords(yes, {{1, "a", "x", 1, 10}});
  yes.Put("H900", {{"old"}});
  yes.runtime.answers = {vbYes};
  yes.korvel().HZ(yes.Token(), yes.form);
  EXPECT_TRUE(yes.At("H900").IsEmpty());
  EXPECT_EQ(yes.At("K4"), Variant(10));  // one row, filled across only
}

TEST(FormulaSummarise, AnOccupiedValueTargetIsShownAndNoKeepsTheDistinctKeysOnly) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}, {2, "b", "x", 2, 20}});
  w.Put("K4", {{"old"}});
  w.runtime.answers = {vbNo};
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(),
            (std::vector<std::string>{"该区域中已存在有效数据，继续运行将会清除掉这些数据！\n\n\n"
                                      "                  是否继续运行？"}));
  EXPECT_EQ(w.runtime.shown[0].buttons, vbYesNo + vbDefaultButton2);
  EXPECT_EQ(w.app.Selection().Address(), "$J$3:$K$5");
  EXPECT_EQ(w.At("H5"), Variant("b"));
  EXPECT_EQ(w.At("I3"), Variant("k2"));
  EXPECT_TRUE(w.At("J3").IsEmpty()) << "no value headers";
  EXPECT_EQ(w.At("K4"), Variant("old"));
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(FormulaSummarise, AnOccupiedValueTargetAnsweredYesKeepsTheBlankKeysInTheirPlace) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}, {2, "", "", 2, 20}, {3, "b", "x", 4, 40}});
  w.Put("J5", {{"old", "old"}});  // beside the all-blank combination, listed second
  w.runtime.answers = {vbYes};
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("J4"), Variant(1));
  EXPECT_EQ(w.At("K5"), Variant(20));
  EXPECT_EQ(w.At("J6"), Variant(4));
  EXPECT_TRUE(w.At("J7").IsEmpty() && w.At("K7").IsEmpty());
}

TEST(FormulaSummarise, ValuesLeftOfTheTargetAndAFailure) {
  Workplace w;
  PutRecords(w, {{1, "a", "x", 1, 10}, {2, "a", "x", 5, 50}});
  w.Fill({{"RefEdit3", "D1"}});
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("J4"), Variant(6));  // C[-6]
  Workplace f;
  PutRecords(f, {{1, "a", "x", 1, 10}});
  f.Fill({{"RefEdit4", "not an address"}});
  EXPECT_THROW(f.korvel().HZ(f.Token(), f.form), HostError);
  EXPECT_TRUE(f.app.EnableEvents());
}

}  // namespace
}  // namespace tavrin
