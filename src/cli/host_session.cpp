#include "cli/host_session.h"

#include "host/variant_rules.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

HostSession::HostSession(Spreadsheet& spreadsheet, Runtime& runtime)
    : app(spreadsheet), hostBook(&spreadsheet.AddWorkbook(kHostWorkbookName)) {
  hostBook->AddSheet("bf");
  app.SetThisWorkbook(*hostBook);
  component = std::make_unique<Korvel>(runtime);
  component->SetXlBook(*hostBook);
  component->CSH();
}

std::string HostSession::Token() {
  return TextOf(hostBook->GetSheet("bf").Cells(1, 1).Value(), app.Locale());
}

}  // namespace tavrin
