#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "cli/terminal_runtime.h"
#include "host/host_error.h"
#include "infowindow/recording_window_system.h"
#include "spreadsheet/spreadsheet.h"
#include "support/error_number.h"

namespace tavrin {
namespace {

TEST(TerminalRuntime, GetObjectGivesTheRunningHostOnlyByItsName) {
  std::ostringstream messages;
  TerminalRuntime runtime(messages, Answering::No, false);
  EXPECT_EQ(ErrorOf([&] { runtime.GetObject("excel.application"); }), 429);
  Spreadsheet app;
  runtime.SetRunningApplication(app);
  EXPECT_EQ(&runtime.GetObject("excel.application"), &app);
  EXPECT_EQ(ErrorOf([&] { runtime.GetObject("word.application"); }), 429);
}

// The window system (the X display for `tavrin about`) is opened when first used, and once.
TEST(TerminalRuntime, TheWindowSystemIsOpenedOnFirstUseAndKept) {
  std::ostringstream messages;
  TerminalRuntime runtime(messages, Answering::No, false);
  EXPECT_EQ(ErrorOf([&] { runtime.WindowSystem(); }), 429);
  int opened = 0;
  runtime.SetWindowSystemOpener([&opened] {
    ++opened;
    return std::make_unique<RecordingWindowSystem>();
  });
  EXPECT_EQ(opened, 0);
  WindowSystem& first = runtime.WindowSystem();
  EXPECT_EQ(&runtime.WindowSystem(), &first);
  EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace tavrin
