// tq474-cli diff: two data sets compared in the user's terms; each side is a data file, a radio
// image or a radio read first.
#include <iostream>
#include <string_view>

#include "base/error_report.h"
#include "base/numbers.h"
#include "cli/commands.h"
#include "session/image_diff.h"
#include "session/session.h"

namespace tq::cli {
namespace {

constexpr std::string_view kRadioPrefix = "radio:";

// Loads one side into `session`: reads the radio for "radio:P", else opens the file.
bool LoadSide(Session& session, const std::string& name) {
  if (name.rfind(kRadioPrefix, 0) == 0) {
    TransferOptions options;
    options.port = name.substr(kRadioPrefix.size());
    if (options.port.empty()) {
      std::cerr << "tq474-cli: " << name << " names no port\n";
      return false;
    }
    // The whole image, whatever range the settings file gives the Read command.
    options.start = "0000";
    options.end = HexText(static_cast<uint32_t>(session.Image().DatNum()), 4);
    return ReadRadio(session, options) == kOk;
  }
  if (!session.OpenDataFile(name)) {
    std::cerr << "tq474-cli: cannot read " << name << ": " << session.Report().LastDetail() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int DiffCommand(Session& before, Session& after, const std::string& a, const std::string& b,
                bool json) {
  if (!LoadSide(before, a) || !LoadSide(after, b)) return kDiffError;
  ImageDiff diff;
  const bool compared = before.Report().Guard("tq474-cli->diff", [&] {
    diff = CompareSides(SideOf(before, before.HeldImage()), SideOf(after, after.HeldImage()),
                        before, json ? DiffTexts::Script : DiffTexts::Display);
  });
  if (!compared) {
    FlushReport(before.Report());
    return kDiffError;
  }
  std::cout << (json ? DiffJson(diff) : DiffText(diff, before.Language()));
  return diff.Equal() ? kOk : kFailed;
}

}  // namespace tq::cli
