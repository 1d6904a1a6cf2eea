#pragma once

#include <string>

#include <com/sun/star/document/XUndoManager.hpp>
#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>

namespace tavrin {

// One step in the document's undo list for everything a command does, so one Undo takes a whole
// run back. Opened when made, closed when it goes out of scope; a document without an undo
// manager gets none.
class UndoStep {
 public:
  UndoStep(
      const com::sun::star::uno::Reference<com::sun::star::sheet::XSpreadsheetDocument>& document,
      const std::string& title);
  ~UndoStep();
  UndoStep(const UndoStep&) = delete;
  UndoStep& operator=(const UndoStep&) = delete;

 private:
  com::sun::star::uno::Reference<com::sun::star::document::XUndoManager> undo_;
};

}  // namespace tavrin
