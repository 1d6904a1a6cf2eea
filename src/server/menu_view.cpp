#include "server/menu_view.h"

#include <nlohmann/json.hpp>

#include "host/command_bars.h"
#include "host/host_error.h"
#include "menu/command_table.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {

namespace {

nlohmann::json Entries(CommandBarControls& controls) {
  nlohmann::json items = nlohmann::json::array();
  for (int i = 1; i <= controls.Count(); ++i) {
    CommandBarControl& control = controls.Item(i);
    nlohmann::json item = {{"caption", control.Caption()},
                           {"action", control.OnAction()},
                           {"faceId", control.FaceId()},
                           {"beginGroup", control.BeginGroup()}};
    if (control.Type() == msoControlPopup) item["items"] = Entries(control.Controls());
    items.push_back(std::move(item));
  }
  return items;
}

CommandBarControl* FindMenu(Spreadsheet& app) {
  try {
    return &app.CommandBars().Item(kMenuBarName).Controls().Item(kMenuCaption);
  } catch (const HostError&) {
    return nullptr;
  }
}

CommandBar* FindToolbar(Spreadsheet& app) {
  try {
    return &app.CommandBars().Item(kToolbarName);
  } catch (const HostError&) {
    return nullptr;
  }
}

}  // namespace

nlohmann::json MenuOf(Spreadsheet& app) {
  nlohmann::json menus = {{"menu", nullptr}, {"toolbar", nullptr}};
  if (CommandBarControl* menu = FindMenu(app)) {
    menus["menu"] = {{"caption", menu->Caption()}, {"items", Entries(menu->Controls())}};
  }
  if (CommandBar* toolbar = FindToolbar(app)) {
    menus["toolbar"] = {{"name", toolbar->Name()},
                        {"visible", toolbar->Visible()},
                        {"items", Entries(toolbar->Controls())}};
  }
  return menus;
}

void RemoveMenuAndToolbar(Spreadsheet& app) {
  if (CommandBarControl* menu = FindMenu(app)) menu->Delete();
  if (CommandBar* toolbar = FindToolbar(app)) toolbar->Delete();
}

}  // namespace tavrin
