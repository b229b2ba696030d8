// tq474-cli clone: one file written to many radios at once, one thread per port, each with its
// own document, link, wait and data list; every radio is backed up, written and verified. With
// --wait each port becomes a station of a production line that programs radio after radio.
#include <signal.h>

#include <QThread>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "base/numbers.h"
#include "cli/commands.h"
#include "cli/transfer_observer.h"
#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"
#include "session/transfer_records.h"

namespace tq::cli {
namespace {

constexpr auto kProbeInterval = std::chrono::seconds(2);

std::atomic<bool> stopAsked{false};

void AskToStop(int) {
  stopAsked = true;
}

// Sleeps up to `span`, returning early (false) once Ctrl+C asked to stop.
bool Pause(std::chrono::milliseconds span) {
  const auto until = std::chrono::steady_clock::now() + span;
  while (std::chrono::steady_clock::now() < until) {
    if (stopAsked) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return !stopAsked;
}

// What one radio's programming came to.
struct RadioResult {
  bool ok = false;
  std::string result;  // "ok", or the first reason it failed
  std::vector<std::string> details;
  double seconds = 0;
  std::string backup;
};

// One port: its document, holding the file, and what it did.
struct Station {
  std::string port;    // as given
  std::string device;  // the device it stands for
  std::unique_ptr<ErrorReport> report = std::make_unique<ErrorReport>();
  std::unique_ptr<Session> session;
  std::vector<RadioResult> radios;
};

// The transfer parts of one thread; nothing here is shared with another station.
class Line {
 public:
  explicit Line(Station& station)
      : station_(station),
        wait_(clock_, &link_),
        port_(link_, station.session->Settings(), *station.report),
        probePort_(link_, station.session->Settings(), probeReport_) {}

  RadioResult Program(const CloneOptions& options) {
    Session& session = *station_.session;
    CliObserver observer("Writing", station_.device, false);
    TransferSetup setup{link_,           wait_,           list_, port_,          observer,
                        Ranges(options), station_.device, false, options.backup, options.verify};
    const auto began = std::chrono::steady_clock::now();
    RadioResult radio;
    radio.ok = session.Write(setup);
    radio.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    radio.backup = session.LastBackup();
    if (radio.ok) {
      radio.result = "ok";
    } else if (port_.PortOpenFailed) {
      radio.details = {"cannot open the port: " + station_.report->LastDetail()};
    } else {
      radio.details = observer.FailureTexts(session);
    }
    if (!radio.ok) radio.result = radio.details.empty() ? "failed" : radio.details.front();
    return radio;
  }

  // Whether a radio answers now (the programming-mode code and the end code only).
  bool Probe() {
    return ProbeRadio(probePort_, station_.device, wait_, list_, station_.session->Texts(),
                      probeReport_);
  }

 private:
  std::optional<AddressRanges> Ranges(const CloneOptions& options) const {
    AddressRanges ranges = station_.session->Ranges();
    if (const auto start = ParseAddressText(options.start)) ranges.writeStart = *start;
    if (const auto end = ParseAddressText(options.end)) ranges.writeEnd = *end;
    return ranges;
  }

  Station& station_;
  QtSerialLink link_;
  SteadyClock clock_;
  LinkWait wait_;
  DataList list_;
  ErrorReport probeReport_;
  PortControl port_;
  PortControl probePort_;
};

std::mutex printing;
std::atomic<int> programmed{0};

void PrintRadioLine(const Station& station, const RadioResult& radio) {
  const std::lock_guard lock(printing);
  const int count = ++programmed;
  std::printf("%4d  %-20s %-8s %6.1f s  %s\n", count, station.port.c_str(),
              radio.ok ? "ok" : "FAILED", radio.seconds,
              radio.backup.empty() ? "-" : radio.backup.c_str());
  for (const std::string& detail : radio.details) {
    std::fprintf(stderr, "tq474-cli: %s: %s\n", station.port.c_str(), detail.c_str());
  }
  std::fflush(stdout);
}

// A station of the production line: waits for a radio, programs it, waits for it to go.
void RunStation(Station& station, const CloneOptions& options) {
  TightenTimers();
  Line line(station);
  if (!options.wait) {
    station.radios.push_back(line.Program(options));
    return;
  }
  while (!stopAsked) {
    while (!line.Probe()) {
      if (!Pause(kProbeInterval)) return;
    }
    if (stopAsked) return;
    station.radios.push_back(line.Program(options));
    PrintRadioLine(station, station.radios.back());
    // The next radio is awaited once this one is unplugged or stops answering.
    do {
      if (!Pause(kProbeInterval)) return;
    } while (line.Probe());
    const std::lock_guard lock(printing);
    std::fprintf(stderr, "tq474-cli: %s: ready for the next radio\n", station.port.c_str());
  }
}

void PrintTable(const std::vector<Station>& stations) {
  std::printf("%-20s %-20s %-8s %8s  %s\n", "Port", "Device", "Result", "Seconds", "Backup");
  for (const Station& station : stations) {
    for (const RadioResult& radio : station.radios) {
      std::printf("%-20s %-20s %-8s %8.1f  %s\n", station.port.c_str(), station.device.c_str(),
                  radio.ok ? "ok" : "FAILED", radio.seconds,
                  radio.backup.empty() ? "-" : radio.backup.c_str());
    }
  }
  for (const Station& station : stations) {
    for (const RadioResult& radio : station.radios) {
      for (const std::string& detail : radio.details) {
        std::fprintf(stderr, "tq474-cli: %s: %s\n", station.port.c_str(), detail.c_str());
      }
    }
  }
}

}  // namespace

bool ParseCloneOptions(const std::vector<std::string>& args, CloneOptions& options,
                       std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--port" && i + 1 >= args.size()) {
      error = arg + " needs a value";
      return false;
    }
    if (arg == "--port") {
      options.ports.push_back(args[++i]);
    } else if (arg == "--no-backup") {
      options.backup = false;
    } else if (arg == "--no-verify") {
      options.verify = false;
    } else if (arg == "--wait") {
      options.wait = true;
    } else if (!TakeCommonArgument(args, i, options.start, options.end, options.file, error)) {
      return false;
    }
  }
  if (options.ports.empty()) error = "at least one --port is required";
  if (options.file.empty()) error = "a data file is required";
  return error.empty();
}

