#pragma once

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

// A zip archive of the parts, in the order given, compressed.
std::string WriteZip(const std::vector<PackagePart>& parts);

}  // namespace tavrin
