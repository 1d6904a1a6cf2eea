#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace tavrin {

// The part's XML parsed; XML that does not parse fails (FormatError naming the part).
void ParseXml(pugi::xml_document& document, std::string_view bytes, const std::string& part);

// The XML of a document or node as written back: no added blanks, the declaration kept.
std::string PrintXml(const pugi::xml_node& node);

// Appends text escaped for an element's content or an attribute's value, as XML can hold it:
// bytes that are no UTF-8, and the characters U+FFFE and U+FFFF, become U+FFFD; control
// characters other than tab, line feed and carriage return are dropped.
void AppendEscaped(std::string& out, std::string_view text);

// The text as XML can hold it (as AppendEscaped), not escaped: for the values the XML library
// escapes itself.
std::string XmlText(std::string_view text);

// A child element, made as the last child when missing.
pugi::xml_node Obtain(pugi::xml_node parent, const char* name);

// The package path of a relationship target: relative to the folder of the part that holds
// the relationship ("worksheets/sheet1.xml" from "xl/workbook.xml"), or absolute ("/xl/...").
std::string ResolveTarget(const std::string& fromPart, const std::string& target);

}  // namespace tavrin
