// tq474-cli: the headless tool. Loads the settings and the default image from the program's
// folder exactly as the program starts, then works on data files and the radio.
//
//   tq474-cli [--home DIR] show FILE [--json]
//   tq474-cli [--home DIR] new OUT
//   tq474-cli [--home DIR] read --port P [--start HEX --end HEX] [--log FILE] [--no-backup] OUT
//   tq474-cli [--home DIR] write --port P [--start HEX --end HEX] [--log FILE]
//                                [--backup|--no-backup] [--verify] FILE
//   tq474-cli [--home DIR] diff A B [--json]
//   tq474-cli [--home DIR] export FILE OUT.csv
//   tq474-cli [--home DIR] import IN.csv OUT [--into BASE] [--dry-run]
//   tq474-cli [--home DIR] clone --port P1 [--port P2 ...] [--start HEX --end HEX]
//                                [--no-backup] [--no-verify] [--wait] FILE
//
// FILE and OUT are data files (.dat) or radio images (.bin). P is a port number 1 to 16 (mapped
// to a device by the settings file) or a device path.
// A and B are files or "radio:P" (the radio on port P, read first).
// Exit status 0 on success, 1 when a file or the radio fails, 2 on a usage error; diff exits 0
// when A and B are equal, 1 when they differ and 2 when one cannot be loaded.
#include <QCoreApplication>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "cli/commands.h"
#include "session/folders.h"
#include "session/session.h"

namespace {

// Each command's usage and what it does, for "tq474-cli help COMMAND".
struct CommandHelp {
  const char* name;
  const char* usage;
  const char* text;
};

constexpr CommandHelp kCommands[] = {
    {"show", "show FILE [--json]",
     "Prints the channels, options, model and band of FILE as File > Open shows them;\n"
     "--json prints one JSON object instead.\n"},
    {"new", "new OUT", "Writes the data set a fresh start followed by File > Save writes.\n"},
    {"read",
     "read --port P [--start HEX --end HEX] [--log FILE]\n"
     "                 [--no-backup] OUT",
     "Reads the radio on port P into OUT and keeps the radio's bytes as a backup.\n"},
    {"write",
     "write --port P [--start HEX --end HEX] [--log FILE]\n"
     "                 [--backup|--no-backup] [--verify] FILE",
     "Writes FILE into the radio on port P, backed up first and verified after when asked.\n"},
    {"diff", "diff A B [--json]",
     "Lists what differs between A and B in user terms; exit 0 equal, 1 different, 2 error.\n"},
    {"export", "export FILE OUT.csv", "Writes the channels of FILE as channel CSV.\n"},
    {"import", "import IN.csv OUT [--into BASE] [--dry-run]",
     "Enters the rows of IN.csv into the channels of BASE (or a new data set) and saves OUT;\n"
     "--dry-run prints the changes and writes nothing.\n"},
    {"clone",
     "clone --port P1 [--port P2 ...] [--start HEX --end HEX]\n"
     "                 [--no-backup] [--no-verify] [--wait] FILE",
     "Writes FILE to the radio on every port at once, each backed up and verified; --wait\n"
     "programs radio after radio on every port until Ctrl+C.\n"},
    {"help", "help [COMMAND]", "Shows how to call tq474-cli or one of its commands.\n"},
};

constexpr const char* kTerms =
    "FILE and OUT are data files (.dat) or radio images (.bin); A and B are such files\n"
    "or radio:P, the radio on port P, read first.\n"
    "P is a port number 1 to 16 or a device path such as /dev/ttyUSB0.\n"
    "--home DIR takes DIR as the program's folder (settings file, default image, data).\n";

std::string UsageText() {
  std::string text;
  const char* first = "usage: ";
  for (const CommandHelp& command : kCommands) {
    text += std::string(first) + "tq474-cli [--home DIR] " + command.usage + "\n";
    first = "       ";
  }
  return text + "       tq474-cli --help | --version\n" + kTerms;
}

std::filesystem::path ExecutableFolder() {
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : self.parent_path();
}

int Usage(const std::string& error = {}) {
  if (!error.empty()) std::cerr << "tq474-cli: " << error << "\n";
  std::cerr << UsageText();
  return tq::cli::kUsageError;
}

// "help" alone, or "help COMMAND": on stdout, exit 0; an unknown command is a usage error.
int Help(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::cout << UsageText();
    return tq::cli::kOk;
  }
  for (const CommandHelp& command : kCommands) {
    if (args[0] == command.name) {
      std::cout << "usage: tq474-cli [--home DIR] " << command.usage << "\n\n"
                << command.text << "\n"
                << kTerms;
      return tq::cli::kOk;
    }
  }
  return Usage("no command " + args[0]);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  // The serial port's notifiers need an application object, even without an event loop.
  QCoreApplication app(argc, argv);
  // An installed program keeps the settings and data in the user's folders; --home DIR keeps
  // everything in DIR.
  tq::Folders folders = tq::FoldersFor(ExecutableFolder(), tq::UserFoldersFromEnvironment());
  if (args.size() >= 2 && args[0] == "--home") {
    folders = tq::Folders::In(args[1]);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  if (args[0] == "--help" || args[0] == "-h") {
    std::cout << UsageText();
    return tq::cli::kOk;
  }
  if (args[0] == "--version") {
    std::cout << "tq474-cli " << TQ474_VERSION << "\n" << tq::FoldersText(folders);
    return tq::cli::kOk;
  }
  const std::string command = args[0];
  args.erase(args.begin());
  if (command == "help") return Help(args);
  // "COMMAND --help" is "help COMMAND".
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return Help({command});
  }

