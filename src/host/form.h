#pragma once

#include <string>

#include "host/variant.h"

namespace tavrin {

// A control of a tool form: RefEdit1..5 (Value is an address text), TextBox1..5, CheckBox1,
// OptionButton1..2 (Value), Label9 and Label10 (Caption).
class Control {
 public:
  virtual ~Control() = default;
  virtual Variant Value() const = 0;
  virtual void SetValue(const Variant& value) = 0;
  // A text box's text; other controls give their Value as text.
  virtual std::string Text() const = 0;
  virtual std::string Caption() const = 0;
  virtual void SetFocus() = 0;
};

// A dialog of the host workbook, passed to a tool method as Obj1.
class Form {
 public:
  virtual ~Form() = default;
  // A control by name; a name the form does not have fails (438).
  virtual Control& Controls(const std::string& name) = 0;
  virtual void Hide() = 0;
  // Modal 1 (the default), modeless 0.
  virtual void Show(int modal = 1) = 0;
  // Unloads the form: it disappears and forgets its state.
  virtual void Unload() = 0;
};

}  // namespace tavrin
