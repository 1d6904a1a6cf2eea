#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "io/workbook_file.h"
#include "spreadsheet/sheet.h"

namespace tavrin {
namespace {

constexpr int kRows = 65536;
constexpr int kColumns = 10;

// A full-height list: five columns of numbers and five of texts.
void FillList(Book& book) {
  Sheet& sheet = book.AddSheet("List");
  for (int c = 1; c <= kColumns; ++c) {
    for (int r = 1; r <= kRows; ++r) {
      Variant value =
          c <= 5 ? Variant(r * 0.25 + c) : Variant("item " + std::to_string((r * c) % 997));
      sheet.Store().SetContent(r, c, std::move(value), nullptr);
    }
  }
}

std::filesystem::path BenchFile() {
  return std::filesystem::temp_directory_path() / "tavrin-io-bench.xlsx";
}

void WriteLargeSheet(benchmark::State& state) {
  Spreadsheet app;
  Book& book = app.AddWorkbook("list");
  FillList(book);
  for (auto _ : state) SaveWorkbook(book, BenchFile());
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(BenchFile()));
}
BENCHMARK(WriteLargeSheet)->Unit(benchmark::kMillisecond);

void ReadLargeSheet(benchmark::State& state) {
  {
    Spreadsheet app;
    Book& book = app.AddWorkbook("list");
    FillList(book);
    SaveWorkbook(book, BenchFile());
  }
  for (auto _ : state) {
    Spreadsheet app;
    benchmark::DoNotOptimize(
        OpenWorkbook(app, BenchFile()).GetSheet(1).Store().Find(kRows, kColumns));
  }
  std::filesystem::remove(BenchFile());
}
BENCHMARK(ReadLargeSheet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
