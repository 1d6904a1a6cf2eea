#include <string>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/worksheet.h"
#include "tools/summary/summary_formulas.h"
#include "tools/summary/summary_steps.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

// One run of DSYCZ once events are off, step by step. A shape the lookup cannot take, or a
// declined question, ends the run with events back on and the form open; any failure goes to
// the caller.
class MatchIndexLookupRun {
 public:
  MatchIndexLookupRun(RunFrame& runFrame, Form& toolForm)
      : frame(runFrame), form(toolForm), app(runFrame.App()) {}

  void Run() {
    sheet = &app.ActiveWorkbook().ActiveSheet();
    if (!ReadIndexTarget()) return;
    if (!ReadSource()) return;
    if (!ReadDataSource()) return;
    if (!TargetAccepted()) return;
    WriteLookup();
    FreezeValues();
    frame.EventsBack();
    frame.UnloadForm();
    frame.Finished();
  }

 private:
  // The index target: one column.
  bool ReadIndexTarget() {
    Range indexTarget = frame.FieldRange("RefEdit1");
    a = indexTarget.Row(), na = indexTarget.RowsCount(), ka = indexTarget.Column();
    if (indexTarget.ColumnsCount() > 1) return Refuse("“索引目标”只能是一列", "RefEdit1");
    return true;
  }

  // The data target, the source table, the index source: one column.
  bool ReadSource() {
    Range dataTarget = frame.FieldRange("RefEdit2");
    b = dataTarget.Column(), nb = dataTarget.ColumnsCount();
    Range table = frame.FieldRange("RefEdit3");
    s1 = table.Row(), s2 = s1 + table.RowsCount() - 1;
    c1 = table.Column(), c2 = c1 + table.ColumnsCount() - 1;
    Range indexSource = frame.FieldRange("RefEdit4");
    d = indexSource.Column();
    if (indexSource.ColumnsCount() > 1) return Refuse("“索引源”只能是一列", "RefEdit4");
    return true;
  }

  // The data source: as many columns as the data target.
  bool ReadDataSource() {
    Range dataSource = frame.FieldRange("RefEdit5");
    f = dataSource.Column();
    if (dataSource.ColumnsCount() != nb) {
      return Refuse("“数据目标”列数与“数据源”列数不一致", "RefEdit2");
    }
    return true;
  }

  // The target block, activated; the user decides when it holds anything.
  bool TargetAccepted() {
    Range target = Target();
    target.Activate();
    return frame.MayOverwrite(target, ShowTarget::AsShown, LookupOverwriteQuestion,
                              vbYesNo + vbDefaultButton2);
  }

  // The lookup formula, filled across and down.
  void WriteLookup() {
    std::string formula =
        MatchIndexFormula(ka, s1, s2, c1, c2, d, f - b, form.Controls("TextBox1").Text());
    sheet->Cells(a, b).SetFormulaR1C1(formula);
    FillFromFirstCell(Target());
  }

  // The values replace the formulas.
  void FreezeValues() {
    Range target = Target();
    target.SetValues(target.Values());
    app.SetCutCopyMode(false);
  }

  // A shape the lookup cannot take: the message, the focus on the field to correct.
  bool Refuse(const char* message, const char* field) {
    frame.Message(message, vbOKOnly, Korvel::kLibraryTitle);
    form.Controls(field).SetFocus();
    frame.EventsBack();
    return false;
  }

  // Rows a to a + na - 1, columns b to b + nb - 1.
  Range Target() { return sheet->Range(sheet->Cells(a, b), sheet->Cells(a + na - 1, b + nb - 1)); }

  RunFrame& frame;
  Form& form;
  Application& app;
  Worksheet* sheet = nullptr;
  int a = 0, na = 0, ka = 0;           // the index target
  int b = 0, nb = 0;                   // the data target's columns
  int s1 = 0, s2 = 0, c1 = 0, c2 = 0;  // the source table
  int d = 0, f = 0;                    // the index source's and the data source's columns
};

}  // namespace

// Fetches values by an exact index match: one IF(ISERROR(MATCH)) / INDEX formula in the first
// target cell, filled across and down, then frozen to values.
void Korvel::DSYCZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  if (!frame.FieldsFilled(RequiredControls(&Korvel::DSYCZ))) return;
  frame.EventsOff();
  frame.PassingFailuresOn([&] { MatchIndexLookupRun(frame, Obj1).Run(); });
}

}  // namespace tavrin
