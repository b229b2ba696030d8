// tq474-cli read and write: the program's transfers over a real serial port, with the data-list
// lines in a log file and a progress line on a terminal.
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include "base/numbers.h"
#include "cli/commands.h"
#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/transfer.h"
#include "comm/wait.h"
#include "files/document.h"
#include "qtlink/qt_serial_link.h"

namespace tq::cli {
namespace {

// An address text as the address boxes read it; a text that is not hexadecimal keeps the range's
// address.
void ReadAddress(const std::string& text, int16_t& value) {
  if (const std::optional<int16_t> address = ParseAddressText(text)) value = *address;
}

// The message text of `number` in the running language, English when the language has none.
std::string MessageText(const Document& doc, int number) {
  const std::string& own = doc.softFace[number];
  return own.empty() ? SoftFace::Build(kLangEnglish)[number] : own;
}

int RunTransfer(Document& doc, const TransferOptions& options, bool reading) {
  TightenTimers();
  QtSerialLink link;
  SteadyClock clock;
  LinkWait wait(clock, &link);
  DataList list;
  PortControl port(link, doc.settings, doc.report);

  char* end = nullptr;
  const long number = std::strtol(options.port.c_str(), &end, 10);
  if (!options.port.empty() && *end == '\0' && number >= 1 && number <= kPortCount) {
    port.ComPort = static_cast<int16_t>(number);
  } else {
    port.deviceOverride = options.port;
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
  list.SetListener([&](const std::string& line, int, bool) {
    if (log.is_open()) log << line << "\n";
  });

  // The ranges start-up read from the settings file, as in the program.
  AddressRanges ranges{doc.ReadStartAddr, doc.ReadEndAddr, doc.WriteStartAddr, doc.WriteEndAddr};
  if (!options.start.empty()) {
    int16_t& start = reading ? ranges.readStart : ranges.writeStart;
    ReadAddress(options.start, start);
  }
  if (!options.end.empty()) {
    int16_t& last = reading ? ranges.readEnd : ranges.writeEnd;
    ReadAddress(options.end, last);
  }

  const bool terminal = ::isatty(STDERR_FILENO) != 0;
  const char* verb = reading ? "Reading" : "Writing";
  int shownMessage = 0;
  TransferContext ctx{doc, link, wait, list, port, ranges, false, {}};
  ctx.hooks.showPercent = [&](int16_t percent) {
    if (terminal)
      std::fprintf(stderr, "\r%s %s: %3d %%", verb, port.CurrentDevice().c_str(), percent);
  };
  ctx.hooks.messageBox = [&](int messageNumber) { shownMessage = messageNumber; };

  const bool done = reading ? ReadTransfer(ctx) : WriteTransfer(ctx);
  if (terminal) std::fprintf(stderr, "\n");
  if (port.PortOpenFailed) {
    std::cerr << "tq474-cli: cannot open the port " << port.CurrentDevice() << ": "
              << doc.report.LastDetail() << "\n";
    return kFailed;
  }
  if (!done) {
    FlushReport(doc.report);
    std::cerr << "tq474-cli: " << MessageText(doc, shownMessage != 0 ? shownMessage : 79) << "\n";
    return kFailed;
  }
  return kOk;
}

}  // namespace

bool ParseTransferOptions(const std::vector<std::string>& args, TransferOptions& options,
                          std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if ((arg == "--port" || arg == "--start" || arg == "--end" || arg == "--log") && !hasValue) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--port") {
      options.port = args[++i];
    } else if (arg == "--start" || arg == "--end") {
      const std::string& value = args[++i];
      if (!ParseHex(value) || *ParseHex(value) > 0xFFFF) {
        error = arg + " takes a hexadecimal address: " + value;
        return false;
      }
      (arg == "--start" ? options.start : options.end) = value;
    } else if (arg == "--log") {
      options.log = args[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (options.file.empty()) {
      options.file = arg;
    } else {
      error = "more than one file";
      return false;
    }
  }
  if (options.port.empty()) error = "--port is required";
  if (options.file.empty()) error = "a data file is required";
  return error.empty();
}

int ReadCommand(Document& doc, const TransferOptions& options) {
  const int status = RunTransfer(doc, options, true);
  if (status != kOk) return status;
  doc.currentDataPath = options.file;
  if (!doc.SaveDatFile()) {
    std::cerr << "tq474-cli: cannot write " << options.file.string() << ": "
              << doc.report.LastDetail() << "\n";
    return kFailed;
  }
  return kOk;
}

int WriteCommand(Document& doc, const TransferOptions& options) {
  if (!doc.OpenDataFile(options.file)) {
    std::cerr << "tq474-cli: cannot read " << options.file.string() << ": "
              << doc.report.LastDetail() << "\n";
    return kFailed;
  }
  return RunTransfer(doc, options, false);
}

}  // namespace tq::cli
