#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/host_error.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"

namespace tavrin {

namespace {

// One parameter of the dialog: its text box, the name the user knows it by, and its bounds.
struct PartitionParameter {
  const char* field;
  const char* name;
  int least;
  int most;
};

constexpr PartitionParameter kPartitionParameters[] = {
    {"TextBox1", "标题行数", 0, kLastRow - 1},    {"TextBox2", "每排组数", 1, kLastColumn},
    {"TextBox3", "左侧列数", 0, kLastColumn - 1}, {"TextBox4", "每组行数", 1, kLastRow},
    {"TextBox5", "间隔列数", 0, kLastColumn - 1},
};

// A whole number from a text box, or nothing.
std::optional<int> PartitionWholeNumber(const Variant& value, const UserLocale& locale) {
  std::optional<double> number;
  if (value.IsNumber()) number = value.AsNumber();
  if (value.IsText()) number = ReadNumber(value.AsText(), locale);
  if (!number || *number != std::floor(*number) || std::abs(*number) > 1e9) return std::nullopt;
  return static_cast<int>(*number);
}

// The message for a parameter out of its bounds, or "" when it is good.
std::string PartitionComplaint(const PartitionParameter& parameter, std::optional<int> value) {
  std::string quoted = std::string("“") + parameter.name + "”";
  if (!value || *value < parameter.least) {
    return quoted + (parameter.least > 0 ? "必须是大于0的整数！" : "必须是大于或等于0的整数！");
  }
  if (*value > parameter.most) return quoted + "不能大于" + std::to_string(parameter.most) + "！";
  return "";
}

// A layout that does not fit the sheet: the message, and the field the user must change.
struct PartitionMisfit {
  std::string text;
  const char* field;
};

// Every moved chunk must land within columns A to IV: a cut past them would fail and be skipped
// while the rows it was to empty are still deleted. The block of |listWidth| + 1 columns goes to
// the evenly spaced slots 1 to groupsAcross - 1, so the first and the last are the extremes. The
// width is negative only when the list's first row is empty right of the lead columns; the slots
// then run leftward.
std::optional<PartitionMisfit> LayoutMisfit(int listWidth, int leadCols, int groupsAcross,
                                            int gapCols) {
  if (groupsAcross < 2) return std::nullopt;
  long leftmost = kLastColumn, rightmost = 1;
  for (long j : {1L, groupsAcross - 1L}) {
    long first = leadCols + (static_cast<long>(listWidth) + gapCols) * j + 1;
    leftmost = std::min(leftmost, first);
    rightmost = std::max(rightmost, first + std::abs(listWidth));
  }
  if (rightmost > kLastColumn) {
    return PartitionMisfit{"“每排组数”或“间隔列数”过大，分排后的数据将超出第256列（IV列）！",
                           "TextBox2"};
  }
  if (leftmost < 1) {
    return PartitionMisfit{
        "“左侧列数”有误：列表首行在第" + std::to_string(leadCols + 1) + "列及其右侧没有数据！",
        "TextBox3"};
  }
  return std::nullopt;
}

// One run of SJFQ once the token and the workbook are checked, step by step. After the checks
// of its numbers every step runs on its own: a failure in it skips it and the run goes on.
class PartitionRun {
 public:
  PartitionRun(RunFrame& runFrame, Form& toolForm, const UserLocale& userLocale)
      : frame(runFrame), form(toolForm), locale(userLocale) {}

  void Run() {
    if (!ReadDialog()) return;
    MeasureListWidth();
    if (!LayoutFits()) return;
    Skipping([&] { frame.EventsOff(); });
    Skipping([&] { frame.UnloadForm(); });
    if (!Confirmed()) return;
    SetPrintTitleRows();
    CopySheet();
    MeasureList();
    FoldBands();
    Skipping([&] { frame.EventsBack(); });
    frame.Finished();
  }

 private:
  // The five numbers, checked before anything changes; a bad one is named, the form stays.
  bool ReadDialog() {
    int values[5];
    for (int k = 0; k < 5; ++k) {
      const PartitionParameter& parameter = kPartitionParameters[k];
      Control& field = form.Controls(parameter.field);
      std::optional<int> value = PartitionWholeNumber(field.Value(), locale);
      std::string complaint = PartitionComplaint(parameter, value);
      if (!complaint.empty()) {
        frame.Message(complaint);
        field.SetFocus();
        return false;
      }
      values[k] = *value;
    }
    titleRows = values[0], groupsAcross = values[1], leadCols = values[2];
    groupRows = values[3], gapCols = values[4];
    return true;
  }

