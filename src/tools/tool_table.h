#pragma once

#include <string>
#include <vector>

#include "component/korvel.h"

namespace tavrin {

// What a control of a tool's dialog is, and so how every front shows it and fills it:
//   Reference  an address typed or picked on the sheet ("Sheet1!$A$1:$E$121")
//   Text       a text or number typed
//   Check      a check box, on or off
//   Option     an option button; the tool's option buttons are one group
//   Choice     one of a few values, offered as a group of option buttons and handed to the tool
//              as the caption of a label (the task, the mode)
enum class ControlKind { Reference, Text, Check, Option, Choice };

// Whether a control of the kind is switched on and off rather than given a text.
inline bool IsSwitch(ControlKind kind) {
  return kind == ControlKind::Check || kind == ControlKind::Option;
}

// A value a Choice control takes: the word the command line accepts, the value it stands for,
// and what a dialog shows for it ("sum" -> "1", 求和).
struct ControlChoice {
  std::string word;
  std::string value;
  std::string label;
};

// A control of a tool's dialog: its name on the dialog form, what it is, its label, its option
// on the command line with the help there, and the page's explanation of what to enter.
struct ToolControl {
  std::string name;  // "RefEdit1"
  ControlKind kind = ControlKind::Reference;
  std::string label;  // 清单区域(含标题行)
  std::string flags;  // "--list"
  std::string help;
  std::string explanation;
  // The values of a Choice control, in the order a dialog offers them; the first is the one a
  // dialog shows chosen.
  std::vector<ControlChoice> choices = {};
  // The tool refuses to run while the control is empty; the command line requires the option.
  bool required = false;
  // A check box or option button a dialog shows on when it opens.
  bool initiallyOn = false;

  bool IsSwitch() const { return tavrin::IsSwitch(kind); }
};

// A tool: the command's name, the method it runs (also the command's alias), the menu entry
// whose dialog offers it as a tab (the host workbook's macro, "F2") and its caption on that tab,
// the dialog's controls, and its help: a line and an example for the command line, what it does
// and a worked example for a dialog's reader.
struct ToolDefinition {
  std::string name;
  std::string method;
  std::string macro;
  std::string caption;
  std::string description;
  std::string example;
  std::string purpose;
  std::string walkthrough;
  void (Korvel::*run)(const std::string& WD, Form& Obj1);
  std::vector<ToolControl> controls;
  // The tool asks for a range with the host's input box.
  bool asksForRange = false;
};

// Every tool, in the order the command line lists them.
const std::vector<ToolDefinition>& ToolTable();
// The tool of a method name ("HZ"), or nullptr.
const ToolDefinition* FindTool(const std::string& method);
// The tools of a menu entry's dialog ("F2"), one a tab, in their order.
std::vector<const ToolDefinition*> ToolsOfEntry(const std::string& macro);
// The names of the controls a tool refuses to run without, in the dialog's order.
std::vector<std::string> RequiredControls(void (Korvel::*run)(const std::string&, Form&));
// Every control of the tools' dialogs, each name once, as the first tool to use it has it.
std::vector<const ToolControl*> AllControls();

// The tools of each family, in their order.
std::vector<ToolDefinition> SummaryTools();
std::vector<ToolDefinition> ReshapeTools();
std::vector<ToolDefinition> LayoutTools();
std::vector<ToolDefinition> CleaningTools();

}  // namespace tavrin
