#pragma once

#include <string>

#include <com/sun/star/uno/XComponentContext.hpp>

namespace tavrin {

// A formula's text with each call of a conversion function by the name the host and the
// embedded host write into files (ToDec, DecTo, BaseToBase, in any case) given the name Calc
// knows the add-in's function by ("ORG.TAVRIN.CONVERSIONFUNCTIONS.TODEC"); texts in quotes and
// longer names (MYTODEC, X.TODEC) are left as they are. The formula unchanged when it holds none.
std::string WithAddInNames(const std::string& formula);

// The job Calc runs when a document has been opened: Calc reads a workbook's call of a
// function it does not know by its own name, so it shows #NAME? where the host computes
// =ToDec(…); the job gives those cells the add-in's name, and leaves the document as unmodified
// as it found it.
const char* CellFunctionNamesImplementation();
com::sun::star::uno::Reference<com::sun::star::uno::XInterface> CreateCellFunctionNames(
    const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context);

}  // namespace tavrin
