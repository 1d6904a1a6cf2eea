#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <zlib.h>

#include "io/atomic_file.h"
#include "io/workbook_file.h"
#include "io/zip_archive.h"
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

// A user's list as other programs write it: 65535 records of 7 columns, texts and numbers, about
// 24 MB of sheet XML. Reading it and writing it back after a change is timed beside the floor:
// inflating its sheet part and deflating it again at level 1, measured in the same run.
constexpr int kUserListRecords = 65535;

std::filesystem::path UserList() {
  std::filesystem::path path = std::filesystem::temp_directory_path() / "tavrin-user-list.xlsx";
  if (std::filesystem::exists(path)) return path;
  Spreadsheet app;
  Sheet& sheet = app.AddWorkbook("list").AddSheet("List");
  const char* regions[] = {"North", "South", "East", "West", "华东", "华南"};
  for (int r = 1; r <= kUserListRecords; ++r) {
    int units = 1 + (r * 7919) % 500;
    double price = 1 + (r * 104729LL % 9900) / 100.0;
    Variant row[] = {Variant(regions[r % 6]),
                     Variant("P" + std::to_string(r * 31 % 2000)),
                     Variant("客户" + std::to_string(r * 17 % 30000)),
                     Variant(units),
                     Variant(price),
                     Variant(units * price),
                     Variant("note " + std::to_string(r % 977))};
    for (int c = 1; c <= 7; ++c) sheet.Store().SetContent(r + 1, c, row[c - 1], nullptr);
  }
  SaveWorkbook(sheet.Parent(), path);
  return path;
}

void UserListFloor(benchmark::State& state) {
  std::string file = ReadFileBytes(UserList());
  for (auto _ : state) {
    std::string xml;
    for (PackagePart& part : ReadZip(file)) {
      if (part.name == "xl/worksheets/sheet1.xml") xml = std::move(part.bytes);
    }
    uLongf size = compressBound(xml.size());
    std::string packed(size, '\0');
    compress2(reinterpret_cast<Bytef*>(packed.data()), &size,
              reinterpret_cast<const Bytef*>(xml.data()), xml.size(), 1);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(UserListFloor)->Unit(benchmark::kMillisecond);

void UserListInflate(benchmark::State& state) {
  std::string file = ReadFileBytes(UserList());
  for (auto _ : state) benchmark::DoNotOptimize(ReadZip(file));
}
BENCHMARK(UserListInflate)->Unit(benchmark::kMillisecond);

void UserListRead(benchmark::State& state) {
  std::filesystem::path path = UserList();
  for (auto _ : state) {
    Spreadsheet app;
    benchmark::DoNotOptimize(OpenWorkbook(app, path).GetSheet(1).Store().Find(kUserListRecords, 7));
  }
}
BENCHMARK(UserListRead)->Unit(benchmark::kMillisecond);

void UserListWrite(benchmark::State& state) {
  std::filesystem::path out = std::filesystem::temp_directory_path() / "tavrin-user-list-out.xlsx";
  Spreadsheet app;
  Book& book = OpenWorkbook(app, UserList());
  book.GetSheet(1).Range("I1").SetValue(Variant("changed"));
  for (auto _ : state) SaveWorkbook(book, out);
  std::filesystem::remove(out);
}
BENCHMARK(UserListWrite)->Unit(benchmark::kMillisecond);

void UserListReadWrite(benchmark::State& state) {
  std::filesystem::path path = UserList();
  std::filesystem::path out = std::filesystem::temp_directory_path() / "tavrin-user-list-out.xlsx";
  for (auto _ : state) {
    Spreadsheet app;
    Book& book = OpenWorkbook(app, path);
    book.GetSheet(1).Range("I1").SetValue(Variant("changed"));
    SaveWorkbook(book, out);
  }
  std::filesystem::remove(out);
}
BENCHMARK(UserListReadWrite)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tavrin
