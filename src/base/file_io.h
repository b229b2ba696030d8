// Writing a whole file safely: the bytes go to a temporary file beside the target, which then
// replaces the target in one rename, so a failed write never destroys the file that was there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

namespace tq {

// A symbolic link is written through to its target. A target that is not a regular file (a
// folder, a device, a pipe) is refused and left as it is. Throws Failure (with the number of the
// file-system failure) naming `source`.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         const std::string& source);

// Reads at most `limit` bytes of a regular file; throws Failure when it cannot be read or is not
// a regular file (refused before it is opened, so a pipe never blocks the caller).
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path, std::size_t limit,
                                   const std::string& source);

}  // namespace tq
