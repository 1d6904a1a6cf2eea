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

namespace {

// One run of HZCZSZ once its form is hidden, step by step. Key columns that do not pair up,
// text in the data or a declined question end the run with events back on; any failure goes to
// the caller.
class IndexSummingLookupRun {
 public:
  IndexSummingLookupRun(RunFrame& runFrame, Form& toolForm, const UserLocale& userLocale,
                        std::string& selectionField)
      : frame(runFrame),
        form(toolForm),
        app(runFrame.App()),
        locale(userLocale),
        savedSelection(selectionField) {}

  void Run() {
    RememberSelection();
    ReadTargetAndSource();
    if (!KeyCountsAgree()) return;
    if (!DataHoldsNoText()) return;
    if (!OutputAccepted()) return;
    WriteSums();
    FreezeSums();
    frame.EventsBack();
    SelectSaved();
    frame.UnloadForm();
    frame.Message("查找完毕");
    frame.Finished();
  }

 private:
  // The active sheet; the selection to come back to.
  void RememberSelection() {
    sheet = &app.ActiveWorkbook().ActiveSheet();
    savedSelection = app.Selection().Address();
    SelectSaved();
  }

  // Index target, data target column, index source.
  void ReadTargetAndSource() {
    Range indexTarget = frame.FieldRange("RefEdit1");
    Range dataTarget = frame.FieldRange("RefEdit2");
    Range indexSource = frame.FieldRange("RefEdit4");
    targetRow = indexTarget.Row(), targetRows = indexTarget.RowsCount();
    targetCol = indexTarget.Column(), keyCount = indexTarget.ColumnsCount();
    outCol = dataTarget.Column();
    sourceRow = indexSource.Row();
    sourceEnd = sourceRow + indexSource.RowsCount() - 1;
    sourceCol = indexSource.Column();
    sourceKeys = indexSource.ColumnsCount();
  }

  // As many key columns in the source as in the target.
  bool KeyCountsAgree() {
    if (sourceKeys == keyCount) return true;
    frame.Message("“索引目标”列的列数与“索引源”列的列数不一致,请重来", vbOKOnly,
                  Korvel::kLibraryTitle);
    frame.EventsBack();
    return false;
  }

  // The data source must hold no text; a text sends the user back to its field.
  bool DataHoldsNoText() {
    Range dataSource = frame.FieldRange("RefEdit5");
    dataCol = dataSource.Column(), dataCols = dataSource.ColumnsCount();
    Range dataArea = sheet->Range(sheet->Cells(sourceRow, dataCol),
                                  sheet->Cells(sourceEnd, dataCol + dataCols - 1));
    double texts = app.WorksheetFunction().CountIf(dataArea, "*");
    if (texts <= 0) return true;
    dataArea.Select();
    frame.Message("数据源中包含有 " + NumberText(texts, locale) + " 个文本值，程序无法运行！");
    SelectSaved();
    form.Controls("RefEdit5").SetFocus();
    frame.EventsBack();
    form.Show();
    return false;
  }

  // The output block, activated; the user decides when it holds anything.
  bool OutputAccepted() {
    Range output = Output();
    output.Activate();
    return frame.MayOverwrite(output, ShowTarget::AsShown, LookupOverwriteQuestion,
                              vbYesNo + vbDefaultButton2);
  }

  // The lookup formula, filled across and down.
  void WriteSums() {
    std::string formula =
        KeyedSumFormula(sourceRow, sourceEnd, sourceCol, keyCount, targetCol, dataCol - outCol);
    sheet->Cells(targetRow, outCol).SetValue(formula);
    FillFromFirstCell(Output());
  }

  void FreezeSums() {
    Range output = Output();
    output.SetValues(output.Values());
  }

  void SelectSaved() { app.Evaluate(savedSelection).AsRange().Select(); }

  // The target's rows, as many columns as the data source from the data target column.
  Range Output() {
    return sheet->Range(sheet->Cells(targetRow, outCol),
                        sheet->Cells(targetRow + targetRows - 1, outCol + dataCols - 1));
  }

  RunFrame& frame;
  Form& form;
  Application& app;
  const UserLocale& locale;
  std::string& savedSelection;
  Worksheet* sheet = nullptr;
  int targetRow = 0, targetRows = 0, targetCol = 0, keyCount = 0;
  int outCol = 0;
  int sourceRow = 0, sourceEnd = 0, sourceCol = 0, sourceKeys = 0;
  int dataCol = 0, dataCols = 0;
};

}  // namespace

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
  frame.PassingFailuresOn(
      [&] { IndexSummingLookupRun(frame, Obj1, runtime.Locale(), savedSelection).Run(); });
}

}  // namespace tavrin
