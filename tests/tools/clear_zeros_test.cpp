#include <gtest/gtest.h>

#include "support/workplace.h"

namespace tavrin {
namespace {

const char* const kWarning =
    "警告！\n\n    当“公式的结果为零”时，使用该功能会将“公式”也一并清除掉。\n\n\n"
    "                       是否执行此功能？";

// The five cells: 0 shown with two decimals, =0, =A1-A1, the text 00, nothing.
void PutFiveCells(Workplace& w) {
  w.sheet().Range("B1").SetValue(0);
  w.sheet().Range("B2").SetFormula("=0");
  w.sheet().Range("B3").SetFormula("=B1-B1");
  w.sheet().Range("B4").SetValue("'00");
}

void Answer(Workplace& w, std::optional<std::string> address) {
  w.app.SetInputAnswerer([address](const std::string& prompt, const std::string& title) {
    EXPECT_EQ(prompt, "请选定你要清零的单元格区域");
    EXPECT_EQ(title, "Lumo提示");
    return address;
  });
}

TEST(ClearZeros, ClearsOnlyTheConstantZero) {
  Workplace w;
  PutFiveCells(w);
  Answer(w, "B1:B5");
  w.korvel().SC0(w.Token(), w.form);
  EXPECT_TRUE(w.sheet().Range("B1").Value().IsEmpty());
  EXPECT_EQ(w.FormulaAt("B2"), "=0");
  EXPECT_EQ(w.FormulaAt("B3"), "=B1-B1");
  EXPECT_EQ(w.FormulaAt("B4"), "00");
  EXPECT_TRUE(w.Texts().empty()) << "no completion message";
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Hidden) << "the form stays hidden";
}

TEST(ClearZeros, ClearsTheTextZeroButNotOtherTexts) {
  Workplace w;
  w.Put("A1", {{"'0", "' 0", "'0.0"}});
  Answer(w, "A1:C1");
  w.korvel().SC0(w.Token(), w.form);
  EXPECT_TRUE(w.At("A1").IsEmpty());
  EXPECT_EQ(w.At("B1"), Variant(" 0"));
  EXPECT_EQ(w.At("C1"), Variant("0.0"));
}

TEST(ClearZeroValues, ClearsEveryCellWhoseValueIsZeroAfterTheWarning) {
  Workplace w;
  PutFiveCells(w);
  w.runtime.answers = {vbYes};
  Answer(w, "B1:B5");
  w.korvel().SCGS0(w.Token(), w.form);
  ASSERT_EQ(w.runtime.shown.size(), 1u);
  EXPECT_EQ(w.runtime.shown[0].text, kWarning);
  EXPECT_EQ(w.runtime.shown[0].title, "Lumo提示");
  EXPECT_EQ(w.runtime.shown[0].buttons, 4 + 256);
  for (const char* cell : {"B1", "B2", "B3", "B4", "B5"}) {
    EXPECT_EQ(w.FormulaAt(cell), "") << cell;
  }
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Hidden);
}

TEST(ClearZeroValues, FalseIsZeroTrueIsNot) {
  Workplace w;
  w.Put("A1", {{Variant::Boolean(false), Variant::Boolean(true), Variant(" 0 ")}});
  w.runtime.answers = {vbYes};
  Answer(w, "A1:C1");
  w.korvel().SCGS0(w.Token(), w.form);
  EXPECT_TRUE(w.At("A1").IsEmpty());
  EXPECT_EQ(w.At("B1"), Variant::Boolean(true));
}

TEST(ClearZeroValues, ATextThatIsNoNumberStopsMidRangeInTheFailureReport) {
  Workplace w;
  w.Put("A1", {{0}, {5}, {"abc"}, {0}});
  w.runtime.answers = {vbYes};
  Answer(w, "A1:A4");
  w.app.SetScreenUpdating(false);
  w.korvel().SCGS0(w.Token(), w.form);
  EXPECT_TRUE(w.At("A1").IsEmpty()) << "cleared before the failure";
  EXPECT_EQ(w.At("A4"), Variant(0)) << "untouched after it";
  ASSERT_EQ(w.runtime.shown.size(), 2u);
  EXPECT_EQ(w.runtime.shown[1].text,
            "错误内容：\n\n\t类型不匹配\n\n程序已经终止，输出结果可能不正确！");
  EXPECT_EQ(w.runtime.shown[1].title, "未知错误");
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_TRUE(w.app.ScreenUpdating());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown) << "shown again to try again";
}

TEST(ClearZeroValues, ErrorValueCannotBeCompared) {
  Workplace w;
  w.Put("A1", {{Variant(ErrorValue::NA)}});
  w.runtime.answers = {vbYes};
  Answer(w, "A1");
  w.korvel().SCGS0(w.Token(), w.form);
  EXPECT_EQ(w.Titles().back(), "未知错误");
}

TEST(ClearZeros, SeveralAreasAreVisitedAreaByArea) {
  Workplace w;
  w.Put("A1", {{0, 1}, {1, 0}});
  w.Put("D5", {{0}});
  Answer(w, "A1:B2,D5");
  w.korvel().SC0(w.Token(), w.form);
  EXPECT_TRUE(w.At("A1").IsEmpty());
  EXPECT_TRUE(w.At("B2").IsEmpty());
  EXPECT_TRUE(w.At("D5").IsEmpty());
  EXPECT_EQ(w.At("B1"), Variant(1));
}

// Cancelling the prompt, or answering No to the warning, is the user's choice: no failure
// report, events and screen updating on, the form shown again, nothing cleared.
TEST(ClearZeros, CancelledPromptIsNoFailure) {
  for (bool values : {false, true}) {
    Workplace w;
    w.Put("A1", {{0}});
    Answer(w, std::nullopt);
    w.runtime.answers = {vbYes};
    w.app.SetScreenUpdating(false);
    values ? w.korvel().SCGS0(w.Token(), w.form) : w.korvel().SC0(w.Token(), w.form);
    EXPECT_EQ(w.At("A1"), Variant(0));
    for (const auto& title : w.Titles()) EXPECT_NE(title, "未知错误");
    EXPECT_TRUE(w.app.EnableEvents());
    EXPECT_TRUE(w.app.ScreenUpdating());
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  }
}

TEST(ClearZeroValues, NoToTheWarningAsksNothingMoreAndClearsNothing) {
  Workplace w;
  w.Put("A1", {{0}});
  bool asked = false;
  w.app.SetInputAnswerer([&](const std::string&, const std::string&) {
    asked = true;
    return std::optional<std::string>("A1");
  });
  w.korvel().SCGS0(w.Token(), w.form);  // the default button is No
  EXPECT_FALSE(asked);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{kWarning}));
  EXPECT_EQ(w.At("A1"), Variant(0));
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(ClearZeros, StaleTokenLeavesTheFormUp) {
  Workplace w;
  w.korvel().SC0("stale", w.form);
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  EXPECT_EQ(w.Texts().size(), 1u);
}

}  // namespace
}  // namespace tavrin
