#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// One file of a zip archive: its name inside the archive and its bytes.
struct PackagePart {
  std::string name;
  std::string bytes;
};

// The files of a zip archive held in memory, inflated one at a time when asked for, on whichever
// thread asks (one at a time). Opening checks the directory and refuses more entries or more
// expanded bytes than any workbook has; a damaged entry or a checksum that does not match fails
// when the entry is read (FormatError).
class ZipEntries {
 public:
  explicit ZipEntries(std::string_view archive);
  ~ZipEntries();
  ZipEntries(const ZipEntries&) = delete;
  ZipEntries& operator=(const ZipEntries&) = delete;

  // The files, in archive order, folder entries left out.
  size_t Count() const { return entries_.size(); }
  const std::string& Name(size_t entry) const { return entries_[entry].name; }
  // The size the archive claims for a file; it may lie.
  uint64_t Claim(size_t entry) const { return entries_[entry].claim; }

  // A file's bytes inflated a piece at a time onto the end of a text. Room is taken once for a
  // claim up to 64 MB, so while a claim that small is read, the text is never moved.
  class Inflater {
   public:
    ~Inflater();
    Inflater(Inflater&&) noexcept;
    // Appends up to a MB more of the file to the text; false, appending nothing, once the file
    // is whole.
    bool More(std::string& bytes);
    // Whether a text given room at the start stays where it is to the end.
    bool StaysPut() const;

   private:
    friend class ZipEntries;
    struct File;
    Inflater(std::unique_ptr<File> file, std::string name, uint64_t claim);
    // More, for a deflated entry inflated here.
    bool MoreInflated(std::string& bytes);
    std::unique_ptr<File> file_;
    std::string name_;
    uint64_t claim_;
  };
  // Starts reading a file, giving the text its room.
  Inflater Open(size_t entry, std::string& bytes);
  // A file's bytes, whole.
  std::string Inflate(size_t entry);

 private:
  struct Archive;
  struct Entry {
    uint64_t index;
    std::string name;
    uint64_t claim;
    bool deflated;  // plainly deflated, not encrypted
    uint32_t crc;
  };
  std::unique_ptr<Archive> archive_;
  std::vector<Entry> entries_;
};

// Every file of a zip archive held in memory, in archive order. A damaged archive (a bad
// directory, a checksum that does not match) fails (FormatError).
std::vector<PackagePart> ReadZip(std::string_view archive);

}  // namespace tavrin
