// The commands of tq474-cli over one started document.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tq {
class Session;
class ErrorReport;
}  // namespace tq

namespace tq::cli {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;
// diff: 0 equal, 1 different, 2 when a side could not be loaded.
inline constexpr int kDiffError = 2;

void PrintJson(const Session& session);
void PrintTable(const Session& session);
// Writes the lines of the error list to stderr, keeping stdout clean for scripts.
void FlushReport(const ErrorReport& report);

// Options of the read and write commands.
struct TransferOptions {
  std::string port;   // a port number 1 to 16, or a device path
  std::string start;  // hexadecimal, empty: the settings file's address keys apply
  std::string end;
  std::filesystem::path log;   // data-list lines, empty: none
  std::optional<bool> backup;  // --backup / --no-backup
  std::optional<bool> verify;  // --verify
  std::filesystem::path file;
};

// Takes args[i] when it is one of what the transfer commands share: --start or --end with a
// hexadecimal address (i moves past the value), or the one file; anything else starting with '-'
// is an unknown option. False, with `error`, on a usage error.
bool TakeCommonArgument(const std::vector<std::string>& args, std::size_t& i, std::string& start,
                        std::string& end, std::filesystem::path& file, std::string& error);

// Parses "--port P [--start HEX] [--end HEX] [--log FILE] FILE"; false on a usage error.
bool ParseTransferOptions(const std::vector<std::string>& args, TransferOptions& options,
                          std::string& error);

// Reads the radio into options.file (which is left untouched when the read fails).
int ReadCommand(Session& session, const TransferOptions& options);
// Opens options.file and writes it into the radio.
int WriteCommand(Session& session, const TransferOptions& options);
// Reads the radio on options.port into the session (options.file is not used).
int ReadRadio(Session& session, const TransferOptions& options);

// Options of the clone command.
struct CloneOptions {
  std::vector<std::string> ports;  // each a port number or a device path
  std::string start;               // hexadecimal, empty: the settings file's write range
  std::string end;
  bool backup = true;  // --no-backup
  bool verify = true;  // --no-verify
  bool wait = false;   // --wait: a production line, radio after radio on every port
  std::filesystem::path file;
};

// Parses "--port P [--port P2 ...] [--start HEX] [--end HEX] [--no-backup] [--no-verify]
// [--wait] FILE"; false on a usage error.
bool ParseCloneOptions(const std::vector<std::string>& args, CloneOptions& options,
                       std::string& error);
// Writes options.file to the radio on every port at once, each backed up first and verified
// after; prints a table (or, with --wait, a line per radio). 0 only when every radio succeeded.
int CloneCommand(Session& session, const CloneOptions& options);

// Options of the import command.
struct ImportOptions {
  std::filesystem::path csv;
  std::filesystem::path out;
  std::filesystem::path base;  // --into BASE; empty: a new data set
  bool dryRun = false;
};

// Writes the channels of `file` to `out` as channel CSV.
int ExportCommand(Session& session, const std::filesystem::path& file,
                  const std::filesystem::path& out);
// Enters the rows of options.csv into the channels of BASE (or a new data set) and saves the
// result; 0 when every row was taken, 1 when some were refused, 2 when none could be read.
int ImportCommand(Session& session, const ImportOptions& options);

// Compares side a (loaded into `before`) with side b (into `after`); each is a file or
// "radio:P". Prints the differences, as text in the running language or as JSON.
int DiffCommand(Session& before, Session& after, const std::string& a, const std::string& b,
                bool json);

}  // namespace tq::cli
