#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

// One run of BGZQD once events are off, step by step; any failure goes to the caller's failure
// report with the list rows written so far.
class TableToListRun {
 public:
  TableToListRun(RunFrame& runFrame, const UserLocale& userLocale)
      : frame(runFrame), locale(userLocale) {}

  void Run() {
    ReadDialog();
    if (frame.FieldChecked("OptionButton1")) {
      ListRowByRow();
    } else if (frame.FieldChecked("OptionButton2")) {
      ListColumnByColumn();
    }
    frame.EventsBack();
    frame.UnloadForm();
    frame.Finished();
  }

 private:
  // The active sheet; the table's edges and the list's first cell.
  void ReadDialog() {
    sheet = &frame.App().ActiveWorkbook().ActiveSheet();
    Range table = frame.FieldRange("RefEdit1");
    t = table.Row();
    b = t + table.RowsCount() - 1;
    l = table.Column();
    r = l + table.ColumnsCount() - 1;
    Range destination = frame.FieldRange("RefEdit2");
    C = destination.Column();
    o = destination.Row();
  }

  // The body row by row: row label, column label, value.
  void ListRowByRow() {
    for (int i = t + 1; i <= b; ++i) {
      for (int j = l + 1; j <= r; ++j) ListCell(i, j, true);
    }
  }

  // The body column by column: column label, row label, value.
  void ListColumnByColumn() {
    for (int j = l + 1; j <= r; ++j) {
      for (int i = t + 1; i <= b; ++i) ListCell(i, j, false);
    }
  }

  // One body cell: unless it is left out as empty, a list row of its two labels (in the order
  // of the reading) and its value, each cell read as it is written.
  void ListCell(int i, int j, bool rowFirst) {
    if (frame.FieldChecked("CheckBox1") && TextOf(sheet->Cells(i, j).Value(), locale).empty()) {
      return;
    }
    Range rowLabel = sheet->Cells(i, l);
    Range columnLabel = sheet->Cells(t, j);
    sheet->Cells(o, C).SetValue((rowFirst ? rowLabel : columnLabel).Value());
    sheet->Cells(o, C + 1).SetValue((rowFirst ? columnLabel : rowLabel).Value());
    sheet->Cells(o, C + 2).SetValue(sheet->Cells(i, j).Value());
    ++o;
  }

  RunFrame& frame;
  const UserLocale& locale;
  Worksheet* sheet = nullptr;
  int t = 0, b = 0, l = 0, r = 0;  // the table's edges
  int C = 0, o = 0;                // the list's column and its next row
};

}  // namespace

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
    TableToListRun(frame, runtime.Locale()).Run();
  });
}

}  // namespace tavrin
