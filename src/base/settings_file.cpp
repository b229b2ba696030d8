#include "base/settings_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "base/file_io.h"
#include "base/numbers.h"

namespace tq {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

struct Lines {
  std::vector<std::string> lines;
  bool crlf = false;
  bool bom = false;
  bool finalNewline = true;
};

// Reads the file as lines; a missing or unreadable file reads as no lines.
Lines Load(const std::filesystem::path& path) {
  Lines result;
  std::ifstream in(path, std::ios::binary);
  if (!in) return result;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  std::string text = buffer.str();
  if (text.starts_with(kBom)) {
    result.bom = true;
    text.erase(0, kBom.size());
  }
  result.crlf = text.find("\r\n") != std::string::npos;
  result.finalNewline = text.empty() || text.back() == '\n';
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    result.lines.push_back(std::move(line));
    start = end + 1;
  }
  return result;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string_view> SectionOf(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// Splits a "key=value" line; nullopt for comments and lines without an equals sign.
std::optional<std::pair<std::string_view, std::string_view>> KeyValueOf(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return std::nullopt;
  const std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return std::make_pair(Trim(t.substr(0, eq)), Trim(t.substr(eq + 1)));
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// The index key of `key` in `section`, matched without regard to case.
std::string IndexKey(std::string_view section, std::string_view key) {
  return Upper(section) + '\n' + Upper(key);
}

// What identifies one state of the file; a missing file has inode 0.
struct FileStamp {
  ino_t inode = 0;
  off_t size = -1;
  long long modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {info.st_ino, info.st_size,
          static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

}  // namespace

// The values of one state of the file: the first line of each key in each section, in file
// order, as a read that scans the file would find it.
struct SettingsFile::Parsed {
  FileStamp stamp;
  std::unordered_map<std::string, std::string> values;
};

std::string SettingsFile::ReadSetting(std::string_view section, std::string_view key,
                                      std::string_view fallback, std::size_t length) const {
  const FileStamp stamp = StampOf(path_);
  if (!parsed_ || !(parsed_->stamp == stamp) || stamp.inode == 0) {
    auto parsed = std::make_shared<Parsed>();
    parsed->stamp = stamp;
    std::string current;
    bool inSection = false;
    for (const std::string& line : Load(path_).lines) {
      if (const auto name = SectionOf(line)) {
        current = Upper(*name);
        inSection = true;
        continue;
      }
      if (!inSection) continue;
      if (const auto kv = KeyValueOf(line)) {
        parsed->values.try_emplace(current + '\n' + Upper(kv->first), kv->second);
      }
    }
    parsed_ = std::move(parsed);
  }
  const auto found = parsed_->values.find(IndexKey(section, key));
  const std::string_view value = found != parsed_->values.end() ? found->second : fallback;
  return std::string(Trim(CutUtf8(value, length)));
}

void SettingsFile::RemoveStaleTemporaryFiles() const {
  const std::filesystem::path folder =
      path_.has_parent_path() ? path_.parent_path() : std::filesystem::path(".");
  const std::string prefix = "." + path_.filename().string() + ".";
  const auto now = std::filesystem::file_time_type::clock::now();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    // The pattern of the saves: the prefix and six letters or digits.
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
    const std::string_view suffix = std::string_view(name).substr(prefix.size());
    if (!std::all_of(suffix.begin(), suffix.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
      continue;
    }
    std::error_code entryEc;
    if (!entry.is_regular_file(entryEc)) continue;
    const auto modified = entry.last_write_time(entryEc);
    if (entryEc || now - modified < std::chrono::minutes(1)) continue;
    std::filesystem::remove(entry.path(), entryEc);
  }
}

void SettingsFile::WriteSetting(std::string_view section, std::string_view key,
                                std::string_view value) const {
  Lines file = Load(path_);
  const std::string newLine = std::string(key) + "=" + std::string(value);
  bool inSection = false;
  bool sectionFound = false;
  std::size_t insertAt = 0;  // after the last key line of the section
  bool written = false;
  for (std::size_t i = 0; i < file.lines.size() && !written; ++i) {
    if (const auto name = SectionOf(file.lines[i])) {
      if (inSection) break;
      inSection = EqualsNoCase(*name, section);
      if (inSection) {
        sectionFound = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (!inSection) continue;
    const auto kv = KeyValueOf(file.lines[i]);
    if (!kv) continue;
    if (EqualsNoCase(kv->first, key)) {
      if (kv->second == value) return;  // nothing changes
      // Keep the key as the file spells it; only the value changes.
      file.lines[i] = std::string(kv->first) + "=" + std::string(value);
      written = true;
    } else {
      insertAt = i + 1;
    }
  }
  if (!written) {
    if (sectionFound) {
      file.lines.insert(file.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), newLine);
    } else {
      if (!file.lines.empty() && !Trim(file.lines.back()).empty()) file.lines.emplace_back();
      file.lines.push_back("[" + std::string(section) + "]");
      file.lines.push_back(newLine);
    }
  }
  const std::string eol = file.crlf ? "\r\n" : "\n";
  std::string text = file.bom ? std::string(kBom) : std::string();
  for (std::size_t i = 0; i < file.lines.size(); ++i) {
    text += file.lines[i];
    if (i + 1 < file.lines.size() || file.finalNewline) text += eol;
  }
  WriteFileAtomically(path_, text, "SettingsFile");
}

}  // namespace tq
