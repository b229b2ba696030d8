// tq474-cli read and write against tq474-sim on a pseudo-terminal: the commands dealers script.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/settings_file.h"
#include "files/data_file.h"
#include "image/memory_image.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::SimProcess;
using testing::TempFolder;

// The first offset where two byte strings differ, -1 when they are equal.
long FirstDifference(const std::string& a, const std::string& b) {
  const auto [at, _] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
  if (at == a.end() && a.size() == b.size()) return -1;
  return at - a.begin();
}

class CliTransferTest : public ::testing::Test {
 protected:
  CliTransferTest() {
    home.CopyShippedProgramFiles();
    // Small ranges keep the runs short: two blocks each way.
    SettingsFile settings(home / kSettingsFileName);
    settings.WriteSetting("Setting", "ReadEndAddr", "001F");
    settings.WriteSetting("Setting", "WriteEndAddr", "001F");
  }

  CommandResult Cli(const std::string& arguments) {
    return RunCommand(std::string(TQ474_CLI) + " --home '" + home.path().string() + "' " +
                      arguments);
  }

  // A data file whose image holds a known pattern.
  MemoryImage Pattern() {
    MemoryImage image;
    for (int a = 0; a <= 0x1FFF; ++a) image.set(a, static_cast<uint8_t>(a * 13 + 5));
    return image;
  }

  TempFolder home;
  TempFolder work;
  std::filesystem::path link = work / "radio";
};

TEST_F(CliTransferTest, ReadSavesTheRadiosBytesAsADataFile) {
  SaveDataFile(work / "radio.dat", Pattern());
  SimProcess sim(link, {"--image", (work / "radio.dat").string()});
  ASSERT_TRUE(sim.Up());
  const CommandResult run =
      Cli("read --port '" + link.string() + "' --start 0000 --end 003F --log '" +
          (work / "log.txt").string() + "' '" + (work / "out.dat").string() + "'");
  ASSERT_EQ(run.status, 0) << run.err;
  MemoryImage read;
  LoadDataFile(work / "out.dat", read);
  const MemoryImage pattern = Pattern();
  // 0x0000-0x003F came from the radio; the channel bytes went through the decoder and back,
  // so compare the bytes outside the channel records.
  for (int a = 0; a < 0x10; ++a) EXPECT_EQ(read.at(a), pattern.at(a)) << a;
  for (const int a : {0x1E, 0x1F, 0x2E, 0x2F, 0x3E, 0x3F}) {
    EXPECT_EQ(read.at(a), pattern.at(a)) << "uninterpreted record byte " << a;
  }
  const std::string log = TempFolder::Read(work / "log.txt");
  EXPECT_NE(log.find("Tx: 3A 91 C4 0E \n    7B 25 D8 \n"), std::string::npos) << log;
  EXPECT_NE(log.find("Tx: 52 00 30 10 \n"), std::string::npos) << log;
  EXPECT_NE(log.find("Tx: 6C 0F 93 B1 \n    D4 7E 28 \n"), std::string::npos) << log;
}

