#include "io/zip_archive.h"

#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "io/file_error.h"

namespace tavrin {

namespace {

// Fast deflate: the parts are mostly XML, which compresses well at any level, and writing a
// large sheet should take well under a second.
constexpr int kCompressionLevel = 1;

[[noreturn]] void Fail(const std::string& what, zip_error_t* error) {
  std::string reason = what + " (" + zip_error_strerror(error) + ")";
  zip_error_fini(error);
  throw FormatError(reason);
}

struct ArchiveCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// What a package may expand to. The host's largest sheet, 65536 rows of 256 cells of some 60
// bytes of XML each, is about 1 GB; no real workbook needs more, and a zip bomb is refused before
// any of it is inflated. Entries are counted too: a real workbook has a few hundred parts.
constexpr zip_uint64_t kMostExpandedBytes = zip_uint64_t{1} << 30;
constexpr zip_int64_t kMostEntries = 100000;
constexpr size_t kReadChunk = size_t{1} << 20;
constexpr zip_uint64_t kRoomTakenAtOnce = zip_uint64_t{64} << 20;

struct FileCloser {
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

std::vector<PackagePart> ReadZip(std::string_view archive) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
  if (source == nullptr) Fail("the archive is damaged", &error);
  Archive zip(zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error));
  if (!zip) {
    zip_source_free(source);
    Fail("the archive is damaged", &error);
  }
  zip_error_fini(&error);
  zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  if (count > kMostEntries) throw FormatError("the archive has more parts than any workbook");
  std::vector<zip_stat_t> entries(static_cast<size_t>(count));
  zip_uint64_t declared = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t& stat = entries[static_cast<size_t>(i)];
    if (zip_stat_index(zip.get(), i, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.name == nullptr)
      Fail("the archive is damaged", zip_get_error(zip.get()));
    declared += std::min(stat.size, kMostExpandedBytes + 1);
  }
  if (declared > kMostExpandedBytes)
    throw FormatError("it expands to more than 1 GB, more than any workbook holds");
  std::vector<PackagePart> parts;
  for (zip_int64_t i = 0; i < count; ++i) {
    const zip_stat_t& stat = entries[static_cast<size_t>(i)];
    std::string name = stat.name;
    if (!name.empty() && name.back() == '/') continue;  // a folder entry
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(zip.get(), i, 0));
    if (!file) Fail("the archive is damaged at " + name, zip_get_error(zip.get()));
    // The declared size is only a claim: the bytes grow as they are inflated, up to it. Room
    // for a claim up to a bound is taken at once (untouched until filled), so a large part is
    // not copied as it grows.
    std::string bytes;
    bytes.reserve(static_cast<size_t>(std::min(stat.size, kRoomTakenAtOnce)));
    while (bytes.size() < stat.size) {
      size_t offset = bytes.size();
      size_t chunk = static_cast<size_t>(std::min<zip_uint64_t>(kReadChunk, stat.size - offset));
      bytes.resize(offset + chunk);
      zip_int64_t read = zip_fread(file.get(), bytes.data() + offset, chunk);
      if (read <= 0) Fail("the archive is damaged at " + name, zip_file_get_error(file.get()));
      bytes.resize(offset + static_cast<size_t>(read));
    }
    if (bytes.capacity() - bytes.size() > kReadChunk) bytes.shrink_to_fit();  // a claim too big
    parts.push_back({std::move(name), std::move(bytes)});
  }
  return parts;
}

