// Writes the extension's Addons.xcu: the "Tavrin(~U)" menu of spreadsheet documents and the
// Tavrin toolbar, with the entries, captions, order and separators of the component's own
// menu, each entry dispatching "org.tavrin.korvel:<macro>".
#include <fstream>
#include <iostream>
#include <string>

#include "menu/command_table.h"

namespace {

using tavrin::Command;

constexpr const char* kContext = "com.sun.star.sheet.SpreadsheetDocument";

// The host marks a menu's access key with "&", Calc with "~".
std::string CalcCaption(const char* caption) {
  std::string text = caption;
  for (char& c : text) {
    if (c == '&') c = '~';
  }
  return text;
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

std::string Prop(const std::string& name, const std::string& value) {
  return "<prop oor:name=\"" + name + "\" oor:type=\"xs:string\"><value>" + Escaped(value) +
         "</value></prop>";
}

std::string Entry(const std::string& node, const std::string& url, const std::string& title,
                  const std::string& inside = "") {
  return "<node oor:name=\"" + node + "\" oor:op=\"replace\">" + Prop("URL", url) +
         Prop("Title", title) + Prop("Target", "_self") + Prop("Context", kContext) + inside +
         "</node>\n";
}

std::string Separator(const std::string& node) {
  return "<node oor:name=\"" + node + "\" oor:op=\"replace\">" + Prop("URL", "private:separator") +
         "</node>\n";
}

std::string Url(const Command& command) {
  return std::string("org.tavrin.korvel:") + command.macro;
}

template <class Commands>
std::string Popup(const std::string& node, const char* caption, const Commands& commands,
                  bool toolbar) {
  std::string items;
  int k = 0;
  for (const Command& command : commands) {
    items += Entry(node + "." + std::to_string(++k), Url(command),
                   toolbar ? command.toolbarCaption : CalcCaption(command.caption));
  }
  return Entry(node, "", CalcCaption(caption), "<node oor:name=\"Submenu\">\n" + items + "</node>");
}

// The six tools, a separator before the fourth; then the restart and help popups after one more.
// Node names in the order of the entries: Calc orders a menu's nodes by name.
std::string Node(char letter, int k) {
  return std::string(1, letter) + (k < 10 ? "0" : "") + std::to_string(k);
}

std::string MenuItems() {
  std::string items;
  int k = 0;
  for (const Command& command : tavrin::kToolCommands) {
    if (k == 3) items += Separator(Node('m', ++k));
    items += Entry(Node('m', ++k), Url(command), command.caption);
  }
  items += Separator(Node('m', ++k));
  items += Popup(Node('m', ++k), tavrin::kRestartCaption, tavrin::kRestartCommands, false);
  items += Popup(Node('m', ++k), tavrin::kAboutCaption, tavrin::kAboutCommands, false);
  return items;
}

// Toolbars hold no popups: the restart and help entries follow the tools as buttons.
std::string ToolbarItems() {
  std::string items;
  int k = 0;
  auto add = [&](const Command& command) {
    if (k == 3 || k == 7) items += Separator(Node('t', ++k));
    items += Entry(Node('t', ++k), Url(command), command.toolbarCaption);
  };
  for (const Command& command : tavrin::kToolCommands) add(command);
  for (const Command& command : tavrin::kRestartCommands) add(command);
  for (const Command& command : tavrin::kAboutCommands) add(command);
  return items;
}

std::string Images() {
  std::string images;
  auto add = [&](const Command& command) {
    std::string name = command.macro;
    images += "<node oor:name=\"i" + name + "\" oor:op=\"replace\">" + Prop("URL", Url(command)) +
              "<node oor:name=\"UserDefinedImages\">" +
              Prop("ImageSmallURL", "%origin%/../icons/" + name + ".png") +
              Prop("ImageBigURL", "%origin%/../icons/" + name + "_26.png") + "</node></node>\n";
  };
  for (const Command& command : tavrin::kToolCommands) add(command);
  for (const Command& command : tavrin::kRestartCommands) add(command);
  for (const Command& command : tavrin::kAboutCommands) add(command);
  return images;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: tavrin_addons_menu Addons.xcu\n";
    return 2;
  }
  std::ofstream out(argv[1]);
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<oor:component-data xmlns:oor=\"http://openoffice.org/2001/registry\" "
         "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" oor:name=\"Addons\" "
         "oor:package=\"org.openoffice.Office\">\n<node oor:name=\"AddonUI\">\n"
         "<node oor:name=\"OfficeMenuBar\">\n"
      << Entry("org.tavrin.korvel.menu", "", CalcCaption(tavrin::kMenuCaption),
               "<node oor:name=\"Submenu\">\n" + MenuItems() + "</node>")
      << "</node>\n<node oor:name=\"OfficeToolBar\">\n"
         "<node oor:name=\"org.tavrin.korvel.toolbar\" oor:op=\"replace\">\n"
      << ToolbarItems() << "</node>\n</node>\n<node oor:name=\"Images\">\n"
      << Images() << "</node>\n</node>\n</oor:component-data>\n";
  return out.good() ? 0 : 1;
}