  // The list's width, measured in its first row from column IV leftward, on the user's sheet:
  // the copy the run works on has the same cells.
  void MeasureListWidth() {
    Skipping([&] {
      Worksheet& sheet = frame.App().ActiveWorkbook().ActiveSheet();
      listWidth = sheet.Cells(titleRows + 1, kLastColumn).End(xlToLeft).Column() - leadCols;
    });
  }

  // The whole layout must fit the sheet's columns; if not, the message names the field to change.
  bool LayoutFits() {
    std::optional<PartitionMisfit> misfit =
        LayoutMisfit(listWidth, leadCols, groupsAcross, gapCols);
    if (!misfit) return true;
    frame.Message(misfit->text);
    form.Controls(misfit->field).SetFocus();
    return false;
  }

  // The user confirms the workbook and sheet; Cancel shows the form again, not modal.
  bool Confirmed() {
    int answer = 0;
    Skipping([&] {
      Workbook& book = frame.App().ActiveWorkbook();
      answer = frame.Message("将要对    “" + book.Name() + "”\n的        “" +
                                 book.ActiveSheet().Name() + "”\n\n    执行分排处理！",
                             vbOKCancel);
    });
    if (answer != vbCancel) return true;
    Skipping([&] { form.Show(0); });
    Skipping([&] { frame.EventsBack(); });
    return false;
  }

  // The title rows print on every page, on the user's sheet and so on the copy.
  void SetPrintTitleRows() {
    Skipping([&] {
      frame.App().ActiveWorkbook().ActiveSheet().PageSetup().SetPrintTitleRows(
          "$1:$" + std::to_string(titleRows));
    });
  }

  // The work goes on a copy at the end of the workbook.
  void CopySheet() {
    Skipping([&] {
      Workbook& book = frame.App().ActiveWorkbook();
      book.ActiveSheet().Copy(book.Sheets().Item(book.Sheets().Count()));
      copy = &book.ActiveSheet();
    });
  }

  // The list's last row in its first column, and the bands.
  void MeasureList() {
    Skipping([&] { listEnd = OnCopy().Cells(kLastRow, leadCols + 1).End(xlUp).Row(); });
    Skipping([&] {
      double chunks = static_cast<double>(listEnd) / (groupsAcross * groupRows);
      bandCount = static_cast<int>(frame.App().WorksheetFunction().RoundUp(chunks, 0));
    });
  }

  // Each band's chunk below moves into the next slot, and its emptied rows go.
  void FoldBands() {
    for (int i = 2; i <= bandCount + 1; ++i) {
      int first = titleRows + (i - 1) * groupRows + 1;
      int last = titleRows + i * groupRows;
      for (int j = 1; j <= groupsAcross - 1; ++j) {
        Skipping([&] {
          Worksheet& sheet = OnCopy();
          sheet.Range(sheet.Cells(first, leadCols + 1), sheet.Cells(last, leadCols + listWidth + 1))
              .Cut(sheet.Cells(titleRows + (i - 2) * groupRows + 1,
                               leadCols + (listWidth + gapCols) * j + 1));
        });
        Skipping([&] {
          OnCopy().Rows(std::to_string(first) + ":" + std::to_string(last)).Delete(xlShiftUp);
        });
      }
    }
  }

  // The copy; a step that needs it fails when the copy could not be made.
  Worksheet& OnCopy() {
    if (copy == nullptr) throw HostError::ObjectVariableNotSet();
    return *copy;
  }

  // Runs a step; a failure in it skips it and the run goes on.
  template <class Step>
  static void Skipping(Step&& step) {
    try {
      step();
    } catch (const HostError&) {
    }
  }

  RunFrame& frame;
  Form& form;
  const UserLocale& locale;
  int titleRows = 0, groupsAcross = 0, leadCols = 0, groupRows = 0, gapCols = 0;
  int listWidth = 0, listEnd = 0, bandCount = 0;
  Worksheet* copy = nullptr;
};

}  // namespace

// Folds a long list on a copy of the active sheet into bands of chunks side by side, the title
// rows repeated on every printed page.
void Korvel::SJFQ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  PartitionRun(frame, Obj1, runtime.Locale()).Run();
}

}  // namespace tavrin
