#include "session/workbook_session.h"

#include "spreadsheet/book.h"

namespace tavrin {

WorkbookSession::WorkbookSession(MachineRuntime& runtime,
                                 const std::function<Book&(Spreadsheet&)>& open)
    : book(&open(app)) {
  runtime.SetRunningApplication(app);
  host = std::make_unique<HostSession>(app, runtime);
  // The user switches to their own workbook once the host workbook is open.
  book->Activate();
}

WorkbookSession::~WorkbookSession() = default;

}  // namespace tavrin
