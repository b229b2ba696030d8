#include "session/folders.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "base/settings_file.h"

namespace tq {
namespace {

constexpr const char* kUserFolderName = "TQ474";

bool Writable(const std::filesystem::path& folder) {
  const std::string text = std::filesystem::absolute(folder).lexically_normal().string();
  // An installation belongs to the package manager, whoever runs the program.
  if (text.rfind("/usr/", 0) == 0) return false;
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path FromEnvironment(const char* variable, const char* underHome) {
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return std::filesystem::path(value) / kUserFolderName;
  }
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home != nullptr ? home : "/tmp") / underHome / kUserFolderName;
}

}  // namespace

Folders Folders::In(const std::filesystem::path& folder) {
  return Folders{folder, folder / kSettingsFileName, folder};
}

std::string FoldersText(const Folders& folders) {
  return "settings: " + folders.settingsFile.string() + "\ndata: " + folders.data.string() +
         "\ndefaults: " + folders.shipped.string() + "\n";
}

UserFolders UserFoldersFromEnvironment() {
  return UserFolders{FromEnvironment("XDG_CONFIG_HOME", ".config"),
                     FromEnvironment("XDG_DATA_HOME", ".local/share")};
}

Folders FoldersFor(const std::filesystem::path& executableFolder, const UserFolders& user) {
  std::error_code ignored;
  std::filesystem::path shipped = executableFolder;
  const std::filesystem::path installed = executableFolder / ".." / "share" / "tq474";
  if (!std::filesystem::exists(executableFolder / kSettingsFileName, ignored) &&
      std::filesystem::exists(installed / kSettingsFileName, ignored)) {
    shipped = installed.lexically_normal();
  }
  if (Writable(shipped)) return Folders::In(shipped);
  return Folders{shipped, user.config / kSettingsFileName, user.data};
}

}  // namespace tq
