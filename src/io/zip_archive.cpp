#include "io/zip_archive.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "io/file_error.h"
#include "io/parallel_deflate.h"

namespace tavrin {

namespace {

// Fast deflate: the parts are mostly XML, which compresses well at any level, and writing a
// large sheet should take no longer than deflating it.
constexpr int kCompressionLevel = 1;

// The archive's records, little-endian as zip has them.

constexpr uint32_t kLocalHeader = 0x04034b50;
constexpr uint32_t kCentralHeader = 0x02014b50;
constexpr uint32_t kDirectoryEnd = 0x06054b50;
constexpr uint16_t kVersion = 20;        // 2.0: deflate
constexpr uint16_t kUtf8Names = 0x0800;  // general purpose flag bit 11
constexpr uint16_t kDeflated = 8;
constexpr uint16_t kDate1980 = (0 << 9) | (1 << 5) | 1;  // 1980-01-01
constexpr size_t kLocalSizesAt = 14;                     // crc, compressed, uncompressed

void Put16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}
void Put32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}
void Set32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Sizes past 4 GB need zip64, which no workbook of the host's size reaches.
uint32_t Small(uint64_t size) {
  if (size > 0xFFFFFFFFu) throw FormatError("a part is larger than a zip archive holds");
  return static_cast<uint32_t>(size);
}

}  // namespace

namespace {

// A streamed entry is deflated a block at a time: big enough that handing over costs nothing
// beside deflating, small enough to stay in cache.
constexpr size_t kBlock = size_t{1} << 20;

}  // namespace

ZipWriter::ZipWriter() : deflate_(std::make_unique<ParallelDeflate>(kCompressionLevel)) {}

ZipWriter::~ZipWriter() = default;

void ZipWriter::Add(const std::string& name, std::string_view bytes) {
  Begin(name);
  Write(bytes);
  End();
}

void ZipWriter::Begin(const std::string& name) {
  entry_ = Entry{};
  entry_.name = name;
  entry_.offset = out_.size();
  Put32(out_, kLocalHeader);
  Put16(out_, kVersion);
  Put16(out_, kUtf8Names);
  Put16(out_, kDeflated);
  Put16(out_, 0);  // time
  Put16(out_, kDate1980);
  for (int i = 0; i < 3; ++i) Put32(out_, 0);  // crc and sizes, set by End
  Put16(out_, static_cast<uint16_t>(std::min<size_t>(name.size(), 0xFFFF)));
  Put16(out_, 0);
  out_.append(name, 0, 0xFFFF);
}

void ZipWriter::Write(std::string_view bytes) {
  entry_.size += bytes.size();
  while (!bytes.empty()) {
    size_t piece = std::min(bytes.size(), kBlock - block_.size());
    block_.append(bytes.substr(0, piece));
    bytes.remove_prefix(piece);
    if (block_.size() == kBlock) deflate_->Add(std::exchange(block_, {}), out_);
  }
}

void ZipWriter::End() {
  entry_.crc = deflate_->Finish(block_, out_);
  block_.clear();
  Entry entry = std::move(entry_);
  entry.compressed = out_.size() - entry.offset - 30 - std::min<size_t>(entry.name.size(), 0xFFFF);
  size_t at = entry.offset + kLocalSizesAt;
  Set32(out_, at, entry.crc);
  Set32(out_, at + 4, Small(entry.compressed));
  Set32(out_, at + 8, Small(entry.size));
  Small(entry.offset);
  entries_.push_back(std::move(entry));
}

std::string ZipWriter::Finish() {
  uint64_t directory = out_.size();
  for (const Entry& entry : entries_) {
    Put32(out_, kCentralHeader);
    Put16(out_, kVersion);
    Put16(out_, kVersion);
    Put16(out_, kUtf8Names);
    Put16(out_, kDeflated);
    Put16(out_, 0);
    Put16(out_, kDate1980);
    Put32(out_, entry.crc);
    Put32(out_, Small(entry.compressed));
    Put32(out_, Small(entry.size));
    Put16(out_, static_cast<uint16_t>(std::min<size_t>(entry.name.size(), 0xFFFF)));
    for (int i = 0; i < 4; ++i) Put16(out_, 0);  // extra, comment, disk, internal attributes
    Put32(out_, 0);                              // external attributes
    Put32(out_, Small(entry.offset));
    out_.append(entry.name, 0, 0xFFFF);
  }
  if (entries_.size() > 0xFFFF) throw FormatError("the archive has more parts than zip holds");
  uint32_t directorySize = Small(out_.size() - directory);
  Put32(out_, kDirectoryEnd);
  Put16(out_, 0);
  Put16(out_, 0);
  Put16(out_, static_cast<uint16_t>(entries_.size()));
  Put16(out_, static_cast<uint16_t>(entries_.size()));
  Put32(out_, directorySize);
  Put32(out_, Small(directory));
  Put16(out_, 0);
  return std::move(out_);
}

std::string WriteZip(const std::vector<PackagePart>& parts) {
  ZipWriter zip;
  for (const PackagePart& part : parts) zip.Add(part.name, part.bytes);
  return zip.Finish();
}

}  // namespace tavrin
