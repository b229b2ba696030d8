// The tq474-cli contract that outside scripts rely on: exit codes, one JSON object, and data
// files written exactly as a fresh start followed by Save writes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "base/error_report.h"
#include "base/settings_file.h"
#include "files/data_file.h"
#include "image/channel_table.h"
#include "image/memory_image.h"
#include "session/session.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::TempFolder;

class CliTest : public ::testing::Test {
 protected:
  CliTest() { home.CopyShippedProgramFiles(); }

  CommandResult Cli(const std::string& arguments) {
    return RunCommand(std::string(TQ474_CLI) + " --home '" + home.path().string() + "' " +
                      arguments);
  }

  TempFolder home;
  TempFolder work;
};

TEST_F(CliTest, NewWritesWhatAFreshStartFollowedBySaveWrites) {
  const SettingsFile settings(home / kSettingsFileName);
  settings.WriteSetting("Setting", "Language", "3");
  settings.WriteSetting("Option", "3001", "9");  // time-out default: 135 s
  const CommandResult run = Cli("new '" + (work / "new.dat").string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  ErrorReport report;
  Session session(home.path(), report);
  ASSERT_TRUE(session.StartUp());
  ASSERT_TRUE(session.SaveAs(work / "saved.dat"));
  const std::string file = TempFolder::Read(work / "new.dat");
  const std::string saved = TempFolder::Read(work / "saved.dat");
  ASSERT_EQ(file.size(), 8192u);
  ASSERT_EQ(saved.size(), 8192u);
  const auto differ = std::mismatch(file.begin(), file.end(), saved.begin()).first;
  EXPECT_EQ(differ - file.begin(), 8192) << "the first byte that differs";
  EXPECT_EQ(static_cast<uint8_t>(file[0x0130 + 0x10]), 9) << "time-out from the stored default";
}

TEST_F(CliTest, ShowJsonDecodesTheFileAsTheProgramOpensIt) {
  MemoryImage image;
  for (auto& byte : image.bytes()) byte = 0xFF;
  // Channel 2: 146.525 MHz both ways, 67.0 Hz receive tone, D023I transmit tone; field 8 = 2.
  const std::vector<uint8_t> record = {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x14,
                                       0x9E, 0x02, 0x13, 0xA8, 0x10, 0x20, 0xAB, 0xCD};
  for (std::size_t i = 0; i < record.size(); ++i) {
    image.set(ChannelRecordAddress(2) + static_cast<int>(i), record[i]);
  }
  image.set(0x0170, 0x02);  // channel 2 in the flag word
  image.set(0x0379, 0x00);
  const std::vector<uint8_t> band = {0x13, 0x60, 0x17, 0x40};
  for (int i = 0; i < 4; ++i) image.set(0x037A + i, band[static_cast<std::size_t>(i)]);
  image.set(0x0130, 20);  // time-out 300 s
  for (int a = 0x0330; a <= 0x0334; ++a) image.set(a, static_cast<uint8_t>(a - 0x0330 + 1));
  SaveDataFile(work / "radio.dat", image);

  const CommandResult run = Cli("show '" + (work / "radio.dat").string() + "' --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string& json = run.out;
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json.find('\n'), json.size() - 1) << "exactly one line, one object";
  EXPECT_NE(json.find("\"model\": 0,"), std::string::npos);
  EXPECT_NE(json.find("\"band\": {\"lower\": 13600000, \"upper\": 17400000, \"position\": 0}"),
            std::string::npos);
  EXPECT_NE(
      json.find("{\"number\": 2, \"rx\": 14652500, \"tx\": 14652500, \"rx_tone\": \"67.0\", "
                "\"tx_tone\": \"D023I\", \"fields\": {\"5\": 1, \"6\": 0, \"7\": 1, \"8\": 2"),
      std::string::npos)
      << json;
  EXPECT_NE(json.find("{\"number\": 1, \"rx\": -1, \"tx\": -1,"), std::string::npos);
  EXPECT_NE(json.find("\"options\": [20,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"stamp\": [1, 2, 3, 4, 5]}"), std::string::npos);
}

TEST_F(CliTest, ShowPrintsAReadableTable) {
  ASSERT_EQ(Cli("new '" + (work / "n.dat").string() + "'").status, 0);
  const CommandResult run = Cli("show '" + (work / "n.dat").string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("400 - 470 MHz"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Time Out Timer[s]"), std::string::npos) << run.out;
}

TEST_F(CliTest, BadFilesGiveOneLineAndAFailingStatus) {
  std::filesystem::create_directory(work / "folder.dat");
  work.Write("empty.dat", "");
  for (const char* name : {"missing.dat", "folder.dat", "empty.dat"}) {
    const CommandResult run = Cli("show '" + (work / name).string() + "' --json");
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_TRUE(run.out.empty()) << name;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
  }
  const CommandResult write = Cli("new '" + (work / "no" / "x.dat").string() + "'");
  EXPECT_EQ(write.status, 1);
}

TEST_F(CliTest, AnyFileContentIsShownWithoutACrash) {
  // Short, odd-length, garbage and oversized files all decode to something.
  std::vector<uint8_t> garbage(9000);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<uint8_t>(i * 37 + 11);
  work.WriteBytes("garbage.dat", garbage);
  work.WriteBytes("one.dat", {0x01});
  for (const char* name : {"garbage.dat", "one.dat"}) {
    const CommandResult run = Cli("show '" + (work / name).string() + "' --json");
    EXPECT_EQ(run.status, 0) << name << run.err;
    EXPECT_EQ(run.out.front(), '{') << name;
  }
}

TEST_F(CliTest, UsageErrorsSayHowToCallIt) {
  const CommandResult run = Cli("frobnicate x");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("usage:"), std::string::npos);
  EXPECT_EQ(Cli("read out.dat").status, 2) << "no port";
  EXPECT_EQ(Cli("read --port 1 --start xyz out.dat").status, 2);
  EXPECT_EQ(Cli("write --port").status, 2);

  // A range the transfer would not cover (wrapping past 7FFF, ending below its start or past
  // the image) is refused before any port is opened or file written.
  const std::string out = (work / "out.dat").string();
  for (const char* range : {"--start 0 --end FFFF", "--start 0 --end 8000", "--start 1000 --end 0",
                            "--start 0 --end 2000"}) {
    const CommandResult refused =
        Cli(std::string("read --port /dev/tq474-none ") + range + " '" + out + "'");
    EXPECT_EQ(refused.status, 2) << range << ": " << refused.err;
    EXPECT_NE(refused.err.find("holds no block"), std::string::npos) << range;
    EXPECT_FALSE(std::filesystem::exists(out)) << range;
  }
}

// The three programs answer --help on stdout and --version with their version, exit 0, and
// refuse what they do not understand on stderr with exit 2; tq474-cli explains each command.
TEST(CommandLineManners, HelpVersionAndUsageErrors) {
  for (const char* program : {TQ474_APP, TQ474_CLI, TQ474_SIM}) {
    const std::string name = std::filesystem::path(program).filename().string();
    const CommandResult help = RunCommand(std::string(program) + " --help");
    EXPECT_EQ(help.status, 0) << name;
    EXPECT_EQ(help.out.rfind("usage: " + name, 0), 0u) << name << ": " << help.out;
    const CommandResult version = RunCommand(std::string(program) + " --version");
    EXPECT_EQ(version.status, 0) << name;
    EXPECT_EQ(version.out.rfind(name + " " + TQ474_VERSION_TEXT + "\n", 0), 0u) << version.out;
    const CommandResult wrong = RunCommand(std::string(program) + " --no-such-option");
    EXPECT_EQ(wrong.status, 2) << name;
    EXPECT_TRUE(wrong.out.empty()) << name;
    EXPECT_NE(wrong.err.find("usage: " + name), std::string::npos) << name;
  }
  const CommandResult command = RunCommand(std::string(TQ474_CLI) + " help import");
  EXPECT_EQ(command.status, 0);
  EXPECT_NE(command.out.find("usage: tq474-cli [--home DIR] import IN.csv OUT"), std::string::npos);
  EXPECT_EQ(RunCommand(std::string(TQ474_CLI) + " clone --help")
                .out.find("usage: tq474-cli [--home DIR] clone"),
            0u);
  EXPECT_EQ(RunCommand(std::string(TQ474_CLI) + " help frob").status, 2);
}

}  // namespace
}  // namespace tq
