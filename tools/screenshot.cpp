// Takes a picture of the main window as a user sees it right after start-up:
//   tq474-screenshot --home DIR OUT.png [--error-list]
// Run it under a real X display (xvfb-run) so that fonts and styles are the desktop's own.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "base/error_report.h"
#include "comm/port_control.h"
#include "files/document.h"
#include "qtlink/qt_serial_link.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const qsizetype home = args.indexOf("--home");
  if (home < 0 || home + 2 >= args.size()) {
    std::fprintf(stderr, "usage: tq474-screenshot --home DIR OUT.png [--error-list]\n");
    return 2;
  }
  const QString out = args[home + 2];
  tq::ErrorReport report;
  tq::Document doc(args[home + 1].toStdString(), report);
  tq::QtSerialLink link;
  tq::PortControl port(link, doc.settings, report);
  tq::ui::QtDialogs dialogs;
  tq::ui::MainWindow window(doc, port, dialogs, [] { return 0x0409; });
  window.resize(1200, 800);
  window.show();
  window.Form_Load();
  if (args.contains("--error-list")) window.mnuShowErr_Click();
  QTimer::singleShot(800, [&] {
    const bool saved = window.grab().save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    window.hide();
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
