#pragma once

#include <functional>
#include <memory>

#include "session/host_session.h"
#include "session/machine_runtime.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {

class Book;

// A user's workbook open in the embedded spreadsheet beside the host workbook, the component
// initialised, the user's workbook active: what the command line and the server run tools on.
class WorkbookSession {
 public:
  // Opens the user's workbook with `open` (which may fail, leaving nothing behind), then makes
  // the spreadsheet the runtime's running application and opens the host workbook.
  WorkbookSession(MachineRuntime& runtime, const std::function<Book&(Spreadsheet&)>& open);
  ~WorkbookSession();

  Spreadsheet& App() { return app; }
  Book& UserBook() { return *book; }
  HostSession& Host() { return *host; }

 private:
  Spreadsheet app;
  Book* book;
  std::unique_ptr<HostSession> host;
};

}  // namespace tavrin
