#pragma once

#include <map>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "component/korvel.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// A named option of a tool command: a shorthand for one control of the tool's dialog.
struct ControlOption {
  enum class Kind { Text, Flag };

  std::string flags;    // "--list"
  std::string control;  // "RefEdit1"
  std::string help;
  Kind kind = Kind::Text;
  // Words the option also takes, and the control value each stands for ("sum" -> "1").
  std::map<std::string, std::string> words = {};
  bool required = false;
};

// A tool command: its name, the method it runs (also its alias), and its dialog's options.
struct ToolDefinition {
  std::string name;
  std::string method;
  std::string description;
  std::string example;
  void (Korvel::*run)(const std::string& WD, Form& Obj1);
  std::vector<ControlOption> options;
  // The tool asks for a range with the host's input box; --range answers it.
  bool asksForRange = false;
};

// Adds the command with the options every tool command takes: FILE, --sheet, --select,
// -o/--output, --in-place, --yes/--no, --control NAME=VALUE, --token, --preview/--no-preview.
void AddToolCommand(CLI::App& program, CommandContext& context, ToolDefinition tool);

}  // namespace tavrin
