// The embedded spreadsheet on a full list: 65535 records of 10 fields, the first five numbers,
// the last five texts.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "host/worksheet_function.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

constexpr int kListRecords = kLastRow - 1;
constexpr int kFields = 10;

Variant Field(int row, int column) {
  if (column <= kFields / 2) return Variant(row * 10 + column);
  return Variant("item " + std::to_string(row % 997) + "-" + std::to_string(column));
}

Block ListBlock(int rows) {
  Block block(rows, kFields);
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= kFields; ++c) block(r, c) = Field(r, c);
  }
  return block;
}

// A spreadsheet with one sheet holding the list in rows 1 to rows.
struct ListSheet {
  Spreadsheet app;
  Book& book = app.AddWorkbook("Bench");
  Sheet& sheet = book.AddSheet("List");

  explicit ListSheet(int rows = kListRecords) {
    sheet.Range("A1").Resize(rows, kFields).SetValues(ListBlock(rows));
  }
};

ListSheet& Full() {
  static ListSheet list;
  return list;
}

void WriteCellByCell(benchmark::State& state) {
  for (auto _ : state) {
    Spreadsheet app;
    Sheet& sheet = app.AddWorkbook("Bench").AddSheet("List");
    for (int r = 1; r <= kListRecords; ++r) {
      for (int c = 1; c <= kFields; ++c) sheet.Cells(r, c).SetValue(Field(r, c));
    }
    benchmark::DoNotOptimize(sheet.ContentVersion());
  }
}
BENCHMARK(WriteCellByCell)->Unit(benchmark::kMillisecond);

void WriteBlock(benchmark::State& state) {
  Block block = ListBlock(kListRecords);
  for (auto _ : state) {
    Spreadsheet app;
    Sheet& sheet = app.AddWorkbook("Bench").AddSheet("List");
    sheet.Range("A1").Resize(kListRecords, kFields).SetValues(block);
    benchmark::DoNotOptimize(sheet.ContentVersion());
  }
}
BENCHMARK(WriteBlock)->Unit(benchmark::kMillisecond);

void ReadBlock(benchmark::State& state) {
  Sheet& sheet = Full().sheet;
  for (auto _ : state) {
    Block block = sheet.Range("A1").Resize(kListRecords, kFields).Values();
    benchmark::DoNotOptimize(block);
  }
}
BENCHMARK(ReadBlock)->Unit(benchmark::kMillisecond);

void CountAWholeColumns(benchmark::State& state) {
  ListSheet& list = Full();
  Range columns = list.sheet.Range("A:J");
  for (auto _ : state) benchmark::DoNotOptimize(list.app.WorksheetFunction().CountA(columns));
}
BENCHMARK(CountAWholeColumns)->Unit(benchmark::kMicrosecond);

void CountIfStarWholeColumns(benchmark::State& state) {
  ListSheet& list = Full();
  Range columns = list.sheet.Range("A:J");
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.app.WorksheetFunction().CountIf(columns, "*"));
  }
}
BENCHMARK(CountIfStarWholeColumns)->Unit(benchmark::kMillisecond);

void CountIfPatternWholeColumn(benchmark::State& state) {
  ListSheet& list = Full();
  Range column = list.sheet.Range("J:J");
  for (auto _ : state) {
    benchmark::DoNotOptimize(list.app.WorksheetFunction().CountIf(column, "ITEM 5*"));
  }
}
BENCHMARK(CountIfPatternWholeColumn)->Unit(benchmark::kMillisecond);

// Whole columns against a whole row on the full list, a cell's answer and a sum over the whole
// array: computed within the cells with content, the empty rest counted, not built.
void WholeColumnsPlusRow(benchmark::State& state) {
  Sheet& sheet = Full().sheet;
  for (auto _ : state) {
    sheet.Range("L1").SetValue("=B:C+3:3");
    sheet.Range("L2").SetValue("=SUMPRODUCT(ISERROR(B:C+3:3)*1)");
    benchmark::DoNotOptimize(sheet.Range("L1:L2").Values());
  }
  sheet.Range("L1:L2").ClearContents();
}
BENCHMARK(WholeColumnsPlusRow)->Unit(benchmark::kMillisecond);

void EndUpFromLastRow(benchmark::State& state) {
  Sheet& sheet = Full().sheet;
  for (auto _ : state) benchmark::DoNotOptimize(sheet.Cells(kLastRow, 1).End(xlUp).Row());
}
BENCHMARK(EndUpFromLastRow)->Unit(benchmark::kMicrosecond);

// 1000 single-row insertions spread over a list of 64000 records.
void InsertRowsOneByOne(benchmark::State& state) {
  constexpr int kInsertedRows = 64000;
  for (auto _ : state) {
    state.PauseTiming();
    auto list = std::make_unique<ListSheet>(kInsertedRows);
    state.ResumeTiming();
    for (int i = 0; i < 1000; ++i) list->sheet.Rows(1 + i * 64, 1 + i * 64).Insert();
    benchmark::DoNotOptimize(list->sheet.ContentVersion());
    state.PauseTiming();
    list.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(InsertRowsOneByOne)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
