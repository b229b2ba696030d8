// A start-up that fails, or that leaves failures in the error list, stops every command of the
// command line before anything is written to a file or a radio: the report goes to stderr and
// the exit status is 1, never an abort.
#include <gtest/gtest.h>

#include <string>

#include "base/settings_file.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::RunCommand;
using testing::TempFolder;

TEST(CliStartUp, BrokenSettingsStopEveryCommandBeforeItWrites) {
  TempFolder home;
  TempFolder work;
  home.CopyShippedProgramFiles();
  const std::string cli = std::string(TQ474_CLI) + " --home '" + home.path().string() + "' ";
  const std::string good = (work / "good.dat").string();
  ASSERT_EQ(RunCommand(cli + "new '" + good + "'").status, 0);

  const std::pair<const char*, const char*> broken[] = {
      {"COM", "17"},   {"DatNum", "-1"},  {"DatNum", "99999"}, {"OverColor", "99999999999"},
      {"DatNum", "0"}, {"DatNum", "888"},
  };
  const SettingsFile settings(home / kSettingsFileName);
  for (const auto& [key, value] : broken) {
    const std::string before = settings.ReadSetting("Setting", key, "", 29);
    settings.WriteSetting("Setting", key, value);
    const std::string what = std::string(key) + "=" + value;
    const std::string fresh = (work / "fresh.dat").string();
    std::filesystem::remove(fresh);

    const testing::CommandResult made = RunCommand(cli + "new '" + fresh + "'");
    EXPECT_EQ(made.status, 1) << what;
    EXPECT_FALSE(std::filesystem::exists(fresh)) << what;
    EXPECT_NE(made.err.find("start-up failed"), std::string::npos) << what << ": " << made.err;

    const testing::CommandResult shown = RunCommand(cli + "show '" + good + "' --json");
    EXPECT_EQ(shown.status, 1) << what;
    EXPECT_TRUE(shown.out.empty()) << what;

    const testing::CommandResult written =
        RunCommand(cli + "write --port '" + (work / "no-radio").string() + "' '" + good + "'");
    EXPECT_EQ(written.status, 1) << what;
    EXPECT_NE(written.err.find("start-up failed"), std::string::npos) << what;
    settings.WriteSetting("Setting", key, before);
  }
}

}  // namespace
}  // namespace tq
