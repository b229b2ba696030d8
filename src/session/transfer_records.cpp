#include "session/transfer_records.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <regex>

#include "base/failure.h"
#include "base/file_io.h"
#include "base/json_text.h"
#include "base/numbers.h"
#include "base/text_table.h"

namespace tq {
namespace {

std::string Range(int start, int end) {
  return HexText(static_cast<uint16_t>(start), 4) + "-" + HexText(static_cast<uint16_t>(end), 4);
}

// ISO 8601 with the offset from UTC: "2026-12-06T09:30:00+01:00".
std::string IsoTime(const std::tm& local) {
  char text[40] = {};
  std::tm copy = local;
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &copy);
  std::string iso = text;
  if (iso.size() >= 5) iso.insert(iso.size() - 2, ":");
  return iso;
}

const std::regex& BackupPattern() {
  static const std::regex pattern(R"(\d{8}-\d{6}-[a-z-]+-[0-9A-F]{4}-[0-9A-F]{4}(-\d+)?\.bin)");
  return pattern;
}

}  // namespace

std::string BackupFileName(const std::tm& local, const std::string& kind, int start, int end) {
  char stamp[20] = {};
  std::tm copy = local;
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &copy);
  return std::string(stamp) + "-" + kind + "-" + Range(start, end) + ".bin";
}

std::string KeepBackup(const std::filesystem::path& dataFolder, const std::tm& local,
                       const std::string& kind, int start, int end,
                       std::span<const uint8_t> image) {
  if (start < 0 || end < start || static_cast<std::size_t>(end) >= image.size()) {
    throw Failure(err::kIndexOutOfRange, "KeepBackup", "the range " + Range(start, end));
  }
  const std::filesystem::path backups = dataFolder / kBackupFolderName;
  std::error_code made;
  std::filesystem::create_directories(backups, made);
  if (made)
    throw Failure(err::kPathFileAccess, "KeepBackup", backups.string() + ": " + made.message());
  // Radios programmed at once may share the second: the name is claimed by creating the file
  // exclusively, and a name taken already gets "-2", "-3", ... before its extension.
  const std::string first = BackupFileName(local, kind, start, end);
  std::string name;
  for (int k = 1;; ++k) {
    name = k == 1 ? first : first.substr(0, first.size() - 4) + "-" + std::to_string(k) + ".bin";
    const int fd = ::open((backups / name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      break;
    }
    if (errno != EEXIST || static_cast<std::size_t>(k) >= kBackupsKept) {
      throw Failure(err::kPathFileAccess, "KeepBackup",
                    (backups / name).string() + ": " + std::strerror(errno));
    }
  }
  const auto from = image.begin() + start;
  const std::string bytes(from, from + (end - start + 1));
  try {
    WriteFileAtomically(backups / name, bytes, "KeepBackup");
  } catch (const Failure&) {
    std::error_code ignored;
    std::filesystem::remove(backups / name, ignored);
    throw;
  }
  PruneBackups(backups);
  return name;
}

void PruneBackups(const std::filesystem::path& backups, std::size_t keep) {
  std::vector<std::string> names;
  std::error_code listed;
  for (const auto& entry : std::filesystem::directory_iterator(backups, listed)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && std::regex_match(name, BackupPattern())) names.push_back(name);
  }
  if (names.size() <= keep) return;
  // The names begin with their time: the smallest are the oldest.
  std::sort(names.begin(), names.end());
  for (std::size_t k = 0; k + keep < names.size(); ++k) {
    std::error_code ignored;
    std::filesystem::remove(backups / names[k], ignored);
  }
}

bool BackupFolderWritable(const std::filesystem::path& dataFolder) {
  const std::filesystem::path backups = dataFolder / kBackupFolderName;
  std::error_code made;
  std::filesystem::create_directories(backups, made);
  return !made && std::filesystem::is_directory(backups) &&
         ::access(backups.c_str(), W_OK | X_OK) == 0;
}

std::string TransferLogLine(const TransferLogEntry& e) {
  std::string line = "{";
  line += "\"start\":" + JsonString(IsoTime(e.start));
  line += ",\"ms\":" + std::to_string(e.ms);
  line += ",\"kind\":" + JsonString(e.kind);
  line += ",\"port\":" + JsonString(e.port);
  line += ",\"device\":" + JsonString(e.device);
  line += ",\"range\":" + JsonString(Range(e.rangeStart, e.rangeEnd));
  line += std::string(",\"ok\":") + (e.ok ? "true" : "false");
  line += ",\"message\":" + (e.message == 0 ? std::string("null") : std::to_string(e.message));
  line += ",\"retries\":" + std::to_string(e.retries);
  line += ",\"sha256\":" + JsonString(e.sha256);
  line += ",\"backup\":" + (e.backup.empty() ? std::string("null") : JsonString(e.backup));
  line += ",\"verify\":" + (e.verify ? std::string(*e.verify ? "true" : "false") : "null");
  return line + "}";
}

void AppendTransferLog(const std::filesystem::path& dataFolder, const TransferLogEntry& entry) {
  const std::filesystem::path path = dataFolder / kTransferLogName;
  // One write of the whole line to a file opened for appending, so that the lines of transfers
  // running at once never mix.
  const std::string line = TransferLogLine(entry) + "\n";
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  const bool written =
      fd >= 0 && ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  if (fd >= 0) ::close(fd);
  if (!written)
    throw Failure(err::kPathFileAccess, "TransferLog", path.string() + ": cannot append");
}

std::vector<int> DifferingAddresses(std::span<const uint8_t> sent, std::span<const uint8_t> read,
                                    int start, int end) {
  std::vector<int> differences;
  for (int a = std::max(start, 0); a <= end; ++a) {
    const auto k = static_cast<std::size_t>(a);
    if (k >= sent.size() || k >= read.size()) break;
    if (sent[k] != read[k]) differences.push_back(a);
  }
  return differences;
}

std::string VerifyFailureText(const std::vector<int>& differences, int16_t language) {
  std::string first;
  for (std::size_t k = 0; k < differences.size() && k < 8; ++k) {
    first += (k == 0 ? "" : ", ") + HexText(static_cast<uint16_t>(differences[k]), 4);
  }
  if (differences.size() > 8) first += ", ...";
  const std::string count = std::to_string(differences.size());
  if (language == kLangSimplifiedChinese) {
    return "写入后校验失败：对讲机中有 " + count + " 个字节与写入的不同（" + first +
           "）。使用前请重新写入。";
  }
  if (language == kLangTraditionalChinese) {
    return "寫入後校驗失敗：對講機中有 " + count + " 個位元組與寫入的不同（" + first +
           "）。使用前請重新寫入。";
  }
  return "The verify after writing failed: " + count +
         (differences.size() == 1 ? " byte differs" : " bytes differ") +
         " from what was written (" + first + "). Write the radio again before using it.";
}

std::string BackupFailureText(const std::string& why, int16_t language) {
  if (language == kLangSimplifiedChinese) {
    return "写入前的备份没有完成，所以没有写入任何数据：" + why;
  }
  if (language == kLangTraditionalChinese) {
    return "寫入前的備份沒有完成，所以沒有寫入任何資料：" + why;
  }
  return "The backup before writing could not be made, so nothing was written: " + why;
}

}  // namespace tq
