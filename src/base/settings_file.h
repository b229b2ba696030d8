// The private-profile settings file: "[Section]" lines open sections, "key=value" lines hold
// values. Names match without regard to case; values are trimmed and cut to the reader's length.
// Every call reads or writes the file at once; nothing is cached between calls.
#pragma once

#include <cstddef>
#include <filesystem>
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
  void WriteSetting(std::string_view section, std::string_view key, std::string_view value) const;

  const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

// The settings file's name in the program's folder.
inline constexpr const char* kSettingsFileName = "TQ474.ini";

}  // namespace tq
