#include "support/temp_folder.h"

#include <cstdlib>
#include <sstream>

namespace tq::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "tq474-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  path_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::filesystem::path TempFolder::Write(const std::string& name, const std::string& text) const {
  const auto file = path_ / name;
  std::ofstream(file, std::ios::binary) << text;
  return file;
}

std::filesystem::path TempFolder::WriteBytes(const std::string& name,
                                             const std::vector<uint8_t>& bytes) const {
  const auto file = path_ / name;
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return file;
}

std::string TempFolder::Read(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

void TempFolder::CopyShippedProgramFiles() const {
  const std::filesystem::path shipped = TQ474_PROGRAM_DIR;
  for (const char* name : {"PX220_KR.exe", "TQ474.ini"}) {
    std::filesystem::copy_file(shipped / name, path_ / name,
                               std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace tq::testing
