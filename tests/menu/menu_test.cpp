#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

// One line a control: caption | macro | icon | flags, popups followed by their entries.
std::vector<std::string> Lines(CommandBarControls& controls, const std::string& indent = "") {
  std::vector<std::string> lines;
  for (int i = 1; i <= controls.Count(); ++i) {
    CommandBarControl& c = controls.Item(i);
    std::string flags = std::string(c.BeginGroup() ? "G" : "") + (c.Temporary() ? "T" : "") +
                        (c.Style() == 3 ? "S" : "");
    lines.push_back(indent + c.Caption() + "|" + c.OnAction() + "|" + std::to_string(c.FaceId()) +
                    "|" + flags);
    if (c.Type() == msoControlPopup) {
      for (auto& line : Lines(c.Controls(), indent + "  ")) lines.push_back(line);
    }
  }
  return lines;
}

int CountCaption(CommandBarControls& controls, const std::string& caption) {
  int count = 0;
  for (int i = 1; i <= controls.Count(); ++i) count += controls.Item(i).Caption() == caption;
  return count;
}

TEST(Menu, MenuEntriesCaptionsMacrosIconsAndFlags) {
  Workplace w;
  CommandBarControls& menu =
      w.app.CommandBars().Item("Worksheet Menu Bar").Controls().Item("Tavrin(&U)").Controls();
  EXPECT_EQ(Lines(menu), (std::vector<std::string>{
                             "汇总与查找|Tavrin.xls!F2|4153|",
                             "分页小计与合计|Tavrin.xls!F4|2090|",
                             "删除0值|Tavrin.xls!F5|485|",
                             "数据分区|Tavrin.xls!F3|4125|G",
                             "清单转表格|Tavrin.xls!F7|3836|",
                             "表格转清单|Tavrin.xls!F8|3837|",
                             "重启与退出||0|G",
                             "  重新启动Tavrin|Tavrin.xls!BbbThing|3820|TS",
                             "  退出Tavrin|Tavrin.xls!QuitTools|4356|TS",
                             "关于软件(&About)||0|",
                             "  使用帮助(&Help)|MyHelp|3998|TS",
                             "  公司信息(&I)|MyInfo|3737|TS",
                         }));
}

TEST(Menu, ToolbarEntriesCaptionsMacrosIconsAndFlags) {
  Workplace w;
  CommandBar& bar = w.app.CommandBars().Item("Tavrin");
  EXPECT_TRUE(bar.Visible());
  EXPECT_EQ(Lines(bar.Controls()), (std::vector<std::string>{
                                       "汇总与查找|Tavrin.xls!F2|4153|S",
                                       "分页小计与合计|Tavrin.xls!F4|2090|S",
                                       "删除0值|Tavrin.xls!F5|485|S",
                                       "数据分区|Tavrin.xls!F3|4125|GS",
                                       "清单转表格|Tavrin.xls!F7|3836|S",
                                       "表格转清单|Tavrin.xls!F8|3837|S",
                                       "重启与退出||0|G",
                                       "  重新启动Tavrin|Tavrin.xls!BbbThing|3820|S",
                                       "  退出Tavrin|Tavrin.xls!QuitTools|4356|S",
                                       "关于软件||0|",
                                       "  使用帮助|MyHelp|3998|S",
                                       "  公司信息|MyInfo|3737|S",
                                   }));
}

TEST(Menu, InitialisingTwiceLeavesOneMenuAndOneToolbar) {
  Workplace w;
  w.korvel().CSH();
  w.korvel().CSH();
  CommandBarControls& bar = w.app.CommandBars().Item("Worksheet Menu Bar").Controls();
  EXPECT_EQ(CountCaption(bar, "Tavrin(&U)"), 1);
  EXPECT_EQ(bar.Item("Tavrin(&U)").Controls().Count(), 8);
  int toolbars = 0;
  for (int i = 1; i <= w.app.CommandBars().Count(); ++i) {
    toolbars += w.app.CommandBars().Item(i).Name() == "Tavrin";
  }
  EXPECT_EQ(toolbars, 1);
  EXPECT_EQ(w.app.CommandBars().Item("Tavrin").Controls().Count(), 8);
}

TEST(Menu, WorkbookNameWithBlanksIsNotQuoted) {
  LoneHost lone("My Tools 2.xls", "bf");
  lone.korvel.CSH();
  CommandBarControls& menu =
      lone.app.CommandBars().Item("Worksheet Menu Bar").Controls().Item("Tavrin(&U)").Controls();
  EXPECT_EQ(menu.Item(1).OnAction(), "My Tools 2.xls!F2");
  EXPECT_EQ(menu.Item(7).Controls().Item(2).OnAction(), "My Tools 2.xls!QuitTools");
  EXPECT_EQ(menu.Item(8).Controls().Item(1).OnAction(), "MyHelp");
}

TEST(Menu, MissingBarsAndControlsFail) {
  Workplace w;
  EXPECT_THROW(w.app.CommandBars().Item("No such bar"), HostError);
  EXPECT_THROW(w.app.CommandBars().Item("Tavrin").Controls().Item("No such control"), HostError);
  EXPECT_THROW(w.app.CommandBars().Item("Worksheet Menu Bar").Delete(), HostError)
      << "a built-in bar stays";
  EXPECT_THROW(w.app.MenuBars(1), HostError);
}

}  // namespace
}  // namespace tavrin
