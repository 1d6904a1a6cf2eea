#pragma once

#include <array>

namespace tavrin {

// One entry of the menu and the toolbar: its caption, the host workbook's macro it runs, and
// its built-in icon. A help entry carries an accelerator key only on the menu.
struct Command {
  const char* caption;
  const char* toolbarCaption;
  const char* macro;
  int faceId;
};

// The six tools, in the order the menu and the toolbar show them.
inline constexpr std::array<Command, 6> kToolCommands{{
    {"汇总与查找", "汇总与查找", "F2", 4153},
    {"分页小计与合计", "分页小计与合计", "F4", 2090},
    {"删除0值", "删除0值", "F5", 485},
    {"数据分区", "数据分区", "F3", 4125},
    {"清单转表格", "清单转表格", "F7", 3836},
    {"表格转清单", "表格转清单", "F8", 3837},
}};

inline constexpr const char* kRestartCaption = "重启与退出";
inline constexpr std::array<Command, 2> kRestartCommands{{
    {"重新启动Tavrin", "重新启动Tavrin", "BbbThing", 3820},
    {"退出Tavrin", "退出Tavrin", "QuitTools", 4356},
}};

// The help entries run their macros by bare name, without the workbook in front.
inline constexpr const char* kAboutCaption = "关于软件(&About)";
inline constexpr const char* kAboutToolbarCaption = "关于软件";
inline constexpr std::array<Command, 2> kAboutCommands{{
    {"使用帮助(&Help)", "使用帮助", "MyHelp", 3998},
    {"公司信息(&I)", "公司信息", "MyInfo", 3737},
}};

inline constexpr const char* kMenuCaption = "Tavrin(&U)";
inline constexpr const char* kMenuBarName = "Worksheet Menu Bar";
inline constexpr const char* kToolbarName = "Tavrin";

}  // namespace tavrin
