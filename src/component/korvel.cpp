#include "component/korvel.h"

#include <algorithm>
#include <cmath>

#include "host/host_error.h"
#include "host/range.h"
#include "host/worksheet.h"

namespace tavrin {

namespace {

// The token is the whole part of r x 100000000: digits only, 0 to 99999999.
std::string TokenFromDraw(double r) {
  double whole = std::floor(r * 100000000.0);
  whole = std::clamp(whole, 0.0, 99999999.0);
  return std::to_string(static_cast<long long>(whole));
}

}  // namespace

Application& Korvel::App() {
  if (xlApp == nullptr) throw HostError::ObjectVariableNotSet();
  return *xlApp;
}

void Korvel::CSH() {
  // 1. Attach to the running host application.
  xlApp = &runtime.GetObject("excel.application");
  // 2. Show the application.
  xlApp->SetVisible(true);
  if (xlBook == nullptr) throw HostError::ObjectVariableNotSet();
  // 3. Show the first window of the host's window list.
  xlBook->Parent().Windows().Item(1).SetVisible(true);
  // 4. Bring the host workbook's window forward.
  xlApp->Windows().Item(xlBook->Name()).Activate();
  // 5. Screen updating off; nothing here switches it back on.
  xlApp->SetScreenUpdating(false);
  // 6. A fresh token from a generator re-seeded from the clock.
  runtime.Randomize();
  initToken = TokenFromDraw(runtime.Rnd());
  // 7. The token into "bf"!A1 of the host workbook, where the dialogs read it.
  xlBook->Sheets().Item("bf").Cells(1, 1).SetValue(Variant(initToken));
  // 8. The prefix of the menu's macro names.
  macroPrefix = xlBook->Name() + "!";
  // 9. The menu, then the toolbar.
  BuildMenu();
  BuildToolbar();
}

}  // namespace tavrin
