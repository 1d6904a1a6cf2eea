#include "calc/calc_document.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/AddressConvention.hpp>
#include <com/sun/star/sheet/FormulaLanguage.hpp>
#include <com/sun/star/sheet/FormulaMapGroup.hpp>
#include <com/sun/star/sheet/XFormulaOpCodeMapper.hpp>
#include <com/sun/star/table/CellAddress.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>
#include <com/sun/star/util/XNumberFormatsSupplier.hpp>

#include "calc/uno_text.h"

namespace tavrin {

namespace beans = com::sun::star::beans;
namespace lang = com::sun::star::lang;
namespace util = com::sun::star::util;

CalcDocument::CalcDocument(uno::Reference<uno::XComponentContext> context,
                           uno::Reference<sheet::XSpreadsheetDocument> document)
    : context_(std::move(context)), document_(std::move(document)) {}

uno::Reference<com::sun::star::frame::XModel> CalcDocument::Model() const {
  return uno::Reference<com::sun::star::frame::XModel>(document_, uno::UNO_QUERY_THROW);
}

uno::Reference<com::sun::star::frame::XController> CalcDocument::Controller() const {
  return Model()->getCurrentController();
}

// A parser of the host's English function names and separators, in A1 or R1C1.
uno::Reference<sheet::XFormulaParser>& CalcDocument::Parser(FormulaNotation notation) {
  uno::Reference<sheet::XFormulaParser>& parser =
      notation == FormulaNotation::A1 ? a1Parser_ : r1c1Parser_;
  if (parser.is()) return parser;
  uno::Reference<lang::XMultiServiceFactory> factory(document_, uno::UNO_QUERY_THROW);
  uno::Reference<sheet::XFormulaOpCodeMapper> mapper(
      factory->createInstance(Unicode("com.sun.star.sheet.FormulaOpCodeMapper")),
      uno::UNO_QUERY_THROW);
  parser.set(factory->createInstance(Unicode("com.sun.star.sheet.FormulaParser")),
             uno::UNO_QUERY_THROW);
  uno::Reference<beans::XPropertySet> options(parser, uno::UNO_QUERY_THROW);
  options->setPropertyValue(Unicode("CompileEnglish"), uno::Any(true));
  options->setPropertyValue(
      Unicode("FormulaConvention"),
      uno::Any(notation == FormulaNotation::A1 ? sheet::AddressConvention::XL_A1
                                               : sheet::AddressConvention::XL_R1C1));
  options->setPropertyValue(Unicode("OpCodeMap"), uno::Any(mapper->getAvailableMappings(
                                                      sheet::FormulaLanguage::XL_ENGLISH,
                                                      sheet::FormulaMapGroup::ALL_EXCEPT_SPECIAL)));
  return parser;
}

uno::Sequence<sheet::FormulaToken> CalcDocument::Parse(const std::string& formula,
                                                       FormulaNotation notation, int row,
                                                       int column) {
  com::sun::star::table::CellAddress at(0, column - 1, row - 1);
  return Parser(notation)->parseFormula(Unicode(formula), at);
}

std::string CalcDocument::Print(const uno::Sequence<sheet::FormulaToken>& tokens,
                                FormulaNotation notation, int row, int column) {
  com::sun::star::table::CellAddress at(0, column - 1, row - 1);
  return "=" + Utf8(Parser(notation)->printFormula(tokens, at));
}

sal_Int32 CalcDocument::StandardFormat(sal_Int16 kind) {
  uno::Reference<util::XNumberFormatsSupplier> supplier(document_, uno::UNO_QUERY_THROW);
  uno::Reference<util::XNumberFormatTypes> types(supplier->getNumberFormats(),
                                                 uno::UNO_QUERY_THROW);
  return types->getStandardFormat(kind, lang::Locale());
}

sal_Int16 CalcDocument::FormatKind(sal_Int32 key) {
  auto known = formatKinds_.find(key);
  if (known != formatKinds_.end()) return known->second;
  if (!formats_.is()) {
    uno::Reference<util::XNumberFormatsSupplier> supplier(document_, uno::UNO_QUERY_THROW);
    formats_ = supplier->getNumberFormats();
  }
  sal_Int16 kind = 0;
  uno::Reference<beans::XPropertySet> format = formats_->getByKey(key);
  if (format.is()) format->getPropertyValue(Unicode("Type")) >>= kind;
  formatKinds_[key] = kind;
  return kind;
}

}  // namespace tavrin
