// tq474-cli read and write: the program's transfers over a real serial port, with the data-list
// lines in a log file and a progress line on a terminal.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>

#include "base/message_numbers.h"
#include "base/numbers.h"
#include "base/text_table.h"
#include "cli/commands.h"
#include "cli/transfer_observer.h"
#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/transfer.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"

namespace tq::cli {
namespace {

// An address text as the address boxes read it; a text that is not hexadecimal keeps the range's
// address.
void ReadAddress(const std::string& text, int16_t& value) {
  if (const std::optional<int16_t> address = ParseAddressText(text)) value = *address;
}

// Keeps every line of the data list in the log file, when one is open.
class LogFile final : public DataListObserver {
 public:
  explicit LogFile(std::ofstream& log) : log_(log) {}
  void LineAdded(const std::string& line, int, bool) override {
    if (log_.is_open()) log_ << line << "\n";
  }

 private:
  std::ofstream& log_;
};

int RunTransfer(Session& session, const TransferOptions& options, bool reading) {
  TightenTimers();
  QtSerialLink link;
  SteadyClock clock;
  LinkWait wait(clock, &link);
  DataList list;
  PortControl port(link, session.Settings(), session.Report());

  char* end = nullptr;
  const long number = std::strtol(options.port.c_str(), &end, 10);
  std::string device;
  if (!options.port.empty() && *end == '\0' && number >= 1 && number <= kPortCount) {
    session.SetPort(static_cast<int16_t>(number));
  } else {
    device = options.port;
  }

  std::ofstream log;
  if (!options.log.empty()) {
    log.open(options.log, std::ios::trunc);
    if (!log) {
      std::cerr << "tq474-cli: cannot write the log " << options.log.string() << "\n";
      return kFailed;
    }
  }
  // The list clears itself past 3000 lines; the log keeps every line.
  LogFile logFile(log);
  list.Subscribe(logFile);

  // The ranges start-up read from the settings file, as in the program.
  AddressRanges ranges = session.Ranges();
  if (!options.start.empty()) {
    int16_t& start = reading ? ranges.readStart : ranges.writeStart;
    ReadAddress(options.start, start);
  }
  if (!options.end.empty()) {
    int16_t& last = reading ? ranges.readEnd : ranges.writeEnd;
    ReadAddress(options.end, last);
  }

  // The range must lie within the image, its end not below its start: anything else would send
  // no block (or blocks the image has no place for) and must not pass for a transfer.
  const int16_t first = reading ? ranges.readStart : ranges.writeStart;
  const int16_t last = reading ? ranges.readEnd : ranges.writeEnd;
  if (first < 0 || last < first || last > session.Image().DatNum()) {
    std::cerr << "tq474-cli: the range " << HexText(static_cast<uint16_t>(first), 4) << "-"
              << HexText(static_cast<uint16_t>(last), 4) << " holds no block of the image (0000-"
              << HexText(static_cast<uint16_t>(session.Image().DatNum()), 4) << ")\n";
    return kUsageError;
  }

  const bool terminal = ::isatty(STDERR_FILENO) != 0;
  const char* verb = reading ? "Reading" : "Writing";
  const std::string shownDevice = port.DeviceFor(session.ComPort(), device);
  CliObserver observer(verb, shownDevice, terminal);
  TransferSetup setup{link,   wait,   list,  port,           observer,
                      ranges, device, false, options.backup, options.verify};

  const bool done = reading ? session.Read(setup) : session.Write(setup);
  if (terminal) std::fprintf(stderr, "\n");
  if (port.PortOpenFailed) {
    std::cerr << "tq474-cli: cannot open the port " << shownDevice << ": "
              << session.Report().LastDetail() << "\n";
    return kFailed;
  }
  if (!done) {
    FlushReport(session.Report());
    for (const std::string& text : observer.FailureTexts(session)) {
      std::cerr << "tq474-cli: " << text << "\n";
    }
    return kFailed;
  }
  return kOk;
}

}  // namespace

bool TakeCommonArgument(const std::vector<std::string>& args, std::size_t& i, std::string& start,
                        std::string& end, std::filesystem::path& file, std::string& error) {
  const std::string& arg = args[i];
  if (arg == "--start" || arg == "--end") {
    if (i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    if (!ParseHex(value) || *ParseHex(value) > 0xFFFF) {
      error = arg + " takes a hexadecimal address: " + value;
      return false;
    }
    (arg == "--start" ? start : end) = value;
  } else if (!arg.empty() && arg[0] == '-') {
    error = "unknown option " + arg;
    return false;
  } else if (file.empty()) {
    file = arg;
  } else {
    error = "more than one file";
    return false;
  }
  return true;
}

bool ParseTransferOptions(const std::vector<std::string>& args, TransferOptions& options,
                          std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if ((arg == "--port" || arg == "--log") && i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--port") {
      options.port = args[++i];
    } else if (arg == "--log") {
      options.log = args[++i];
    } else if (arg == "--backup" || arg == "--no-backup") {
      options.backup = arg == "--backup";
    } else if (arg == "--verify") {
      options.verify = true;
    } else if (!TakeCommonArgument(args, i, options.start, options.end, options.file, error)) {
      return false;
    }
  }
  if (options.port.empty()) error = "--port is required";
  if (options.file.empty()) error = "a data file is required";
  return error.empty();
}

int ReadRadio(Session& session, const TransferOptions& options) {
  return RunTransfer(session, options, true);
}

int ReadCommand(Session& session, const TransferOptions& options) {
  const int status = ReadRadio(session, options);
  if (status != kOk) return status;
  if (!session.SaveAs(options.file)) {
    std::cerr << "tq474-cli: cannot write " << options.file.string() << ": "
              << session.Report().LastDetail() << "\n";
    return kFailed;
  }
  return kOk;
}

int WriteCommand(Session& session, const TransferOptions& options) {
  if (!session.OpenDataFile(options.file)) {
    std::cerr << "tq474-cli: cannot read " << options.file.string() << ": "
              << session.Report().LastDetail() << "\n";
    return kFailed;
  }
  return RunTransfer(session, options, false);
}

}  // namespace tq::cli
