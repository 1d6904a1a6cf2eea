#include "extension/cell_function_names.h"

#include <cctype>

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/document/XUndoManagerSupplier.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/task/XJob.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/implbase2.hxx>
#include <cppuhelper/supportsservice.hxx>

#include "calc/uno_text.h"
#include "functions/cell_functions.h"

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace sheet = com::sun::star::sheet;
namespace beans = com::sun::star::beans;
namespace container = com::sun::star::container;

namespace {

constexpr const char* kImplementation = "org.tavrin.korvel.CellFunctionNames";

bool IsNamePart(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
}

bool IsConversionFunction(std::string word) {
  for (char& c : word) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return word == "TODEC" || word == "DECTO" || word == "BASETOBASE";
}

}  // namespace

std::string WithAddInNames(const std::string& formula) {
  std::string mended;
  char quote = 0;
  for (size_t i = 0; i < formula.size();) {
    char c = formula[i];
    if (quote != 0 || c == '"' || c == '\'') {
      quote = quote == 0 ? c : (c == quote ? 0 : quote);
      mended += c;
      ++i;
      continue;
    }
    if (!IsNamePart(c)) {
      mended += c;
      ++i;
      continue;
    }
    size_t end = i;
    while (end < formula.size() && IsNamePart(formula[end])) ++end;
    std::string word = formula.substr(i, end - i);
    bool called = end < formula.size() && formula[end] == '(';
    mended += called && IsConversionFunction(word) ? CalcFileName(word) : word;
    i = end;
  }
  return mended;
}

namespace {

uno::Reference<com::sun::star::frame::XModel> ModelOf(
    const uno::Sequence<beans::NamedValue>& arguments) {
  for (const beans::NamedValue& argument : arguments) {
    if (argument.Name != "Environment") continue;
    uno::Sequence<beans::NamedValue> environment;
    argument.Value >>= environment;
    for (const beans::NamedValue& entry : environment) {
      if (entry.Name == "Model") {
        return uno::Reference<com::sun::star::frame::XModel>(entry.Value, uno::UNO_QUERY);
      }
    }
  }
  return nullptr;
}

// Gives every formula cell of the sheet calling a conversion function by its file name the
// add-in's name.
void MendSheet(const uno::Reference<sheet::XCellRangesQuery>& sheet) {
  uno::Reference<container::XEnumerationAccess> cells(
      sheet->queryContentCells(sheet::CellFlags::FORMULA)->getCells(), uno::UNO_QUERY_THROW);
  uno::Reference<container::XEnumeration> each = cells->createEnumeration();
  while (each->hasMoreElements()) {
    uno::Reference<com::sun::star::table::XCell> cell(each->nextElement(), uno::UNO_QUERY);
    if (!cell.is()) continue;
    std::string formula = Utf8(cell->getFormula());
    std::string mended = WithAddInNames(formula);
    if (mended != formula) cell->setFormula(Unicode(mended));
  }
}

class CellFunctionNames
    : public cppu::WeakImplHelper2<com::sun::star::task::XJob, com::sun::star::lang::XServiceInfo> {
 public:
  uno::Any SAL_CALL execute(const uno::Sequence<beans::NamedValue>& arguments) override {
    uno::Reference<com::sun::star::frame::XModel> model = ModelOf(arguments);
    uno::Reference<sheet::XSpreadsheetDocument> document(model, uno::UNO_QUERY);
    if (!document.is()) return uno::Any();
    uno::Reference<com::sun::star::util::XModifiable> modifiable(model, uno::UNO_QUERY);
    bool wasModified = modifiable.is() && modifiable->isModified();
    // Mending the names is no step of the user's to undo.
    uno::Reference<com::sun::star::document::XUndoManagerSupplier> undo(model, uno::UNO_QUERY);
    if (undo.is()) undo->getUndoManager()->lock();
    uno::Reference<container::XIndexAccess> sheets(document->getSheets(), uno::UNO_QUERY_THROW);
    for (sal_Int32 i = 0; i < sheets->getCount(); ++i) {
      MendSheet(
          uno::Reference<sheet::XCellRangesQuery>(sheets->getByIndex(i), uno::UNO_QUERY_THROW));
    }
    if (undo.is()) undo->getUndoManager()->unlock();
    if (modifiable.is() && !wasModified) modifiable->setModified(false);
    return uno::Any();
  }

  rtl::OUString SAL_CALL getImplementationName() override { return Unicode(kImplementation); }
  sal_Bool SAL_CALL supportsService(const rtl::OUString& name) override {
    return cppu::supportsService(this, name);
  }
  uno::Sequence<rtl::OUString> SAL_CALL getSupportedServiceNames() override {
    rtl::OUString name = Unicode(kImplementation);
    return uno::Sequence<rtl::OUString>(&name, 1);
  }
};

}  // namespace

const char* CellFunctionNamesImplementation() {
  return kImplementation;
}

uno::Reference<uno::XInterface> CreateCellFunctionNames(
    const uno::Reference<uno::XComponentContext>&) {
  return static_cast<cppu::OWeakObject*>(new CellFunctionNames());
}

}  // namespace tavrin
