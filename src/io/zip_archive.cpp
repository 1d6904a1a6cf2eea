#include "io/zip_archive.h"

#include <zip.h>

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
  std::vector<PackagePart> parts;
  zip_int64_t count = zip_get_num_entries(zip.get(), 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(zip.get(), i, 0, &stat) != 0)
      Fail("the archive is damaged", zip_get_error(zip.get()));
    std::string name = stat.name;
    if (!name.empty() && name.back() == '/') continue;  // a folder entry
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(zip.get(), i, 0));
    if (!file) Fail("the archive is damaged at " + name, zip_get_error(zip.get()));
    std::string bytes(stat.size, '\0');
    zip_int64_t read = zip_fread(file.get(), bytes.data(), bytes.size());
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
      Fail("the archive is damaged at " + name, zip_file_get_error(file.get()));
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
