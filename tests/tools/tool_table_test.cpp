#include <gtest/gtest.h>

#include <set>

#include "menu/command_table.h"
#include "session/dialog_form.h"
#include "tools/tool_table.h"

namespace tavrin {
namespace {

// Every front builds its dialogs, options and help from the descriptions, so what they must
// agree on is checked here once.

TEST(ToolTable, EveryToolIsATabOfAMenuEntryAndEveryEntryWithADialogHasTabs) {
  std::set<std::string> entries;
  for (const Command& command : kToolCommands) entries.insert(command.macro);
  for (const ToolDefinition& tool : ToolTable()) {
    EXPECT_TRUE(entries.contains(tool.macro)) << tool.method;
    EXPECT_EQ(FindTool(tool.method), &tool);
  }
  for (const Command& command : kToolCommands) EXPECT_FALSE(ToolsOfEntry(command.macro).empty());
  EXPECT_EQ(FindTool("hz"), nullptr);
  std::vector<std::string> tabs;
  for (const ToolDefinition* tool : ToolsOfEntry("F2")) tabs.push_back(tool->caption);
  EXPECT_EQ(tabs,
            (std::vector<std::string>{"汇总", "汇总查找数值", "单索引查找", "汇总查找不重复"}));
}

TEST(ToolTable, AControlNameIsOneKindOfControlInEveryTool) {
  std::map<std::string, ControlKind> kinds;
  for (const ToolDefinition& tool : ToolTable()) {
    std::set<std::string> flags;
    for (const ToolControl& control : tool.controls) {
      auto [known, added] = kinds.emplace(control.name, control.kind);
      EXPECT_EQ(known->second, control.kind) << tool.method << ' ' << control.name;
      EXPECT_TRUE(flags.insert(control.flags).second) << tool.method << ' ' << control.flags;
      EXPECT_EQ(control.kind == ControlKind::Choice, !control.choices.empty()) << control.name;
      EXPECT_FALSE(control.label.empty()) << control.name;
      EXPECT_FALSE(control.initiallyOn && !control.IsSwitch()) << control.name;
    }
  }
  EXPECT_EQ(AllControls().size(), kinds.size());
}

TEST(ToolTable, TheFieldsAToolRequiresAreTheOnesItsDescriptionMarks) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(RequiredControls(&Korvel::HZ), (Names{"RefEdit1", "RefEdit2", "RefEdit3", "RefEdit4"}));
  EXPECT_EQ(RequiredControls(&Korvel::HZCZSZ),
            (Names{"RefEdit1", "RefEdit2", "RefEdit4", "RefEdit5"}));
  EXPECT_EQ(RequiredControls(&Korvel::FYXJYHJ),
            (Names{"RefEdit1", "RefEdit2", "TextBox1", "TextBox2"}));
  EXPECT_EQ(RequiredControls(&Korvel::BGZQD), (Names{"RefEdit1", "RefEdit2"}));
  EXPECT_TRUE(RequiredControls(&Korvel::SC0).empty());
}

TEST(ToolTable, OnlyTheFirstOptionButtonOfAToolIsOnWhenItsDialogOpens) {
  for (const ToolDefinition& tool : ToolTable()) {
    int on = 0;
    int options = 0;
    for (const ToolControl& control : tool.controls) {
      options += control.kind == ControlKind::Option;
      on += control.initiallyOn;
      if (control.initiallyOn) {
        EXPECT_EQ(options, 1) << tool.method;
      }
    }
    EXPECT_EQ(on, options > 0 ? 1 : 0) << tool.method;
  }
}

// A dialog not yet filled reads as the host's does: an empty text in every box, False in every
// check box and option button.
TEST(ToolTable, AFreshDialogFormReadsEmptyBoxesAndSwitchesOff) {
  DialogForm form;
  for (const ToolControl* control : AllControls()) {
    Variant value = form.Controls(control->name).Value();
    if (control->kind == ControlKind::Reference || control->kind == ControlKind::Text) {
      EXPECT_EQ(value, Variant("")) << control->name;
    } else if (control->IsSwitch()) {
      EXPECT_EQ(value, Variant::Boolean(false)) << control->name;
    }
  }
}

}  // namespace
}  // namespace tavrin
