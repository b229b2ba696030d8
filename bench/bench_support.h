// Pieces the benchmarks share: the process's CPU clock, a program folder with the shipped files,
// and tq474-sim started as a child process on a pseudo-terminal.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace tq::bench {

inline double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The machine's load averages over 1, 5 and 15 minutes, as /proc/loadavg gives them.
inline std::string LoadAverage() {
  std::FILE* in = std::fopen("/proc/loadavg", "r");
  if (in == nullptr) return "unknown";
  double one = 0, five = 0, fifteen = 0;
  const int got = std::fscanf(in, "%lf %lf %lf", &one, &five, &fifteen);
  std::fclose(in);
  if (got != 3) return "unknown";
  char text[64];
  std::snprintf(text, sizeof text, "%.2f %.2f %.2f", one, five, fifteen);
  return text;
}

// The folder of the running benchmark, where the build puts the tools and shipped files.
inline std::filesystem::path BinFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// A fresh program folder under the temporary folder with the default image and settings file.
inline std::filesystem::path ProgramFolder(const char* name) {
  const std::filesystem::path home = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(home);
  std::filesystem::create_directories(home);
  for (const char* file : {"PX220_KR.exe", "TQ474.ini"}) {
    std::filesystem::copy_file(BinFolder() / file, home / file);
  }
  return home;
}

// tq474-sim --link LINK with the given options, ended with SIGTERM.
class SimChild {
 public:
  SimChild(const std::string& sim, const std::filesystem::path& link,
           std::vector<std::string> options) {
    options.insert(options.begin(), {sim, "--quiet", "--link", link.string()});
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (std::string& option : options) argv.push_back(option.data());
      argv.push_back(nullptr);
      execv(sim.c_str(), argv.data());
      std::perror("tq474-sim");
      _exit(127);
    }
    for (int i = 0; i < 200 && !std::filesystem::is_symlink(link); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    up_ = std::filesystem::is_symlink(link);
    if (!up_) std::fprintf(stderr, "tq474-sim did not come up\n");
  }
  ~SimChild() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  SimChild(const SimChild&) = delete;
  SimChild& operator=(const SimChild&) = delete;
  bool Up() const { return up_; }

 private:
  pid_t pid_ = -1;
  bool up_ = false;
};

// A second process that only sleeps 1 ms at a time and notes every wake-up that came more than
// 5 ms late: how long the machine itself (a virtual machine sharing its cores) held a process
// off the processor. A gap the program shows at the same moment is the machine's, not the
// program's.
class StallProbe {
 public:
  struct Stall {
    double startSeconds;  // on the steady clock
    double endSeconds;
  };

  explicit StallProbe(std::filesystem::path file) : file_(std::move(file)) {
    pid_ = fork();
    if (pid_ != 0) return;
    std::FILE* out = std::fopen(file_.c_str(), "w");
    if (out == nullptr) _exit(1);
    std::setvbuf(out, nullptr, _IONBF, 0);
    double last = Now();
    for (;;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      const double now = Now();
      if (now - last > 0.005) std::fprintf(out, "%.6f %.6f\n", last, now);
      last = now;
    }
  }
  ~StallProbe() { Stop(); }
  StallProbe(const StallProbe&) = delete;
  StallProbe& operator=(const StallProbe&) = delete;

  static double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  // Ends the probe and gives the stalls it saw.
  std::vector<Stall> Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    std::vector<Stall> stalls;
    if (std::FILE* in = std::fopen(file_.c_str(), "r")) {
      Stall stall{};
      while (std::fscanf(in, "%lf %lf", &stall.startSeconds, &stall.endSeconds) == 2) {
        stalls.push_back(stall);
      }
      std::fclose(in);
    }
    return stalls;
  }

 private:
  std::filesystem::path file_;
  pid_t pid_ = -1;
};

}  // namespace tq::bench
