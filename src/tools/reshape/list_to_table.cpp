#include <algorithm>
#include <optional>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

// One run of QDZBG once events are off, step by step. The column limit ends the run with the
// sheet as it was and events back on; any failure goes to the caller's failure report.
class ListToTableRun {
 public:
  ListToTableRun(RunFrame& runFrame, const UserLocale& userLocale)
      : frame(runFrame), app(runFrame.App()), locale(userLocale) {}

  void Run() {
    ReadDialog();
    KeepLabelColumns();
    ListDistinctLabels();
    if (!TableFits()) return;
    LayColumnLabelsAcross();
    FindLabelRanges();
    EnterRecords();
    frame.EventsBack();
    frame.UnloadForm();
    frame.Finished();
  }

 private:
  // The active sheet; the list's rows, the corner and the three field columns.
  void ReadDialog() {
    sheet = &app.ActiveWorkbook().ActiveSheet();
    Range list = frame.FieldRange("RefEdit1");
    h = list.Row();
    e = h + list.RowsCount() - 1;
    Range corner = frame.FieldRange("RefEdit2");
    R = corner.Row();
    C = corner.Column();
    kr = frame.FieldRange("RefEdit3").Column();
    kc = frame.FieldRange("RefEdit4").Column();
    v = frame.FieldRange("RefEdit5").Column();
  }

  // What the two label lists can cover, kept to put back should the table not fit; texts keep
  // the apostrophe that makes the host store them as texts again.
  void KeepLabelColumns() {
    labelColumns = sheet->Cells(R, C).Resize(std::min(e - h + 1, kLastRow - R + 1),
                                             std::min(2, kLastColumn - C + 1));
    before = labelColumns->Values();
    for (int row = 1; row <= before.Rows(); ++row) {
      for (int column = 1; column <= before.Columns(); ++column) {
        Variant& value = before(row, column);
        if (value.IsText()) value = "'" + value.AsText();
      }
    }
  }

  // The distinct row labels at the corner and the distinct column labels beside them, each
  // under its field name.
  void ListDistinctLabels() {
    FieldCells(kr).AdvancedFilter(xlFilterCopy, sheet->Cells(R, C), true);
    FieldCells(kc).AdvancedFilter(xlFilterCopy, sheet->Cells(R, C + 1), true);
  }

  // The table must end by column IV; if not, the sheet goes back to how it was.
  bool TableFits() {
    n = sheet->Cells(R, C + 1).End(xlDown).Row() - R;
    if (C + n <= kLastColumn) return true;
    labelColumns->SetValues(before);
    frame.Message("最后一列超过了IV列，操作无法完成！");
    frame.EventsBack();
    return false;
  }

  // Lay the column labels across the top row, then clear their vertical copy and the row
  // field's name in the corner.
  void LayColumnLabelsAcross() {
    sheet->Cells(R + 1, C + 1).Resize(n, 1).Copy();
    sheet->Cells(R, C + 1).PasteSpecial(xlPasteAll, xlPasteSpecialOperationNone, false, true);
    int copied = sheet->Cells(R, C + 1).End(xlDown).Row() - R;
    sheet->Cells(R + 1, C + 1).Resize(copied, 1).ClearContents();
    sheet->Cells(R, C).ClearContents();
  }

  // The label ranges the records are looked up in, as far as the labels run without a gap.
  void FindLabelRanges() {
    Range top = sheet->Cells(R, C + 1);
    columnLabels = top.Resize(1, top.End(xlToRight).Column() - C);
    Range side = sheet->Cells(R + 1, C);
    rowLabels = side.Resize(side.End(xlDown).Row() - R, 1);
  }

  // Each record's value into its cell: added (summing) or placed (placing); with neither
  // option the labels stay and the body is not touched.
  void EnterRecords() {
    bool summing = frame.FieldChecked("OptionButton1");
    bool placing = !summing && frame.FieldChecked("OptionButton2");
    if (!summing && !placing) return;
    WorksheetFunction& functions = app.WorksheetFunction();
    for (int i = h + 1; i <= e; ++i) {
      int r = R + static_cast<int>(functions.Match(sheet->Cells(i, kr).Value(), *rowLabels, 0));
      int c = C + static_cast<int>(functions.Match(sheet->Cells(i, kc).Value(), *columnLabels, 0));
      Range cell = sheet->Cells(r, c);
      Variant value = sheet->Cells(i, v).Value();
      cell.SetValue(summing ? Add(cell.Value(), value, locale) : value);
    }
  }

  // A field's cells in the list's rows, field name first.
  Range FieldCells(int column) {
    return sheet->Range(sheet->Cells(h, column), sheet->Cells(e, column));
  }

  RunFrame& frame;
  Application& app;
  const UserLocale& locale;
  Worksheet* sheet = nullptr;
  int h = 0, e = 0;           // the list's field-name row and last row
  int R = 0, C = 0;           // the corner
  int kr = 0, kc = 0, v = 0;  // the row-label, column-label and value columns
  int n = 0;                  // the column labels
  std::optional<Range> labelColumns, rowLabels, columnLabels;
  Block before;
};

}  // namespace

// Turns a list into a cross table: the host's advanced filter lists the distinct row and column
// labels, a transposing paste lays the column labels across, and each record's value lands in
// the cell that MATCH finds for its two labels, added to what is there or placed over it.
void Korvel::QDZBG(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    if (!frame.TargetWorkbookActive()) return;
    if (!frame.FieldsFilled(RequiredControls(&Korvel::QDZBG))) return;
    frame.EventsOff();
    ListToTableRun(frame, runtime.Locale()).Run();
  });
}

}  // namespace tavrin
