#include "extension/undo_step.h"

#include <com/sun/star/document/XUndoManagerSupplier.hpp>

#include "calc/uno_text.h"

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace document = com::sun::star::document;

UndoStep::UndoStep(const uno::Reference<com::sun::star::sheet::XSpreadsheetDocument>& model,
                   const std::string& title) {
  uno::Reference<document::XUndoManagerSupplier> supplier(model, uno::UNO_QUERY);
  if (!supplier.is()) return;
  undo_ = supplier->getUndoManager();
  if (undo_.is()) undo_->enterUndoContext(Unicode(title));
}

UndoStep::~UndoStep() {
  try {
    if (undo_.is()) undo_->leaveUndoContext();
  } catch (const uno::Exception&) {
    // The context was closed by Calc (the document closed during the run): nothing to close.
  }
}

}  // namespace tavrin
