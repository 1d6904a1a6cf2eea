#include "server/dialogs.h"

#include <nlohmann/json.hpp>

#include "infowindow/info_design.h"
#include "menu/command_table.h"
#include "server/api_error.h"
#include "session/dialog_form.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

const Command* ToolCommand(const std::string& macro) {
  for (const Command& command : kToolCommands) {
    if (command.macro == macro) return &command;
  }
  return nullptr;
}

const char* FieldKind(ControlKind kind) {
  switch (kind) {
    case ControlKind::Reference:
      return "ref";
    case ControlKind::Text:
      return "text";
    case ControlKind::Check:
      return "check";
    case ControlKind::Option:
    case ControlKind::Choice:
      break;
  }
  return "option";
}

// The fields of a tool's page. A control that takes one of several values (a task, a mode) is a
// group of option buttons; the tool's own option buttons are one group.
nlohmann::json Fields(const ToolDefinition& tool) {
  nlohmann::json fields = nlohmann::json::array();
  for (const ToolControl& control : tool.controls) {
    for (size_t i = 0; i < control.choices.size(); ++i) {
      fields.push_back({{"control", control.name},
                        {"kind", "option"},
                        {"group", control.name},
                        {"groupLabel", control.label},
                        {"label", control.choices[i].label},
                        {"choice", control.choices[i].value},
                        {"value", i == 0}});
    }
    if (control.kind == ControlKind::Choice) continue;
    nlohmann::json field = {
        {"control", control.name}, {"label", control.label}, {"kind", FieldKind(control.kind)}};
    if (control.IsSwitch()) {
      field["value"] = control.initiallyOn;
    } else {
      field["value"] = "";
    }
    if (control.kind == ControlKind::Option) field["group"] = "OptionButton";
    fields.push_back(std::move(field));
  }
  return fields;
}

std::string Escaped(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '&':
        escaped += "&amp;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

nlohmann::json DialogOf(const std::string& macro) {
  const Command* command = ToolCommand(macro);
  if (command == nullptr) return nullptr;
  nlohmann::json pages = nlohmann::json::array();
  for (const ToolDefinition* tool : ToolsOfEntry(macro)) {
    pages.push_back({{"tool", tool->method},
                     {"caption", tool->caption},
                     {"button", "确定"},
                     {"fields", Fields(*tool)}});
  }
  return {{"title", command->caption}, {"pages", std::move(pages)}};
}

void FillForm(DialogForm& form, const nlohmann::json& controls) {
  if (controls.is_null()) return;
  if (!controls.is_object()) throw ApiError{400, "controls 应是控件名到值的对照。"};
  for (const auto& [name, value] : controls.items()) {
    if (!form.Has(name)) throw ApiError{400, "对话框中没有名为 " + name + " 的控件。"};
    if (form.TakesSwitch(name) != value.is_boolean() ||
        !(value.is_boolean() || value.is_string())) {
      throw ApiError{400, "控件 " + name + " 的值不合适。"};
    }
    form.Set(name, value.is_boolean() ? Variant::Boolean(value.get<bool>())
                                      : Variant(value.get<std::string>()));
  }
}

std::string HelpHtml() {
  std::string html = "<h1>Tavrin 使用帮助</h1>\n";
  for (const Command& command : kToolCommands) {
    html += "<h2>" + Escaped(command.caption) + "</h2>\n";
    for (const ToolDefinition* tool : ToolsOfEntry(command.macro)) {
      html += "<h3>" + Escaped(tool->caption) + "</h3>\n<p>" + Escaped(tool->purpose) + "</p>\n";
      std::string fields;
      for (const ToolControl& control : tool->controls) {
        if (control.explanation.empty()) continue;
        fields += "<dt>" + Escaped(control.label) + "</dt><dd>" + Escaped(control.explanation) +
                  "</dd>\n";
      }
      if (!fields.empty()) html += "<dl>\n" + fields + "</dl>\n";
      html += "<p class=\"example\"><b>示例：</b>" + Escaped(tool->walkthrough) + "</p>\n";
    }
  }
  return html;
}

nlohmann::json AboutWindow() {
  using D = InfoDesign;
  return {{"picture", "/assets/info.png"},
          {"caption", D::labelCaption},
          {"width", D::Pixels(D::formWidth)},
          {"height", D::Pixels(D::formHeight)},
          {"region",
           {{"left", D::regionLeft},
            {"top", D::regionTop},
            {"right", D::regionRight},
            {"bottom", D::regionBottom},
            {"ellipse", D::regionEllipse}}},
          {"fadeSeconds", D::fadeSeconds},
          {"label",
           {{"left", D::Pixels(D::labelLeft)},
            {"top", D::Pixels(D::labelTop)},
            {"width", D::Pixels(D::labelWidth)},
            {"height", D::Pixels(D::labelHeight)}}}};
}

}  // namespace tavrin