int CloneCommand(Session& session, const CloneOptions& options) {
  // Every port stands for one device, and no device is named twice.
  std::vector<Station> stations;
  std::set<std::string> devices;
  for (const std::string& port : options.ports) {
    Station station;
    station.port = port;
    char* end = nullptr;
    const long number = std::strtol(port.c_str(), &end, 10);
    QtSerialLink unused;
    const PortControl table(unused, session.Settings(), session.Report());
    station.device = *end == '\0' && number >= 1 && number <= kPortCount
                         ? table.DeviceOf(static_cast<int>(number))
                         : port;
    std::error_code ignored;
    const std::filesystem::path canonical =
        std::filesystem::weakly_canonical(std::filesystem::path(station.device), ignored);
    if (!devices.insert(canonical.empty() ? station.device : canonical.string()).second) {
      std::cerr << "tq474-cli: the port " << port << " (" << station.device << ") is named twice\n";
      return kUsageError;
    }
    stations.push_back(std::move(station));
  }
  const AddressRanges ranges = session.Ranges();
  int16_t first = ranges.writeStart;
  int16_t last = ranges.writeEnd;
  if (const auto start = ParseAddressText(options.start)) first = *start;
  if (const auto end = ParseAddressText(options.end)) last = *end;
  if (first < 0 || last < first || last > session.Image().DatNum()) {
    std::cerr << "tq474-cli: the range " << HexText(static_cast<uint16_t>(first), 4) << "-"
              << HexText(static_cast<uint16_t>(last), 4) << " holds no block of the image\n";
    return kUsageError;
  }
  if (options.backup && !BackupFolderWritable(session.DataFolder())) {
    std::cerr << "tq474-cli: " << (session.DataFolder() / kBackupFolderName).string()
              << " cannot be written, so no radio is programmed (--no-backup programs without a "
                 "backup)\n";
    return kFailed;
  }
  // Each station gets a document of its own, started and holding the file before any thread runs.
  for (Station& station : stations) {
    station.session = std::make_unique<Session>(session.Where(), *station.report);
    if (!station.session->StartUp() || !station.session->OpenDataFile(options.file)) {
      FlushReport(*station.report);
      std::cerr << "tq474-cli: cannot read " << options.file.string() << ": "
                << station.report->LastDetail() << "\n";
      return kFailed;
    }
  }

  if (options.wait) {
    struct sigaction action {};
    action.sa_handler = AskToStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::fprintf(stderr, "tq474-cli: waiting for radios on %zu port(s); Ctrl+C ends the line\n",
                 stations.size());
  }
  // Qt's threads, so that each serial port has an event dispatcher in the thread it lives in.
  std::vector<std::unique_ptr<QThread>> threads;
  for (Station& station : stations) {
    threads.emplace_back(QThread::create([&station, &options] { RunStation(station, options); }));
    threads.back()->start();
  }
  for (auto& thread : threads) thread->wait();

  bool allOk = true;
  std::size_t count = 0;
  for (const Station& station : stations) {
    for (const RadioResult& radio : station.radios) {
      allOk = allOk && radio.ok;
      ++count;
    }
  }
  if (options.wait) {
    std::printf("%zu radio(s) programmed\n", count);
  } else {
    PrintTable(stations);
  }
  return allOk ? kOk : kFailed;
}

}  // namespace tq::cli
