// The radio image file (".bin"): the radio's memory exactly as it holds it, one byte per address
// from 0x0000 on, no header and no shifted block. Unlike a data file it keeps image 0x0400-0x040F
// and every byte the channel rules do not describe, so it is a byte-exact copy of a radio.
#pragma once

#include <filesystem>

namespace tq {

class MemoryImage;

inline constexpr const char* kRadioImageExtension = ".bin";

// True when `path` names a radio image file (extension ".bin" in any case).
bool IsRadioImageFile(const std::filesystem::path& path);

// Reads a radio image file into `image`. A file that does not hold exactly the image's size
// (8192 bytes) throws Failure naming both sizes and leaves the image unchanged.
void LoadRadioImage(const std::filesystem::path& path, MemoryImage& image);

// Writes the image's bytes to `path` atomically; a failure leaves any existing file as it was.
void SaveRadioImage(const std::filesystem::path& path, const MemoryImage& image);

// A radio image file or a data file, by the extension of `path`.
void LoadImageFile(const std::filesystem::path& path, MemoryImage& image);
void SaveImageFile(const std::filesystem::path& path, const MemoryImage& image);

}  // namespace tq
