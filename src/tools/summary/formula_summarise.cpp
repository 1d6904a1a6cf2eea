#include <algorithm>
#include <cmath>
#include <string>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"
#include "tools/summary/summary_formulas.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

// The question before the key target or the value target is written over.
std::string HzOverwriteQuestion(double /*count*/) {
  return "该区域中已存在有效数据，继续运行将会清除掉这些数据！\n\n\n"
         "                  是否继续运行？";
}

// One run of HZ once its form is hidden and events are off, step by step. A step that ends the
// run (a question answered No, text in the values) returns false, having closed the run as the
// tool closes it there.
class FormulaSummariseRun {
 public:
  FormulaSummariseRun(RunFrame& runFrame, Form& toolForm, const UserLocale& userLocale,
                      std::string& selectionField)
      : frame(runFrame),
        form(toolForm),
        app(runFrame.App()),
        functions(app.WorksheetFunction()),
        locale(userLocale),
        savedSelection(selectionField) {}

  void Run() {
    ReadDialog();
    if (!HeaderRowAccepted()) return;
    if (!ValuesHoldNoText()) return;
    if (!KeyTargetCleared()) return;
    ListDistinctKeys();
    FindLastRow();
    RestoreKeyHeader();
    if (!ValueTargetAccepted()) return;
    WriteSums();
    double sourceTotal = functions.Sum(ValueData());
    FreezeSums();
    frame.UnloadForm();
    CompareTotals(sourceTotal);
    frame.EventsBack();
    frame.Message("汇总完毕");
    frame.Finished();
  }

 private:
  // The active sheet, the selection to come back to, and the four fields: the list (header row
  // r1, first column c1, n rows, m columns), the key columns (c2, nk), the value columns (c3,
  // nv) and the target's first cell (r4, c4).
  void ReadDialog() {
    sheet = &app.ActiveWorkbook().ActiveSheet();
    savedSelection = app.Selection().Address();
    Range list = frame.FieldRange("RefEdit1");
    Range keys = frame.FieldRange("RefEdit2");
    Range values = frame.FieldRange("RefEdit3");
    Range target = frame.FieldRange("RefEdit4");
    r1 = list.Row(), c1 = list.Column(), n = list.RowsCount(), m = list.ColumnsCount();
    c2 = keys.Column(), nk = keys.ColumnsCount();
    c3 = values.Column(), nv = values.ColumnsCount();
    r4 = target.Row(), c4 = target.Column();
  }

  // Blanks, then numbers, in the header row: the user decides. No goes back to the selection
  // found and shows the form again.
  bool HeaderRowAccepted() {
    Range header = Span(r1, c1, r1, c1 + m - 1);
    if (functions.CountBlank(header) > 0) {
      header.Select();
      if (frame.Message("标题行中包含有空格，继续运行可能会出错。\n\n           是否继续运行？",
                        vbYesNo) == vbNo) {
        return Declined();
      }
    }
    double numeric = functions.CountIf(header, "=0") + functions.CountIf(header, ">0") +
                     functions.CountIf(header, "<0");
    if (numeric > 0) {
      header.Select();
      if (frame.Message("标题行中包含有数值，该行真的是标题行吗？", vbYesNo) == vbNo) {
        return Declined();
      }
    }
    return true;
  }

  bool Declined() {
    app.Evaluate(savedSelection).AsRange().Select();
    frame.EventsBack();
    form.Show();
    return false;
  }

  // The value data must hold no text; a text stops the run with the form unloaded.
  bool ValuesHoldNoText() {
    Range valueData = ValueData();
    double texts = functions.CountIf(valueData, "*");
    if (texts <= 0) return true;
    valueData.Select();
    frame.Message("要汇总的数据区域中包含有 " + NumberText(texts, locale) +
                  " 个文本值，程序无法运行！");
    frame.EventsBack();
    frame.UnloadForm();
    return false;
  }

  // The key target, down to the sheet's last row, is cleared once the user agrees.
  bool KeyTargetCleared() {
    Range keyTarget = Span(r4, c4, kLastRow, c4 + nk - 1);
    if (!TargetAccepted(keyTarget)) return false;
    keyTarget.ClearContents();
    return true;
  }

  // An occupied target is activated and asked about; No shows the form again.
  bool TargetAccepted(const Range& target) {
    if (frame.MayOverwrite(target, ShowTarget::Activate, HzOverwriteQuestion,
                           vbYesNo + vbDefaultButton2)) {
      return true;
    }
    form.Show();
    return false;
  }

