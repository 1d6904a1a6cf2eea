#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

TEST(Initialisation, TokenIsTheWholePartOfTheDrawTimesOneHundredMillion) {
  Workplace w;
  for (auto [draw, token] :
       std::vector<std::pair<double, std::string>>{{0.12345678, "12345678"},
                                                   {0.000000009, "0"},
                                                   {0.5, "50000000"},
                                                   {0.9999999999999999, "99999999"},
                                                   {0.00000123, "123"}}) {
    w.runtime.draws = {draw};
    w.korvel().CSH();
    EXPECT_EQ(w.korvel().InitToken(), token) << draw;
    EXPECT_EQ(w.Token(), token) << "bf!A1 holds the token";
  }
  EXPECT_EQ(w.runtime.randomizeCount, 6) << "re-seeded on every CSH";
}

TEST(Initialisation, ShowsTheHostAndLeavesScreenUpdatingOff) {
  Workplace w;
  EXPECT_TRUE(w.app.Visible());
  EXPECT_FALSE(w.app.ScreenUpdating());
  EXPECT_EQ(w.korvel().MacroPrefix(), "Tavrin.xls!");
}

TEST(Initialisation, ActivatesTheHostWorkbookWindow) {
  Workplace w;
  w.korvel().CSH();
  EXPECT_EQ(w.app.ActiveWorkbook().Name(), "Tavrin.xls");
}

TEST(Initialisation, BeforeCshTheTokenIsEmptyAndOnlyAnEmptyTokenPasses) {
  ScriptedRuntime runtime;
  Korvel korvel(runtime);
  EXPECT_EQ(korvel.InitToken(), "");
  DialogForm form;
  korvel.HZ("12345678", form);
  ASSERT_EQ(runtime.shown.size(), 1u);
  EXPECT_EQ(runtime.shown[0].text, "类初始化序号不对：你在打开本文件时可能未启用宏。");
  // An empty token passes, and the run meets the missing host application.
  EXPECT_THROW(korvel.HZ("", form), HostError);
}

TEST(Initialisation, SecondCshReplacesTheToken) {
  Workplace w;
  w.runtime.draws = {0.11111111};
  w.korvel().CSH();
  std::string first = w.Token();
  w.runtime.draws = {0.22222222};
  w.korvel().CSH();
  w.book().Activate();
  w.runtime.shown.clear();
  w.korvel().BGZQD(first, w.form);
  EXPECT_EQ(w.Texts(),
            (std::vector<std::string>{"类初始化序号不对：你在打开本文件时可能未启用宏。"}));
}

TEST(Initialisation, WithoutBfSheetStopsAtTheCellWriteKeepingTheToken) {
  LoneHost lone("Tavrin.xls", "Sheet1");
  lone.runtime.draws = {0.42};
  Korvel& korvel = lone.korvel;
  try {
    korvel.CSH();
    FAIL() << "CSH should fail without a sheet named bf";
  } catch (const HostError& error) {
    EXPECT_EQ(error.Number(), 9);
    EXPECT_EQ(error.Description(), "下标越界");
  }
  EXPECT_EQ(korvel.InitToken(), "42000000");
  EXPECT_EQ(korvel.MacroPrefix(), "") << "steps after the failing one are not taken";
}

TEST(Initialisation, WithoutRunningHostFails) {
  ScriptedRuntime runtime;
  Korvel korvel(runtime);
  EXPECT_THROW(korvel.CSH(), HostError);
}

}  // namespace
}  // namespace tavrin
