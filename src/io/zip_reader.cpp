#include "io/zip_reader.h"

#include <isa-l/igzip_lib.h>
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

// An entry being read: a deflated one's raw bytes inflated here by ISA-L (twice as fast as
// zlib, which libzip uses), its checksum and size compared at the end; any other through libzip.
struct ZipEntries::Inflater::File {
  zip_file_t* file = nullptr;
  bool deflated = false;
  std::unique_ptr<inflate_state> state;
  std::vector<uint8_t> input;  // raw bytes read, not yet inflated
  bool inputEnded = false;
  uint32_t crc = 0;  // what the directory says
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
    bool deflated = (stat.valid & ZIP_STAT_COMP_METHOD) && stat.comp_method == ZIP_CM_DEFLATE &&
                    (stat.valid & ZIP_STAT_ENCRYPTION_METHOD) &&
                    stat.encryption_method == ZIP_EM_NONE && (stat.valid & ZIP_STAT_CRC);
    entries_.push_back({static_cast<uint64_t>(i), std::move(name), stat.size, deflated, stat.crc});
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
  file->file = zip_fopen_index(archive_->zip, e.index, e.deflated ? ZIP_FL_COMPRESSED : 0);
  if (e.deflated) {
    file->deflated = true;
    file->crc = e.crc;
    file->state = std::make_unique<inflate_state>();
    isal_inflate_init(file->state.get());
    file->state->crc_flag = ISAL_GZIP_NO_HDR;  // raw deflate, its CRC-32 kept
  }
  if (file->file == nullptr)
    Fail("the archive is damaged at " + e.name, zip_get_error(archive_->zip));
  // The declared size is only a claim: the bytes grow as they are inflated, up to it (and a byte
  // past it, to find an entry longer than it says). Room for a claim up to a bound is taken at
  // once (untouched until filled), so a large part is not copied as it grows.
  bytes.reserve(bytes.size() + static_cast<size_t>(std::min(e.claim, kRoomTakenAtOnce)) + 1);
  return Inflater(std::move(file), e.name, e.claim);
}

bool ZipEntries::Inflater::StaysPut() const {
  return claim_ <= kRoomTakenAtOnce;
}

bool ZipEntries::Inflater::More(std::string& bytes) {
  if (file_->deflated) return MoreInflated(bytes);
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

bool ZipEntries::Inflater::MoreInflated(std::string& bytes) {
  inflate_state& state = *file_->state;
  if (state.block_state == ISAL_BLOCK_FINISH) return false;
  // Past the claim, a byte of room shows whether the entry holds more than it says.
  size_t offset = bytes.size();
  size_t chunk = static_cast<size_t>(std::min<uint64_t>(kReadChunk, std::max<uint64_t>(claim_, 1)));
  bytes.resize(offset + chunk);
  state.next_out = reinterpret_cast<uint8_t*>(bytes.data() + offset);
  state.avail_out = static_cast<uint32_t>(chunk);
  while (state.avail_out > 0 && state.block_state != ISAL_BLOCK_FINISH) {
    if (state.avail_in == 0 && !file_->inputEnded) {
      file_->input.resize(kReadChunk / 4);
      zip_int64_t read = zip_fread(file_->file, file_->input.data(), file_->input.size());
      if (read < 0) Fail("the archive is damaged at " + name_, zip_file_get_error(file_->file));
      file_->inputEnded = read == 0;
      state.next_in = file_->input.data();
      state.avail_in = static_cast<uint32_t>(read);
    }
    uint64_t before = uint64_t{state.avail_out} + state.avail_in;
    bool stuck =
        isal_inflate(&state) < 0 ||
        (uint64_t{state.avail_out} + state.avail_in == before &&
         state.block_state != ISAL_BLOCK_FINISH && (file_->inputEnded || state.avail_in > 0));
    if (stuck)
      throw FormatError("the archive is damaged at " + name_ + " (its data do not inflate)");
  }
  size_t produced = chunk - state.avail_out;
  bytes.resize(offset + produced);
  if (produced > claim_)
    throw FormatError("the archive is damaged at " + name_ + " (longer than it says)");
  claim_ -= produced;
  if (state.block_state == ISAL_BLOCK_FINISH && (claim_ != 0 || state.crc != file_->crc))
    throw FormatError("the archive is damaged at " + name_ + " (its checksum or size is wrong)");
  return produced > 0 || state.block_state != ISAL_BLOCK_FINISH;
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
