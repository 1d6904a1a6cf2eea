#include "io/zip_archive.h"

#include <zip.h>

#include <algorithm>
#include <memory>

#include "io/file_error.h"

namespace tavrin {

namespace {

// Fast deflate: the parts are mostly XML, which compresses well at any level, and writing a
// large sheet should take well under a second.
constexpr zip_uint32_t kCompressionLevel = 1;

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
    // The declared size is only a claim: the bytes grow as they are inflated, up to it.
    std::string bytes;
    while (bytes.size() < stat.size) {
      size_t offset = bytes.size();
      size_t chunk = static_cast<size_t>(std::min<zip_uint64_t>(kReadChunk, stat.size - offset));
      bytes.resize(offset + chunk);
      zip_int64_t read = zip_fread(file.get(), bytes.data() + offset, chunk);
      if (read <= 0) Fail("the archive is damaged at " + name, zip_file_get_error(file.get()));
      bytes.resize(offset + static_cast<size_t>(read));
    }
    parts.push_back({std::move(name), std::move(bytes)});
  }
  return parts;
}

std::string WriteZip(const std::vector<PackagePart>& parts) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (target == nullptr) Fail("cannot make the archive", &error);
  zip_source_keep(target);
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(target, zip_source_free);
  Archive zip(zip_open_from_source(target, ZIP_TRUNCATE, &error));
  if (!zip) Fail("cannot make the archive", &error);
  for (const PackagePart& part : parts) {
    zip_source_t* source = zip_source_buffer(zip.get(), part.bytes.data(), part.bytes.size(), 0);
    zip_int64_t index =
        source ? zip_file_add(zip.get(), part.name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0) {
      if (source) zip_source_free(source);
      Fail("cannot add " + part.name, zip_get_error(zip.get()));
    }
    zip_set_file_compression(zip.get(), index, ZIP_CM_DEFLATE, kCompressionLevel);
  }
  if (zip_close(zip.get()) != 0) Fail("cannot write the archive", zip_get_error(zip.get()));
  zip.release();
  zip_stat_t stat;
  if (zip_source_stat(target, &stat) != 0 || zip_source_open(target) != 0) {
    Fail("cannot write the archive", zip_source_error(target));
  }
  std::string bytes(stat.size, '\0');
  zip_int64_t read = zip_source_read(target, bytes.data(), bytes.size());
  zip_source_close(target);
  if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
    Fail("cannot write the archive", zip_source_error(target));
  }
  return bytes;
}

}  // namespace tavrin
