#include <ostream>
#include <string>

#include "cli/commands.h"
#include "cli/terminal_runtime.h"
#include "host/command_bars.h"
#include "session/host_session.h"

namespace tavrin {

namespace {

void PrintControls(CommandBarControls& controls, std::ostream& out, int depth) {
  for (int i = 1; i <= controls.Count(); ++i) {
    CommandBarControl& control = controls.Item(i);
    std::string indent(depth * 2, ' ');
    if (control.BeginGroup()) out << indent << "----\n";
    out << indent << control.Caption();
    if (control.Type() == msoControlPopup) {
      out << " >\n";
      PrintControls(control.Controls(), out, depth + 1);
      continue;
    }
    out << "  [" << control.OnAction() << "]  icon " << control.FaceId();
    if (control.Temporary()) out << "  (temporary)";
    out << '\n';
  }
}

// Prints the menu and the toolbar as initialisation builds them.
int PrintMenu(CommandContext& context) {
  Spreadsheet app;
  TerminalRuntime runtime(context.messages, Answering::No, false);
  runtime.SetRunningApplication(app);
  HostSession session(app, runtime);
  CommandBar& menuBar = app.CommandBars().Item("Worksheet Menu Bar");
  context.out << "Menu on \"" << menuBar.Name() << "\":\n"
              << menuBar.Controls().Item("Tavrin(&U)").Caption() << " >\n";
  PrintControls(menuBar.Controls().Item("Tavrin(&U)").Controls(), context.out, 1);
  CommandBar& toolbar = app.CommandBars().Item("Tavrin");
  context.out << "\nToolbar \"" << toolbar.Name() << "\":\n";
  PrintControls(toolbar.Controls(), context.out, 1);
  return 0;
}

}  // namespace

CommandDescription MenuCommand(CommandContext& context) {
  return {.name = "menu",
          .description =
              "Print the menu \"Tavrin(&U)\" and the toolbar \"Tavrin\" as "
              "initialisation builds them: captions, macros, icons, separators, submenus",
          .run = [&context] { return PrintMenu(context); }};
}

}  // namespace tavrin
