#include "io/package_index.h"

#include <pugixml.hpp>

#include "io/xml_text.h"

namespace tavrin {

namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

constexpr char kEmptyRelationships[] =
    "<Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"/>";

constexpr char kBasicContentTypes[] =
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";

std::string Printed(const pugi::xml_document& xml, bool fresh) {
  return (fresh ? kDeclaration : "") + PrintXml(xml);
}

}  // namespace

std::string EditRelationships(std::string_view original,
                              const std::set<std::pair<std::string, std::string>>& removed,
                              const std::vector<NewRelationship>& added) {
  pugi::xml_document xml;
  ParseXml(xml, original.empty() ? kEmptyRelationships : original, "relationships");
  pugi::xml_node root = xml.child("Relationships");
  for (pugi::xml_node r = root.first_child(); r;) {
    pugi::xml_node next = r.next_sibling();
    if (removed.contains({r.attribute("Id").as_string(), r.attribute("Type").as_string()}))
      root.remove_child(r);
    r = next;
  }
  for (const NewRelationship& r : added) {
    pugi::xml_node node = root.append_child("Relationship");
    node.append_attribute("Id") = r.id.c_str();
    node.append_attribute("Type") = r.type.c_str();
    node.append_attribute("Target") = r.target.c_str();
  }
  return Printed(xml, original.empty());
}

std::string EditContentTypes(std::string_view original, const std::set<std::string>& removed,
                             const std::vector<std::pair<std::string, std::string>>& added) {
  pugi::xml_document xml;
  ParseXml(xml, original.empty() ? kBasicContentTypes : original, "[Content_Types].xml");
  pugi::xml_node root = xml.child("Types");
  for (pugi::xml_node o = root.first_child(); o;) {
    pugi::xml_node next = o.next_sibling();
    std::string_view part = o.attribute("PartName").as_string();
    if (part.starts_with('/') && removed.contains(std::string(part.substr(1))))
      root.remove_child(o);
    o = next;
  }
  for (const auto& [part, type] : added) {
    pugi::xml_node node = root.append_child("Override");
    node.append_attribute("PartName") = ("/" + part).c_str();
    node.append_attribute("ContentType") = type.c_str();
  }
  return Printed(xml, original.empty());
}

}  // namespace tavrin
