// The records a transfer leaves in the data folder: the radio images kept as backups
// ("backups/YYYYMMDD-HHMMSS-read-SSSS-EEEE.bin") and one JSON line per transfer in
// "transfers.jsonl"; and the comparison a verify makes.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tq {

inline constexpr const char* kBackupFolderName = "backups";
inline constexpr const char* kTransferLogName = "transfers.jsonl";
inline constexpr std::size_t kBackupsKept = 500;

// "20261206-093000-read-0000-1FFF.bin": local time, the kind ("read", "before-write") and the
// range in hexadecimal.
std::string BackupFileName(const std::tm& local, const std::string& kind, int start, int end);

// Keeps bytes [start, end] of `image` as a backup in the data folder's backups folder (made when
// missing) and removes the oldest backups beyond kBackupsKept; returns the file name, which has
// "-2", "-3", ... before ".bin" when another backup took the name in the same second. Throws
// Failure when the backup cannot be written.
std::string KeepBackup(const std::filesystem::path& dataFolder, const std::tm& local,
                       const std::string& kind, int start, int end, std::span<const uint8_t> image);

// Removes the oldest files of the backups' own naming beyond `keep`; nothing else is touched.
void PruneBackups(const std::filesystem::path& backups, std::size_t keep = kBackupsKept);

// True when the backups folder exists or can be made and takes a new file.
bool BackupFolderWritable(const std::filesystem::path& dataFolder);

struct TransferLogEntry {
  std::tm start{};  // local time (with its offset from UTC)
  int64_t ms = 0;
  std::string kind;  // "read", "write", "verify", "backup"
  std::string port;
  std::string device;
  int rangeStart = 0;
  int rangeEnd = 0;
  bool ok = false;
  int message = 0;  // 0 is written as null
  int retries = 0;
  std::string sha256;
  std::string backup;          // empty is written as null
  std::optional<bool> verify;  // nullopt is written as null
};

// One line of the transfer log, without the line end.
std::string TransferLogLine(const TransferLogEntry& entry);
// Appends the entry's line to the data folder's transfer log; throws Failure when it cannot.
void AppendTransferLog(const std::filesystem::path& dataFolder, const TransferLogEntry& entry);

// The addresses of [start, end] where `read` differs from `sent`.
std::vector<int> DifferingAddresses(std::span<const uint8_t> sent, std::span<const uint8_t> read,
                                    int start, int end);

// What the user is told in `language` when a verify found differences (their count and the
// first addresses), or when the backup before a write could not be made.
std::string VerifyFailureText(const std::vector<int>& differences, int16_t language);
std::string BackupFailureText(const std::string& why, int16_t language);

}  // namespace tq
