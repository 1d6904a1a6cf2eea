#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrin {

// The whole file's bytes; a missing or unreadable file fails (FileError).
std::string ReadFileBytes(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the target's folder, flushes it to disk, then renames
// it over the target, so a reader sees the old file or the new one, never a part. On failure
// the temporary file is removed, the target is left as it was, and FileError is thrown.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tavrin
