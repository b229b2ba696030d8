// Takes a picture of the main window as a user sees it right after start-up:
//   tq474-screenshot --home DIR OUT.png [--error-list] [--demo] [--whole] [--reading] [--memory]
//                    [--size WxH]
// With --demo a few channels are filled through the channel grid as a user would fill them
// (band 136 - 174 MHz, tones, a receive-only channel, one outside the band) and the picture
// shows the channel window alone.
// With --reading the communication window reads the radio on the program's port (a tq474-sim
// the settings file points to) and the picture of the screen is taken half way through.
// With --memory the program holds a few bytes that differ from the radio, reads the radio's
// first kilobyte with "Show Memory Data" ticked, and the picture shows the memory window with
// the changed bytes in red and the tool tip of one of them.
// With --import FILE the preview of File > Import Channels... for FILE is taken.
// With --compare FILE the data (with --demo, its channels) are compared with FILE through
// File > Compare With... and the picture shows the list of differences.
// Run it under a real X display (xvfb-run) so that fonts and styles are the desktop's own.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QProgressBar>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <cstdio>

#include "base/error_report.h"
#include "comm/port_control.h"
#include "editor/channel_grid.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"
#include "ui/channel_grid_view.h"
#include "ui/channel_window.h"
#include "ui/commun_window.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"
#include "ui/memory_window.h"

namespace {

// Fills channels the way a user does it in the grid: a click, a typed frequency, a tone typed
// into the tone box.
void FillDemoChannels(tq::ui::ChannelWindow& window) {
  if (auto* band = window.findChild<QComboBox*>("cboFrequency")) band->setCurrentIndex(0);
  tq::ChannelGrid& grid = window.grid();
  for (int n = 1; n < grid.rows(); ++n) grid.DelOneChannel(n);
  const auto frequency = [&grid](int r, int c, const char* text) {
    grid.vsfgGridCh_Click(r, c);
    grid.vsfgGridCh_BeforeEdit(r, c);
    grid.vsfgGridCh_AfterEdit(r, c, text);
  };
  const auto tone = [&grid](int r, int c, const char* text) {
    grid.vsfgGridCh_Click(r, c);
    grid.cboGridChCtdcs_GotFocus();
    grid.SetToneBoxText(text);
    grid.cboGridChCtdcs_LostFocus(text);
  };
  frequency(1, 1, "146.525");
  tone(1, 3, "67.0");
  frequency(2, 1, "146.52");
  frequency(2, 2, "");
  frequency(3, 1, "145.6");
  frequency(3, 2, "145");
  tone(3, 3, "D023N");
  tone(3, 4, "88.5");
  frequency(4, 1, "430");
  frequency(5, 1, "162.55");
  // The first item of the power column's drop-down (low power).
  grid.vsfgGridCh_Click(5, 6);
  grid.vsfgGridCh_BeforeEdit(5, 6);
  const std::string& items = grid.editList();
  grid.vsfgGridCh_AfterEdit(5, 6, items.substr(0, items.find('|')));
  // Shown afresh, as after opening a data file: a click's row highlight would paint the
  // out-of-band colour of channel 4 over.
  grid.EndEditing();
  window.ShowChannels();
}

}  // namespace

