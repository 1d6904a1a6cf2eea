#include "session/dialog_form.h"

#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

const char* const kControlNames[] = {"RefEdit1",      "RefEdit2", "RefEdit3",  "RefEdit4",
                                     "RefEdit5",      "TextBox1", "TextBox2",  "TextBox3",
                                     "TextBox4",      "TextBox5", "CheckBox1", "OptionButton1",
                                     "OptionButton2", "Label9",   "Label10"};

bool IsLabel(const std::string& name) {
  return name.rfind("Label", 0) == 0;
}

}  // namespace

std::string DialogControl::Text() const {
  if (value.IsBoolean()) return value.AsBoolean() ? "True" : "False";
  return TextOf(value, UserLocale{});
}

DialogForm::DialogForm() {
  for (const char* name : kControlNames) {
    controls.emplace(name, std::make_unique<DialogControl>(name, focus));
  }
  // An unset check box or option button reads False, as the dialog's do.
  for (const char* name : {"CheckBox1", "OptionButton1", "OptionButton2"}) {
    controls.at(name)->SetValue(Variant::Boolean(false));
  }
  for (const char* name : {"RefEdit1", "RefEdit2", "RefEdit3", "RefEdit4", "RefEdit5", "TextBox1",
                           "TextBox2", "TextBox3", "TextBox4", "TextBox5"}) {
    controls.at(name)->SetValue(Variant(""));
  }
}

Control& DialogForm::Controls(const std::string& name) {
  auto found = controls.find(name);
  if (found == controls.end()) throw HostError::NotSupported();
  return *found->second;
}

void DialogForm::Hide() {
  state = State::Hidden;
}

void DialogForm::Show(int modal) {
  state = State::Shown;
  ++showCount;
  lastShowModal = modal;
}

void DialogForm::Unload() {
  state = State::Unloaded;
}

void DialogForm::Set(const std::string& name, const Variant& value) {
  Control& control = Controls(name);
  if (IsLabel(name)) {
    static_cast<DialogControl&>(control).SetCaption(TextOf(value, UserLocale{}));
  } else {
    control.SetValue(value);
  }
}

}  // namespace tavrin
