#pragma once

#include <string>

#include <nlohmann/json_fwd.hpp>

namespace tavrin {

class DialogForm;

// The dialog a tool macro of the host workbook opens ("F2"): its title (the menu entry's
// caption) and a page a tool with its fields, labelled as the dialog labels them. Null for a
// macro that opens no dialog.
nlohmann::json DialogOf(const std::string& macro);

// Fills a tool's form from the page's controls ({"RefEdit1":"A1:E121","CheckBox1":true}):
// texts for reference boxes, text boxes and labels, true or false for check boxes and option
// buttons. A control the form lacks, or a value of the wrong kind, fails (ApiError 400).
void FillForm(DialogForm& form, const nlohmann::json& controls);

// The help the menu's 使用帮助 shows: a section a menu entry, each tool with what it does and
// its fields.
std::string HelpHtml();

// What the page needs to draw the information window as it was designed.
nlohmann::json AboutWindow();

}  // namespace tavrin
