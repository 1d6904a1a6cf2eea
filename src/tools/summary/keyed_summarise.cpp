#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/host_error.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "tools/summary/keyed_combine.h"

namespace tavrin {

namespace {

// The title of the tool's own messages.
const char* const kKeyedTitle = "提示";

// The question before an occupied target is written over, naming what it holds.
std::string KeyedOverwriteQuestion(double count, const UserLocale& locale) {
  return "目标数据区域中包含有 " + NumberText(count, locale) +
         " 个数据，继续运行将会清除这些数据。\n\n\n"
         "                      是否继续运行？";
}

// The task chosen in Label10, read as a number: 1 summarises (the distinct condition
// combinations with their data), 2 looks up the data of target conditions already on the sheet,
// 3 lists the distinct combinations only. Any other number takes the lookup's way without
// reading any source data.
enum class KeyedTask { Summarise, Lookup, DistinctList, LookupWithoutData };

KeyedTask KeyedTaskOf(double number) {
  if (number == 1) return KeyedTask::Summarise;
  if (number == 2) return KeyedTask::Lookup;
  if (number == 3) return KeyedTask::DistinctList;
  return KeyedTask::LookupWithoutData;
}

// The combining mode chosen in Label9, read as a number from 1 to 4; any other number combines
// nothing.
std::optional<KeyedMode> KeyedModeOf(double number) {
  for (KeyedMode mode : {KeyedMode::Sum, KeyedMode::Join, KeyedMode::First, KeyedMode::Last}) {
    if (number == static_cast<int>(mode)) return mode;
  }
  return std::nullopt;
}

// The tool's own working time on the runtime's clock, in single precision as the runtime keeps
// it; the time a question is on screen lies between a Pause and the next Resume.
class KeyedStopwatch {
 public:
  explicit KeyedStopwatch(Runtime& runtime) : clock(runtime), start(Now()) {}
  void Pause() { elapsed += Now() - start; }
  void Resume() { start = Now(); }
  // The shortest text that reads back as the same single-precision number, with the host's
  // capital E in a tiny time ("4E-05"), and "秒".
  std::string Text() const {
    char digits[32];
    auto end = std::to_chars(digits, digits + sizeof digits, elapsed).ptr;
    std::string text(digits, end);
    for (char& c : text) c = c == 'e' ? 'E' : c;
    return text + "秒";
  }

 private:
  float Now() { return static_cast<float>(clock.Timer()); }

  Runtime& clock;
  float start;
  float elapsed = 0;
};

// One run of HzCzBcf once events are off, step by step, its clock started. A step that ends the
// run (a question answered No, condition columns that do not pair up) returns false, having set
// the events back as found.
class KeyedSummariseRun {
 public:
  KeyedSummariseRun(RunFrame& runFrame, Form& toolForm, Runtime& runtime)
      : frame(runFrame),
        form(toolForm),
        app(runFrame.App()),
        locale(runtime.Locale()),
        stopwatch(runtime) {}

  void Run() {
    ReadDialog();
    Range source = ReadSourceConditions();
    if (task == KeyedTask::Summarise || task == KeyedTask::Lookup) ReadSourceData(source);
    Range target = sheet->Range(targetAddress);
    rt = target.Row();
    ct = target.Column();
    if (ListsDistinct()) {
      if (!WriteDistinctList()) return;
    } else {
      ReadTargetConditions(target);
    }
    if (task != KeyedTask::DistinctList && !WriteTargetData()) return;
    Close();
  }

 private:
  // Every input of the dialog, before any area is read, and the active sheet.
  void ReadDialog() {
    task = KeyedTaskOf(Val(form.Controls("Label10").Caption()));
    mode = KeyedModeOf(Val(form.Controls("Label9").Caption()));
    headers = frame.FieldChecked("CheckBox1");
    separator = frame.FieldText("TextBox1");
    sourceAddress = frame.FieldText("RefEdit1");
    dataAddress = frame.FieldText("RefEdit2");
    targetAddress = frame.FieldText("RefEdit3");
    targetDataAddress = frame.FieldText("RefEdit4");
    sheet = &app.ActiveWorkbook().ActiveSheet();
  }

  // The source conditions, a record a row: ns rows of mc columns.
  Range ReadSourceConditions() {
    Range source = sheet->Range(sourceAddress);
    ns = source.RowsCount();
    mc = source.ColumnsCount();
    sourceConditions = Read(source);
    return source;
  }

  // The source data: the same rows, the md columns of RefEdit2.
  void ReadSourceData(const Range& source) {
    Range dataColumns = sheet->Range(dataAddress);
    md = dataColumns.ColumnsCount();
    sourceData = Read(sheet->Cells(source.Row(), dataColumns.Column()).Resize(ns, md));
  }

  // Summarising and the distinct list write the source's distinct combinations as the target
  // conditions; the other tasks look up the conditions on the sheet.
  bool ListsDistinct() const {
    return task == KeyedTask::Summarise || task == KeyedTask::DistinctList;
  }

