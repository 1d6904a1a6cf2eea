#include "server/dialogs.h"

#include <nlohmann/json.hpp>

#include "infowindow/info_design.h"
#include "menu/command_table.h"
#include "server/api_error.h"
#include "server/page_help.h"
#include "session/dialog_form.h"
#include "session/tool_table.h"

namespace tavrin {

namespace {

bool IsSwitch(const std::string& control) {
  return control == "CheckBox1" || control.starts_with("OptionButton");
}

const Command* ToolCommand(const std::string& macro) {
  for (const Command& command : kToolCommands) {
    if (command.macro == macro) return &command;
  }
  return nullptr;
}

// The fields of a tool's page. Option buttons take the first of their group by default, and a
// control that takes one of several values (a task, a mode) is a group of option buttons.
nlohmann::json Fields(const ToolDefinition& tool) {
  nlohmann::json fields = nlohmann::json::array();
  bool optionTaken = false;
  for (const ControlOption& option : tool.options) {
    const std::string& control = option.control;
    if (!option.choices.empty()) {
      for (size_t i = 0; i < option.choices.size(); ++i) {
        fields.push_back({{"control", control},
                          {"kind", "option"},
                          {"group", control},
                          {"groupLabel", option.label},
                          {"label", option.choices[i].label},
                          {"choice", option.choices[i].value},
                          {"value", i == 0}});
      }
      continue;
    }
    nlohmann::json field = {{"control", control}, {"label", option.label}};
    if (control.starts_with("RefEdit")) {
      field["kind"] = "ref";
      field["value"] = "";
    } else if (control.starts_with("OptionButton")) {
      field["kind"] = "option";
      field["group"] = "OptionButton";
      field["value"] = !optionTaken;
      optionTaken = true;
    } else if (control == "CheckBox1") {
      field["kind"] = "check";
      field["value"] = false;
    } else {
      field["kind"] = "text";
      field["value"] = "";
    }
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
  for (const ToolDefinition& tool : ToolTable()) {
    if (tool.macro != macro) continue;
    pages.push_back({{"tool", tool.method},
                     {"caption", tool.caption},
                     {"button", "确定"},
                     {"fields", Fields(tool)}});
  }
  return {{"title", command->caption}, {"pages", std::move(pages)}};
}

void FillForm(DialogForm& form, const nlohmann::json& controls) {
  if (controls.is_null()) return;
  if (!controls.is_object()) throw ApiError{400, "controls 应是控件名到值的对照。"};
  for (const auto& [name, value] : controls.items()) {
    if (!form.Has(name)) throw ApiError{400, "对话框中没有名为 " + name + " 的控件。"};
    if (IsSwitch(name) != value.is_boolean() || !(value.is_boolean() || value.is_string())) {
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
    for (const ToolDefinition& tool : ToolTable()) {
      const PageHelp* help = PageHelpOf(tool.method);
      if (tool.macro != command.macro || help == nullptr) continue;
      html += "<h3>" + Escaped(tool.caption) + "</h3>\n<p>" + Escaped(help->what) + "</p>\n";
      if (!help->fields.empty()) html += "<dl>\n";
      for (const auto& [control, text] : help->fields) {
        const ControlOption* option = nullptr;
        for (const ControlOption& o : tool.options) option = o.control == control ? &o : option;
        std::string label = option != nullptr ? option->label : control;
        html += "<dt>" + Escaped(label) + "</dt><dd>" + Escaped(text) + "</dd>\n";
      }
      if (!help->fields.empty()) html += "</dl>\n";
      html += "<p class=\"example\"><b>示例：</b>" + Escaped(help->example) + "</p>\n";
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
