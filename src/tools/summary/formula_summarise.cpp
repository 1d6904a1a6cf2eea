#include <cmath>
#include <string>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"
#include "tools/summary/summary_formulas.h"

namespace tavrin {

namespace {

// The question before the key target or the value target is written over.
std::string HzOverwriteQuestion(double /*count*/) {
  return "该区域中已存在有效数据，继续运行将会清除掉这些数据！\n\n\n"
         "                  是否继续运行？";
}

}  // namespace

// Summarises a list by key columns: the host's advanced filter lists the distinct keys, a
// SUMPRODUCT formula sums each value column per key row, and the sums are frozen to values.
void Korvel::HZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  if (!frame.FieldsFilled({"RefEdit1", "RefEdit2", "RefEdit3", "RefEdit4"})) return;
  frame.HideForm();
  frame.EventsOff();

  frame.PassingFailuresOn([&] {
    Application& app = frame.App();
    WorksheetFunction& functions = app.WorksheetFunction();

    // The active sheet, the selection to come back to, the four fields.
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    savedSelection = app.Selection().Address();
    Range list = frame.FieldRange("RefEdit1");
    Range keys = frame.FieldRange("RefEdit2");
    Range values = frame.FieldRange("RefEdit3");
    Range target = frame.FieldRange("RefEdit4");
    int r1 = list.Row(), c1 = list.Column(), n = list.RowsCount(), m = list.ColumnsCount();
    int c2 = keys.Column(), nk = keys.ColumnsCount();
    int c3 = values.Column(), nv = values.ColumnsCount();
    int r4 = target.Row(), c4 = target.Column();

    auto declined = [&] {
      app.Evaluate(savedSelection).AsRange().Select();
      frame.EventsBack();
      Obj1.Show();
    };

    // Header row checks: blanks, then numbers; the user decides.
    Range header = sheet.Range(sheet.Cells(r1, c1), sheet.Cells(r1, c1 + m - 1));
    if (functions.CountBlank(header) > 0) {
      header.Select();
      if (frame.Message("标题行中包含有空格，继续运行可能会出错。\n\n           是否继续运行？",
                        vbYesNo) == vbNo) {
        return declined();
      }
    }
    double numeric = functions.CountIf(header, "=0") + functions.CountIf(header, ">0") +
                     functions.CountIf(header, "<0");
    if (numeric > 0) {
      header.Select();
      if (frame.Message("标题行中包含有数值，该行真的是标题行吗？", vbYesNo) == vbNo) {
        return declined();
      }
    }

    // The key block, and the value data, which must hold no text.
    Range keyBlock = sheet.Range(sheet.Cells(r1, c2), sheet.Cells(r1 + n - 1, c2 + nk - 1));
    Range valueData = sheet.Range(sheet.Cells(r1 + 1, c3), sheet.Cells(r1 + n - 1, c3 + nv - 1));
    double texts = functions.CountIf(valueData, "*");
    if (texts > 0) {
      valueData.Select();
      frame.Message("要汇总的数据区域中包含有 " + NumberText(texts, runtime.Locale()) +
                    " 个文本值，程序无法运行！");
      frame.EventsBack();
      frame.UnloadForm();
      return;
    }

    // The key target, down to the sheet's last row, is cleared once the user agrees.
    Range keyTarget = sheet.Range(sheet.Cells(r4, c4), sheet.Cells(kLastRow, c4 + nk - 1));
    if (!frame.MayOverwrite(keyTarget, ShowTarget::Activate, HzOverwriteQuestion,
                            vbYesNo + vbDefaultButton2)) {
      Obj1.Show();
      return;
    }
    keyTarget.ClearContents();

    // The distinct key combinations, with their headers.
    keyBlock.AdvancedFilter(xlFilterCopy, sheet.Cells(r4, c4), true);

    // The last result row: the lowest key row, one more when the all-blank combination ends
    // the filter's list (the upward scan cannot see it).
    Range probe = sheet.Cells(r4, c4 + nk - 1);
    probe.SetValue(BlankKeyCountFormula(r1 + 1, r1 + n - 1, c2, c2 + nk - 1));
    Variant sourceBlanks = probe.Value();
    int last = 0;
    for (int column = c4; column <= c4 + nk - 1; ++column) {
      last = std::max(last, sheet.Cells(kLastRow, column).End(xlUp).Row());
    }
    if (CompareWithNumber(sourceBlanks, 0, runtime.Locale()) != 0) {
      // When the scan stops at the header row (every key is blank), the target holds no key
      // row and its count is 0: rows r4 + 1 to r4 would read as r4 to r4 + 1, the probe itself.
      bool blankRowSeen = false;
      if (last > r4) {
        probe.SetValue(BlankKeyCountFormula(r4 + 1, last, c4, c4 + nk - 1));
        blankRowSeen = CompareWithNumber(probe.Value(), 0, runtime.Locale()) != 0;
      }
      if (!blankRowSeen) ++last;
      probe.ClearContents();
    }

    // Restore the key header the probe overwrote.
    probe.SetValue(sheet.Cells(r1, c2 + nk - 1).Value());

    // The value target: the user decides when it holds anything.
    Range valueTarget = sheet.Range(sheet.Cells(r4, c4 + nk), sheet.Cells(last, c4 + nk + nv - 1));
    if (!frame.MayOverwrite(valueTarget, ShowTarget::Activate, HzOverwriteQuestion,
                            vbYesNo + vbDefaultButton2)) {
      Obj1.Show();
      return;
    }

    // Value headers, then the result formula, filled across and down.
    sheet.Range(sheet.Cells(r1, c3), sheet.Cells(r1, c3 + nv - 1)).Copy(sheet.Cells(r4, c4 + nk));
    std::string formula = KeyedSumFormula(r1 + 1, r1 + n - 1, c2, nk, c4, c3 - (c4 + nk));
    Range first = sheet.Cells(r4 + 1, c4 + nk);
    first.SetValue(formula);
    Range firstRow = sheet.Range(first, sheet.Cells(r4 + 1, c4 + nk + nv - 1));
    if (nv > 1) first.AutoFill(firstRow, xlFillDefault);
    Range result = sheet.Range(first, sheet.Cells(last, c4 + nk + nv - 1));
    if (last > r4 + 1) firstRow.AutoFill(result, xlFillDefault);

    // Freeze the sums, then compare the grand totals.
    double sourceTotal = functions.Sum(valueData);
    result.SetValues(result.Values());
    frame.UnloadForm();
    double resultTotal = functions.Sum(result);
    if (std::abs(resultTotal - sourceTotal) > 0.000001) frame.Message("汇总结果发生未知错误！");

    frame.EventsBack();
    frame.Message("汇总完毕");
    frame.Finished();
  });
}

}  // namespace tavrin
