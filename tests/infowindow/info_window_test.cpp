#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "component/korvel.h"
#include "infowindow/recording_window_system.h"
#include "infowindow/window_test_runtime.h"

namespace tavrin {
namespace {

using Calls = std::vector<std::string>;

class InfoWindowTest : public testing::Test {
 protected:
  // The calls recorded from index `from` on.
  Calls CallsFrom(std::size_t from) const {
    return Calls(windows.calls.begin() + from, windows.calls.end());
  }

  RecordingWindowSystem windows;
  WindowTestRuntime runtime{windows};
  Korvel korvel{runtime};
};

TEST_F(InfoWindowTest, ShowInfoLoadsLayeredRoundedWindowAndReturnsBeforeFadingIn) {
  runtime.times = {100};
  korvel.ShowInfo();
  EXPECT_EQ(windows.calls, (Calls{
                               "CreateFormWindow(504, 374, 505, 373)",
                               "CreateLabel(1, 关  闭, 368, 325, 89, 25)",
                               "GetWindowLong(1, -20)",
                               "SetWindowLong(1, -20, 524544)",  // 0x100 | 0x80000
                               "CreateRoundRectRgn(1, 1, 500, 368, 50, 50)",
                               "SetWindowRgn(1, 101, true)",
                               "Show(1)",
                           }));
  // Returned at once: the clock untouched, the window open and waiting for its activation.
  EXPECT_EQ(runtime.times.size(), 1u);
  EXPECT_TRUE(windows.HasOpenWindows());
}

TEST_F(InfoWindowTest, FadeInTakesAlphaFromTheClockThenShowsTheLabel) {
  korvel.ShowInfo();
  std::size_t shown = windows.calls.size();
  // start, then per pass: the loop test and the alpha read. The last read falls past 2 seconds
  // (267.75), which ends the fade without failing.
  runtime.times = {100, 100, 100.5, 100.6, 101, 101.1, 101.9, 101.95, 102.1, 102.2};
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.Alphas(1), (std::vector<int>{0, 64, 128, 242, 255}));  // 127.5 -> 128
  EXPECT_EQ(runtime.doEventsPasses, 4);
  Calls calls = CallsFrom(shown);
  EXPECT_EQ(calls.end()[-2], "SetLayeredWindowAttributes(1, 0, 255, 2)");
  EXPECT_EQ(calls.back(), "SetLabelVisible(1, true)");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "SetLabelVisible(1, true)"), 1);
}

TEST_F(InfoWindowTest, FadeInAcrossMidnightStillLastsTwoSeconds) {
  korvel.ShowInfo();
  runtime.times = {86399.5, 86399.5, 0.5, 0.6, 1.6, 1.7};
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.Alphas(1), (std::vector<int>{0, 128, 255}));
  EXPECT_EQ(windows.calls.back(), "SetLabelVisible(1, true)");
}

TEST_F(InfoWindowTest, LabelIsNotClickableDuringFadeIn) {
  korvel.ShowInfo();
  runtime.times = {100, 100, 101, 101, 102};
  runtime.onDoEvents = [this](int) { windows.PostLabelClick(1); };
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.Alphas(1), (std::vector<int>{0, 128, 255}));
  EXPECT_EQ(windows.calls.back(), "SetLabelVisible(1, true)");
  EXPECT_TRUE(windows.HasOpenWindows());
}

TEST_F(InfoWindowTest, LabelClickFadesOutAndUnloadsWithoutFinalOpacity) {
  korvel.ShowInfo();
  runtime.times = {100, 102};
  windows.ProcessPendingEvents();
  std::size_t faded = windows.calls.size();

  runtime.times = {200, 200, 200.5, 201, 201.5, 201.8, 202.5, 202.5};
  windows.PostLabelClick(1);
  windows.ProcessPendingEvents();
  EXPECT_EQ(CallsFrom(faded), (Calls{
                                  "SetLabelVisible(1, false)",
                                  "SetLayeredWindowAttributes(1, 0, 255, 2)",
                                  "SetLayeredWindowAttributes(1, 0, 191, 2)",
                                  "SetLayeredWindowAttributes(1, 0, 64, 2)",
                                  "DestroyWindow(1)",
                              }));
  EXPECT_FALSE(windows.HasOpenWindows());
  // Events for the unloaded window go nowhere.
  windows.PostMouseDown(1, vbLeftButton);
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.calls.back(), "DestroyWindow(1)");
}

TEST_F(InfoWindowTest, OnlyTheLeftButtonDragsTheWindow) {
  korvel.ShowInfo();
  runtime.times = {100, 102};
  windows.ProcessPendingEvents();
  std::size_t before = windows.calls.size();

  windows.PostMouseDown(1, vbRightButton);
  windows.PostMouseDown(1, vbMiddleButton);
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.calls.size(), before);

  windows.PostMouseDown(1, vbLeftButton);
  windows.ProcessPendingEvents();
  EXPECT_EQ(CallsFrom(before), (Calls{"ReleaseCapture()", "SendMessage(1, 161, 2, 0)"}));
}

TEST_F(InfoWindowTest, EachShowInfoOpensAnIndependentWindow) {
  runtime.times = {100};
  korvel.ShowInfo();
  korvel.ShowInfo();
  EXPECT_EQ(std::count(windows.calls.begin(), windows.calls.end(), "SetWindowRgn(2, 102, true)"),
            1);
  // The second window's fade-in runs inside the first one's event processing.
  runtime.times = {100, 100, 100, 102};
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.Alphas(1), (std::vector<int>{0, 255}));
  EXPECT_EQ(windows.Alphas(2), (std::vector<int>{255}));

  runtime.times = {200, 203};
  windows.PostLabelClick(1);
  windows.ProcessPendingEvents();
  EXPECT_TRUE(windows.HasOpenWindows());
  EXPECT_EQ(windows.calls.back(), "DestroyWindow(1)");
  runtime.times = {300, 303};
  windows.PostLabelClick(2);
  windows.ProcessPendingEvents();
  EXPECT_FALSE(windows.HasOpenWindows());
}

}  // namespace
}  // namespace tavrin
