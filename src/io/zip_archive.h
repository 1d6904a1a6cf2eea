#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/zip_reader.h"

namespace tavrin {

class ParallelDeflate;

// A zip archive made as it goes: each entry deflated while its bytes come, so a large part is
// never held whole. Entries carry their sizes and checksum in their local header (patched when
// the entry ends), names are UTF-8, dates 1980-01-01 as the host writes them. The bytes of an
// entry gather in blocks, and full blocks are deflated on worker threads while the caller makes
// the next ones.
class ZipWriter {
 public:
  ZipWriter();
  ~ZipWriter();
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  // An entry given whole.
  void Add(const std::string& name, std::string_view bytes);
  // An entry whose bytes come in pieces: Begin, Write as often as needed, End.
  void Begin(const std::string& name);
  void Write(std::string_view bytes);
  void End();
  // The archive: its entries, then the central directory.
  std::string Finish();

 private:
  struct Entry {
    std::string name;
    uint32_t crc = 0;
    uint64_t compressed = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
  };

  std::string out_;
  std::vector<Entry> entries_;
  Entry entry_;        // the entry being made
  std::string block_;  // its bytes not yet handed to the deflater
  std::unique_ptr<ParallelDeflate> deflate_;
};

// A zip archive of the parts, in the order given, compressed.
std::string WriteZip(const std::vector<PackagePart>& parts);

}  // namespace tavrin