  bool json = false;
  tq::cli::TransferOptions transfer;
  tq::cli::CloneOptions clone;
  tq::cli::ImportOptions import;
  if (command == "show" || command == "new" || command == "diff") {
    if (command != "new" && !args.empty() && args.back() == "--json") {
      json = true;
      args.pop_back();
    }
    if (args.size() != (command == "diff" ? 2U : 1U)) return Usage();
  } else if (command == "read" || command == "write") {
    std::string error;
    if (!tq::cli::ParseTransferOptions(args, transfer, error)) return Usage(error);
  } else if (command == "export") {
    if (args.size() != 2) return Usage();
  } else if (command == "import") {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
      if (args[i] == "--into" && i + 1 < args.size()) {
        import.base = args[++i];
      } else if (args[i] == "--dry-run") {
        import.dryRun = true;
      } else if (!args[i].empty() && args[i][0] == '-') {
        return Usage("unknown option " + args[i]);
      } else {
        files.push_back(args[i]);
      }
    }
    if (files.size() != 2) return Usage("import takes IN.csv and OUT");
    import.csv = files[0];
    import.out = files[1];
  } else if (command == "clone") {
    std::string error;
    if (!tq::cli::ParseCloneOptions(args, clone, error)) return Usage(error);
  } else {
    return Usage("unknown command " + command);
  }

  tq::ErrorReport report;
  tq::Session session(folders, report);
  // A start-up that failed, or that reported a failure of one of its steps, leaves a data set
  // that is not what the settings describe: nothing is written from it, to a file or a radio.
  if (!session.StartUp() || !report.lines().empty()) {
    tq::cli::FlushReport(report);
    std::cerr << "tq474-cli: start-up failed (the settings file " << folders.settingsFile.string()
              << " is not usable); nothing was done\n";
    return command == "diff" ? tq::cli::kDiffError : tq::cli::kFailed;
  }

  if (command == "read") return tq::cli::ReadCommand(session, transfer);
  if (command == "write") return tq::cli::WriteCommand(session, transfer);
  if (command == "clone") return tq::cli::CloneCommand(session, clone);
  if (command == "export") return tq::cli::ExportCommand(session, args[0], args[1]);
  if (command == "import") return tq::cli::ImportCommand(session, import);
  if (command == "diff") {
    // The second side is a data set of its own, started from the same settings.
    tq::Session other(folders, report);
    if (!other.StartUp()) {
      tq::cli::FlushReport(report);
      return tq::cli::kDiffError;
    }
    return tq::cli::DiffCommand(session, other, args[0], args[1], json);
  }

  const std::filesystem::path file = args[0];
  if (command == "new") {
    if (!session.SaveAs(file)) {
      std::cerr << "tq474-cli: cannot write " << file.string() << ": " << report.LastDetail()
                << "\n";
      return tq::cli::kFailed;
    }
    tq::cli::FlushReport(report);
    return tq::cli::kOk;
  }
  if (!session.OpenDataFile(file)) {
    std::cerr << "tq474-cli: cannot read " << file.string() << ": " << report.LastDetail() << "\n";
    return tq::cli::kFailed;
  }
  // Every read of the image is guarded: an image that does not hold an address is reported.
  const bool shown = report.Guard("tq474-cli->show", [&] {
    if (json) {
      tq::cli::PrintJson(session);
    } else {
      tq::cli::PrintTable(session);
    }
  });
  tq::cli::FlushReport(report);
  return shown ? tq::cli::kOk : tq::cli::kFailed;
}
