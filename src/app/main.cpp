// tq474: the TQ-474 programming tool.
//
//   tq474 [--home DIR] [FILE]
//   tq474 --help | --version
//
// The program's folder (settings file, default image, data folder, help files) is the folder
// of the executable unless --home names another. FILE (a .dat or .bin) is opened at start.
#include <QApplication>
#include <QLocale>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "base/error_report.h"
#include "comm/port_control.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/folders.h"
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

constexpr const char* kUsage =
    "usage: tq474 [--home DIR] [FILE]\n"
    "       tq474 --help | --version\n";

constexpr const char* kDescription =
    "\n"
    "The TQ-474 programming tool: reads the radio's memory through a programming cable, shows\n"
    "its channels and options for editing, keeps them in data files (.dat) or radio images\n"
    "(.bin), prints the channel table and writes the radio.\n"
    "\n"
    "  --home DIR   take DIR as the program's folder (settings file, default image, data)\n"
    "  FILE         a data file or radio image to open at start\n"
    "  --help       show this text\n"
    "  --version    show the version\n";

struct Arguments {
  std::optional<std::filesystem::path> home;
  std::optional<std::filesystem::path> file;
};

// An installed program keeps the settings and data in the user's folders; --home DIR keeps
// everything in DIR.
tq::Folders ChosenFolders(const Arguments& args) {
  if (args.home) return tq::Folders::In(*args.home);
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return tq::FoldersFor(ec ? std::filesystem::current_path() : self.parent_path(),
                        tq::UserFoldersFromEnvironment());
}

// Reads the command line before any window exists, so that --help and --version need no
// display; nullopt with the exit status when the program is to stop at once.
std::optional<Arguments> ParseArguments(int argc, char** argv, int& status) {
  Arguments args;
  for (int k = 1; k < argc; ++k) {
    const std::string_view arg = argv[k];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      std::fputs(kDescription, stdout);
      status = 0;
      return std::nullopt;
    }
    if (arg == "--version") {
      std::printf("tq474 %s\n%s", TQ474_VERSION, FoldersText(ChosenFolders(args)).c_str());
      status = 0;
      return std::nullopt;
    }
    if (arg == "--home" && k + 1 < argc) {
      args.home = argv[++k];
    } else if (!arg.empty() && arg[0] != '-' && !args.file) {
      args.file = std::filesystem::path(arg);
    } else {
      std::fprintf(stderr, "tq474: %s: not understood\n%s", argv[k], kUsage);
      status = 2;
      return std::nullopt;
    }
  }
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  int status = 0;
  const std::optional<Arguments> args = ParseArguments(argc, argv, status);
  if (!args) return status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("tq474");

  tq::TightenTimers();
  tq::ErrorReport report;
  tq::Session session(ChosenFolders(*args), report);
  tq::QtSerialLink link;
  tq::PortControl port(link, session.Settings(), report);
  tq::ui::QtDialogs dialogs;
  tq::ui::MainWindow window(session, port, dialogs, SystemLocaleId);
  window.show();
  if (window.Form_Load() && args->file)
    window.OpenNamedFile(QString::fromStdString(args->file->string()));
  return QApplication::exec();
}
