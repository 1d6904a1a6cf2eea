#pragma once

#include <map>
#include <memory>
#include <string>

#include "host/form.h"
#include "tools/tool_table.h"

namespace tavrin {

// A control of a dialog: holds its value and caption, and tells its form when it takes the
// focus.
class DialogControl : public Control {
 public:
  DialogControl(std::string controlName, std::string& focus)
      : name(std::move(controlName)), focusName(focus) {}

  Variant Value() const override { return value; }
  void SetValue(const Variant& newValue) override { value = newValue; }
  std::string Text() const override;
  std::string Caption() const override { return caption; }
  void SetCaption(std::string text) { caption = std::move(text); }
  void SetFocus() override { focusName = name; }

 private:
  std::string name;
  std::string& focusName;
  Variant value;
  std::string caption;
};

// A tool dialog of the host workbook, as the command line and the tests fill it: every control
// the tools' descriptions name (RefEdit1..5, TextBox1..5, CheckBox1, OptionButton1..2, Label9 and
// Label10), a check box or option button off and the others empty, and the form's state (shown,
// hidden, unloaded) and focus.
class DialogForm : public Form {
 public:
  enum class State { Shown, Hidden, Unloaded };

  DialogForm();

  Control& Controls(const std::string& name) override;
  void Hide() override;
  void Show(int modal = 1) override;
  void Unload() override;

  // Sets a control: a caption for a choice's label, a value for the others.
  void Set(const std::string& name, const Variant& value);
  bool Has(const std::string& name) const { return controls.contains(name); }
  // The kind of a control the form has, and whether it is switched on and off.
  ControlKind KindOf(const std::string& name) const { return kinds.at(name); }
  bool TakesSwitch(const std::string& name) const { return IsSwitch(KindOf(name)); }

  State GetState() const { return state; }
  // The control that last took the focus ("" when none did).
  const std::string& Focus() const { return focus; }
  // How often Show was called, and with what modality the last time.
  int ShowCount() const { return showCount; }
  int LastShowModal() const { return lastShowModal; }

 private:
  std::map<std::string, std::unique_ptr<DialogControl>> controls;
  std::map<std::string, ControlKind> kinds;
  State state = State::Shown;
  std::string focus;
  int showCount = 0;
  int lastShowModal = 1;
};

}  // namespace tavrin
