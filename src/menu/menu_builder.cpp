#include "component/korvel.h"
#include "host/command_bars.h"
#include "host/host_error.h"
#include "menu/command_table.h"

namespace tavrin {

void Korvel::BuildMenu() {
  // Remove a menu left by an earlier initialisation; there may be none.
  try {
    App().CommandBars().Item(kMenuBarName).Controls().Item(kMenuCaption).Delete();
  } catch (const HostError&) {
  }

  // The menu, through the legacy menu collection.
  App().MenuBars(xlWorksheet).Menus().Add(kMenuCaption);

  // The six tools: a menu item each, then its icon on the matching control.
  for (size_t k = 0; k < kToolCommands.size(); ++k) {
    const Command& command = kToolCommands[k];
    App()
        .MenuBars(xlWorksheet)
        .Menus()
        .Item(kMenuCaption)
        .MenuItems()
        .Add(command.caption, macroPrefix + command.macro);
    App()
        .CommandBars()
        .Item(kMenuBarName)
        .Controls()
        .Item(kMenuCaption)
        .Controls()
        .Item(static_cast<int>(k) + 1)
        .SetFaceId(command.faceId);
  }

  CommandBarControls& menu =
      App().CommandBars().Item(kMenuBarName).Controls().Item(kMenuCaption).Controls();

  // Restart and quit: a popup of temporary buttons.
  CommandBarControl& restart = menu.Add(msoControlPopup, 1, false);
  restart.SetCaption(kRestartCaption);
  for (const Command& command : kRestartCommands) {
    CommandBarControl& button = restart.Controls().Add(msoControlButton, 1, true);
    button.SetCaption(command.caption);
    button.SetOnAction(macroPrefix + command.macro);
    button.SetStyle(msoButtonIconAndCaption);
    button.SetFaceId(command.faceId);
  }

  // Help and information: the macros by bare name.
  CommandBarControl& about = menu.Add(msoControlPopup, 1, false);
  about.SetCaption(kAboutCaption);
  for (const Command& command : kAboutCommands) {
    CommandBarControl& button = about.Controls().Add(msoControlButton, 1, true);
    button.SetCaption(command.caption);
    button.SetOnAction(command.macro);
    button.SetStyle(msoButtonIconAndCaption);
    button.SetFaceId(command.faceId);
  }

  // Separators before "数据分区" and before the restart popup.
  menu.Item(4).SetBeginGroup(true);
  menu.Item(7).SetBeginGroup(true);
}

void Korvel::BuildToolbar() {
  // Remove a toolbar left by an earlier initialisation; there may be none.
  try {
    App().CommandBars().Item(kToolbarName).Delete();
  } catch (const HostError&) {
  }

  CommandBar& bar = App().CommandBars().Add(kToolbarName, msoBarTop, false, false);
  bar.SetVisible(true);

  // The six tools: buttons with icon and caption.
  for (const Command& command : kToolCommands) {
    CommandBarControl& button = bar.Controls().Add(msoControlButton, 1, false);
    button.SetStyle(msoButtonIconAndCaption);
    button.SetFaceId(command.faceId);
    button.SetCaption(command.toolbarCaption);
    button.SetOnAction(macroPrefix + command.macro);
  }

  // Restart and quit.
  CommandBarControl& restart = bar.Controls().Add(msoControlPopup, 1, false);
  restart.SetCaption(kRestartCaption);
  for (const Command& command : kRestartCommands) {
    CommandBarControl& button = restart.Controls().Add(msoControlButton, 1, false);
    button.SetCaption(command.toolbarCaption);
    button.SetStyle(msoButtonIconAndCaption);
    button.SetFaceId(command.faceId);
    button.SetOnAction(macroPrefix + command.macro);
  }

  // Help and information, captions without accelerator keys.
  CommandBarControl& about = bar.Controls().Add(msoControlPopup, 1, false);
  about.SetCaption(kAboutToolbarCaption);
  for (const Command& command : kAboutCommands) {
    CommandBarControl& button = about.Controls().Add(msoControlButton, 1, false);
    button.SetCaption(command.toolbarCaption);
    button.SetStyle(msoButtonIconAndCaption);
    button.SetFaceId(command.faceId);
    button.SetOnAction(command.macro);
  }

  bar.Controls().Item(4).SetBeginGroup(true);
  bar.Controls().Item(7).SetBeginGroup(true);
}

}  // namespace tavrin
