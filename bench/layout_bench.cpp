// The page layout tools on long lists, end to end through the component and the embedded
// spreadsheet.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "tool_run.h"

namespace tavrin {
namespace {

// A header row and `records` rows in A:D: a name and three numbers. A user's list of the host's
// full size has a height of its own on every row, and often a formula column: with
// `ownHeights`, every row is 15 points high, and column E runs a total of column B down.
std::unique_ptr<ToolRun> LayoutRun(int records, bool ownHeights = false) {
  Block block(records + 1, 4);
  block(1, 1) = Variant("name");
  for (int r = 2; r <= records + 1; ++r) {
    block(r, 1) = Variant("item " + std::to_string(r));
    for (int c = 2; c <= 4; ++c) block(r, c) = Variant(r * c);
  }
  auto run = std::make_unique<ToolRun>(block);
  if (!ownHeights) return run;
  for (int r = 1; r <= records + 1; ++r) run->sheet.SetRowHeight(r, 15);
  run->sheet.Range("E2").SetFormula("=B2");
  run->sheet.Range("E2").AutoFill(run->sheet.Range("E2:E" + std::to_string(records + 1)),
                                  xlFillDefault);
  run->sheet.Range("E3").SetFormula("=E2+B3");
  run->sheet.Range("E3").AutoFill(run->sheet.Range("E3:E" + std::to_string(records + 1)),
                                  xlFillDefault);
  return run;
}

// Every page gains a row. 25000 records make about 510 pages; 63000 records of 15 points
// (argument 1) about 1500, as many as the sheet's rows can take.
void PageSubtotals(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto run = LayoutRun(static_cast<int>(state.range(0)), state.range(1) != 0);
    run->form.Set("RefEdit1", "B2:D2");
    run->form.Set("RefEdit2", "A2");
    run->form.Set("TextBox1", "小计");
    run->form.Set("TextBox2", "合计");
    state.ResumeTiming();
    run->session->Component().FYXJYHJ(run->session->Token(), run->form);
    state.PauseTiming();
    state.counters["pages"] = run->book.GetActiveSheet().HPageBreaks().Count() + 1;
    if (run->messages.str().find("运行完毕") == std::string::npos) {
      state.SkipWithError(run->messages.str().c_str());
      break;
    }
    run.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(PageSubtotals)
    ->Args({25000, 0})
    ->Args({63000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// 65535 records in chunks of 50 rows, four side by side; with heights and a running total
// (argument 1), as a user's list of the host's full size often is.
void Partition(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto run = LayoutRun(kLastRow - 1, state.range(0) != 0);
    for (auto [box, value] : {std::pair{"TextBox1", "1"},
                              {"TextBox2", "4"},
                              {"TextBox3", "0"},
                              {"TextBox4", "50"},
                              {"TextBox5", "1"}}) {
      run->form.Set(box, value);
    }
    state.ResumeTiming();
    run->session->Component().SJFQ(run->session->Token(), run->form);
    state.PauseTiming();
    // The second chunk (records 51 to 100, rows 52 to 101) stands in slot 1 of the first band,
    // beyond the list and a gap column.
    Sheet& copy = run->book.GetActiveSheet();
    const char* slot = state.range(0) != 0 ? "G2" : "F2";
    if (run->book.SheetCount() != 2 || copy.Range(slot).Value() != Variant("item 52")) {
      state.SkipWithError("not partitioned");
      break;
    }
    run.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(Partition)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tavrin
