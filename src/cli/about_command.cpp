#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

#include "cli/file_commands.h"
#include "cli/terminal_runtime.h"
#include "session/host_session.h"
#include "x11/x11_window_system.h"

namespace tavrin {

void AddAboutCommand(CLI::App& program, CommandContext& context) {
  CLI::App* about = program.add_subcommand(
      "about",
      "Open the information window on the X display and wait until it is closed "
      "(click its close label)");
  about->callback([&context] {
    context.run = [&context] {
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
    };
  });
}

}  // namespace tavrin