TEST_F(CliTransferTest, ARadioImageIsTheRadioByteForByteAndWritesBackUnchanged) {
  // Arbitrary bytes everywhere: 0x0400-0x040F, channel records no channel rule describes.
  std::vector<uint8_t> memory(8192);
  for (std::size_t k = 0; k < memory.size(); ++k) {
    memory[k] = static_cast<uint8_t>((k * 7919 + 13) ^ (k >> 5));
  }
  const std::filesystem::path radio = work.WriteBytes("radio.bin", memory);
  {
    SimProcess sim(link, {"--image", radio.string()});
    ASSERT_TRUE(sim.Up());
    const CommandResult run = Cli("read --port '" + link.string() + "' --start 0000 --end 1FFF '" +
                                  (work / "copy.bin").string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
  }
  EXPECT_EQ(FirstDifference(TempFolder::Read(work / "copy.bin"), TempFolder::Read(radio)), -1);

  const std::filesystem::path after = work / "after.bin";
  {
    SimProcess sim(link, {"--image", radio.string(), "--save", after.string()});
    ASSERT_TRUE(sim.Up());
    const CommandResult run = Cli("write --port '" + link.string() + "' --start 0000 --end 1FFF '" +
                                  (work / "copy.bin").string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.Stop(), 0);
  }
  std::string written = TempFolder::Read(after);
  ASSERT_EQ(written.size(), memory.size());
  // Only the date stamp of the write itself differs.
  std::string expected(memory.begin(), memory.end());
  expected.replace(0x0330, 5, written.substr(0x0330, 5));
  EXPECT_EQ(FirstDifference(written, expected), -1);

  // A radio image of the wrong size is refused and changes nothing.
  work.Write("short.bin", "too short");
  const CommandResult shortFile = Cli("show '" + (work / "short.bin").string() + "'");
  EXPECT_EQ(shortFile.status, 1);
  EXPECT_NE(shortFile.err.find("a radio image holds 8192 bytes; this file holds 9"),
            std::string::npos)
      << shortFile.err;
}

TEST_F(CliTransferTest, APortNumberUsesTheDeviceOfTheSettingsFile) {
  SettingsFile(home / kSettingsFileName).WriteSetting("Ports", "COM3", link.string());
  SimProcess sim(link, {});
  ASSERT_TRUE(sim.Up());
  const CommandResult run = Cli("read --port 3 '" + (work / "out.dat").string() + "'");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(std::filesystem::exists(work / "out.dat"));
}

TEST_F(CliTransferTest, WriteSendsTheFileAndTheRadioKeepsIt) {
  SaveDataFile(work / "in.dat", Pattern());
  const std::filesystem::path saved = work / "saved.dat";
  {
    SimProcess sim(link, {"--save", saved.string()});
    ASSERT_TRUE(sim.Up());
    const CommandResult run =
        Cli("write --port '" + link.string() + "' --end 01FF '" + (work / "in.dat").string() + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.Stop(), 0);
  }
  MemoryImage radio;
  for (auto& byte : radio.bytes()) byte = 0;
  LoadDataFile(saved, radio);
  const MemoryImage pattern = Pattern();
  // Bytes the editor does not interpret arrive exactly as the file held them.
  for (int a = 0x0110; a < 0x012F; ++a) EXPECT_EQ(radio.at(a), pattern.at(a)) << a;
  // The stamp of the write is not the file's.
  EXPECT_NE(
      std::vector<uint8_t>(radio.bytes().begin() + 0x0330, radio.bytes().begin() + 0x0335),
      std::vector<uint8_t>(pattern.bytes().begin() + 0x0330, pattern.bytes().begin() + 0x0335));
}

TEST_F(CliTransferTest, ASilentRadioFailsWithMessage79AndLeavesTheFile) {
  work.Write("out.dat", "old contents");
  SimProcess sim(link, {"--silent"});
  ASSERT_TRUE(sim.Up());
  const CommandResult run =
      Cli("read --port '" + link.string() + "' '" + (work / "out.dat").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Communication failed,please check commuication port!"), std::string::npos)
      << run.err;
  EXPECT_EQ(TempFolder::Read(work / "out.dat"), "old contents");
}

TEST_F(CliTransferTest, AWriteThatStopsTellsWhatTheRadioNowHolds) {
  SaveDataFile(work / "in.dat", Pattern());
  const std::string write =
      "write --port '" + link.string() + "' '" + (work / "in.dat").string() + "'";
  {
    // The programming code and the first block are acknowledged, then nothing.
    SimProcess sim(link, {"--silent-after", "2"});
    ASSERT_TRUE(sim.Up());
    const CommandResult run = Cli(write);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("tq474-cli: Communication failed"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tq474-cli: The write stopped after 0000-000F of 0000-001F: the radio "
                           "holds part of the new data. Write it again before using it."),
              std::string::npos)
        << run.err;
  }
  SimProcess sim(link, {"--identify-reply", "02"});
  ASSERT_TRUE(sim.Up());
  const CommandResult run = Cli(write);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.find("Communication failed"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("tq474-cli: The data 0000-001F was written, but identifying the radio"),
            std::string::npos)
      << run.err;
}

TEST_F(CliTransferTest, AMissingPortFailsAtOnce) {
  const CommandResult run = Cli("read --port '" + (work / "nothing").string() + "' '" +
                                (work / "out.dat").string() + "'");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot open the port"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(work / "out.dat"));
}

}  // namespace
}  // namespace tq
