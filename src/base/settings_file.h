// The private-profile settings file: "[Section]" lines open sections, "key=value" lines hold
// values. Names match without regard to case; values are trimmed and cut to the reader's length.
// Every call reads or writes the file at once. A read parses the file only when it changed since
// the last read (another inode, size or modification time), so that reading many keys of a
// large file does not parse it once a key.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace tq {

class SettingsFile {
 public:
  explicit SettingsFile(std::filesystem::path path) : path_(std::move(path)) {}

  // The trimmed value of `key` in `section`, cut to at most `length` characters; `fallback`
  // when the file, the section or the key is missing.
  std::string ReadSetting(std::string_view section, std::string_view key, std::string_view fallback,
                          std::size_t length) const;

  // Stores `value` under `key`, changing only that line (or adding it, and the section when
  // missing) and keeping every other line, comment and order. The file is replaced atomically;
  // a failure throws Failure and leaves the old file as it was.
  // A value equal to the stored one writes nothing.
  void WriteSetting(std::string_view section, std::string_view key, std::string_view value) const;

  // Removes the temporary files a save that was killed left beside the file (".NAME.XXXXXX",
  // older than a minute, so that a save in progress keeps its own).
  void RemoveStaleTemporaryFiles() const;

  const std::filesystem::path& path() const noexcept { return path_; }

 private:
  struct Parsed;
  std::filesystem::path path_;
  // The last parse and the file it was made of; shared by copies of this object.
  mutable std::shared_ptr<Parsed> parsed_;
};

// The settings file's name in the program's folder.
inline constexpr const char* kSettingsFileName = "TQ474.ini";

}  // namespace tq
