#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "cli/terminal_runtime.h"
#include "session/host_session.h"
#include "x11/x11_window_system.h"

namespace tavrin {

namespace {

// Opens the information window and waits until it is closed.
int About(CommandContext& context) {
  std::unique_ptr<WindowSystem> windows = OpenX11WindowSystem();
  if (!windows) {
    context.messages << "tavrin about: no X display (set DISPLAY to a running X server)\n";
    return 2;
  }
  WindowSystem& shown = *windows;
  Spreadsheet app;
  TerminalRuntime runtime(context.messages, Answering::No, false);
  runtime.SetRunningApplication(app);
  runtime.SetWindowSystemOpener([&windows] { return std::move(windows); });
  HostSession session(app, runtime);
  session.Component().ShowInfo();
  RunUntilClosed(shown);
  return 0;
}

}  // namespace

CommandDescription AboutCommand(CommandContext& context) {
  return {.name = "about",
          .description =
              "Open the information window on the X display and wait until it is "
              "closed (click its close label)",
          .run = [&context] { return About(context); }};
}

}  // namespace tavrin
