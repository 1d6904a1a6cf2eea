#include <optional>
#include <string>
#include <vector>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/host_error.h"
#include "host/worksheet.h"

namespace tavrin {

namespace {

// "=SUM(R[-n]C:R[-1]C)": the rows from the page's first data row down to the row above.
std::string PageSum(int rowsAbove) {
  return "=SUM(R[-" + std::to_string(rowsAbove) + "]C:R[-1]C)";
}

// A function takes at most 255 arguments.
constexpr size_t kMostArguments = 255;

// "=SUM(R[-74]C,R[-26]C,R[-1]C)": every subtotal row, seen from the grand-total row. Past 255
// pages the same terms go in groups of 255, each group a SUM inside the SUM, so that every
// spreadsheet program computes the total.
std::string GrandSum(const std::vector<int>& subtotalRows, int totalRow) {
  bool grouped = subtotalRows.size() > kMostArguments;
  std::string text = "=SUM(";
  for (size_t i = 0; i < subtotalRows.size(); ++i) {
    if (grouped && i % kMostArguments == 0) text += "SUM(";
    text += "R[" + std::to_string(subtotalRows[i] - totalRow) + "]C";
    bool groupEnds = grouped && (i + 1) % kMostArguments == 0;
    if (grouped && (groupEnds || i + 1 == subtotalRows.size())) text += ")";
    text += ",";
  }
  text.back() = ')';
  return text;
}

// One run of FYXJYHJ once events are off, step by step. A reference that does not resolve ends
// the run, the user sent back to its field.
class PageSubtotalsRun {
 public:
  PageSubtotalsRun(RunFrame& runFrame, Form& toolForm)
      : frame(runFrame), form(toolForm), app(runFrame.App()) {}

  void Run() {
    book = &app.ActiveWorkbook();
    if (!ReferencesResolve()) return;
    ReadParameters();
    app.SetScreenUpdating(false);
    CopySheet();
    ShowPageBreaks();
    if (!keepManualBreaks) DragOffLastBreak();
    CloseEveryPage();
    AddLastPageAndGrandTotal();
    FormatFinalRows();
    app.ActiveWindow().SetView(savedView);
    frame.EventsBack();
    app.SetScreenUpdating(true);
    frame.UnloadForm();
    frame.Message("运行完毕");
    frame.Finished();
  }

 private:
  // The two references; a text that is no reference sends the user back to its field.
  bool ReferencesResolve() {
    data = Resolved("RefEdit1");
    labels = data ? Resolved("RefEdit2") : std::nullopt;
    if (labels) return true;
    frame.Message("区域引用无效");
    form.Controls(data ? "RefEdit2" : "RefEdit1").SetFocus();
    frame.EventsBack();
    return false;
  }

  // The range the host makes of a field's text, or nothing when the text is no reference.
  std::optional<Range> Resolved(const char* field) {
    try {
      return frame.FieldRange(field);
    } catch (const HostError&) {
      return std::nullopt;
    }
  }

  // The first page's first data row, the summed columns, the two labels, the label column and
  // the manual-break option.
  void ReadParameters() {
    pageTop = data->Row();
    firstCol = data->Column();
    lastCol = firstCol + data->ColumnsCount() - 1;
    subtotalLabel = form.Controls("TextBox1").Value();
    totalLabel = form.Controls("TextBox2").Value();
    labelCol = labels->Column();
    keepManualBreaks = frame.FieldChecked("CheckBox1");
  }

  // The work goes on a copy at the end of the workbook.
  void CopySheet() {
    Sheets& sheets = book->Sheets();
    book->ActiveSheet().Copy(sheets.Item(sheets.Count()));
    copy = &book->ActiveSheet();
  }

  // Page-break preview, the view found kept to come back to.
  void ShowPageBreaks() {
    savedView = app.ActiveWindow().View();
    app.ActiveWindow().SetView(xlPageBreakPreview);
    breaks = &copy->HPageBreaks();
  }

