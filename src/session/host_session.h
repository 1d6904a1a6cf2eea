#pragma once

#include <memory>
#include <string>

#include "component/korvel.h"
#include "host/runtime.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {

// The host workbook's part: it holds the embedded spreadsheet, adds the host workbook
// "Tavrin.xls" with its sheet "bf", creates the component, hands it the host workbook, calls
// CSH, and reads the token back from "bf"!A1 as a dialog does.
class HostSession {
 public:
  static constexpr const char* kHostWorkbookName = "Tavrin.xls";

  // The runtime's running-object lookup must find the spreadsheet.
  HostSession(Spreadsheet& spreadsheet, Runtime& runtime);

  Korvel& Component() { return *component; }
  Book& HostWorkbook() { return *hostBook; }
  // The token as a dialog reads it: the text of "bf"!A1.
  std::string Token();

 private:
  Spreadsheet& app;
  Book* hostBook;
  std::unique_ptr<Korvel> component;
};

}  // namespace tavrin
