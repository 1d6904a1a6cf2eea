#include <string>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/worksheet.h"
#include "tools/summary/summary_formulas.h"
#include "tools/summary/summary_steps.h"
#include "tools/tool_table.h"

namespace tavrin {

// Fetches values by an exact index match: one IF(ISERROR(MATCH)) / INDEX formula in the first
// target cell, filled across and down, then frozen to values.
void Korvel::DSYCZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  if (!frame.FieldsFilled(RequiredControls(&Korvel::DSYCZ))) return;
  frame.EventsOff();

  frame.PassingFailuresOn([&] {
    Application& app = frame.App();
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();

    // A shape the lookup cannot take: the message, the focus on the field to correct.
    auto refuse = [&](const char* message, const char* field) {
      frame.Message(message, vbOKOnly, kLibraryTitle);
      Obj1.Controls(field).SetFocus();
      frame.EventsBack();
    };

    // The index target: one column.
    Range indexTarget = frame.FieldRange("RefEdit1");
    int a = indexTarget.Row(), na = indexTarget.RowsCount(), ka = indexTarget.Column();
    if (indexTarget.ColumnsCount() > 1) return refuse("“索引目标”只能是一列", "RefEdit1");

    // The data target, the source table, the index source: one column.
    Range dataTarget = frame.FieldRange("RefEdit2");
    int b = dataTarget.Column(), nb = dataTarget.ColumnsCount();
    Range table = frame.FieldRange("RefEdit3");
    int s1 = table.Row(), s2 = s1 + table.RowsCount() - 1;
    int c1 = table.Column(), c2 = c1 + table.ColumnsCount() - 1;
    Range indexSource = frame.FieldRange("RefEdit4");
    int d = indexSource.Column();
    if (indexSource.ColumnsCount() > 1) return refuse("“索引源”只能是一列", "RefEdit4");

    // The data source: as many columns as the data target.
    Range dataSource = frame.FieldRange("RefEdit5");
    int f = dataSource.Column(), nf = dataSource.ColumnsCount();
    if (nf != nb) return refuse("“数据目标”列数与“数据源”列数不一致", "RefEdit2");

    // The target block; the user decides when it holds anything.
    Range target = sheet.Range(sheet.Cells(a, b), sheet.Cells(a + na - 1, b + nb - 1));
    target.Activate();
    if (!frame.MayOverwrite(target, ShowTarget::AsShown, LookupOverwriteQuestion,
                            vbYesNo + vbDefaultButton2)) {
      return;
    }

    // The lookup formula, filled across and down.
    std::string formula =
        MatchIndexFormula(ka, s1, s2, c1, c2, d, f - b, Obj1.Controls("TextBox1").Text());
    sheet.Cells(a, b).SetFormulaR1C1(formula);
    FillFromFirstCell(target);

    // Freeze the values.
    target.SetValues(target.Values());
    app.SetCutCopyMode(false);

    frame.EventsBack();
    frame.UnloadForm();
    frame.Finished();
  });
}

}  // namespace tavrin
