#pragma once

#include <string>

namespace tavrin {

enum MsoControlType : int { msoControlButton = 1, msoControlPopup = 10 };
enum MsoButtonStyle : int { msoButtonIconAndCaption = 3 };
enum MsoBarPosition : int { msoBarTop = 1 };
// The legacy menu collection's worksheet menu bar.
enum XlMenuBar : int { xlWorksheet = -4167 };

class CommandBarControls;

// A button or a popup of a command bar.
class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  virtual int Type() const = 0;
  virtual bool Temporary() const = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string OnAction() const = 0;
  virtual void SetOnAction(const std::string& macro) = 0;
  virtual int FaceId() const = 0;
  virtual void SetFaceId(int faceId) = 0;
  virtual int Style() const = 0;
  virtual void SetStyle(int style) = 0;
  virtual bool BeginGroup() const = 0;
  virtual void SetBeginGroup(bool beginGroup) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // A popup's controls; a button has none (438).
  virtual CommandBarControls& Controls() = 0;
  virtual void Delete() = 0;
};

// Controls in order, by number from 1 or by caption; a missing one fails (5).
class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual int Count() = 0;
  virtual CommandBarControl& Item(int index) = 0;
  virtual CommandBarControl& Item(const std::string& caption) = 0;
  // Adds a control of a type (msoControlButton, msoControlPopup) with a built-in Id (1 for a
  // custom control) at the end.
  virtual CommandBarControl& Add(int type, int id, bool temporary) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::string Name() const = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual CommandBarControls& Controls() = 0;
  virtual void Delete() = 0;
};

// Application.CommandBars: bars by number or name ("Worksheet Menu Bar"); a missing one fails
// (5).
class CommandBars {
 public:
  virtual ~CommandBars() = default;
  virtual int Count() = 0;
  virtual CommandBar& Item(int index) = 0;
  virtual CommandBar& Item(const std::string& name) = 0;
  virtual CommandBar& Add(const std::string& name, int position, bool menuBar, bool temporary) = 0;
};

// The legacy menu collection: Application.MenuBars(xlWorksheet).Menus, whose menus and items
// are the worksheet menu bar's popups and buttons.
class MenuItems {
 public:
  virtual ~MenuItems() = default;
  // Adds an item with a caption and a macro at the end.
  virtual void Add(const std::string& caption, const std::string& onAction) = 0;
};

class Menu {
 public:
  virtual ~Menu() = default;
  virtual tavrin::MenuItems& MenuItems() = 0;
};

class Menus {
 public:
  virtual ~Menus() = default;
  virtual Menu& Add(const std::string& caption) = 0;
  virtual Menu& Item(const std::string& caption) = 0;
};

class MenuBar {
 public:
  virtual ~MenuBar() = default;
  virtual tavrin::Menus& Menus() = 0;
};

}  // namespace tavrin