  // The distinct condition combinations of the source, in order of first appearance, written at
  // the target's first cell (with room asked for the data beside them).
  bool WriteDistinctList() {
    groups = GroupRows(sourceConditions, locale);
    nt = static_cast<int>(groups->Count());
    mt = mc;
    Block distinct(nt, mc);
    for (int k = 0; k < nt; ++k) {
      targets.push_back(groups->KeyAt(k));
      for (int c = 0; c < mc; ++c) distinct(k + 1, c + 1) = groups->KeyAt(k)[c];
    }
    if (!MayOverwriteTarget(ct, mt + md)) return false;
    sheet->Cells(rt, ct).Resize(nt, mc).SetValues(distinct);
    return true;
  }

  // The target conditions of a lookup: nt rows of mt columns, as they stand on the sheet.
  void ReadTargetConditions(const Range& target) {
    nt = target.RowsCount();
    mt = target.ColumnsCount();
    targetConditions = Read(target);
  }

  // The target data at column cd: right of the conditions when summarising, else the first
  // column of RefEdit4. The condition columns must pair up; a lookup's data target is asked
  // about when occupied.
  bool WriteTargetData() {
    int cd = task == KeyedTask::Summarise ? ct + mt : sheet->Range(targetDataAddress).Column();
    if (mt != mc) {
      frame.Message("来源-条件区域 的列数与 目标-条件区域 的列数不一致，条件无法匹配，程序终止！",
                    0, kKeyedTitle);
      frame.EventsBack();
      return false;
    }
    if (task != KeyedTask::Summarise && !MayOverwriteTarget(cd, md)) return false;
    if (mode) WriteCombined(cd);
    return true;
  }

  // The data of each target's records combined, written as one block; with CheckBox1 a sum's
  // first row takes the source data headers.
  void WriteCombined(int cd) {
    if (!ListsDistinct()) GroupForLookup();
    CombineGroups(*groups, sourceData, *mode, separator, locale);
    Range result = sheet->Cells(rt, cd).Resize(nt, md);
    result.SetValues(ResultBlock(*groups, targets, md));
    if (*mode == KeyedMode::Sum && headers) {
      for (int d = 1; d <= md; ++d) result.Cells(1, d).SetValue(sourceData(1, d));
    }
  }

  // A lookup's source rows grouped by their conditions, and each target row's conditions. In the
  // first and last modes a target whose conditions have no text stays empty.
  void GroupForLookup() {
    groups = GroupRows(sourceConditions, locale);
    for (int i = 1; i <= nt; ++i) {
      try {
        targets.push_back(RowTexts(targetConditions, i, locale));
      } catch (const HostError&) {
        if (*mode == KeyedMode::Sum || *mode == KeyedMode::Join) throw;
        targets.emplace_back();
      }
    }
  }

  // The columns from `column` of the target rows, selected and asked about when they hold
  // anything, the time the question is on screen left out; No ends the run with the events as
  // they were found.
  bool MayOverwriteTarget(int column, int columns) {
    stopwatch.Pause();
    if (!frame.MayOverwrite(
            sheet->Cells(rt, column).Resize(nt, columns), ShowTarget::Select,
            [&](double count) { return KeyedOverwriteQuestion(count, locale); },
            vbYesNo + vbDefaultButton2, kKeyedTitle)) {
      return false;
    }
    stopwatch.Resume();
    return true;
  }

  // The end: events as found, the form unloaded, the working time shown.
  void Close() {
    frame.EventsBack();
    frame.UnloadForm();
    stopwatch.Pause();
    frame.Message(stopwatch.Text(), 0, Korvel::kLibraryTitle);
    frame.Finished();
  }

  // An area's content in one piece.
  Block Read(const Range& area) { return app.Range(area.Address()).Values(); }

  RunFrame& frame;
  Form& form;
  Application& app;
  const UserLocale& locale;
  KeyedStopwatch stopwatch;
  Worksheet* sheet = nullptr;

  KeyedTask task = KeyedTask::LookupWithoutData;
  std::optional<KeyedMode> mode;
  bool headers = false;
  std::string separator;
  std::string sourceAddress, dataAddress, targetAddress, targetDataAddress;

  int ns = 0, mc = 0;  // source rows, condition columns
  int md = 0;          // data columns
  int rt = 0, ct = 0;  // the target's first cell
  int nt = 0, mt = 0;  // target rows, target condition columns
  Block sourceConditions, sourceData, targetConditions;
  // The source rows by condition combination, and each target row's conditions (none when
  // they have no text).
  std::optional<KeyedGroups> groups;
  std::vector<std::optional<TextTuple>> targets;
};

}  // namespace

// Matches records by their condition values in memory: summarises a list by its distinct
// condition combinations (task 1), looks the source data up for target conditions already on
// the sheet (task 2), or lists the distinct combinations only (task 3). Each area is read and
// each result written as one block.
void Korvel::HzCzBcf(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    // Attach to the running host afresh; keep the events setting found, then events off.
    frame.UseApplication(runtime.GetObject("excel.application"));
    frame.KeepEventsAndOff();
    KeyedSummariseRun(frame, Obj1, runtime).Run();
  });
}

}  // namespace tavrin
