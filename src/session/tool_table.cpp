#include "session/tool_table.h"

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

}  // namespace tavrin
