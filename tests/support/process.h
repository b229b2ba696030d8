// Child processes for tests: tq474-sim on a pseudo-terminal, and command lines whose exit status
// and output are checked.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tq::testing {

// tq474-sim started with `--link LINK` and the given options; SIGTERM and reaped at the end.
class SimProcess {
 public:
  SimProcess(const std::filesystem::path& link, const std::vector<std::string>& options);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool Up() const { return up_; }
  // Ends the simulator (SIGTERM) and waits for it; returns its exit status.
  int Stop();

 private:
  pid_t pid_ = -1;
  bool up_ = false;
};

struct CommandResult {
  int status = -1;  // exit status, -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs a shell command line, capturing stdout and stderr.
CommandResult RunCommand(const std::string& commandLine);

}  // namespace tq::testing
