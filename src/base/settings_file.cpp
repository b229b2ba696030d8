#include "base/settings_file.h"

#include <fstream>
#include <sstream>
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

}  // namespace

std::string SettingsFile::ReadSetting(std::string_view section, std::string_view key,
                                      std::string_view fallback, std::size_t length) const {
  const Lines file = Load(path_);
  bool inSection = false;
  for (const std::string& line : file.lines) {
    if (const auto name = SectionOf(line)) {
      inSection = EqualsNoCase(*name, section);
      continue;
    }
    if (!inSection) continue;
    const auto kv = KeyValueOf(line);
    if (kv && EqualsNoCase(kv->first, key)) {
      return std::string(Trim(CutUtf8(kv->second, length)));
    }
  }
  return std::string(Trim(CutUtf8(fallback, length)));
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
