#include "files/image_file.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/failure.h"
#include "base/file_io.h"
#include "files/data_file.h"
#include "image/memory_image.h"

namespace tq {

bool IsRadioImageFile(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == kRadioImageExtension;
}

void LoadRadioImage(const std::filesystem::path& path, MemoryImage& image) {
  // One byte more than the image tells a file that is too long from one that fits.
  const std::vector<uint8_t> file = ReadFileBytes(path, image.size() + 1, "RadioImage");
  if (file.size() != image.size()) {
    throw Failure(err::kReadFromFile, "RadioImage",
                  path.string() + ": a radio image holds " + std::to_string(image.size()) +
                      " bytes; this file holds " +
                      (file.size() > image.size() ? "more" : std::to_string(file.size())));
  }
  std::copy(file.begin(), file.end(), image.bytes().begin());
}

void SaveRadioImage(const std::filesystem::path& path, const MemoryImage& image) {
  const auto bytes = image.bytes();
  WriteFileAtomically(path,
                      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                      "RadioImage");
}

void LoadImageFile(const std::filesystem::path& path, MemoryImage& image) {
  if (IsRadioImageFile(path)) {
    LoadRadioImage(path, image);
  } else {
    LoadDataFile(path, image);
  }
}

void SaveImageFile(const std::filesystem::path& path, const MemoryImage& image) {
  if (IsRadioImageFile(path)) {
    SaveRadioImage(path, image);
  } else {
    SaveDataFile(path, image);
  }
}

}  // namespace tq
