// tq474: the TQ-474 programming tool.
//
//   tq474 [--home DIR]
//
// The program's folder (settings file, default image, data folder, help files) is the folder
// of the executable unless --home names another.
#include <QApplication>
#include <QLocale>
#include <filesystem>
#include <string>

#include "base/error_report.h"
#include "comm/port_control.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace {

// The system's locale as a Windows locale identifier, as far as the first run needs it:
// 0x0804 for Chinese as used in the People's Republic of China.
int SystemLocaleId() {
  const QLocale locale = QLocale::system();
  if (locale.language() == QLocale::Chinese && locale.territory() == QLocale::China) return 0x0804;
  if (locale.language() == QLocale::Chinese && locale.territory() == QLocale::Taiwan) return 0x0404;
  return 0x0409;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("tq474");
  std::filesystem::path home = QApplication::applicationDirPath().toStdString();
  const QStringList args = QApplication::arguments();
  const qsizetype at = args.indexOf("--home");
  if (at >= 0 && at + 1 < args.size()) home = args[at + 1].toStdString();

  tq::TightenTimers();
  tq::ErrorReport report;
  tq::Session session(home, report);
  tq::QtSerialLink link;
  tq::PortControl port(link, session.Settings(), report);
  tq::ui::QtDialogs dialogs;
  tq::ui::MainWindow window(session, port, dialogs, SystemLocaleId);
  window.show();
  window.Form_Load();
  return QApplication::exec();
}