  // Without the option the last break goes first; the host may refuse, and the run goes on.
  void DragOffLastBreak() {
    try {
      breaks->Item(breaks->Count()).DragOff(xlUp, 1);
    } catch (const HostError&) {
    }
  }

  // Each page closed with a subtotal row, its break moved below it. The break count is read
  // again after every page: inserting rows makes the host page the sheet afresh.
  void CloseEveryPage() {
    int i = 1;
    int n = breaks->Count();
    while (i <= n) {
      int r = breaks->Item(i).Location().Row() - 1;
      int s;
      if (keepManualBreaks && breaks->Item(i).Type() == xlPageBreakManual) {
        // The page keeps all its rows; the subtotal row goes below them.
        s = r + 1;
        subtotalRows.push_back(s);
        copy->Rows(r + 1, r + 1).Insert();
        breaks->Item(i).SetLocation(copy->Rows(r + 2, r + 2));
      } else {
        // The page's last row moves down onto the next page.
        s = r;
        subtotalRows.push_back(s);
        copy->Rows(r, r).Insert();
        breaks->Item(i).SetLocation(copy->Rows(r + 1, r + 1));
      }
      WriteSubtotal(s);
      pageTop = s + 1;
      n = breaks->Count();
      ++i;
    }
  }

  // The label, then the page's sum in every summed column.
  void WriteSubtotal(int row) {
    copy->Cells(row, labelCol).SetValue(subtotalLabel);
    copy->Range(copy->Cells(row, firstCol), copy->Cells(row, lastCol))
        .SetFormula(PageSum(row - pageTop));
  }

  // The last page: two rows below the lowest filled cell of the label and summed columns, its
  // subtotal and the grand total of every subtotal row.
  void AddLastPageAndGrandTotal() {
    endRow = copy->Cells(kLastRow, labelCol).End(xlUp).Row() + 1;
    for (int j = firstCol; j <= lastCol; ++j) {
      int below = copy->Cells(kLastRow, j).End(xlUp).Row() + 1;
      if (below > endRow) endRow = below;
    }
    copy->Rows(endRow, endRow).Insert();
    copy->Rows(endRow, endRow).Insert();
    WriteSubtotal(endRow);
    copy->Cells(endRow + 1, labelCol).SetValue(totalLabel);
    subtotalRows.push_back(endRow);
    copy->Range(copy->Cells(endRow + 1, firstCol), copy->Cells(endRow + 1, lastCol))
        .SetFormula(GrandSum(subtotalRows, endRow + 1));
  }

  // The two final rows look like the last data row.
  void FormatFinalRows() {
    copy->Rows(endRow - 1, endRow - 1).Copy();
    copy->Rows(std::to_string(endRow) + ":" + std::to_string(endRow + 1))
        .PasteSpecial(xlPasteFormats, xlPasteSpecialOperationNone, false, false);
    app.SetCutCopyMode(false);
  }

  RunFrame& frame;
  Form& form;
  Application& app;
  Workbook* book = nullptr;
  std::optional<Range> data, labels;
  int pageTop = 0, firstCol = 0, lastCol = 0, labelCol = 0;
  Variant subtotalLabel, totalLabel;
  bool keepManualBreaks = false;
  Worksheet* copy = nullptr;
  int savedView = 0;
  HPageBreaks* breaks = nullptr;
  std::vector<int> subtotalRows;
  int endRow = 0;
};

}  // namespace

// Copies the active sheet and closes every printed page of the copy with a subtotal row, then
// adds the last page's subtotal and a grand total. The sums are live R1C1 formulas.
void Korvel::FYXJYHJ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    if (!frame.TargetWorkbookActive()) return;
    if (!frame.FieldsFilled({"RefEdit1", "RefEdit2", "TextBox1", "TextBox2"})) return;
    // Attach again to the running host; it serves every later call.
    xlApp = &runtime.GetObject("excel.application");
    frame.EventsOff();
    PageSubtotalsRun(frame, Obj1).Run();
  });
}

}  // namespace tavrin
