#include "support/process.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <thread>

#include "support/temp_folder.h"

namespace tq::testing {

SimProcess::SimProcess(const std::filesystem::path& link, const std::vector<std::string>& options) {
  std::vector<std::string> args = {TQ474_SIM, "--quiet", "--link", link.string()};
  args.insert(args.end(), options.begin(), options.end());
  pid_ = ::fork();
  if (pid_ == 0) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    // The simulator's line of paths on stdout is not needed here.
    std::freopen("/dev/null", "w", stdout);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  for (int i = 0; i < 500 && pid_ > 0; ++i) {
    if (std::filesystem::is_symlink(link)) {
      up_ = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

int SimProcess::Stop() {
  if (pid_ <= 0) return -1;
  ::kill(pid_, SIGTERM);
  int raw = 0;
  ::waitpid(pid_, &raw, 0);
  pid_ = -1;
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

SimProcess::~SimProcess() {
  Stop();
}

CommandResult RunCommand(const std::string& commandLine) {
  CommandResult result;
  TempFolder scratch;
  const std::string errFile = (scratch / "stderr.txt").string();
  FILE* pipe = ::popen((commandLine + " 2>'" + errFile + "'").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    result.out.append(buffer.data(), n);
  const int raw = ::pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.err = TempFolder::Read(errFile);
  return result;
}

}  // namespace tq::testing
