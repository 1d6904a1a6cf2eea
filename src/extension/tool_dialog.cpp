#include "extension/tool_dialog.h"

#include <algorithm>

#include <com/sun/star/awt/XWindowPeer.hpp>

#include "extension/range_picker.h"

namespace tavrin {

namespace {

// The dialog's measures, in dialog units.
constexpr int kWidth = 280;
constexpr int kMargin = 6;
constexpr int kRow = 16;
constexpr int kLine = 12;
constexpr int kLabelWidth = 110;
constexpr int kPickWidth = 18;
constexpr int kButtonWidth = 50;

// A control of a tab, named apart from the same control on the other tabs.
std::string Named(int page, const std::string& control, const std::string& part = "") {
  return "p" + std::to_string(page) + "." + control + part;
}

std::string ChoiceName(int page, const ToolControl& control, size_t choice) {
  return Named(page, control.name, "." + std::to_string(choice + 1));
}

}  // namespace

ToolDialog::ToolDialog(const uno::Reference<uno::XComponentContext>& context,
                       uno::Reference<com::sun::star::frame::XFrame> frame,
                       const std::string& macro, const std::string& title, Runner run)
    : frame_(std::move(frame)),
      tools_(ToolsOfEntry(macro)),
      run_(std::move(run)),
      dialog_(context, title, kWidth, 0) {
  bool tabbed = tools_.size() > 1;
  int tabWidth = (kWidth - 2 * kMargin) / std::max<int>(1, tools_.size());
  int top = tabbed ? kMargin + kRow + 4 : kMargin;
  int bottom = top;
  for (size_t i = 0; i < tools_.size(); ++i) {
    int page = static_cast<int>(i) + 1;
    if (tabbed) {
      dialog_.AddTab("tab" + std::to_string(page), tools_[i]->caption,
                     {kMargin + static_cast<int>(i) * tabWidth, kMargin, tabWidth - 2, kLine + 2},
                     [this, page] {
                       ShowTab(page);
                       dialog_.Focus(FirstField());
                     });
    }
    bottom = std::max(bottom, Lay(*tools_[i], page, top));
  }
  int buttons = bottom + kMargin;
  dialog_.AddButton(
      "ok", "确定", {kWidth - 2 * (kButtonWidth + kMargin), buttons, kButtonWidth, 14},
      [this] { Run(); }, true);
  dialog_.AddButton("cancel", "取消", {kWidth - kButtonWidth - kMargin, buttons, kButtonWidth, 14},
                    [this] { dialog_.Hide(); });
  dialog_.Resize(kWidth, buttons + 14 + kMargin);
  ShowTab(1);
}

// Lays a tool's controls out on its tab, one a row, from `top`; gives the bottom.
int ToolDialog::Lay(const ToolDefinition& tool, int page, int top) {
  int y = top;
  int field = kMargin + kLabelWidth + 2;
  int fieldWidth = kWidth - field - kMargin;
  for (const ToolControl& control : tool.controls) {
    std::string name = Named(page, control.name);
    switch (control.kind) {
      case ControlKind::Reference:
        dialog_.AddLabel(name + ".label", control.label, {kMargin, y, kLabelWidth, kLine, page});
        dialog_.AddEdit(name, {field, y, fieldWidth - kPickWidth - 2, kLine, page});
        dialog_.AddButton(name + ".pick", "…",
                          {kWidth - kMargin - kPickWidth, y, kPickWidth, kLine, page},
                          [this, name, label = control.label] { Pick(name, label); });
        break;
      case ControlKind::Text:
        dialog_.AddLabel(name + ".label", control.label, {kMargin, y, kLabelWidth, kLine, page});
        dialog_.AddEdit(name, {field, y, fieldWidth, kLine, page});
        break;
      case ControlKind::Check:
        dialog_.AddCheckBox(name, control.label, {kMargin, y, kWidth - 2 * kMargin, kLine, page});
        break;
      case ControlKind::Option:
        dialog_.AddOptionButton(name, control.label,
                                {kMargin, y, kWidth - 2 * kMargin, kLine, page});
        dialog_.SetChecked(name, control.initiallyOn);
        break;
      case ControlKind::Choice:
        dialog_.AddLabel(name + ".label", control.label, {kMargin, y, kLabelWidth, kLine, page});
        for (size_t i = 0; i < control.choices.size(); ++i) {
          std::string choice = ChoiceName(page, control, i);
          dialog_.AddOptionButton(choice, control.choices[i].label,
                                  {field, y, fieldWidth, kLine, page});
          dialog_.SetChecked(choice, i == 0);
          if (i + 1 < control.choices.size()) y += kRow;
        }
        break;
    }
    y += kRow;
  }
  return y;
}

void ToolDialog::Show() {
  dialog_.Show(uno::Reference<com::sun::star::awt::XWindowPeer>(frame_->getContainerWindow(),
                                                                uno::UNO_QUERY));
  dialog_.Focus(FirstField());
}

void ToolDialog::ShowTab(int page) {
  page_ = page;
  dialog_.ShowPage(page);
  if (tools_.size() > 1) {
    for (size_t i = 1; i <= tools_.size(); ++i) {
      dialog_.SetChecked("tab" + std::to_string(i), static_cast<int>(i) == page);
    }
  }
}

std::string ToolDialog::FirstField() const {
  const ToolDefinition& tool = *tools_.at(page_ - 1);
  if (tool.controls.empty()) return "ok";
  const ToolControl& first = tool.controls.front();
  return first.kind == ControlKind::Choice ? ChoiceName(page_, first, 0) : Named(page_, first.name);
}

// The dialog steps aside while the user drags over the sheet, and comes back with the range.
void ToolDialog::Pick(const std::string& box, const std::string& label) {
  dialog_.Hide();
  PickRange(frame_, label, [this, box](const std::optional<std::string>& address) {
    if (address) dialog_.SetText(box, *address);
    Show();
    dialog_.Focus(box);
  });
}

void ToolDialog::FillForm(const ToolDefinition& tool, int page, DialogForm& form) const {
  for (const ToolControl& control : tool.controls) {
    std::string name = Named(page, control.name);
    if (control.IsSwitch()) {
      form.Set(control.name, Variant::Boolean(dialog_.Checked(name)));
    } else if (control.kind == ControlKind::Choice) {
      for (size_t i = 0; i < control.choices.size(); ++i) {
        if (dialog_.Checked(ChoiceName(page, control, i))) {
          form.Set(control.name, Variant(control.choices[i].value));
        }
      }
    } else {
      form.Set(control.name, Variant(dialog_.Text(name)));
    }
  }
}

// The tool runs with the dialog out of the way, as its form is hidden; a form left shown brings
// the dialog back at the field the tool pointed at.
void ToolDialog::Run() {
  const ToolDefinition& tool = *tools_.at(page_ - 1);
  DialogForm form;
  FillForm(tool, page_, form);
  dialog_.Hide();
  run_(tool, form);
  if (form.GetState() != DialogForm::State::Shown) return;
  Show();
  if (!form.Focus().empty()) dialog_.Focus(Named(page_, form.Focus()));
}

}  // namespace tavrin