// The archive's records, little-endian as zip has them.
namespace {

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

struct ZipWriter::Entry {
  std::string name;
  uint32_t crc = 0;
  uint64_t compressed = 0;
  uint64_t size = 0;
  uint64_t offset = 0;
};

struct ZipWriter::Stream {
  z_stream z{};
  Entry entry;
};

// The second thread: deflates one block at a time, handed over under the lock.
struct ZipWriter::Deflater {
  std::mutex lock;
  std::condition_variable changed;
  std::string block;
  bool busy = false;
  bool stopping = false;
  std::exception_ptr failure;
  std::thread thread;
};

namespace {

// Big enough that handing over costs nothing beside deflating, small enough to stay in cache.
constexpr size_t kBlock = size_t{1} << 20;

}  // namespace

ZipWriter::ZipWriter() = default;

ZipWriter::~ZipWriter() {
  if (deflater_) {
    {
      std::lock_guard<std::mutex> hold(deflater_->lock);
      deflater_->stopping = true;
    }
    deflater_->changed.notify_all();
    deflater_->thread.join();
  }
  if (stream_) deflateEnd(&stream_->z);
}

void ZipWriter::Add(const std::string& name, std::string_view bytes) {
  Begin(name);
  stream_->entry.size += bytes.size();
  Deflate(bytes, false);
  End();
}

void ZipWriter::HandOver() {
  if (!deflater_) {
    deflater_ = std::make_unique<Deflater>();
    deflater_->thread = std::thread([this, &d = *deflater_] {
      std::unique_lock<std::mutex> hold(d.lock);
      for (;;) {
        d.changed.wait(hold, [&] { return d.busy || d.stopping; });
        if (!d.busy) return;
        hold.unlock();
        std::exception_ptr failure;
        try {
          Deflate(d.block, false);
        } catch (...) {
          failure = std::current_exception();
        }
        hold.lock();
        d.failure = failure;
        d.busy = false;
        d.changed.notify_all();
      }
    });
  }
  WaitForDeflater();
  {
    std::lock_guard<std::mutex> hold(deflater_->lock);
    std::swap(deflater_->block, block_);
    deflater_->busy = true;
  }
  deflater_->changed.notify_all();
  block_.clear();
}

void ZipWriter::WaitForDeflater() {
  if (!deflater_) return;
  std::unique_lock<std::mutex> hold(deflater_->lock);
  deflater_->changed.wait(hold, [&] { return !deflater_->busy; });
  if (std::exception_ptr failure = std::exchange(deflater_->failure, nullptr))
    std::rethrow_exception(failure);
}

void ZipWriter::Begin(const std::string& name) {
  stream_ = std::make_unique<Stream>();
  if (deflateInit2(&stream_->z, kCompressionLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    stream_.reset();
    throw FormatError("cannot make the archive (no memory to compress)");
  }
  Entry& entry = stream_->entry;
  entry.name = name;
  entry.offset = out_.size();
  entry.crc = static_cast<uint32_t>(crc32(0, nullptr, 0));
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
  stream_->entry.size += bytes.size();
  block_.append(bytes);
  if (block_.size() >= kBlock) HandOver();
}

void ZipWriter::Deflate(std::string_view bytes, bool last) {
  Entry& entry = stream_->entry;
  // crc32 takes at most an unsigned int of bytes at a time.
  for (std::string_view rest = bytes; !rest.empty();) {
    size_t piece = std::min<size_t>(rest.size(), 1u << 30);
    entry.crc = static_cast<uint32_t>(
        crc32(entry.crc, reinterpret_cast<const Bytef*>(rest.data()), static_cast<uInt>(piece)));
    rest.remove_prefix(piece);
  }
  z_stream& z = stream_->z;
  // zlib counts in unsigned ints: the bytes go in pieces of at most 1 GB.
  do {
    size_t piece = std::min<size_t>(bytes.size(), 1u << 30);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(piece);
    bytes.remove_prefix(piece);
    int flush = last && bytes.empty() ? Z_FINISH : Z_NO_FLUSH;
    int status = Z_OK;
    // Until zlib leaves room unused (all it holds is out) or, finishing, ends the stream.
    do {
      constexpr size_t kRoom = size_t{1} << 18;
      size_t at = out_.size();
      out_.resize(at + kRoom);
      z.next_out = reinterpret_cast<Bytef*>(out_.data() + at);
      z.avail_out = static_cast<uInt>(kRoom);
      status = deflate(&z, flush);
      out_.resize(at + kRoom - z.avail_out);
      if (status == Z_STREAM_ERROR) throw FormatError("cannot compress the archive");
    } while (flush == Z_FINISH ? status != Z_STREAM_END : z.avail_out == 0);
  } while (!bytes.empty());
}

void ZipWriter::End() {
  WaitForDeflater();
  Deflate(block_, true);
  block_.clear();
  deflateEnd(&stream_->z);
  Entry entry = std::move(stream_->entry);
  stream_.reset();
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
