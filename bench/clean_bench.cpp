// The zero-clearing tools on a full list, end to end through the component and the embedded
// spreadsheet: every cell of the range asked for is looked at.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "tool_run.h"

namespace tavrin {
namespace {

constexpr int kCleanColumns = 8;

// 65535 rows of 8 numbers, one in seven of them 0; the range prompt answered with the list.
std::unique_ptr<ToolRun> CleanRun() {
  Block block(kLastRow - 1, kCleanColumns);
  for (int r = 1; r <= kLastRow - 1; ++r) {
    for (int c = 1; c <= kCleanColumns; ++c) block(r, c) = Variant((r + c) % 7 == 0 ? 0 : r);
  }
  auto run = std::make_unique<ToolRun>(block);
  run->app.SetInputAnswerer(
      [](const std::string&, const std::string&) { return std::string("A1:H65535"); });
  return run;
}

void ClearZeros(benchmark::State& state) {
  Timed(state, CleanRun, [](ToolRun& run) { run.component().SC0(run.Token(), run.form); });
}
BENCHMARK(ClearZeros)->Unit(benchmark::kMillisecond);

void ClearZeroValues(benchmark::State& state) {
  Timed(state, CleanRun, [](ToolRun& run) { run.component().SCGS0(run.Token(), run.form); });
}
BENCHMARK(ClearZeroValues)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
