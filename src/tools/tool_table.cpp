#include "tools/tool_table.h"

#include <algorithm>

namespace tavrin {

const std::vector<ToolDefinition>& ToolTable() {
  static const std::vector<ToolDefinition> table = [] {
    std::vector<ToolDefinition> tools;
    for (auto family : {SummaryTools, ReshapeTools, LayoutTools, CleaningTools}) {
      for (ToolDefinition& tool : family()) tools.push_back(std::move(tool));
    }
    return tools;
  }();
  return table;
}

const ToolDefinition* FindTool(const std::string& method) {
  for (const ToolDefinition& tool : ToolTable()) {
    if (tool.method == method) return &tool;
  }
  return nullptr;
}

std::vector<const ToolDefinition*> ToolsOfEntry(const std::string& macro) {
  std::vector<const ToolDefinition*> tools;
  for (const ToolDefinition& tool : ToolTable()) {
    if (tool.macro == macro) tools.push_back(&tool);
  }
  return tools;
}

std::vector<std::string> RequiredControls(void (Korvel::*run)(const std::string&, Form&)) {
  std::vector<std::string> names;
  for (const ToolDefinition& tool : ToolTable()) {
    if (tool.run != run) continue;
    for (const ToolControl& control : tool.controls) {
      if (control.required) names.push_back(control.name);
    }
  }
  return names;
}

std::vector<const ToolControl*> AllControls() {
  std::vector<const ToolControl*> controls;
  for (const ToolDefinition& tool : ToolTable()) {
    for (const ToolControl& control : tool.controls) {
      auto named = [&](const ToolControl* taken) { return taken->name == control.name; };
      if (std::none_of(controls.begin(), controls.end(), named)) controls.push_back(&control);
    }
  }
  return controls;
}

}  // namespace tavrin
