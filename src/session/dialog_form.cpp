#include "session/dialog_form.h"

#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {

std::string DialogControl::Text() const {
  return TextOf(value, UserLocale{});
}

DialogForm::DialogForm() {
  for (const ToolControl* control : AllControls()) {
    auto& added = controls[control->name] = std::make_unique<DialogControl>(control->name, focus);
    kinds[control->name] = control->kind;
    // An unset check box or option button reads False, as the dialog's do.
    if (control->IsSwitch()) added->SetValue(Variant::Boolean(false));
    if (control->kind == ControlKind::Reference || control->kind == ControlKind::Text) {
      added->SetValue(Variant(""));
    }
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
  if (KindOf(name) == ControlKind::Choice) {
    static_cast<DialogControl&>(control).SetCaption(TextOf(value, UserLocale{}));
  } else {
    control.SetValue(value);
  }
}

}  // namespace tavrin
