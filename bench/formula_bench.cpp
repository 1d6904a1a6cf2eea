// The formula tools on full lists: HZ, HZCZSZ and DSYCZ end to end, and a fill of COUNTIF, with the
// lookup indexes on, and the same runs on smaller lists with them off, so the ratio shows.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "tool_run.h"

namespace tavrin {
namespace {

// The list at a cell, with the lookup indexes on or off.
std::unique_ptr<ToolRun> FormulaRun(const Block& block, const char* at, bool indexed) {
  auto run = std::make_unique<ToolRun>(block, at);
  run->app.SetLookupIndexEnabled(indexed);
  return run;
}

// Records with two keys (32 by 31 values: 992 pairs) and two values.
Block Records(int rows, bool withId) {
  int offset = withId ? 1 : 0;
  Block block(rows, 4 + offset);
  for (int r = 1; r <= rows; ++r) {
    if (withId) block(r, 1) = Variant(r);
    block(r, 1 + offset) = Variant("k" + std::to_string(r % 32));
    block(r, 2 + offset) = Variant("p" + std::to_string(r % 31));
    block(r, 3 + offset) = Variant(r % 97);
    block(r, 4 + offset) = Variant(r % 13);
  }
  return block;
}

void Summarise(benchmark::State& state) {
  int rows = static_cast<int>(state.range(0));
  Block list = Records(rows, true);
  list(1, 1) = Variant("id");
  list(1, 2) = Variant("k1");
  list(1, 3) = Variant("k2");
  list(1, 4) = Variant("v1");
  list(1, 5) = Variant("v2");
  Timed(
      state, [&] { return FormulaRun(list, "A1", state.range(1) != 0); },
      [&](ToolRun& run) {
        run.form.Set("RefEdit1", "A1:E" + std::to_string(rows));
        run.form.Set("RefEdit2", "B1:C1");
        run.form.Set("RefEdit3", "D1:E1");
        run.form.Set("RefEdit4", "H1");
        run.component().HZ(run.session->Token(), run.form);
      });
}

// Target keys in A:B, source keys in H:I and data in K:L, the output in F:G.
void SumLookup(benchmark::State& state) {
  int rows = static_cast<int>(state.range(0));
  Block source = Records(rows, false);
  Timed(
      state,
      [&] {
        auto run = FormulaRun(source, "H2", state.range(1) != 0);
        run->sheet.Range("A2").Resize(rows, 2).SetValues(
            run->sheet.Range("H2").Resize(rows, 2).Values());
        return run;
      },
      [&](ToolRun& run) {
        std::string last = std::to_string(rows + 1);
        run.form.Set("RefEdit1", "A2:B" + last);
        run.form.Set("RefEdit2", "F2");
        run.form.Set("RefEdit4", "H2:I" + last);
        run.form.Set("RefEdit5", "K2:L" + last);
        run.component().HZCZSZ(run.session->Token(), run.form);
      });
}

// Index values in A, the target B:C, the source table E:H with its index in E and data G:H;
// every index value occurs once in the source.
void MatchLookup(benchmark::State& state) {
  int rows = static_cast<int>(state.range(0));
  Block table(rows, 4);
  for (int r = 1; r <= rows; ++r) {
    table(r, 1) = Variant("id" + std::to_string(r));
    table(r, 2) = Variant("-");
    table(r, 3) = Variant(r);
    table(r, 4) = Variant("v" + std::to_string(r % 100));
  }
  Timed(
      state,
      [&] {
        auto run = FormulaRun(table, "E2", state.range(1) != 0);
        run->sheet.Range("A2").Resize(rows, 1).SetValues(
            run->sheet.Range("E2").Resize(rows, 1).Values());
        return run;
      },
      [&](ToolRun& run) {
        std::string last = std::to_string(rows + 1);
        run.form.Set("RefEdit1", "A2:A" + last);
        run.form.Set("RefEdit2", "B2:C2");
        run.form.Set("RefEdit3", "E2:H" + last);
        run.form.Set("RefEdit4", "E2:E" + last);
        run.form.Set("RefEdit5", "G2:H2");
        run.form.Set("TextBox1", "none");
        run.component().DSYCZ(run.session->Token(), run.form);
      });
}

// COUNTIF filled down B beside a column of numbers and texts, each counting its own row's
// value: one index build and a lookup per formula.
void CountIfFill(benchmark::State& state) {
  int rows = static_cast<int>(state.range(0));
  Block column(rows, 1);
  for (int r = 1; r <= rows; ++r) {
    column(r, 1) = r % 3 == 0 ? Variant("t" + std::to_string(r % 1000)) : Variant(r % 5000);
  }
  std::string range = "A$1:A$" + std::to_string(rows);
  Timed(
      state, [&] { return FormulaRun(column, "A1", state.range(1) != 0); },
      [&](ToolRun& run) {
        run.sheet.Range("B1").Resize(rows, 1).SetValue("=COUNTIF(" + range + ",A1)");
        benchmark::DoNotOptimize(run.sheet.Range("B1").Resize(rows, 1).Values());
      });
}

// Arguments: rows, lookup index on (1) or off (0).
BENCHMARK(Summarise)
    ->Args({65535, 1})
    ->Args({4096, 1})
    ->Args({4096, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SumLookup)
    ->Args({65535, 1})
    ->Args({2048, 1})
    ->Args({2048, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(MatchLookup)
    ->Args({65535, 1})
    ->Args({4096, 1})
    ->Args({4096, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(CountIfFill)
    ->Args({65535, 1})
    ->Args({4096, 1})
    ->Args({4096, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
