// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tq::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // Writes `text` (or bytes) to a file in the folder and returns its path.
  std::filesystem::path Write(const std::string& name, const std::string& text) const;
  std::filesystem::path WriteBytes(const std::string& name,
                                   const std::vector<uint8_t>& bytes) const;
  // Reads a whole file of the folder (or any path) as text.
  static std::string Read(const std::filesystem::path& file);

  // Makes the folder a program folder: copies of the shipped default image and settings file.
  void CopyShippedProgramFiles() const;

 private:
  std::filesystem::path path_;
};

}  // namespace tq::testing
