#pragma once

#include <map>
#include <string>

#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/sheet/FormulaToken.hpp>
#include <com/sun/star/sheet/XFormulaParser.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XNumberFormats.hpp>

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace sheet = com::sun::star::sheet;

// How a formula text writes its references: "A1" or "R1C1".
enum class FormulaNotation { A1, R1C1 };

// A Calc spreadsheet document and what its sheets share: the formula parsers of the host's
// English syntax (comma separators, "Sheet1!A1"), and its number formats.
class CalcDocument {
 public:
  CalcDocument(uno::Reference<uno::XComponentContext> context,
               uno::Reference<sheet::XSpreadsheetDocument> document);

  const uno::Reference<sheet::XSpreadsheetDocument>& Document() const { return document_; }
  uno::Reference<com::sun::star::frame::XModel> Model() const;
  // The document's current controller: none for a document that has no view.
  uno::Reference<com::sun::star::frame::XController> Controller() const;
  const uno::Reference<uno::XComponentContext>& Context() const { return context_; }

  // The tokens of a formula text ("=..."), its relative references taken from the cell at
  // (row, column), 1-based; the caller checks the cell for a syntax error once it is set.
  uno::Sequence<sheet::FormulaToken> Parse(const std::string& formula, FormulaNotation notation,
                                           int row, int column);
  // The formula's text in the host's syntax, "=" in front.
  std::string Print(const uno::Sequence<sheet::FormulaToken>& tokens, FormulaNotation notation,
                    int row, int column);

  // The standard format key of a kind of number (com.sun.star.util.NumberFormat: DATE,
  // LOGICAL), and the kind of a format key.
  sal_Int32 StandardFormat(sal_Int16 kind);
  sal_Int16 FormatKind(sal_Int32 key);

 private:
  uno::Reference<sheet::XFormulaParser>& Parser(FormulaNotation notation);

  uno::Reference<uno::XComponentContext> context_;
  uno::Reference<sheet::XSpreadsheetDocument> document_;
  uno::Reference<sheet::XFormulaParser> a1Parser_;
  uno::Reference<sheet::XFormulaParser> r1c1Parser_;
  uno::Reference<com::sun::star::util::XNumberFormats> formats_;
  std::map<sal_Int32, sal_Int16> formatKinds_;
};

}  // namespace tavrin
