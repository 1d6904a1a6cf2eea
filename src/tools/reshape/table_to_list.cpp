#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "tools/tool_table.h"

namespace tavrin {

// Unrolls a cross table into a list of three columns, one body cell a row: row by row (row
// label, column label, value) or column by column (column label, row label, value), empty cells
// left out on request.
void Korvel::BGZQD(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    if (!frame.TargetWorkbookActive()) return;
    if (!frame.FieldsFilled(RequiredControls(&Korvel::BGZQD))) return;
    frame.EventsOff();
    Application& app = frame.App();

    // The active sheet; the table's edges and the list's first cell.
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    Range table = frame.FieldRange("RefEdit1");
    int t = table.Row();
    int b = t + table.RowsCount() - 1;
    int l = table.Column();
    int r = l + table.ColumnsCount() - 1;
    Range destination = frame.FieldRange("RefEdit2");
    int C = destination.Column();
    int o = destination.Row();

    // One body cell: unless it is left out as empty, a list row of its two labels (in the
    // order of the reading) and its value, each cell read as it is written.
    auto handle = [&](int i, int j, bool rowFirst) {
      if (frame.FieldChecked("CheckBox1") &&
          TextOf(sheet.Cells(i, j).Value(), runtime.Locale()).empty()) {
        return;
      }
      Range rowLabel = sheet.Cells(i, l);
      Range columnLabel = sheet.Cells(t, j);
      sheet.Cells(o, C).SetValue((rowFirst ? rowLabel : columnLabel).Value());
      sheet.Cells(o, C + 1).SetValue((rowFirst ? columnLabel : rowLabel).Value());
      sheet.Cells(o, C + 2).SetValue(sheet.Cells(i, j).Value());
      ++o;
    };

    if (frame.FieldChecked("OptionButton1")) {
      for (int i = t + 1; i <= b; ++i) {
        for (int j = l + 1; j <= r; ++j) handle(i, j, true);
      }
    } else if (frame.FieldChecked("OptionButton2")) {
      for (int j = l + 1; j <= r; ++j) {
        for (int i = t + 1; i <= b; ++i) handle(i, j, false);
      }
    }

    frame.EventsBack();
    frame.UnloadForm();
    frame.Finished();
  });
}

}  // namespace tavrin
