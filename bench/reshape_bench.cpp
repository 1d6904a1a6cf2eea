// The keyed tool and the reshaping tools on full lists, end to end through the component and the
// embedded spreadsheet.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "tool_run.h"

namespace tavrin {
namespace {

constexpr int kReshapeRecords = kLastRow - 1;

// 65535 records: two condition columns (50 regions by 200 products) and three data columns.
Block KeyedList() {
  Block block(kReshapeRecords, 5);
  for (int r = 1; r <= kReshapeRecords; ++r) {
    block(r, 1) = Variant("region " + std::to_string(r % 50));
    block(r, 2) = Variant("product " + std::to_string(r % 200));
    for (int c = 3; c <= 5; ++c) block(r, c) = Variant(r % 97 + c);
  }
  return block;
}

void KeyedSummariseSum(benchmark::State& state) {
  Block list = KeyedList();
  Timed(
      state, [&] { return std::make_unique<ToolRun>(list); },
      [](ToolRun& run) {
        for (auto [name, value] : {std::pair{"Label10", "1"},
                                   {"Label9", "1"},
                                   {"RefEdit1", "A1:B65535"},
                                   {"RefEdit2", "C1:E1"},
                                   {"RefEdit3", "H1"}}) {
          run.form.Set(name, value);
        }
        run.component().HzCzBcf(run.session->Token(), run.form);
      });
}
BENCHMARK(KeyedSummariseSum)->Unit(benchmark::kMillisecond);

// The lookup of 65535 target rows (the source's own conditions in reverse) in the same list.
void KeyedLookupSum(benchmark::State& state) {
  Block list = KeyedList();
  Block targets(kReshapeRecords, 2);
  for (int r = 1; r <= kReshapeRecords; ++r) {
    targets(r, 1) = list(kReshapeRecords + 1 - r, 1);
    targets(r, 2) = list(kReshapeRecords + 1 - r, 2);
  }
  Timed(
      state,
      [&] {
        auto run = std::make_unique<ToolRun>(list);
        run->sheet.Range("H1").Resize(kReshapeRecords, 2).SetValues(targets);
        return run;
      },
      [](ToolRun& run) {
        for (auto [name, value] : {std::pair{"Label10", "2"},
                                   {"Label9", "1"},
                                   {"RefEdit1", "A1:B65535"},
                                   {"RefEdit2", "C1:E1"},
                                   {"RefEdit3", "H1:I65535"},
                                   {"RefEdit4", "J1"}}) {
          run.form.Set(name, value);
        }
        run.component().HzCzBcf(run.session->Token(), run.form);
      });
}
BENCHMARK(KeyedLookupSum)->Unit(benchmark::kMillisecond);

// A field-name row and 65535 records of 1000 row labels, 50 column labels and a value.
void ListToTableSum(benchmark::State& state) {
  Block list(kLastRow, 3);
  list(1, 1) = Variant("item");
  list(1, 2) = Variant("month");
  list(1, 3) = Variant("amount");
  for (int r = 2; r <= kLastRow; ++r) {
    list(r, 1) = Variant("item " + std::to_string(r % 1000));
    list(r, 2) = Variant("m" + std::to_string(r * 7 % 50));
    list(r, 3) = Variant(r % 13);
  }
  Timed(
      state, [&] { return std::make_unique<ToolRun>(list); },
      [](ToolRun& run) {
        for (auto [name, value] : {std::pair{"RefEdit1", "A1:C65536"},
                                   {"RefEdit2", "E1"},
                                   {"RefEdit3", "A1"},
                                   {"RefEdit4", "B1"},
                                   {"RefEdit5", "C1"}}) {
          run.form.Set(name, value);
        }
        run.form.Set("OptionButton1", Variant::Boolean(true));
        run.component().QDZBG(run.session->Token(), run.form);
      });
}
BENCHMARK(ListToTableSum)->Unit(benchmark::kMillisecond);

// A table of 1000 rows by `columns` columns; with `filledEvery` above 1 only every so many body
// cells hold a value, so that the list of a 1000 x 200 table fits the sheet.
void TableToList(benchmark::State& state) {
  int columns = static_cast<int>(state.range(0));
  int filledEvery = static_cast<int>(state.range(1));
  Block table(1000, columns);
  for (int c = 2; c <= columns; ++c) table(1, c) = Variant("col " + std::to_string(c));
  for (int r = 2; r <= 1000; ++r) {
    table(r, 1) = Variant("row " + std::to_string(r));
    for (int c = 2; c <= columns; ++c) {
      if ((r * columns + c) % filledEvery == 0) table(r, c) = Variant(r + c);
    }
  }
  std::string address = "A1:" + ColumnLetters(columns) + "1000";
  Timed(
      state, [&] { return std::make_unique<ToolRun>(table); },
      [&](ToolRun& run) {
        run.form.Set("RefEdit1", address);
        run.form.Set("RefEdit2", ColumnLetters(columns + 2) + "1");
        run.form.Set("OptionButton1", Variant::Boolean(true));
        run.form.Set("CheckBox1", Variant::Boolean(true));
        run.component().BGZQD(run.session->Token(), run.form);
      });
}
BENCHMARK(TableToList)->Args({200, 4})->Args({66, 1})->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
