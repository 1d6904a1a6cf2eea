#include "io/added_formats.h"

#include <any>
#include <memory>
#include <string>
#include <vector>

#include "io/xlsx_origin.h"
#include "io/xml_text.h"
#include "spreadsheet/book.h"

namespace tavrin {

namespace {

// The cell formats a workbook written without a styles part of its file gets (the writer's
// minimal part): the default one and a date.
constexpr uint32_t kMinimalFormats = 2;

// The first number the workbook's own formats leave free: after its file's, or after the
// minimal part's when its file had none.
uint32_t FirstFree(const Book& book) {
  const auto* origin = std::any_cast<std::shared_ptr<const XlsxOrigin>>(&book.Origin());
  if (origin == nullptr || *origin == nullptr || (*origin)->styles.Count() == 0)
    return kMinimalFormats;
  return static_cast<uint32_t>((*origin)->styles.Count());
}

}  // namespace

const AddedFormats* AddedFormatsOf(const Book& book) {
  return std::any_cast<AddedFormats>(&book.AddedFormats());
}

uint32_t FormatShowing(Book& book, uint32_t style, int numberFormatId) {
  std::string code = BuiltInFormat(numberFormatId);
  const CellLook* now = LookOf(book, style);
  if ((now != nullptr ? now->numberFormat : "") == code) return style;
  if (!book.AddedFormats().has_value()) book.AddedFormats() = AddedFormats{FirstFree(book), {}};
  auto& added = std::any_cast<AddedFormats&>(book.AddedFormats());
  // A format added before stands for the one it copies.
  if (const AddedFormat* format = added.Find(style)) style = format->base;
  for (size_t i = 0; i < added.formats.size(); ++i) {
    const AddedFormat& format = added.formats[i];
    if (format.base == style && format.numberFormatId == numberFormatId)
      return added.first + static_cast<uint32_t>(i);
  }
  const CellLook* base = LookOf(book, style);
  AddedFormat format{style, numberFormatId, base != nullptr ? *base : CellLook{}};
  format.look.numberFormat = code;
  added.formats.push_back(std::move(format));
  return added.first + static_cast<uint32_t>(added.formats.size() - 1);
}

void AppendAddedFormats(pugi::xml_document& styles, const AddedFormats& added) {
  pugi::xml_node list = Obtain(styles.child("styleSheet"), "cellXfs");
  std::vector<pugi::xml_node> own(list.children("xf").begin(), list.children("xf").end());
  for (const AddedFormat& format : added.formats) {
    pugi::xml_node base = format.base < own.size() ? own[format.base]
                          : own.empty()            ? pugi::xml_node()
                                                   : own.front();
    pugi::xml_node xf = base ? list.append_copy(base) : list.append_child("xf");
    xf.remove_attribute("numFmtId");
    xf.prepend_attribute("numFmtId") = format.numberFormatId;
    if (!xf.attribute("applyNumberFormat")) xf.append_attribute("applyNumberFormat");
    xf.attribute("applyNumberFormat") = 1;
  }
  if (!list.attribute("count")) list.append_attribute("count");
  list.attribute("count") = own.size() + added.formats.size();
}

}  // namespace tavrin
