// The data file (".dat"): one memory image on disk, no header, DatNum + 1 bytes, with the first
// kilobyte shifted behind a 16-byte filler block:
//
//   file offsets    content
//   0x0000-0x000F   image 0x0000-0x000F
//   0x0010-0x001F   filler, every byte 0xFF; ignored when reading
//   0x0020-0x040F   image 0x0010-0x03FF
//   0x0410-...      image 0x0410-...
//
// Image 0x0400-0x040F has no place in the file; reading takes it from file offsets
// 0x0400-0x040F, which hold image 0x03F0-0x03FF of the image that was saved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tq {

class MemoryImage;

inline constexpr const char* kDataFolderName = "Data";
inline constexpr const char* kDefaultDataFileName = "Untitled.dat";

// The file bytes of `image`; the image itself does not change.
std::vector<uint8_t> DataFileBytes(const MemoryImage& image);

// Moves file offsets 0x0020-0x040F to image 0x0010-0x03FF, ascending, in place.
void ShiftLoadedImage(MemoryImage& image);

// Reads a data file into `image` (its first DatNum + 1 bytes, byte k into address k) and then
// shifts the first kilobyte. A file shorter than the image is read as far as it goes; the
// image bytes beyond its end become 0xFF, the erased state of the radio's memory. An empty
// file, a folder or an unreadable file throws Failure and leaves the image unchanged.
void LoadDataFile(const std::filesystem::path& path, MemoryImage& image);

// Writes the file bytes of `image` to `path` atomically; a failure throws Failure and leaves
// any existing file as it was.
void SaveDataFile(const std::filesystem::path& path, const MemoryImage& image);

}  // namespace tq
