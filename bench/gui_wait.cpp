// Benchmark: how alive the program stays during a full 8 KB read and write through its
// communication window against tq474-sim --line-timing. A 5 ms timer runs on the interface
// thread the whole time; the longest gap between its ticks is the longest the windows went
// without processing events. The process's CPU time over the transfer is printed beside.
// A probe process notes when the machine itself held processes off the processor; the gaps
// that overlap such a stall are counted apart, as the machine's rather than the program's.
//
//   tq474-bench-gui-wait [PATH-TO-tq474-sim]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM names another.
#include <time.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "bench_support.h"
#include "comm/port_control.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"
#include "ui/commun_window.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace {

constexpr int kTickMs = 5;

// Messages are printed rather than shown: a benchmark has nobody to answer them.
class PrintedDialogs final : public tq::ui::Dialogs {
 public:
  bool Ask(QWidget*, const QString&, const QString& text) override {
    std::fprintf(stderr, "question: %s\n", qPrintable(text));
    return false;
  }
  void Tell(QWidget*, const QString&, const QString& text, QMessageBox::Icon) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    ++told;
  }
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&) override {
    return {};
  }
  void OpenWithDesktop(const QString&) override {}
  bool Review(QWidget*, const QString&, const QString&) override { return false; }
  int told = 0;
};

struct Figures {
  double wall = 0;
  double cpu = 0;
  double startSeconds = 0;  // on the steady clock
  std::vector<double> gapsMs;
  std::vector<double> atSeconds;  // when each gap ended, from the start of the transfer
  double machineStallMs = 0;      // the probe's longest stall during the transfer
  double busyMs = 0;  // the most processor time the interface thread used within one gap
  double busyAtSeconds = 0;
  std::vector<std::string> notes;  // the data list's lines that are not bytes (time-outs, steps)
};

// The probe's longest stall during the transfer.
void MachineStalls(Figures& f, const std::vector<tq::bench::StallProbe::Stall>& stalls) {
  const double end = f.startSeconds + f.wall;
  for (const auto& stall : stalls) {
    if (stall.endSeconds >= f.startSeconds && stall.startSeconds <= end) {
      f.machineStallMs =
          std::max(f.machineStallMs, (stall.endSeconds - stall.startSeconds) * 1000.0);
    }
  }
}

double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

void Print(const char* name, Figures& f) {
  // The three longest gaps and when they ended, to find what held the thread.
  std::vector<std::size_t> order(f.gapsMs.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(),
            [&f](std::size_t a, std::size_t b) { return f.gapsMs[a] > f.gapsMs[b]; });
  std::string longest;
  for (std::size_t k = 0; k < std::min<std::size_t>(3, order.size()); ++k) {
    char text[64];
    std::snprintf(text, sizeof text, " %.1f ms at %.3f s", f.gapsMs[order[k]],
                  f.atSeconds[order[k]]);
    longest += text;
  }
  std::sort(f.gapsMs.begin(), f.gapsMs.end());
  const auto at = [&f](double share) {
    if (f.gapsMs.empty()) return 0.0;
    return f.gapsMs[static_cast<std::size_t>(share * static_cast<double>(f.gapsMs.size() - 1))];
  };
  std::printf(
      "%-5s wall %7.3f s  ticks %6zu  gap median %5.2f ms  p99 %5.2f ms  max %6.2f ms  "
      "cpu %.3f s = %.1f %% of a core\n",
      name, f.wall, f.gapsMs.size(), at(0.5), at(0.99), f.gapsMs.empty() ? 0.0 : f.gapsMs.back(),
      f.cpu, 100.0 * f.cpu / f.wall);
  std::printf("      longest gaps:%s\n", longest.c_str());
  std::printf(
      "      most processor time within one gap %.2f ms (at %.3f s); a sleeping probe process was "
      "held off the processor for up to %.2f ms meanwhile\n",
      f.busyMs, f.busyAtSeconds, f.machineStallMs);
  for (const std::string& note : f.notes) std::printf("      data list: %s\n", note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string sim = argc > 1 ? argv[1] : (tq::bench::BinFolder() / "tq474-sim").string();
  const std::filesystem::path home = tq::bench::ProgramFolder("tq474-bench-gui");
  const std::filesystem::path link = home / "radio";
  tq::bench::SimChild child(sim, link, {"--line-timing"});
  if (!child.Up()) return 1;

  tq::ErrorReport report;
  tq::Session doc(home, report);
  doc.Settings().WriteSetting("Setting", "FirRun", "0");
  doc.Settings().WriteSetting("Setting", "Language", "3");
  doc.Settings().WriteSetting("Setting", "COM", "3");
  doc.Settings().WriteSetting("Ports", "COM3", link.string());
  tq::TightenTimers();
  tq::QtSerialLink serial;
  tq::PortControl port(serial, doc.Settings(), report);
  PrintedDialogs dialogs;
  tq::ui::MainWindow window(doc, port, dialogs, [] { return 0x0409; });
  window.show();
  window.Form_Load();
  tq::ui::CommunWindow* commun = window.communWindow();
  commun->show();
  // The windows paint for the first time before anything is measured.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 50);

  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(kTickMs);
  double last = 0;
  double lastCpu = 0;
  Figures* shown = nullptr;
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    const double now = tq::bench::StallProbe::Now();
    const double cpu = ThreadCpuSeconds();
    if (shown != nullptr) {
      shown->gapsMs.push_back((now - last) * 1000.0);
      shown->atSeconds.push_back(now - shown->startSeconds);
      if ((cpu - lastCpu) * 1000.0 > shown->busyMs) {
        shown->busyMs = (cpu - lastCpu) * 1000.0;
        shown->busyAtSeconds = now - shown->startSeconds;
      }
    }
    last = now;
    lastCpu = cpu;
  });

  const auto measure = [&](bool reading) {
    Figures f;
    shown = &f;
    f.startSeconds = tq::bench::StallProbe::Now();
    last = f.startSeconds;
    lastCpu = ThreadCpuSeconds();
    ticker.start();
    const double cpu0 = tq::bench::CpuSeconds();
    if (reading) {
      commun->cmdRead_Click();
    } else {
      commun->cmdWrite_Click();
    }
    f.cpu = tq::bench::CpuSeconds() - cpu0;
    f.wall = tq::bench::StallProbe::Now() - f.startSeconds;
    ticker.stop();
    shown = nullptr;
    for (const std::string& line : commun->dataList().lines()) {
      if (line.rfind("Tx: ", 0) != 0 && line.rfind("Rx: ", 0) != 0 && line.rfind("    ", 0) != 0) {
        f.notes.push_back(line);
      }
    }
    return f;
  };

  std::printf(
      "Full 8 KB transfers through the communication window, tq474-sim --line-timing; "
      "a %d ms timer on the interface thread\n",
      kTickMs);
  tq::bench::StallProbe probe(home / "stalls.txt");
  Figures read = measure(true);
  Figures write = measure(false);
  const auto stalls = probe.Stop();
  MachineStalls(read, stalls);
  MachineStalls(write, stalls);
  Print("read", read);
  Print("write", write);
  for (const std::string& line : report.lines()) std::fprintf(stderr, "%s\n", line.c_str());
  window.hide();
  std::filesystem::remove_all(home);
  return dialogs.told == 0 ? 0 : 1;
}
