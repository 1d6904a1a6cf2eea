#include "calc/calc_book.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/XTitle.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/sheet/XSpreadsheets.hpp>

#include "calc/calc_application.h"
#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tavrin {

namespace container = com::sun::star::container;

namespace {

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string SheetName(const uno::Reference<sheet::XSpreadsheet>& sheet) {
  return Utf8(uno::Reference<container::XNamed>(sheet, uno::UNO_QUERY_THROW)->getName());
}

}  // namespace

CalcBook::CalcBook(CalcApplication& application,
                   uno::Reference<sheet::XSpreadsheetDocument> document, std::string name)
    : app_(application),
      document_(application.Context(), std::move(document)),
      name_(std::move(name)) {}

std::string CalcBook::Name() const {
  if (!name_.empty()) return name_;
  uno::Reference<com::sun::star::frame::XTitle> title(document_.Document(), uno::UNO_QUERY);
  return title.is() ? Utf8(title->getTitle()) : std::string();
}

Application& CalcBook::Parent() {
  return app_;
}

CalcSheet& CalcBook::SheetOf(const uno::Reference<sheet::XSpreadsheet>& sheet) {
  std::string name = SheetName(sheet);
  CalcSheet*& known = sheets_[UpperAscii(name)];
  if (known == nullptr || SheetName(known->UnoSheet()) != name) {
    made_.push_back(std::make_unique<CalcSheet>(*this, sheet));
    known = made_.back().get();
  }
  return *known;
}

CalcSheet* CalcBook::FindSheet(const std::string& name) {
  uno::Reference<container::XIndexAccess> sheets(document_.Document()->getSheets(),
                                                 uno::UNO_QUERY_THROW);
  for (sal_Int32 i = 0; i < sheets->getCount(); ++i) {
    uno::Reference<sheet::XSpreadsheet> sheet(sheets->getByIndex(i), uno::UNO_QUERY_THROW);
    if (UpperAscii(SheetName(sheet)) == UpperAscii(name)) return &SheetOf(sheet);
  }
  return nullptr;
}

void CalcBook::SetActiveSheet(CalcSheet& sheet) {
  activeSheet_ = &sheet;
  uno::Reference<sheet::XSpreadsheetView> view(document_.Controller(), uno::UNO_QUERY);
  if (view.is()) view->setActiveSheet(sheet.UnoSheet());
}

Worksheet& CalcBook::ActiveSheet() {
  uno::Reference<sheet::XSpreadsheetView> view(document_.Controller(), uno::UNO_QUERY);
  if (view.is()) return SheetOf(view->getActiveSheet());
  if (activeSheet_ != nullptr) return *activeSheet_;
  return Item(1);
}

int CalcBook::Count() {
  uno::Reference<container::XIndexAccess> sheets(document_.Document()->getSheets(),
                                                 uno::UNO_QUERY_THROW);
  return static_cast<int>(sheets->getCount());
}

Worksheet& CalcBook::Item(int index) {
  uno::Reference<container::XIndexAccess> sheets(document_.Document()->getSheets(),
                                                 uno::UNO_QUERY_THROW);
  if (index < 1 || index > sheets->getCount()) throw HostError::SubscriptOutOfRange();
  return SheetOf(
      uno::Reference<sheet::XSpreadsheet>(sheets->getByIndex(index - 1), uno::UNO_QUERY_THROW));
}

Worksheet& CalcBook::Item(const std::string& name) {
  CalcSheet* sheet = FindSheet(name);
  if (sheet == nullptr) throw HostError::SubscriptOutOfRange();
  return *sheet;
}

}  // namespace tavrin
