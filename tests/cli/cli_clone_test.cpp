// tq474-cli clone: one file to many simulated radios at once, each backed up, written and
// verified; and the production line that waits for radio after radio.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "base/settings_file.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::SimProcess;
using testing::TempFolder;

class CliCloneTest : public ::testing::Test {
 protected:
  CliCloneTest() {
    home.CopyShippedProgramFiles();
    for (std::size_t k = 0; k < file.size(); ++k) file[k] = static_cast<char>(k * 5 + 3);
    work.Write("file.bin", file);
  }

  std::string Cli(const std::string& arguments) const {
    return std::string(TQ474_CLI) + " --home '" + home.path().string() + "' " + arguments;
  }

  std::filesystem::path Link(int n) const { return work / ("radio" + std::to_string(n)); }
  std::string Port(int n) const { return " --port '" + Link(n).string() + "'"; }
  std::string File() const { return " '" + (work / "file.bin").string() + "'"; }

  // The first address below `size` where the radio's memory as it was left differs from the
  // file, but for the date stamp the write put there; -1 when none does.
  long FirstDifference(const std::filesystem::path& saved, std::size_t size = 8192) const {
    std::string bytes = TempFolder::Read(saved);
    if (bytes.size() != file.size()) return 0;
    bytes.replace(0x0330, 5, file.substr(0x0330, 5));
    const auto [at, _] =
        std::mismatch(file.begin(), file.begin() + static_cast<long>(size), bytes.begin());
    return at == file.begin() + static_cast<long>(size) ? -1 : at - file.begin();
  }

  TempFolder home;
  TempFolder work;
  std::string file = std::string(8192, '\0');
};

TEST_F(CliCloneTest, EveryRadioGetsTheFileAndAFailingOneFailsOnlyItsOwnRow) {
  std::vector<std::unique_ptr<SimProcess>> radios;
  for (int n = 1; n <= 3; ++n) {
    std::vector<std::string> options = {"--save",
                                        (work / ("saved" + std::to_string(n) + ".bin")).string()};
    if (n == 2) options.insert(options.end(), {"--corrupt-store", "1234"});
    radios.push_back(std::make_unique<SimProcess>(Link(n), options));
    ASSERT_TRUE(radios.back()->Up());
  }
  const CommandResult run = RunCommand(Cli("clone" + Port(1) + Port(2) + Port(3) + File()));
  for (auto& radio : radios) EXPECT_EQ(radio->Stop(), 0);
  EXPECT_EQ(run.status, 1) << run.out << run.err;
  for (int n = 1; n <= 3; ++n) {
    const auto at = run.out.find(Link(n).string() + " ");
    ASSERT_NE(at, std::string::npos) << run.out;
    const std::string row = run.out.substr(at, run.out.find('\n', at) - at);
    EXPECT_NE(row.find(n == 2 ? " FAILED " : " ok "), std::string::npos) << row;
  }
  EXPECT_NE(run.err.find("(1234)"), std::string::npos) << "the verify names the address";
  EXPECT_EQ(FirstDifference(work / "saved1.bin"), -1);
  EXPECT_EQ(FirstDifference(work / "saved3.bin"), -1);
  std::size_t backups = 0;
  for (const auto& entry : std::filesystem::directory_iterator(home / "backups")) {
    EXPECT_TRUE(TempFolder::Read(entry.path()) == std::string(8192, '\xFF')) << "radio memory";
    ++backups;
  }
  EXPECT_EQ(backups, 3u) << "one backup each, none overwritten by another";
}

TEST_F(CliCloneTest, BadInputStartsNoTransfer) {
  const auto status = [&](const std::string& arguments) {
    return RunCommand(Cli("clone" + arguments)).status;
  };
  EXPECT_EQ(status(Port(1) + Port(1) + File()), 2) << "the same port twice";
  EXPECT_EQ(status(Port(1) + " '" + (work / "missing.bin").string() + "'"), 1);
  work.Write("short.bin", "short");
  EXPECT_EQ(status(Port(1) + " '" + (work / "short.bin").string() + "'"), 1);
  std::filesystem::remove_all(home / "backups");
  home.Write("backups", "a file where the folder belongs");
  SimProcess radio(Link(1), {"--save", (work / "saved.bin").string()});
  ASSERT_TRUE(radio.Up());
  const CommandResult run = RunCommand(Cli("clone" + Port(1) + File()));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot be written"), std::string::npos) << run.err;
  EXPECT_EQ(radio.Stop(), 0);
  EXPECT_TRUE(TempFolder::Read(work / "saved.bin") == std::string(8192, '\xFF'))
      << "nothing written";
}

TEST_F(CliCloneTest, TheProductionLineProgramsRadioAfterRadioUntilCtrlC) {
  const auto out = work / "out.txt";
  const pid_t line = fork();
  if (line == 0) {
    const std::string command = "exec " +
                                Cli("clone --wait --start 0000 --end 003F" + Port(1) + File()) +
                                " > '" + out.string() + "' 2>&1";
    execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
    _exit(127);
  }
  // Waits until `text` appears `count` times in the output.
  const auto awaitText = [&](const std::string& text, int count) {
    for (int i = 0; i < 300; ++i) {
      const std::string now = TempFolder::Read(out);
      int seen = 0;
      for (auto at = now.find(text); at != std::string::npos; at = now.find(text, at + 1)) ++seen;
      if (seen >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  };
  for (int n = 1; n <= 2; ++n) {
    // A radio plugged in is programmed; unplugged, the station waits for the next one.
    SimProcess radio(Link(1), {"--save", (work / ("saved" + std::to_string(n) + ".bin")).string()});
    ASSERT_TRUE(radio.Up());
    EXPECT_TRUE(awaitText(" ok ", n)) << TempFolder::Read(out);
    EXPECT_EQ(radio.Stop(), 0);
    EXPECT_EQ(FirstDifference(work / ("saved" + std::to_string(n) + ".bin"), 0x40), -1);
    EXPECT_TRUE(awaitText(": ready for the next radio", n)) << TempFolder::Read(out);
  }
  kill(line, SIGINT);
  int status = -1;
  waitpid(line, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_NE(TempFolder::Read(out).find("2 radio(s) programmed"), std::string::npos)
      << TempFolder::Read(out);
}

}  // namespace
}  // namespace tq
