#include "host/command_bar_model.h"

#include <algorithm>

#include "host/host_error.h"

namespace tavrin {

namespace {

// Captions match as the host matches them: letter case and the "&" of accelerators aside.
std::string CaptionKey(const std::string& caption) {
  std::string key;
  for (char c : caption) {
    if (c == '&') continue;
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

class LegacyMenuItems : public MenuItems {
 public:
  explicit LegacyMenuItems(CommandBarControl& popup) : menu(popup) {}
  void Add(const std::string& caption, const std::string& onAction) override {
    CommandBarControl& item = menu.Controls().Add(msoControlButton, 1, false);
    item.SetCaption(caption);
    item.SetOnAction(onAction);
  }

 private:
  CommandBarControl& menu;
};

class LegacyMenu : public Menu {
 public:
  explicit LegacyMenu(CommandBarControl& popup) : items(popup) {}
  tavrin::MenuItems& MenuItems() override { return items; }

 private:
  LegacyMenuItems items;
};

class LegacyMenus : public Menus {
 public:
  explicit LegacyMenus(CommandBar& menuBar) : bar(menuBar) {}

  Menu& Add(const std::string& caption) override {
    CommandBarControl& popup = bar.Controls().Add(msoControlPopup, 1, false);
    popup.SetCaption(caption);
    return View(popup);
  }
  Menu& Item(const std::string& caption) override { return View(bar.Controls().Item(caption)); }

 private:
  Menu& View(CommandBarControl& popup) {
    if (popup.Type() != msoControlPopup) throw HostError::InvalidCall();
    // One view a popup, kept: a new popup at a freed address is viewed by the same object.
    auto& view = views[&popup];
    if (!view) view = std::make_unique<LegacyMenu>(popup);
    return *view;
  }

  CommandBar& bar;
  std::map<const CommandBarControl*, std::unique_ptr<LegacyMenu>> views;
};

}  // namespace

BarControl::BarControl(int controlType, bool isTemporary, BarControls& owner)
    : type(controlType), temporary(isTemporary), parent(owner) {
  if (type == msoControlPopup) children = std::make_unique<BarControls>();
}

CommandBarControls& BarControl::Controls() {
  if (!children) throw HostError::NotSupported();
  return *children;
}

void BarControl::Delete() {
  parent.Remove(*this);
}

CommandBarControl& BarControls::Item(int index) {
  if (index < 1 || index > Count()) throw HostError::InvalidCall();
  return *items[index - 1];
}

CommandBarControl& BarControls::Item(const std::string& caption) {
  for (auto& item : items) {
    if (item->Caption() == caption) return *item;
  }
  for (auto& item : items) {
    if (CaptionKey(item->Caption()) == CaptionKey(caption)) return *item;
  }
  throw HostError::InvalidCall();
}

CommandBarControl& BarControls::Add(int type, int id, bool temporary) {
  if ((type != msoControlButton && type != msoControlPopup) || id < 1) {
    throw HostError::InvalidCall();
  }
  items.push_back(std::make_unique<BarControl>(type, temporary, *this));
  return *items.back();
}

void BarControls::Remove(const CommandBarControl& control) {
  std::erase_if(items, [&](const auto& item) { return item.get() == &control; });
}

void Bar::Delete() {
  if (builtInBar) throw HostError::InvalidCall();
  parent.Remove(*this);
}

Bars::Bars() {
  bars.push_back(std::make_unique<Bar>(kWorksheetMenuBar, true, *this));
  CommandBarControls& menus = bars.back()->Controls();
  for (const char* caption : {"文件(&F)", "编辑(&E)", "视图(&V)", "插入(&I)", "格式(&O)",
                              "工具(&T)", "数据(&D)", "窗口(&W)", "帮助(&H)"}) {
    menus.Add(msoControlPopup, 1, false).SetCaption(caption);
  }
}

CommandBar& Bars::Item(int index) {
  if (index < 1 || index > Count()) throw HostError::InvalidCall();
  return *bars[index - 1];
}

CommandBar& Bars::Item(const std::string& name) {
  for (auto& bar : bars) {
    if (CaptionKey(bar->Name()) == CaptionKey(name)) return *bar;
  }
  throw HostError::InvalidCall();
}

CommandBar& Bars::Add(const std::string& name, int /*position*/, bool /*menuBar*/,
                      bool /*temporary*/) {
  for (auto& bar : bars) {
    if (CaptionKey(bar->Name()) == CaptionKey(name)) throw HostError::InvalidCall();
  }
  bars.push_back(std::make_unique<Bar>(name, false, *this));
  return *bars.back();
}

void Bars::Remove(const CommandBar& bar) {
  std::erase_if(bars, [&](const auto& item) { return item.get() == &bar; });
}

LegacyMenuBar::LegacyMenuBar(CommandBar& worksheetMenuBar)
    : menus(std::make_unique<LegacyMenus>(worksheetMenuBar)) {}

}  // namespace tavrin
