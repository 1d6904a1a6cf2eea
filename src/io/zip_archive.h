#pragma once

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

// Every file of a zip archive held in memory, in archive order. A damaged archive (a bad
// directory, a checksum that does not match) fails (FormatError).
std::vector<PackagePart> ReadZip(std::string_view archive);

// A zip archive made as it goes: each entry deflated while its bytes come, so a large part is
// never held whole. Entries carry their sizes and checksum in their local header (patched when
// the entry ends), names are UTF-8, dates 1980-01-01 as the host writes them. The bytes of a
// streamed entry gather in blocks, and a full block is deflated on a second thread while the
// caller makes the next one.
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
  struct Entry;
  struct Stream;
  struct Deflater;
  // Checks and deflates bytes of the entry; out_ and the stream are the caller's alone while no
  // block is being deflated.
  void Deflate(std::string_view bytes, bool last);
  // Hands the gathered block to the deflating thread, once it is done with the last one.
  void HandOver();
  // Waits until no block is being deflated; a failure there is thrown here.
  void WaitForDeflater();

  std::string out_;
  std::vector<Entry> entries_;
  std::unique_ptr<Stream> stream_;
  std::string block_;
  std::unique_ptr<Deflater> deflater_;
};

// A zip archive of the parts, in the order given, compressed.
std::string WriteZip(const std::vector<PackagePart>& parts);

}  // namespace tavrin
