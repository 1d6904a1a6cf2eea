#include "cli/program.h"

#include <CLI/CLI.hpp>

namespace tavrin {

int RunProgram(int argc, char** argv) {
  CLI::App app{"Tavrin: worksheet tools for lists"};
  app.require_subcommand(1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error) == 0 ? 0 : 2;
  }
  return 0;
}

}  // namespace tavrin