  // The distinct key combinations of the key block, with their headers, at the target.
  void ListDistinctKeys() {
    Span(r1, c2, r1 + n - 1, c2 + nk - 1).AdvancedFilter(xlFilterCopy, sheet->Cells(r4, c4), true);
  }

  // The last result row: the lowest key row, one more when the all-blank combination ends the
  // filter's list (the upward scan cannot see it).
  void FindLastRow() {
    Range probe = sheet->Cells(r4, c4 + nk - 1);
    probe.SetValue(BlankKeyCountFormula(r1 + 1, r1 + n - 1, c2, c2 + nk - 1));
    Variant sourceBlanks = probe.Value();
    last = 0;
    for (int column = c4; column <= c4 + nk - 1; ++column) {
      last = std::max(last, sheet->Cells(kLastRow, column).End(xlUp).Row());
    }
    if (CompareWithNumber(sourceBlanks, 0, locale) != 0) {
      // When the scan stops at the header row (every key is blank), the target holds no key
      // row and its count is 0: rows r4 + 1 to r4 would read as r4 to r4 + 1, the probe itself.
      bool blankRowSeen = false;
      if (last > r4) {
        probe.SetValue(BlankKeyCountFormula(r4 + 1, last, c4, c4 + nk - 1));
        blankRowSeen = CompareWithNumber(probe.Value(), 0, locale) != 0;
      }
      if (!blankRowSeen) ++last;
      probe.ClearContents();
    }
  }

  // The key header the probe overwrote.
  void RestoreKeyHeader() {
    sheet->Cells(r4, c4 + nk - 1).SetValue(sheet->Cells(r1, c2 + nk - 1).Value());
  }

  // The value target: the user decides when it holds anything.
  bool ValueTargetAccepted() { return TargetAccepted(Span(r4, c4 + nk, last, c4 + nk + nv - 1)); }

  // Value headers, then the result formula, filled across and down.
  void WriteSums() {
    Span(r1, c3, r1, c3 + nv - 1).Copy(sheet->Cells(r4, c4 + nk));
    std::string formula = KeyedSumFormula(r1 + 1, r1 + n - 1, c2, nk, c4, c3 - (c4 + nk));
    Range first = sheet->Cells(r4 + 1, c4 + nk);
    first.SetValue(formula);
    Range firstRow = sheet->Range(first, sheet->Cells(r4 + 1, c4 + nk + nv - 1));
    if (nv > 1) first.AutoFill(firstRow, xlFillDefault);
    if (last > r4 + 1) firstRow.AutoFill(Result(), xlFillDefault);
  }

  void FreezeSums() {
    Range result = Result();
    result.SetValues(result.Values());
  }

  // The grand totals of the source and the result must agree.
  void CompareTotals(double sourceTotal) {
    double resultTotal = functions.Sum(Result());
    if (std::abs(resultTotal - sourceTotal) > 0.000001) frame.Message("汇总结果发生未知错误！");
  }

  // The range of rows top to bottom, columns left to right of the active sheet.
  Range Span(int top, int left, int bottom, int right) {
    return sheet->Range(sheet->Cells(top, left), sheet->Cells(bottom, right));
  }
  // The records' values: rows r1 + 1 to r1 + n - 1 of the value columns.
  Range ValueData() { return Span(r1 + 1, c3, r1 + n - 1, c3 + nv - 1); }
  // The sums: rows r4 + 1 to last right of the keys.
  Range Result() { return Span(r4 + 1, c4 + nk, last, c4 + nk + nv - 1); }

  RunFrame& frame;
  Form& form;
  Application& app;
  WorksheetFunction& functions;
  const UserLocale& locale;
  std::string& savedSelection;
  Worksheet* sheet = nullptr;
  int r1 = 0, c1 = 0, n = 0, m = 0;
  int c2 = 0, nk = 0;
  int c3 = 0, nv = 0;
  int r4 = 0, c4 = 0;
  int last = 0;
};

}  // namespace

// Summarises a list by key columns: the host's advanced filter lists the distinct keys, a
// SUMPRODUCT formula sums each value column per key row, and the sums are frozen to values.
void Korvel::HZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  if (!frame.FieldsFilled(RequiredControls(&Korvel::HZ))) return;
  frame.HideForm();
  frame.EventsOff();
  frame.PassingFailuresOn(
      [&] { FormulaSummariseRun(frame, Obj1, runtime.Locale(), savedSelection).Run(); });
}

}  // namespace tavrin
