#pragma once

#include <string>
#include <vector>

#include "component/korvel.h"

namespace tavrin {

// A value a control takes from a word: the word the command line accepts, the value it stands
// for, and what a dialog shows for it ("sum" -> "1", 求和).
struct ControlChoice {
  std::string word;
  std::string value;
  std::string label;
};

// A control of a tool's dialog, as the command line names it (an option) and as a dialog shows
// it (a label in the user's language).
struct ControlOption {
  enum class Kind { Text, Flag };

  std::string flags;    // "--list"
  std::string control;  // "RefEdit1"
  std::string help;
  std::string label;  // 清单区域(含标题行)
  Kind kind = Kind::Text;
  // Words the control also takes, in the order a dialog offers them.
  std::vector<ControlChoice> choices = {};
  bool required = false;
};

// A tool: the command's name, the method it runs (also the command's alias), the menu entry
// whose dialog offers it (the host workbook's macro, "F2") and its caption on that dialog, and
// the dialog's controls.
struct ToolDefinition {
  std::string name;
  std::string method;
  std::string macro;
  std::string caption;
  std::string description;
  std::string example;
  void (Korvel::*run)(const std::string& WD, Form& Obj1);
  std::vector<ControlOption> options;
  // The tool asks for a range with the host's input box.
  bool asksForRange = false;
};

// Every tool, in the order the command line lists them.
const std::vector<ToolDefinition>& ToolTable();
// The tool of a method name ("HZ"), or nullptr.
const ToolDefinition* FindTool(const std::string& method);

// The tools of each family, in their order.
std::vector<ToolDefinition> SummaryTools();
std::vector<ToolDefinition> ReshapeTools();
std::vector<ToolDefinition> LayoutTools();
std::vector<ToolDefinition> CleaningTools();

}  // namespace tavrin
