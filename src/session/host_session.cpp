#include "session/host_session.h"

#include "functions/cell_functions.h"
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
  // The host runs the component's conversion functions in cells, as it runs an add-in's, also
  // by the names a workbook saved in LibreOffice Calc calls them.
  for (NamedCellFunction& function : ConversionCellFunctions(*component, runtime.Locale())) {
    app.AddCellFunction(CalcFileName(function.name), function.call);
    app.AddCellFunction(function.name, std::move(function.call));
  }
}

std::string HostSession::Token() {
  return TextOf(hostBook->GetSheet("bf").Cells(1, 1).Value(), app.Locale());
}

}  // namespace tavrin
