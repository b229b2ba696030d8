#include "files/data_file.h"

#include <algorithm>
#include <string>

#include "base/failure.h"
#include "base/file_io.h"
#include "image/memory_image.h"

namespace tq {
namespace {
constexpr std::size_t kFillerStart = 0x0010;
constexpr std::size_t kFillerSize = 16;
constexpr std::size_t kShiftedEnd = 0x040F;  // last file offset of the shifted block
}  // namespace

std::vector<uint8_t> DataFileBytes(const MemoryImage& image) {
  const auto src = image.bytes();
  std::vector<uint8_t> file(src.begin(), src.end());
  for (std::size_t k = kFillerStart; k < file.size(); ++k) {
    if (k < kFillerStart + kFillerSize) {
      file[k] = 0xFF;
    } else if (k <= kShiftedEnd) {
      file[k] = src[k - kFillerSize];
    }
  }
  return file;
}

void ShiftLoadedImage(MemoryImage& image) {
  auto bytes = image.bytes();
  for (std::size_t k = kFillerStart + kFillerSize; k <= kShiftedEnd && k < bytes.size(); ++k) {
    bytes[k - kFillerSize] = bytes[k];
  }
}

void LoadDataFile(const std::filesystem::path& path, MemoryImage& image) {
  const std::vector<uint8_t> file = ReadFileBytes(path, image.size(), "DataFile");
  if (file.empty()) {
    throw Failure(err::kInputPastEnd, "DataFile", path.string() + ": the file is empty");
  }
  auto bytes = image.bytes();
  std::copy(file.begin(), file.end(), bytes.begin());
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(file.size()), bytes.end(), uint8_t{0xFF});
  ShiftLoadedImage(image);
}

void SaveDataFile(const std::filesystem::path& path, const MemoryImage& image) {
  const std::vector<uint8_t> file = DataFileBytes(image);
  WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(file.data()), file.size()), "DataFile");
}

}  // namespace tq
