// Benchmark: the memory window over the whole 8 KB image. Prints the time of a refresh
// (TableFreDat) of the core grid and of the window (cells, marks, scrolling and the repaint),
// with no byte changed and with every byte changed, and the time to open the window: build it,
// lay the grid out, fill it and paint it for the first time.
//
//   tq474-bench-memory-grid
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM names another.
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "base/error_report.h"
#include "bench_support.h"
#include "session/session.h"
#include "ui/memory_window.h"

namespace {

constexpr int kRuns = 200;

struct Timing {
  double bestMs = 0;
  double medianMs = 0;
  double worstMs = 0;
};

Timing Measure(int runs, const std::function<void()>& prepare, const std::function<void()>& run) {
  std::vector<double> times;
  QElapsedTimer clock;
  for (int k = 0; k < runs; ++k) {
    prepare();
    clock.start();
    run();
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2], times.back()};
}

void Print(const char* name, const Timing& t) {
  std::printf("%-44s best %7.3f ms  median %7.3f ms  worst %7.3f ms\n", name, t.bestMs, t.medianMs,
              t.worstMs);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::filesystem::path home = tq::bench::ProgramFolder("tq474-bench-memory");
  tq::ErrorReport report;
  tq::Session doc(home, report);
  doc.Settings().WriteSetting("Setting", "FirRun", "0");
  doc.StartUp();

  const auto invert = [&doc] {
    for (uint8_t& byte : doc.EditableImage().bytes()) byte = static_cast<uint8_t>(~byte);
  };
  const auto nothing = [] {};

  tq::MemoryGrid grid(doc.EditableImage(), report);
  grid.SetGridMemDat(doc.AddressValue(tq::AddressBox::TableMax));
  grid.TableFreDat();
  std::printf("The memory grid over %d bytes (TableMaxAddr %04X), %d runs each\n",
              doc.AddressValue(tq::AddressBox::TableMax) + 1,
              doc.AddressValue(tq::AddressBox::TableMax), kRuns);
  Print("core refresh, nothing changed", Measure(kRuns, nothing, [&] { grid.TableFreDat(); }));
  Print("core refresh, every byte changed", Measure(kRuns, invert, [&] { grid.TableFreDat(); }));
  Print("core copy back (GridDataTemp)", Measure(kRuns, nothing, [&] { grid.GridDataTemp(); }));

  tq::ui::MemoryWindow window(doc);
  window.resize(620, 560);
  window.SetGridMemDat();
  window.TableFreDat();
  window.show();
  QApplication::processEvents();
  const auto refreshAndPaint = [&] {
    window.TableFreDat();
    window.table()->viewport()->repaint();
  };
  Print("window refresh + repaint, nothing changed", Measure(kRuns, nothing, refreshAndPaint));
  Print("window refresh + repaint, every byte changed", Measure(kRuns, invert, refreshAndPaint));
  window.hide();

  const Timing opening = Measure(20, nothing, [&doc] {
    tq::ui::MemoryWindow opened(doc);
    opened.resize(620, 560);
    opened.SetGridMemDat();
    opened.TableFreDat();
    opened.show();
    opened.repaint();
  });
  Print("opening: build, lay out, fill, first paint", opening);
  for (const std::string& line : report.lines()) std::fprintf(stderr, "%s\n", line.c_str());
  std::filesystem::remove_all(home);
  return report.lines().empty() ? 0 : 1;
}
