// Benchmark: a full 8 KB read and a full 8 KB write against tq474-sim --line-timing, each with
// its wall time, the floor (line time of every byte at 9600 8N1 plus the waits the protocol
// itself asks for), their ratio, and the CPU time of the tool during the transfer.
//
//   tq474-bench-transfer [PATH-TO-tq474-sim]
#include "comm/transfer.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "bench_support.h"
#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"

namespace {

constexpr double kByteSeconds = 10.0 / 9600.0;  // start bit, 8 data bits, stop bit
constexpr int kBlocks = 512;                    // 8 KB in 16-byte blocks
// The interpreter pauses 5 ms before each pass over a script: one pass for the command and one
// for the closing "EN", so every script costs 10 ms of waiting.
constexpr int kScriptPauseMs = 10;
constexpr int kEndPauseMs = 500;            // the common end of a transfer
constexpr int kIdentificationPauseMs = 50;  // before the closing 0x45 of a write

using tq::bench::CpuSeconds;

struct Figures {
  double wall = 0;
  double cpu = 0;
  bool ok = false;
};

void Print(const char* name, const Figures& f, int lineBytes, int pausesMs) {
  const double floor = lineBytes * kByteSeconds + pausesMs / 1000.0;
  std::printf(
      "%-6s %s  wall %7.3f s  floor %7.3f s (%d line bytes = %.3f s, waits %.3f s)  "
      "ratio %.3f  cpu %.3f s = %.1f %% of wall\n",
      name, f.ok ? "ok    " : "FAILED", f.wall, floor, lineBytes, lineBytes * kByteSeconds,
      pausesMs / 1000.0, f.wall / floor, f.cpu, 100.0 * f.cpu / f.wall);
}

}  // namespace

int main(int argc, char** argv) {
  // QSerialPort's notifiers need an application object, even without an event loop.
  QCoreApplication app(argc, argv);
  const std::string sim = argc > 1 ? argv[1] : (tq::bench::BinFolder() / "tq474-sim").string();
  const std::filesystem::path home = tq::bench::ProgramFolder("tq474-bench");
  const std::filesystem::path link = home / "radio";
  tq::bench::SimChild child(sim, link, {"--line-timing"});
  if (!child.Up()) return 1;

  tq::ErrorReport report;
  tq::Session doc(home, report);
  doc.StartUp();
  tq::TightenTimers();
  tq::QtSerialLink serial;
  tq::SteadyClock clock;
  tq::LinkWait wait(clock, &serial);
  tq::DataList list;
  tq::PortControl port(serial, doc.Settings(), report);
  tq::TransferObserver quiet;
  tq::TransferSetup setup{serial,        wait,  list,  port, quiet, tq::AddressRanges{},
                          link.string(), false, false, {}};

  const auto measure = [&](bool reading) {
    Figures f;
    const double cpu0 = CpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    f.ok = reading ? doc.Read(setup) : doc.Write(setup);
    f.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    f.cpu = CpuSeconds() - cpu0;
    return f;
  };

  std::printf("Full 8 KB transfers against tq474-sim --line-timing (9600 8N1); load average %s\n",
              tq::bench::LoadAverage().c_str());
  const Figures write = measure(false);
  // A write: programming code 7 + ack 1; blocks 4 + 16 sent and ack 1; identification 02,
  // reply 02 03 30 10 0B and the closing 45.
  Print("write", write, 8 + kBlocks * 21 + 1 + 5 + 1,
        (1 + kBlocks) * kScriptPauseMs + kIdentificationPauseMs + kEndPauseMs);
  const Figures read = measure(true);
  // A read: programming code 7 + ack 1; blocks 4 sent and 4 + 16 back; end code 7.
  Print("read", read, 8 + kBlocks * 24 + 7, (2 + kBlocks) * kScriptPauseMs + kEndPauseMs);

  std::printf("load average after: %s\n", tq::bench::LoadAverage().c_str());
  for (const std::string& line : report.lines()) std::fprintf(stderr, "%s\n", line.c_str());
  std::filesystem::remove_all(home);
  return read.ok && write.ok ? 0 : 1;
}
