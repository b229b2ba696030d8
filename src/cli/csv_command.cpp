// tq474-cli export and import: channels out to and in from the generic channel CSV.
#include <iostream>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/file_io.h"
#include "cli/commands.h"
#include "editor/channel_csv.h"
#include "editor/channel_grid.h"
#include "session/image_diff.h"
#include "session/session.h"

namespace tq::cli {

int ExportCommand(Session& session, const std::filesystem::path& file,
                  const std::filesystem::path& out) {
  if (!session.OpenDataFile(file)) {
    std::cerr << "tq474-cli: cannot read " << file.string() << ": " << session.Report().LastDetail()
              << "\n";
    return kFailed;
  }
  const std::string csv = ChannelsToCsv(session, ReadCsvMapping(session.Settings()));
  if (!session.Report().Guard("tq474-cli->export",
                              [&] { WriteFileAtomically(out, csv, "export"); })) {
    std::cerr << "tq474-cli: cannot write " << out.string() << ": " << session.Report().LastDetail()
              << "\n";
    return kFailed;
  }
  return kOk;
}

int ImportCommand(Session& session, const ImportOptions& options) {
  if (!options.base.empty() && !session.OpenDataFile(options.base)) {
    std::cerr << "tq474-cli: cannot read " << options.base.string() << ": "
              << session.Report().LastDetail() << "\n";
    return kFailed;
  }
  std::vector<uint8_t> bytes;
  if (!session.Report().Guard("tq474-cli->import", [&] {
        // One byte more than a channel list may hold tells a file that is too large.
        bytes = ReadFileBytes(options.csv, kCsvMaxBytes + 1, "import");
      })) {
    std::cerr << "tq474-cli: cannot read " << options.csv.string() << ": "
              << session.Report().LastDetail() << "\n";
    return kUsageError;
  }
  const std::string text(bytes.begin(), bytes.end());
  CsvRows rows = ParseChannelCsv(text, session, ReadCsvMapping(session.Settings()));
  const std::string name = options.csv.string();
  if (!rows.readable) {
    std::cerr << "tq474-cli: " << name << ": " << rows.why << "; nothing was imported\n";
    return kUsageError;
  }
  if (rows.channels.empty()) {
    for (const CsvProblem& problem : rows.problems) {
      std::cerr << CsvProblemText(name, problem) << "\n";
    }
    std::cerr << "tq474-cli: " << name << ": no row could be read; nothing was imported\n";
    return kUsageError;
  }

  const DiffSide before = SideOf(session, session.ImageAsSaved());
  ChannelGrid grid(session);
  grid.SetChGrid();
  grid.ShowChTblGrid();
  EnterCsvChannels(grid, session, rows);
  bool refused = false;
  for (const CsvProblem& problem : rows.problems) {
    std::cerr << CsvProblemText(name, problem) << "\n";
    refused = refused || problem.refused;
  }
  if (options.dryRun) {
    std::cout << DiffText(CompareSides(before, SideOf(session, session.ImageAsSaved()), session),
                          session.Language());
    return refused ? kFailed : kOk;
  }
  if (!session.SaveAs(options.out)) {
    std::cerr << "tq474-cli: cannot write " << options.out.string() << ": "
              << session.Report().LastDetail() << "\n";
    return kFailed;
  }
  return refused ? kFailed : kOk;
}

}  // namespace tq::cli
