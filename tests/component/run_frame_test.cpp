#include "component/run_frame.h"

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

const char* const kStale = "类初始化序号不对：你在打开本文件时可能未启用宏。";

TEST(RunFrame, StaleOrBlankPaddedTokenIsRejectedAndNothingElseHappens) {
  Workplace w;
  std::string token = w.Token();
  std::string oneOff = token;
  oneOff.back() = oneOff.back() == '9' ? '8' : '9';
  for (const std::string& wd : {oneOff, token + " ", std::string()}) {
    w.runtime.shown.clear();
    w.app.SetEnableEvents(true);
    w.korvel().QDZBG(wd, w.form);
    ASSERT_EQ(w.runtime.shown.size(), 1u) << "[" << wd << "]";
    EXPECT_EQ(w.runtime.shown[0].text, kStale);
    EXPECT_EQ(w.runtime.shown[0].title, "Lumo提示");
    EXPECT_EQ(w.runtime.shown[0].buttons, 0);
    EXPECT_TRUE(w.app.EnableEvents());
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  }
}

TEST(RunFrame, HostWorkbookActiveIsRefused) {
  Workplace w;
  w.korvel().CSH();  // brings the host workbook forward
  w.runtime.shown.clear();
  w.Fill({{"RefEdit1", "A1:C3"}, {"RefEdit2", "E1"}});
  w.korvel().BGZQD(w.korvel().InitToken(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请先切换到目标工作簿！"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"Lumo提示"}));
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(RunFrame, FirstEmptyFieldIsReportedUnderTheLibraryTitleAndFocused) {
  Workplace w;
  w.Fill({{"RefEdit1", "A1:E100"}, {"RefEdit2", "B1:C1"}, {"RefEdit4", "H3"}});
  w.app.SetEnableEvents(true);
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请选定区域"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"Tavrin"}));
  EXPECT_EQ(w.form.Focus(), "RefEdit3");
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown) << "the form is not hidden";
  EXPECT_TRUE(w.app.EnableEvents());
}

TEST(RunFrame, FieldOfBlanksIsNotEmpty) {
  Workplace w;
  w.Fill({{"RefEdit1", " "}, {"RefEdit2", "  "}});
  RunFrame frame(w.korvel(), w.form);
  EXPECT_TRUE(frame.FieldsFilled({"RefEdit1", "RefEdit2"}));
  EXPECT_FALSE(frame.FieldsFilled({"RefEdit1", "RefEdit3"}));
  EXPECT_EQ(w.form.Focus(), "RefEdit3");
}

TEST(RunFrame, FailureReportTextAndTheStateItLeaves) {
  Workplace w;
  RunFrame frame(w.korvel(), w.form);
  frame.EventsOff();
  frame.HideForm();
  w.app.SetScreenUpdating(false);
  frame.WithFailureReport([] { throw HostError::TypeMismatch(); });
  ASSERT_EQ(w.runtime.shown.size(), 1u);
  EXPECT_EQ(w.runtime.shown[0].text,
            "错误内容：\n\n\t类型不匹配\n\n程序已经终止，输出结果可能不正确！");
  EXPECT_EQ(w.runtime.shown[0].title, "未知错误");
  EXPECT_EQ(w.runtime.shown[0].buttons, 0);
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_TRUE(w.app.ScreenUpdating());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Hidden) << "left as the failure left it";
}

TEST(RunFrame, FailureReportCanShowTheFormAgainAndKeepsAnEmptyDescription) {
  Workplace w;
  RunFrame frame(w.korvel(), w.form);
  frame.HideForm();
  frame.FailureReport("", true);
  EXPECT_EQ(w.Texts(),
            (std::vector<std::string>{"错误内容：\n\n\t\n\n程序已经终止，输出结果可能不正确！"}));
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(RunFrame, AnOccupiedTargetIsShownAndAskedAboutAndNoEndsWithEventsBack) {
  Workplace w;
  w.Put("A1", {{"old", 2}});
  RunFrame frame(w.korvel(), w.form);
  frame.EventsOff();
  auto question = [](double count) { return "holds " + std::to_string(static_cast<int>(count)); };
  EXPECT_TRUE(frame.MayOverwrite(w.sheet().Range("C1:C3"), ShowTarget::Select, question, vbYesNo));
  EXPECT_TRUE(w.runtime.shown.empty()) << "an empty target asks nothing";

  w.runtime.answers = {vbYes, vbNo};
  EXPECT_TRUE(frame.MayOverwrite(w.sheet().Range("A1:B3"), ShowTarget::Select, question,
                                 vbYesNo + vbDefaultButton2, "提示"));
  EXPECT_EQ(w.app.Selection().Address(), "$A$1:$B$3");
  EXPECT_FALSE(w.app.EnableEvents());
  EXPECT_FALSE(
      frame.MayOverwrite(w.sheet().Range("B1:B2"), ShowTarget::AsShown, question, vbYesNo));
  EXPECT_EQ(w.app.Selection().Address(), "$A$1:$B$3") << "left as the tool showed it";
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"holds 2", "holds 1"}));
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"提示", "Lumo提示"}));
  EXPECT_EQ(w.runtime.shown[0].buttons, vbYesNo + vbDefaultButton2);
}

TEST(RunFrame, KeptEventsSettingIsRestoredOnEveryExit) {
  Workplace w;
  w.app.SetEnableEvents(false);
  RunFrame frame(w.korvel(), w.form);
  frame.KeepEventsAndOff();
  frame.WithFailureReport([] { throw HostError::ApplicationDefined(); });
  EXPECT_FALSE(w.app.EnableEvents()) << "back to the setting found, not on";

  w.app.SetEnableEvents(true);
  RunFrame second(w.korvel(), w.form);
  second.KeepEventsAndOff();
  EXPECT_FALSE(w.app.EnableEvents());
  second.EventsBack();
  EXPECT_TRUE(w.app.EnableEvents());
}

}  // namespace
}  // namespace tavrin
