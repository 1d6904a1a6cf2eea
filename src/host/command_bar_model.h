#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/command_bars.h"

namespace tavrin {

class BarControls;

// A button or popup of a host's command bars as a model: what the user would see, kept for
// inspection.
class BarControl : public CommandBarControl {
 public:
  BarControl(int controlType, bool isTemporary, BarControls& owner);

  int Type() const override { return type; }
  bool Temporary() const override { return temporary; }
  std::string Caption() const override { return caption; }
  void SetCaption(const std::string& text) override { caption = text; }
  std::string OnAction() const override { return onAction; }
  void SetOnAction(const std::string& macro) override { onAction = macro; }
  int FaceId() const override { return faceId; }
  void SetFaceId(int id) override { faceId = id; }
  int Style() const override { return style; }
  void SetStyle(int newStyle) override { style = newStyle; }
  bool BeginGroup() const override { return beginGroup; }
  void SetBeginGroup(bool begin) override { beginGroup = begin; }
  bool Visible() const override { return visible; }
  void SetVisible(bool show) override { visible = show; }
  CommandBarControls& Controls() override;
  void Delete() override;

 private:
  int type;
  bool temporary;
  BarControls& parent;
  std::string caption;
  std::string onAction;
  int faceId = 0;
  int style = 0;
  bool beginGroup = false;
  bool visible = true;
  std::unique_ptr<BarControls> children;
};

class BarControls : public CommandBarControls {
 public:
  int Count() override { return static_cast<int>(items.size()); }
  CommandBarControl& Item(int index) override;
  CommandBarControl& Item(const std::string& caption) override;
  CommandBarControl& Add(int type, int id, bool temporary) override;
  void Remove(const CommandBarControl& control);

 private:
  std::vector<std::unique_ptr<BarControl>> items;
};

class Bars;

class Bar : public CommandBar {
 public:
  Bar(std::string barName, bool builtIn, Bars& owner)
      : name(std::move(barName)), builtInBar(builtIn), parent(owner) {}

  std::string Name() const override { return name; }
  bool Visible() const override { return visible; }
  void SetVisible(bool show) override { visible = show; }
  CommandBarControls& Controls() override { return controls; }
  // A built-in bar cannot be deleted (5).
  void Delete() override;

 private:
  std::string name;
  bool builtInBar;
  Bars& parent;
  bool visible = true;
  BarControls controls;
};

// The command bars: "Worksheet Menu Bar" with the host's own menus, then any bar added.
class Bars : public CommandBars {
 public:
  static constexpr const char* kWorksheetMenuBar = "Worksheet Menu Bar";

  Bars();

  int Count() override { return static_cast<int>(bars.size()); }
  CommandBar& Item(int index) override;
  CommandBar& Item(const std::string& name) override;
  CommandBar& Add(const std::string& name, int position, bool menuBar, bool temporary) override;
  void Remove(const CommandBar& bar);

 private:
  std::vector<std::unique_ptr<Bar>> bars;
};

// The legacy menu collection over the worksheet menu bar: a menu is a popup, an item a button.
class LegacyMenuBar : public MenuBar {
 public:
  explicit LegacyMenuBar(CommandBar& worksheetMenuBar);
  tavrin::Menus& Menus() override { return *menus; }

 private:
  std::unique_ptr<tavrin::Menus> menus;
};

}  // namespace tavrin