// Qt's dialogs, except that a file to open is the one given on the command line.
class GivenFile final : public tq::ui::Dialogs {
 public:
  explicit GivenFile(QString file) : file_(std::move(file)) {}
  void SetFile(QString file) { file_ = std::move(file); }
  bool Ask(QWidget* parent, const QString& title, const QString& text) override {
    return qt_.Ask(parent, title, text);
  }
  void Tell(QWidget* parent, const QString& title, const QString& text,
            QMessageBox::Icon icon) override {
    qt_.Tell(parent, title, text, icon);
  }
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return file_; }
  QString SaveFileName(QWidget* parent, const QString& start, const QString& filter,
                       const QString& suffix) override {
    return qt_.SaveFileName(parent, start, filter, suffix);
  }
  void OpenWithDesktop(const QString& path) override { qt_.OpenWithDesktop(path); }
  bool Review(QWidget* parent, const QString& title, const QString& text) override {
    return qt_.Review(parent, title, text);
  }

 private:
  tq::ui::QtDialogs qt_;
  QString file_;
};

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
  tq::Session doc(args[home + 1].toStdString(), report);
  tq::QtSerialLink link;
  tq::PortControl port(link, doc.Settings(), report);
  const qsizetype compare = args.indexOf("--compare");
  GivenFile dialogs(compare >= 0 && compare + 1 < args.size() ? args[compare + 1] : QString());
  tq::ui::MainWindow window(doc, port, dialogs, [] { return 0x0409; });
  window.resize(1200, 800);
  // --size WxH takes the main window at another size (the program opens at 1100x760).
  if (const qsizetype size = args.indexOf("--size"); size >= 0 && size + 1 < args.size()) {
    const QStringList parts = args[size + 1].split('x');
    if (parts.size() == 2) window.resize(parts[0].toInt(), parts[1].toInt());
  }
  window.show();
  window.Form_Load();
  if (args.contains("--error-list")) window.mnuShowErr_Click();
  const bool demo = args.contains("--demo") && window.channelWindow() != nullptr;
  if (demo) FillDemoChannels(*window.channelWindow());
  if (const qsizetype import = args.indexOf("--import"); import >= 0 && import + 1 < args.size()) {
    dialogs.SetFile(args[import + 1]);
    QTimer::singleShot(500, [&] {
      // The preview is modal: it is taken from a timer that runs while it is open.
      QTimer::singleShot(600, [&] {
        QWidget* preview = QApplication::activeModalWidget();
        const bool saved = preview != nullptr && preview->grab().save(out);
        std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
        if (preview != nullptr) preview->close();
        window.hide();
        QApplication::exit(saved ? 0 : 1);
      });
      window.findChild<QAction*>("mnuImportChannels")->trigger();
    });
    return QApplication::exec();
  }
  if (compare >= 0) {
    QTimer::singleShot(500, [&] {
      window.findChild<QAction*>("mnuCompareWith")->trigger();
      QWidget* list = window.findChild<QDialog*>("frmCompare");
      QTimer::singleShot(300, [&, list] {
        const bool saved = list != nullptr && list->grab().save(out);
        std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
        window.hide();
        QApplication::exit(saved ? 0 : 1);
      });
    });
    return QApplication::exec();
  }
  if (args.contains("--memory") && window.memoryWindow() != nullptr) {
    tq::ui::MemoryWindow* memory = window.memoryWindow();
    // Bytes the radio does not hold: a channel record, two options and the stamp.
    for (const int address : {0x0012, 0x0013, 0x0022, 0x0131, 0x0134, 0x0330, 0x0331}) {
      doc.EditableImage().set(address, static_cast<uint8_t>(doc.Image().at(address) ^ 0x5A));
    }
    memory->TableFreDat();
    doc.AddressTextChanged(tq::AddressBox::ReadEnd, "03FF");
    tq::ui::CommunWindow* commun = window.communWindow();
    commun->findChild<QCheckBox*>("chkShowMemDat")->setChecked(true);
    window.ShowMemoryWindow(true);
    QTimer::singleShot(500, [&] {
      commun->cmdRead_Click();
      QTableView* table = memory->table();
      const QModelIndex cell = table->model()->index(0x0134 / 16, 0x0134 % 16);
      table->scrollTo(cell);
      const QPoint at = table->viewport()->mapToGlobal(table->visualRect(cell).center());
      QToolTip::showText(at, cell.data(Qt::ToolTipRole).toString(), table);
      QTimer::singleShot(600, [&] {
        const QRect shown = window.frameGeometry();
        const bool saved = QGuiApplication::primaryScreen()
                               ->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height())
                               .save(out);
        std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
        window.hide();
        QApplication::exit(saved ? 0 : 1);
      });
    });
    return QApplication::exec();
  }
  if (args.contains("--reading")) {
    tq::ui::CommunWindow* commun = window.communWindow();
    commun->ShowButtons(true, false);
    commun->show();
    auto* progress = commun->findChild<QProgressBar*>("prgCommunicate");
    bool saved = false;
    // The picture is taken from a timer that runs while the read waits for the radio.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (saved || progress->value() < 50) return;
      const QRect shown = window.frameGeometry();
      saved = QGuiApplication::primaryScreen()
                  ->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height())
                  .save(out);
      std::printf("%s %s at %d %%\n", saved ? "saved" : "could not save", qPrintable(out),
                  progress->value());
    });
    QTimer::singleShot(500, [&] {
      watch.start(20);
      commun->cmdRead_Click();
      watch.stop();
      window.hide();
      QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
  }
  QTimer::singleShot(800, [&] {
    // With --demo the channel window alone is taken, unless --whole asks for the main window.
    QWidget* shown =
        demo && !args.contains("--whole") ? static_cast<QWidget*>(window.channelWindow()) : &window;
    const bool saved = shown->grab().save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    window.hide();
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
