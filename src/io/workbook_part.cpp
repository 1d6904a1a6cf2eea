#include "io/workbook_part.h"

#include <pugixml.hpp>

#include <initializer_list>

#include "host/reference_text.h"
#include "io/package_index.h"
#include "io/xml_text.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

constexpr char kTemplate[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
    "<bookViews><workbookView/></bookViews><sheets/></workbook>";

// The child of that name, or a new one placed after the last of the elements that precede it.
pugi::xml_node ObtainAfter(pugi::xml_node root, const char* name,
                           std::initializer_list<const char*> preceding) {
  if (pugi::xml_node found = root.child(name)) return found;
  pugi::xml_node after;
  for (const char* before : preceding) {
    if (pugi::xml_node node = root.child(before)) after = node;
  }
  return after ? root.insert_child_after(name, after) : root.prepend_child(name);
}

// "Sales!$1:$1,Sales!$A:$A": each area after the sheet's name, quoted as references quote it.
std::string Qualified(const std::string& sheet, const std::string& areas) {
  std::string prefix = SheetPrefix(sheet);
  std::string text;
  size_t start = 0;
  while (start <= areas.size()) {
    size_t comma = areas.find(',', start);
    if (comma == std::string::npos) comma = areas.size();
    text += (text.empty() ? "" : ",") + prefix + areas.substr(start, comma - start);
    start = comma + 1;
  }
  return text;
}

void AddName(pugi::xml_node names, const char* name, int index, const std::string& text) {
  pugi::xml_node node = names.append_child("definedName");
  node.append_attribute("name") = name;
  node.append_attribute("localSheetId") = index;
  node.text() = XmlText(text).c_str();
}

void WriteDefinedNames(pugi::xml_node root, const std::vector<std::string>& fileNames,
                       const std::vector<WorkbookSheet>& sheets) {
  pugi::xml_node names =
      ObtainAfter(root, "definedNames", {"sheets", "functionGroups", "externalReferences"});
  for (pugi::xml_node name = names.first_child(); name;) {
    pugi::xml_node next = name.next_sibling();
    pugi::xml_attribute local = name.attribute("localSheetId");
    std::string_view kind = name.attribute("name").as_string();
    if (local) {
      size_t old = local.as_uint();
      int now = -1;
      for (size_t i = 0; old < fileNames.size() && i < sheets.size(); ++i) {
        if (sheets[i].sheet->Name() == fileNames[old]) now = static_cast<int>(i);
      }
      if (now < 0 || kind == "_xlnm.Print_Titles" || kind == "_xlnm.Print_Area") {
        names.remove_child(name);
      } else {
        local = now;
      }
    }
    name = next;
  }
  for (size_t i = 0; i < sheets.size(); ++i) {
    Sheet& sheet = *sheets[i].sheet;
    int index = static_cast<int>(i);
    if (!sheet.Layout().printArea.empty()) {
      AddName(names, "_xlnm.Print_Area", index, Qualified(sheet.Name(), sheet.Layout().printArea));
    }
    std::string titles = sheet.PageSetup().PrintTitleRows();
    if (!titles.empty())
      AddName(names, "_xlnm.Print_Titles", index, Qualified(sheet.Name(), titles));
  }
  if (!names.first_child()) root.remove_child(names);
}

}  // namespace

std::string WriteWorkbookPart(std::string_view original, const std::vector<WorkbookSheet>& sheets,
                              int activeTab) {
  pugi::xml_document xml;
  ParseXml(xml, original.empty() ? kTemplate : original, "workbook part");
  pugi::xml_node root = xml.child("workbook");
  if (!root.attribute("xmlns:r")) root.append_attribute("xmlns:r") = xlsx::kRelationshipsNamespace;

  pugi::xml_node list =
      ObtainAfter(root, "sheets",
                  {"fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews"});
  pugi::xml_document kept;  // the sheet elements as read, with attributes such as state
  std::vector<std::string> fileNames;
  for (pugi::xml_node sheet : list.children("sheet")) {
    fileNames.push_back(sheet.attribute("name").as_string());
    kept.append_copy(sheet);
  }
  while (list.first_child()) list.remove_child(list.first_child());
  for (const WorkbookSheet& entry : sheets) {
    pugi::xml_node sheet;
    for (pugi::xml_node old : kept.children("sheet")) {
      if (entry.sheet->Name() == old.attribute("name").as_string()) sheet = list.append_copy(old);
    }
    if (!sheet) {
      sheet = list.append_child("sheet");
      sheet.append_attribute("name") = XmlText(entry.sheet->Name()).c_str();
      sheet.append_attribute("sheetId") = entry.sheetId.c_str();
      sheet.append_attribute("r:id") = entry.relationshipId.c_str();
    }
  }
  WriteDefinedNames(root, fileNames, sheets);

  pugi::xml_node view =
      Obtain(ObtainAfter(root, "bookViews",
                         {"fileVersion", "fileSharing", "workbookPr", "workbookProtection"}),
             "workbookView");
  (view.attribute("activeTab") ? view.attribute("activeTab") : view.append_attribute("activeTab")) =
      activeTab;
  if (view.attribute("firstSheet").as_int() > activeTab) view.remove_attribute("firstSheet");
  // The cached results of formulas the tools wrote are not computed here: the reading program
  // recalculates them.
  pugi::xml_node calc = ObtainAfter(
      root, "calcPr", {"sheets", "functionGroups", "externalReferences", "definedNames"});
  (calc.attribute("fullCalcOnLoad") ? calc.attribute("fullCalcOnLoad")
                                    : calc.append_attribute("fullCalcOnLoad")) = "1";
  return PrintXml(xml);
}

}  // namespace tavrin
