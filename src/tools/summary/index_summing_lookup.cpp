#include <string>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"
#include "tools/summary/summary_formulas.h"
#include "tools/summary/summary_steps.h"
#include "tools/tool_table.h"

namespace tavrin {

// Looks sums up by one or more key columns: one SUMPRODUCT formula in the first output cell,
// filled across the data columns and down the target rows, then frozen to values.
void Korvel::HZCZSZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  // Events go off before the fields are checked; an empty field switches them back on.
  frame.EventsOff();
  if (!frame.FieldsFilled(RequiredControls(&Korvel::HZCZSZ))) {
    frame.EventsBack();
    return;
  }
  frame.HideForm();

  frame.PassingFailuresOn([&] {
    Application& app = frame.App();
    WorksheetFunction& functions = app.WorksheetFunction();

    // The active sheet; the selection to come back to.
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    savedSelection = app.Selection().Address();
    app.Evaluate(savedSelection).AsRange().Select();

    // Index target, data target column, index source.
    Range indexTarget = frame.FieldRange("RefEdit1");
    Range dataTarget = frame.FieldRange("RefEdit2");
    Range indexSource = frame.FieldRange("RefEdit4");
    int targetRow = indexTarget.Row(), targetRows = indexTarget.RowsCount();
    int targetCol = indexTarget.Column(), keyCount = indexTarget.ColumnsCount();
    int outCol = dataTarget.Column();
    int sourceRow = indexSource.Row();
    int sourceEnd = sourceRow + indexSource.RowsCount() - 1;
    int sourceCol = indexSource.Column();

    // As many key columns in the source as in the target.
    if (indexSource.ColumnsCount() != keyCount) {
      frame.Message("“索引目标”列的列数与“索引源”列的列数不一致,请重来", vbOKOnly, kLibraryTitle);
      frame.EventsBack();
      return;
    }

    // The data source must hold no text.
    Range dataSource = frame.FieldRange("RefEdit5");
    int dataCol = dataSource.Column(), dataCols = dataSource.ColumnsCount();
    Range dataArea = sheet.Range(sheet.Cells(sourceRow, dataCol),
                                 sheet.Cells(sourceEnd, dataCol + dataCols - 1));
    double texts = functions.CountIf(dataArea, "*");
    if (texts > 0) {
      dataArea.Select();
      frame.Message("数据源中包含有 " + NumberText(texts, runtime.Locale()) +
                    " 个文本值，程序无法运行！");
      app.Evaluate(savedSelection).AsRange().Select();
      Obj1.Controls("RefEdit5").SetFocus();
      frame.EventsBack();
      Obj1.Show();
      return;
    }

    // The output block; the user decides when it holds anything.
    Range output = sheet.Range(sheet.Cells(targetRow, outCol),
                               sheet.Cells(targetRow + targetRows - 1, outCol + dataCols - 1));
    output.Activate();
    if (!frame.MayOverwrite(output, ShowTarget::AsShown, LookupOverwriteQuestion,
                            vbYesNo + vbDefaultButton2)) {
      return;
    }

    // The lookup formula, filled across and down.
    std::string formula =
        KeyedSumFormula(sourceRow, sourceEnd, sourceCol, keyCount, targetCol, dataCol - outCol);
    sheet.Cells(targetRow, outCol).SetValue(formula);
    FillFromFirstCell(output);

    // Freeze the sums.
    output.SetValues(output.Values());

    frame.EventsBack();
    app.Evaluate(savedSelection).AsRange().Select();
    frame.UnloadForm();
    frame.Message("查找完毕");
    frame.Finished();
  });
}

}  // namespace tavrin
