// The records a transfer leaves (backups, the transfer log) and the checks around a write, from
// the command line against tq474-sim.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "base/settings_file.h"
#include "base/sha256.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::SimProcess;
using testing::TempFolder;

class CliRecordsTest : public ::testing::Test {
 protected:
  CliRecordsTest() {
    home.CopyShippedProgramFiles();
    for (std::size_t k = 0; k < memory.size(); ++k) memory[k] = static_cast<uint8_t>(k * 3 + 1);
    radio = work.WriteBytes("radio.bin", memory);
  }

  CommandResult Cli(const std::string& arguments) {
    return RunCommand(std::string(TQ474_CLI) + " --home '" + home.path().string() + "' " +
                      arguments + " --port '" + link.string() + "' --start 0000 --end 001F");
  }

  std::vector<std::string> Backups() const {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& e : std::filesystem::directory_iterator(home / "backups", ignored)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<std::string> LogLines() const {
    std::istringstream log(TempFolder::Read(home / "transfers.jsonl"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);) lines.push_back(line);
    return lines;
  }

  static std::string Bytes(const std::vector<uint8_t>& all, std::size_t from, std::size_t count) {
    return {all.begin() + static_cast<std::ptrdiff_t>(from),
            all.begin() + static_cast<std::ptrdiff_t>(from + count)};
  }

  TempFolder home;
  TempFolder work;
  std::filesystem::path link = work / "radio";
  std::vector<uint8_t> memory = std::vector<uint8_t>(8192);
  std::filesystem::path radio;
};

TEST_F(CliRecordsTest, AReadLeavesItsBytesAsABackupAndOneLogLine) {
  SimProcess sim(link, {"--image", radio.string()});
  ASSERT_TRUE(sim.Up());
  const CommandResult run = Cli("read '" + (work / "out.bin").string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;

  const std::vector<std::string> backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(backups[0].ends_with("-read-0000-001F.bin")) << backups[0];
  EXPECT_EQ(backups[0].size(), std::string("20261206-093000-read-0000-001F.bin").size());
  EXPECT_EQ(TempFolder::Read(home / "backups" / backups[0]), Bytes(memory, 0, 0x20));

  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  const std::string out = TempFolder::Read(work / "out.bin");
  const std::string sha = Sha256Hex({reinterpret_cast<const uint8_t*>(out.data()), out.size()});
  for (const std::string& part :
       {std::string("\"kind\":\"read\""), std::string("\"range\":\"0000-001F\""),
        std::string("\"ok\":true"), std::string("\"message\":null"),
        "\"device\":\"" + link.string() + "\"", "\"sha256\":\"" + sha + "\"",
        "\"backup\":\"" + backups[0] + "\"", std::string("\"verify\":null")}) {
    EXPECT_NE(lines[0].find(part), std::string::npos) << part << " not in " << lines[0];
  }
}

TEST_F(CliRecordsTest, AWriteBacksUpFirstAndItsVerifyNamesTheByteTheRadioDidNotKeep) {
  const std::filesystem::path after = work / "after.bin";
  SimProcess sim(link,
                 {"--image", radio.string(), "--save", after.string(), "--corrupt-store", "0013"});
  ASSERT_TRUE(sim.Up());
  const CommandResult run = Cli("write --backup --verify '" + (work / "radio.bin").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("The verify after writing failed: 1 byte differs from what was written "
                         "(0013)"),
            std::string::npos)
      << run.err;

  const std::vector<std::string> backups = Backups();
  ASSERT_EQ(backups.size(), 1u);
  EXPECT_TRUE(backups[0].ends_with("-before-write-0000-001F.bin")) << backups[0];
  EXPECT_EQ(TempFolder::Read(home / "backups" / backups[0]), Bytes(memory, 0, 0x20));

  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("\"kind\":\"backup\","), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("\"kind\":\"write\","), std::string::npos) << lines[1];
  EXPECT_NE(lines[1].find("\"ok\":true"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("\"kind\":\"verify\","), std::string::npos) << lines[2];
  EXPECT_NE(lines[2].find("\"ok\":false"), std::string::npos) << lines[2];
  EXPECT_NE(lines[2].find("\"verify\":false"), std::string::npos) << lines[2];
}

TEST_F(CliRecordsTest, WithoutItsBackupAWriteSendsNothing) {
  const std::filesystem::path after = work / "after.bin";
  {
    // The radio does not answer the backup's read.
    SimProcess sim(link, {"--silent", "--save", after.string()});
    ASSERT_TRUE(sim.Up());
    const CommandResult run = Cli("write --backup '" + radio.string() + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("The backup before writing could not be made, so nothing was written"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(sim.Stop(), 0);
  }
  EXPECT_EQ(TempFolder::Read(after), std::string(8192, '\xFF')) << "nothing was written";

  // A backups folder that cannot be made stops the write before any traffic.
  work.Write("log", "");
  std::filesystem::remove_all(home / "backups");
  home.Write("backups", "a file where the folder belongs");
  SimProcess sim(link, {});
  ASSERT_TRUE(sim.Up());
  const CommandResult run =
      Cli("write --backup --log '" + (work / "log").string() + "' '" + radio.string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("backups cannot be written"), std::string::npos) << run.err;
  EXPECT_EQ(TempFolder::Read(work / "log"), "") << "no frame was sent";
}

}  // namespace
}  // namespace tq
