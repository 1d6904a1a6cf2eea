#include "io/xlsx_origin.h"

#include <pugixml.hpp>

#include "io/xml_text.h"

namespace tavrin {

bool IsRelationshipType(std::string_view type, std::string_view name) {
  return type.size() > name.size() && type.ends_with(name) &&
         type[type.size() - name.size() - 1] == '/';
}

std::string RelationshipsPart(const std::string& part) {
  size_t slash = part.rfind('/');
  std::string folder = slash == std::string::npos ? "" : part.substr(0, slash + 1);
  return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

const PackagePart* XlsxOrigin::Find(std::string_view name) const {
  for (const PackagePart& part : parts) {
    if (part.name == name) return &part;
  }
  return nullptr;
}

const XlsxSheetOrigin* XlsxOrigin::FindSheet(std::string_view name) const {
  for (const XlsxSheetOrigin& sheet : sheets) {
    if (sheet.name == name) return &sheet;
  }
  return nullptr;
}

std::vector<Relationship> XlsxOrigin::RelationshipsOf(const std::string& part) const {
  std::vector<Relationship> relationships;
  std::string relsName = RelationshipsPart(part);
  const PackagePart* rels = Find(relsName);
  if (rels == nullptr) return relationships;
  pugi::xml_document xml;
  ParseXml(xml, rels->bytes, relsName);
  for (pugi::xml_node r : xml.child("Relationships").children("Relationship")) {
    std::string target = r.attribute("Target").as_string();
    bool external = std::string_view(r.attribute("TargetMode").as_string()) == "External";
    relationships.push_back({r.attribute("Id").as_string(), r.attribute("Type").as_string(),
                             external ? target : ResolveTarget(part, target)});
  }
  return relationships;
}

}  // namespace tavrin
