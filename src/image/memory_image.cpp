#include "image/memory_image.h"

#include <algorithm>

#include "base/failure.h"
#include "base/file_io.h"

namespace tq {

MemoryImage::MemoryImage(int datNum)
    : bytes_(datNum >= 0 ? static_cast<std::size_t>(datNum) + 1 : 0) {}

uint8_t MemoryImage::at(int address) const {
  if (address < 0 || static_cast<std::size_t>(address) >= bytes_.size()) {
    throw Failure(err::kIndexOutOfRange, "IicDat", "address " + std::to_string(address));
  }
  return bytes_[static_cast<std::size_t>(address)];
}

void MemoryImage::set(int address, uint8_t value) {
  if (address < 0 || static_cast<std::size_t>(address) >= bytes_.size()) {
    throw Failure(err::kIndexOutOfRange, "IicDat", "address " + std::to_string(address));
  }
  bytes_[static_cast<std::size_t>(address)] = value;
}

void InitTempArray(const std::filesystem::path& programFolder, MemoryImage& image,
                   MemoryImage& temp) {
  const std::vector<uint8_t> file =
      ReadFileBytes(programFolder / kDefaultImageFileName, image.size(), kDefaultImageFileName);
  std::copy(file.begin(), file.end(), image.bytes().begin());
  const std::size_t count = std::min(file.size(), temp.size());
  std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(count), temp.bytes().begin());
}

}  // namespace tq
