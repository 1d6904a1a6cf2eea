#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tavrin {

// The whole file's bytes; a missing or unreadable file fails (FileError).
std::string ReadFileBytes(const std::filesystem::path& path);

// Writes the bytes to a temporary file in the target's folder, flushes it to disk, then renames
// it over the target, so a reader sees the old file or the new one, never a part. A symbolic
// link is written through to where it leads, and stays a link. On failure, or when the process is
// interrupted or terminated (SIGINT, SIGTERM, SIGXFSZ), the temporary file is removed and the
// target is left as it was; a failure throws FileError.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

}  // namespace tavrin
