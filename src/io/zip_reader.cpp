#include "io/zip_reader.h"

#include <zip.h>

#include <algorithm>
#include <utility>

#include "io/file_error.h"

namespace tavrin {

namespace {

[[noreturn]] void Fail(const std::string& what, zip_error_t* error) {
  std::string reason = what + " (" + zip_error_strerror(error) + ")";
  zip_error_fini(error);
  throw FormatError(reason);
}

// What a package may expand to. The host's largest sheet, 65536 rows of 256 cells of some 60
// bytes of XML each, is about 1 GB; no real workbook needs more, and a zip bomb is refused before
// any of it is inflated. Entries are counted too: a real workbook has a few hundred parts.
constexpr zip_uint64_t kMostExpandedBytes = zip_uint64_t{1} << 30;
constexpr zip_int64_t kMostEntries = 100000;
constexpr size_t kReadChunk = size_t{1} << 20;
constexpr zip_uint64_t kRoomTakenAtOnce = zip_uint64_t{64} << 20;

}  // namespace

struct ZipEntries::Archive {
  zip_t* zip = nullptr;
  ~Archive() {
    if (zip != nullptr) zip_discard(zip);
  }
};

struct ZipEntries::Inflater::File {
  zip_file_t* file = nullptr;
  ~File() {
    if (file != nullptr) zip_fclose(file);
  }
};

ZipEntries::ZipEntries(std::string_view archive) : archive_(std::make_unique<Archive>()) {
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* source = zip_source_buffer_create(archive.data(), archive.size(), 0, &error);
  if (source == nullptr) Fail("the archive is damaged", &error);
  archive_->zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (archive_->zip == nullptr) {
    zip_source_free(source);
    Fail("the archive is damaged", &error);
  }
  zip_error_fini(&error);
  zip_int64_t count = zip_get_num_entries(archive_->zip, 0);
  if (count > kMostEntries) throw FormatError("the archive has more parts than any workbook");
  zip_uint64_t declared = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    if (zip_stat_index(archive_->zip, i, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        stat.name == nullptr)
      Fail("the archive is damaged", zip_get_error(archive_->zip));
    declared += std::min(stat.size, kMostExpandedBytes + 1);
    std::string name = stat.name;
    if (!name.empty() && name.back() == '/') continue;  // a folder entry
    entries_.push_back({static_cast<uint64_t>(i), std::move(name), stat.size});
  }
  if (declared > kMostExpandedBytes)
    throw FormatError("it expands to more than 1 GB, more than any workbook holds");
}

ZipEntries::~ZipEntries() = default;

ZipEntries::Inflater::Inflater(std::unique_ptr<File> file, std::string name, uint64_t claim)
    : file_(std::move(file)), name_(std::move(name)), claim_(claim) {}
ZipEntries::Inflater::~Inflater() = default;
ZipEntries::Inflater::Inflater(Inflater&&) noexcept = default;

ZipEntries::Inflater ZipEntries::Open(size_t entry, std::string& bytes) {
  const Entry& e = entries_[entry];
  auto file = std::make_unique<Inflater::File>();
  file->file = zip_fopen_index(archive_->zip, e.index, 0);
  if (file->file == nullptr)
    Fail("the archive is damaged at " + e.name, zip_get_error(archive_->zip));
  // The declared size is only a claim: the bytes grow as they are inflated, up to it. Room for a
  // claim up to a bound is taken at once (untouched until filled), so a large part is not copied
  // as it grows.
  bytes.reserve(bytes.size() + static_cast<size_t>(std::min(e.claim, kRoomTakenAtOnce)));
  return Inflater(std::move(file), e.name, e.claim);
}

bool ZipEntries::Inflater::StaysPut() const {
  return claim_ <= kRoomTakenAtOnce;
}

bool ZipEntries::Inflater::More(std::string& bytes) {
  if (claim_ == 0) return false;
  size_t offset = bytes.size();
  size_t chunk = static_cast<size_t>(std::min<uint64_t>(kReadChunk, claim_));
  bytes.resize(offset + chunk);
  zip_int64_t read = zip_fread(file_->file, bytes.data() + offset, chunk);
  if (read <= 0) Fail("the archive is damaged at " + name_, zip_file_get_error(file_->file));
  bytes.resize(offset + static_cast<size_t>(read));
  claim_ -= static_cast<uint64_t>(read);
  return true;
}

std::string ZipEntries::Inflate(size_t entry) {
  std::string bytes;
  Inflater inflater = Open(entry, bytes);
  while (inflater.More(bytes)) {
  }
  if (bytes.capacity() - bytes.size() > kReadChunk) bytes.shrink_to_fit();  // a claim too big
  return bytes;
}

std::vector<PackagePart> ReadZip(std::string_view archive) {
  ZipEntries entries(archive);
  std::vector<PackagePart> parts;
  for (size_t i = 0; i < entries.Count(); ++i)
    parts.push_back({entries.Name(i), entries.Inflate(i)});
  return parts;
}

}  // namespace tavrin
