#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include <isa-l/igzip_lib.h>
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

// The list's sheet part, as XML.
std::string UserListSheetXml() {
  for (PackagePart& part : ReadZip(ReadFileBytes(UserList()))) {
    if (part.name == "xl/worksheets/sheet1.xml") return std::move(part.bytes);
  }
  return {};
}

// The floor: inflating the sheet part and deflating it again at level 1, with zlib, which most
// zip programs use. The part is deflated once beforehand, as the file holds it.
void UserListFloor(benchmark::State& state) {
  std::string xml = UserListSheetXml();
  uLongf packedSize = compressBound(xml.size());
  std::string packed(packedSize, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
            reinterpret_cast<const Bytef*>(xml.data()), xml.size(), 1);
  for (auto _ : state) {
    std::string inflated(xml.size(), '\0');
    uLongf inflatedSize = inflated.size();
    uncompress(reinterpret_cast<Bytef*>(inflated.data()), &inflatedSize,
               reinterpret_cast<const Bytef*>(packed.data()), packedSize);
    uLongf size = compressBound(inflated.size());
    std::string again(size, '\0');
    compress2(reinterpret_cast<Bytef*>(again.data()), &size,
              reinterpret_cast<const Bytef*>(inflated.data()), inflated.size(), 1);
    benchmark::DoNotOptimize(size);
  }
}
BENCHMARK(UserListFloor)->Unit(benchmark::kMillisecond);

// The same with ISA-L, which the reader and writer use, on one thread.
void UserListFloorIsal(benchmark::State& state) {
  std::string xml = UserListSheetXml();
  auto deflate = [](const std::string& in) {
    std::vector<uint8_t> work(ISAL_DEF_LVL1_DEFAULT);
    isal_zstream z;
    isal_deflate_init(&z);
    z.level = 1;
    z.level_buf = work.data();
    z.level_buf_size = static_cast<uint32_t>(work.size());
    z.end_of_stream = 1;
    std::string out(in.size() + in.size() / 16 + 1024, '\0');
    z.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uint32_t>(in.size());
    z.next_out = reinterpret_cast<uint8_t*>(out.data());
    z.avail_out = static_cast<uint32_t>(out.size());
    isal_deflate(&z);
    out.resize(z.total_out);
    return out;
  };
  std::string packed = deflate(xml);
  for (auto _ : state) {
    inflate_state inflater;
    isal_inflate_init(&inflater);
    std::string inflated(xml.size(), '\0');
    inflater.next_in = reinterpret_cast<uint8_t*>(packed.data());
    inflater.avail_in = static_cast<uint32_t>(packed.size());
    inflater.next_out = reinterpret_cast<uint8_t*>(inflated.data());
    inflater.avail_out = static_cast<uint32_t>(inflated.size());
    isal_inflate(&inflater);
    benchmark::DoNotOptimize(deflate(inflated).size());
  }
}
BENCHMARK(UserListFloorIsal)->Unit(benchmark::kMillisecond);

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
