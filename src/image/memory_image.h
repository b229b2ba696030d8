// The memory image: one byte per EEPROM address, 0 to DatNum (8191 for the TQ-474, so
// 0x0000-0x1FFF). Every byte the editor interprets lies in the first kilobyte:
//
//   0x0010-0x010F  16 channel records of 16 bytes     0x0330-0x0334  last-write stamp
//   0x012F-0x013B  option bytes                       0x0379         model index
//   0x0170-0x0171  channel flag word (little-endian)  0x037A-0x037D  band limits (BCD)
//   0x03D3, 0x03D8 crystal identification             0x03F6-0x03FF  option bytes
//
// The rest is carried unchanged through reads, writes and files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tq {

inline constexpr int kDefaultDatNum = 8191;
// The default image file in the program's folder: a raw image, byte k at address k.
inline constexpr const char* kDefaultImageFileName = "PX220_KR.exe";

class MemoryImage {
 public:
  // Addresses 0 to datNum, all bytes 0. A datNum below 0 gives an empty image.
  explicit MemoryImage(int datNum = kDefaultDatNum);

  int DatNum() const noexcept { return static_cast<int>(bytes_.size()) - 1; }
  std::size_t size() const noexcept { return bytes_.size(); }

  // Byte access; an address outside 0 to DatNum throws Failure 9 (index out of range).
  uint8_t at(int address) const;
  void set(int address, uint8_t value);

  std::span<uint8_t> bytes() noexcept { return bytes_; }
  std::span<const uint8_t> bytes() const noexcept { return bytes_; }

  bool operator==(const MemoryImage&) const = default;

 private:
  std::vector<uint8_t> bytes_;
};

// Loads the default image into `image` and `temp` (InitTempArray): as many bytes as the image
// holds, from offset 0. A missing or unreadable file throws Failure and changes neither image;
// a short file fills the images as far as it goes and leaves the remaining bytes as they were.
void InitTempArray(const std::filesystem::path& programFolder, MemoryImage& image,
                   MemoryImage& temp);

}  // namespace tq
