#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "host/worksheet_function.h"
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

// The tool's own working time on the runtime's clock, in single precision as the runtime keeps
// it; the time a question is on screen lies between a Pause and the next Resume.
class Stopwatch {
 public:
  explicit Stopwatch(Runtime& runtime) : clock(runtime), start(Now()) {}
  void Pause() { elapsed += Now() - start; }
  void Resume() { start = Now(); }
  // The shortest text that reads back as the same single-precision number, and "秒".
  std::string Text() const {
    char digits[32];
    auto end = std::to_chars(digits, digits + sizeof digits, elapsed).ptr;
    return std::string(digits, end) + "秒";
  }

 private:
  float Now() { return static_cast<float>(clock.Timer()); }

  Runtime& clock;
  float start;
  float elapsed = 0;
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
    Application& app = runtime.GetObject("excel.application");
    frame.UseApplication(app);
    frame.KeepEventsAndOff();
    Stopwatch stopwatch(runtime);
    const UserLocale& locale = runtime.Locale();

    // The dialog's inputs, all of them before any area is read, and the active sheet.
    double task = Val(Obj1.Controls("Label10").Caption());
    double mode = Val(Obj1.Controls("Label9").Caption());
    bool headers = frame.FieldChecked("CheckBox1");
    std::string separator = frame.FieldText("TextBox1");
    std::string sourceAddress = frame.FieldText("RefEdit1");
    std::string dataAddress = frame.FieldText("RefEdit2");
    std::string targetAddress = frame.FieldText("RefEdit3");
    std::string targetDataAddress = frame.FieldText("RefEdit4");
    Worksheet& sheet = app.ActiveWorkbook().ActiveSheet();
    auto read = [&](const Range& area) { return app.Range(area.Address()).Values(); };
    bool lookup = task != 1 && task != 3;
    bool combining = mode == 1 || mode == 2 || mode == 3 || mode == 4;

    // An occupied area is selected and the user asked whether to overwrite it; No ends the run
    // with the events as they were found.
    auto mayOverwrite = [&](const Range& area) {
      return frame.MayOverwrite(
          area, ShowTarget::Select,
          [&](double count) { return KeyedOverwriteQuestion(count, locale); },
          vbYesNo + vbDefaultButton2, kKeyedTitle);
    };

    // The source conditions, a record a row.
    Range source = sheet.Range(sourceAddress);
    int ns = source.RowsCount();
    int mc = source.ColumnsCount();
    Block sourceConditions = read(source);

    // The source data: the same rows, the columns of RefEdit2.
    int md = 0;
    Block sourceData;
    if (task == 1 || task == 2) {
      Range dataColumns = sheet.Range(dataAddress);
      md = dataColumns.ColumnsCount();
      sourceData = read(sheet.Cells(source.Row(), dataColumns.Column()).Resize(ns, md));
    }

    // The target conditions: read from the sheet for a lookup, or the distinct combinations of
    // the source, written at the target's first cell.
    Range target = sheet.Range(targetAddress);
    int rt = target.Row();
    int ct = target.Column();
    int nt = 0;
    int mt = 0;
    Block targetConditions;
    std::optional<KeyedGroups> groups;
    std::vector<std::optional<TextTuple>> targets;
    if (lookup) {
      nt = target.RowsCount();
      mt = target.ColumnsCount();
      targetConditions = read(target);
    } else {
      groups = GroupRows(sourceConditions, locale);
      nt = static_cast<int>(groups->Count());
      mt = mc;
      Block distinct(nt, mc);
      for (int k = 0; k < nt; ++k) {
        targets.push_back(groups->KeyAt(k));
        for (int c = 0; c < mc; ++c) distinct(k + 1, c + 1) = groups->KeyAt(k)[c];
      }
      stopwatch.Pause();
      if (!mayOverwrite(sheet.Cells(rt, ct).Resize(nt, mt + md))) return;
      stopwatch.Resume();
      sheet.Cells(rt, ct).Resize(nt, mc).SetValues(distinct);
    }

    if (task != 3) {
      // The target data column: right of the conditions, or the first column of RefEdit4.
      int cd = task == 1 ? ct + mt : sheet.Range(targetDataAddress).Column();

      // The condition columns must pair up.
      if (mt != mc) {
        frame.Message("来源-条件区域 的列数与 目标-条件区域 的列数不一致，条件无法匹配，程序终止！",
                      0, kKeyedTitle);
        frame.EventsBack();
        return;
      }

      if (task != 1) {
        stopwatch.Pause();
        if (!mayOverwrite(sheet.Cells(rt, cd).Resize(nt, md))) return;
        stopwatch.Resume();
      }

      // Combine the data of each target's records, and write the result as one block; with
      // CheckBox1 a sum's first row takes the source data headers.
      if (combining) {
        if (lookup) {
          groups = GroupRows(sourceConditions, locale);
          // In the first and last modes a target whose conditions have no text stays empty.
          for (int i = 1; i <= nt; ++i) {
            try {
              targets.push_back(RowTexts(targetConditions, i, locale));
            } catch (const HostError&) {
              if (mode < 3) throw;
              targets.emplace_back();
            }
          }
        }
        CombineGroups(*groups, sourceData, static_cast<KeyedMode>(mode), separator, locale);
        Range result = sheet.Cells(rt, cd).Resize(nt, md);
        result.SetValues(ResultBlock(*groups, targets, md));
        if (mode == 1 && headers) {
          for (int d = 1; d <= md; ++d) result.Cells(1, d).SetValue(sourceData(1, d));
        }
      }
    }

    // The end: events as found, the form unloaded, the working time shown.
    frame.EventsBack();
    frame.UnloadForm();
    stopwatch.Pause();
    frame.Message(stopwatch.Text(), 0, kLibraryTitle);
    frame.Finished();
  });
}

}  // namespace tavrin
