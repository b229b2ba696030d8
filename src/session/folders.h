// Where a run keeps its files. The shipped defaults (the default image, the manuals and the
// settings file a first run starts from) stay where the program was installed or unpacked. A
// program folder that can be written (a build tree, an unpacked folder, --home DIR) holds
// everything, as it always did. An installed program, whose folder cannot be written, keeps the
// settings file in the user's configuration folder and Data/, the backups and the transfer log
// in the user's data folder.
#pragma once

#include <filesystem>
#include <string>

namespace tq {

struct Folders {
  std::filesystem::path shipped;       // default image, manuals, the shipped settings file
  std::filesystem::path settingsFile;  // the settings file in use
  std::filesystem::path data;          // Data/, backups/, transfers.jsonl

  // Everything in one folder.
  static Folders In(const std::filesystem::path& folder);
  bool operator==(const Folders&) const = default;
};

// The three places as lines a user reads ("settings: …", "data: …", "defaults: …").
std::string FoldersText(const Folders& folders);

// The user's own folders for this program ("TQ474" in each).
struct UserFolders {
  std::filesystem::path config;  // $XDG_CONFIG_HOME/TQ474, else ~/.config/TQ474
  std::filesystem::path data;    // $XDG_DATA_HOME/TQ474, else ~/.local/share/TQ474
};

// The user's folders from the environment.
UserFolders UserFoldersFromEnvironment();

// The folders of a program whose executable lies in `executableFolder`: its shipped defaults are
// beside it, or in ../share/tq474 (an installation's layout). When that folder can be written,
// everything stays there; otherwise the user's folders take the settings file and the data. A
// folder under /usr counts as not writable even for root.
Folders FoldersFor(const std::filesystem::path& executableFolder, const UserFolders& user);

}  // namespace tq
