#include <algorithm>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"
#include "tools/tool_table.h"

namespace tavrin {

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
    Application& app = frame.App();

    // The active sheet; the list's rows, the corner and the three field columns.
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    Range list = frame.FieldRange("RefEdit1");
    int h = list.Row();
    int e = h + list.RowsCount() - 1;
    Range corner = frame.FieldRange("RefEdit2");
    int R = corner.Row();
    int C = corner.Column();
    int kr = frame.FieldRange("RefEdit3").Column();
    int kc = frame.FieldRange("RefEdit4").Column();
    int v = frame.FieldRange("RefEdit5").Column();

    // What the two label lists can cover, kept to put back should the table not fit; texts
    // keep the apostrophe that makes the host store them as texts again.
    Range labelColumns = sheet.Cells(R, C).Resize(std::min(e - h + 1, kLastRow - R + 1),
                                                  std::min(2, kLastColumn - C + 1));
    Block before = labelColumns.Values();
    for (int row = 1; row <= before.Rows(); ++row) {
      for (int column = 1; column <= before.Columns(); ++column) {
        Variant& value = before(row, column);
        if (value.IsText()) value = "'" + value.AsText();
      }
    }

    // The distinct row labels at the corner and the distinct column labels beside them, each
    // under its field name.
    sheet.Range(sheet.Cells(h, kr), sheet.Cells(e, kr))
        .AdvancedFilter(xlFilterCopy, sheet.Cells(R, C), true);
    sheet.Range(sheet.Cells(h, kc), sheet.Cells(e, kc))
        .AdvancedFilter(xlFilterCopy, sheet.Cells(R, C + 1), true);

    // The table must end by column IV; if not, the sheet goes back to how it was.
    int n = sheet.Cells(R, C + 1).End(xlDown).Row() - R;
    if (C + n > kLastColumn) {
      labelColumns.SetValues(before);
      frame.Message("最后一列超过了IV列，操作无法完成！");
      frame.EventsBack();
      return;
    }

    // Lay the column labels across the top row, then clear their vertical copy and the row
    // field's name in the corner.
    sheet.Cells(R + 1, C + 1).Resize(n, 1).Copy();
    sheet.Cells(R, C + 1).PasteSpecial(xlPasteAll, xlPasteSpecialOperationNone, false, true);
    int copied = sheet.Cells(R, C + 1).End(xlDown).Row() - R;
    sheet.Cells(R + 1, C + 1).Resize(copied, 1).ClearContents();
    sheet.Cells(R, C).ClearContents();

    // The label ranges the records are looked up in, as far as the labels run without a gap.
    Range columnLabels =
        sheet.Cells(R, C + 1).Resize(1, sheet.Cells(R, C + 1).End(xlToRight).Column() - C);
    Range rowLabels = sheet.Cells(R + 1, C).Resize(sheet.Cells(R + 1, C).End(xlDown).Row() - R, 1);

    // Each record's value into its cell: added (summing) or placed (placing); with neither
    // option the labels stay and the body is not touched.
    bool summing = frame.FieldChecked("OptionButton1");
    bool placing = !summing && frame.FieldChecked("OptionButton2");
    if (summing || placing) {
      WorksheetFunction& functions = app.WorksheetFunction();
      for (int i = h + 1; i <= e; ++i) {
        int r = R + static_cast<int>(functions.Match(sheet.Cells(i, kr).Value(), rowLabels, 0));
        int c = C + static_cast<int>(functions.Match(sheet.Cells(i, kc).Value(), columnLabels, 0));
        Range cell = sheet.Cells(r, c);
        Variant value = sheet.Cells(i, v).Value();
        cell.SetValue(summing ? Add(cell.Value(), value, runtime.Locale()) : value);
      }
    }

    frame.EventsBack();
    frame.UnloadForm();
    frame.Finished();
  });
}

}  // namespace tavrin
