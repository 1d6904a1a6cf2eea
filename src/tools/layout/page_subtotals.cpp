#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/host_error.h"
#include "host/worksheet.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

// "=SUM(R[-n]C:R[-1]C)": the rows from the page's first data row down to the row above. A page
// holding none of the list's rows sums nothing: "=0", where the span would be empty and the formula
// would point at its own cell.
std::string PageSum(int rowsAbove) {
  if (rowsAbove <= 0) return "=0";
  return "=SUM(R[-" + std::to_string(rowsAbove) + "]C:R[-1]C)";
}

// The host's limits on a formula: its text, and the arguments of one function.
constexpr size_t kLongestFormula = 8192;
constexpr size_t kMostArguments = 255;

// "=SUM(R[-74]C,R[-26]C,R[-1]C)": every subtotal row, seen from the grand-total row. Past 255
// pages the same terms go in groups of 255, each group a SUM inside the SUM, so that every
// spreadsheet program computes the total.
std::string ListedSum(const std::vector<int>& subtotalRows, int totalRow) {
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

// The grand total: the subtotal rows listed while their list fits in a formula (about 700
// pages). Past that, half the sum of every row from the list's first row down to the last
// subtotal: each data row lies in exactly one page's span, so that sum holds every subtotal
// twice, once as itself and once as its page's rows.
std::string GrandSum(const std::vector<int>& subtotalRows, int listTop, int totalRow) {
  std::string listed = ListedSum(subtotalRows, totalRow);
  if (listed.size() <= kLongestFormula) return listed;
  return "=SUM(R[" + std::to_string(listTop - totalRow) + "]C:R[-1]C)/2";
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
    if (!ListCanGrow()) return;
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
    listTop = pageTop = data->Row();
    firstCol = data->Column();
    lastCol = firstCol + data->ColumnsCount() - 1;
    subtotalLabel = form.Controls("TextBox1").Value();
    totalLabel = form.Controls("TextBox2").Value();
    labelCol = labels->Column();
    keepManualBreaks = frame.FieldChecked("CheckBox1");
  }

  // The rows the run inserts must fit on the sheet below the list: at least one for every page
  // break below the list's first row but the last (which may be dragged off), and the two final
  // rows. A list that cannot take them is refused before anything changes.
  bool ListCanGrow() {
    Worksheet& sheet = book->ActiveSheet();
    HPageBreaks& found = sheet.HPageBreaks();
    int breaksInList = 0;
    for (int k = found.Count(); k >= 1 && found.Item(k).Location().Row() > listTop; --k) {
      ++breaksInList;
    }
    if (LowestListRow(sheet) + breaksInList + 1 <= kLastRow) return true;
    frame.Message("数据行数过多，每页加入小计行后将超出第" + std::to_string(kLastRow) + "行！");
    frame.EventsBack();
    return false;
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

  // Each page closed with a subtotal row, its break moved below it. The breaks are read again
  // after every page: inserting rows makes the host page the sheet afresh. A page above the
  // list's first row has nothing to sum.
  void CloseEveryPage() {
    for (nextBreak = 1; nextBreak <= breaks->Count(); ++nextBreak) {
      int r = breaks->Item(nextBreak).Location().Row() - 1;
      if (r >= pageTop) ClosePage(FirstChoice(r));
    }
  }

  // Where the page ending on row r takes its subtotal row first: on row r, the page's last row
  // moving down onto the next page; below row r when the option keeps a manual break's page
  // whole, or when row r is the page's only row of the list.
  int FirstChoice(int r) {
    bool keepsItsRows = keepManualBreaks && breaks->Item(nextBreak).Type() == xlPageBreakManual;
    return keepsItsRows || r == pageTop ? r + 1 : r;
  }

  // The page closed by the break numbered nextBreak gets its subtotal row, the next page starting
  // below it.
  void ClosePage(int firstChoice) {
    int s = PlaceSubtotalRow(firstChoice);
    subtotalRows.push_back(s);
    WriteSubtotal(s);
    pageTop = s + 1;
    // A subtotal row that took a page of its own leaves one more break above its own.
    if (breaks->Item(nextBreak).Location().Row() <= s) ++nextBreak;
  }

  // A row inserted at s, the page's break moved onto row s first so that the row pushes it down
  // below itself. The new row is as tall as the row above it; when the page no longer holds it
  // (the host breaks the page above it), it goes out again and in one row higher, so the page's
  // last printed row that still leaves room takes it and hidden rows after a full page are passed
  // over. The page keeps its first list row: a subtotal there stays even when it runs over.
  int PlaceSubtotalRow(int s) {
    while (true) {
      breaks->Item(nextBreak).SetLocation(copy->Rows(s, s));
      copy->Rows(s, s).Insert();
      if (breaks->Item(nextBreak).Location().Row() == s + 1 || s == pageTop + 1) return s;
      copy->Rows(s, s).Delete();
      --s;
    }
  }

  // The label, then the page's sum in every summed column.
  void WriteSubtotal(int row) {
    copy->Cells(row, labelCol).SetValue(subtotalLabel);
    copy->Range(copy->Cells(row, firstCol), copy->Cells(row, lastCol))
        .SetFormula(PageSum(row - pageTop));
  }

  // The lowest filled cell of the label and summed columns: End(xlUp) from the sheet's last row,
  // unless that row is filled itself.
  int LowestListRow(Worksheet& sheet) {
    int lowest = 1;
    for (int j : ListColumns()) {
      Range bottom = sheet.Cells(kLastRow, j);
      lowest = std::max(lowest, bottom.Value().IsEmpty() ? bottom.End(xlUp).Row() : kLastRow);
    }
    return lowest;
  }

  // The label column, then the summed columns.
  std::vector<int> ListColumns() const {
    std::vector<int> columns{labelCol};
    for (int j = firstCol; j <= lastCol; ++j) columns.push_back(j);
    return columns;
  }

  // The last page: two rows below the lowest filled cell of the label and summed columns, its
  // subtotal and the grand total of every subtotal row. The total's label goes in first, so the
  // host pages the two rows: when the page has no room for both, its last list row moves on with
  // them, as a full page's last row does.
  void AddLastPageAndGrandTotal() {
    endRow = LowestListRow(*copy) + 1;
    copy->Rows(endRow, endRow).Insert();
    copy->Rows(endRow, endRow).Insert();
    copy->Cells(endRow + 1, labelCol).SetValue(totalLabel);
    if (FinalRowsRunOver() && endRow - 1 > pageTop) {
      ClosePage(endRow - 1);
      ++endRow;
    }
    WriteSubtotal(endRow);
    subtotalRows.push_back(endRow);
    copy->Range(copy->Cells(endRow + 1, firstCol), copy->Cells(endRow + 1, lastCol))
        .SetFormula(GrandSum(subtotalRows, listTop, endRow + 1));
  }

  // Whether the host starts a page at the last page's subtotal row or at the grand-total row.
  bool FinalRowsRunOver() {
    return nextBreak <= breaks->Count() && breaks->Item(nextBreak).Location().Row() <= endRow + 1;
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
  int listTop = 0, pageTop = 0, firstCol = 0, lastCol = 0, labelCol = 0;
  Variant subtotalLabel, totalLabel;
  bool keepManualBreaks = false;
  Worksheet* copy = nullptr;
  int savedView = 0;
  HPageBreaks* breaks = nullptr;
  int nextBreak = 1;
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
    if (!frame.FieldsFilled(RequiredControls(&Korvel::FYXJYHJ))) return;
    // Attach again to the running host; it serves every later call.
    xlApp = &runtime.GetObject("excel.application");
    frame.EventsOff();
    PageSubtotalsRun(frame, Obj1).Run();
  });
}

}  // namespace tavrin
