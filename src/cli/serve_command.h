#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// tavrin serve FILE [--port N] [--open]: the workbook in a browser.
void AddServeCommand(CLI::App& program, CommandContext& context);

}  // namespace tavrin
