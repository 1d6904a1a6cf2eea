// The page layout tools on long lists, end to end through the component and the embedded
// spreadsheet.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "tool_run.h"

namespace tavrin {
namespace {

// A header row and `records` rows in A:D: a name and three numbers.
std::unique_ptr<ToolRun> LayoutRun(int records) {
  Block block(records + 1, 4);
  block(1, 1) = Variant("name");
  for (int r = 2; r <= records + 1; ++r) {
    block(r, 1) = Variant("item " + std::to_string(r));
    for (int c = 2; c <= 4; ++c) block(r, c) = Variant(r * c);
  }
  return std::make_unique<ToolRun>(block);
}

// Every page gains a row, and the grand total names every subtotal row in one formula, which the
// host holds up to 8192 characters: 25000 records make about 510 pages, as many as fit.
void PageSubtotals(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto run = LayoutRun(25000);
    run->form.Set("RefEdit1", "B2:D2");
    run->form.Set("RefEdit2", "A2");
    run->form.Set("TextBox1", "小计");
    run->form.Set("TextBox2", "合计");
    state.ResumeTiming();
    run->session->Component().FYXJYHJ(run->session->Token(), run->form);
    state.PauseTiming();
    state.counters["pages"] = run->book.GetActiveSheet().HPageBreaks().Count() + 1;
    if (run->messages.str().find("运行完毕") == std::string::npos) state.SkipWithError("no finish");
    run.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(PageSubtotals)->Unit(benchmark::kMillisecond)->Iterations(3);

// 65535 records in chunks of 50 rows, four side by side.
void Partition(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto run = LayoutRun(kLastRow - 1);
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
    // The second chunk (records 51 to 100, rows 52 to 101) stands in slot 1 of the first band.
    Sheet& copy = run->book.GetActiveSheet();
    if (run->book.SheetCount() != 2 || copy.Range("F2").Value() != Variant("item 52")) {
      state.SkipWithError("not partitioned");
    }
    run.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(Partition)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tavrin
