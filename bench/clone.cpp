// Benchmark: tq474-cli clone of a full 8 KB image to 1, 2 and 4 copies of tq474-sim
// --line-timing at once (each radio backed up, written and verified), with the wall time of each
// run, its ratio to the run with one radio, and the command's CPU time as a share of one core
// per radio.
//
//   tq474-bench-clone [PATH-TO-BIN-FOLDER]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"

namespace {

struct Run {
  bool ok = false;
  double wall = 0;
  double cpu = 0;
};

Run CloneTo(int radios, const std::filesystem::path& bin, const std::filesystem::path& home) {
  std::vector<std::unique_ptr<tq::bench::SimChild>> sims;
  std::vector<std::string> args = {(bin / "tq474-cli").string(), "--home", home.string(), "clone"};
  for (int k = 1; k <= radios; ++k) {
    const std::filesystem::path link = home / ("radio" + std::to_string(k));
    sims.push_back(std::make_unique<tq::bench::SimChild>(
        (bin / "tq474-sim").string(), link, std::vector<std::string>{"--line-timing"}));
    if (!sims.back()->Up()) return {};
    args.insert(args.end(), {"--port", link.string()});
  }
  args.push_back((home / "file.bin").string());

  std::fflush(stdout);  // the child must not print what the parent has buffered
  const auto began = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    std::freopen("/dev/null", "w", stdout);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  Run run;
  run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  run.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path bin = argc > 1 ? argv[1] : tq::bench::BinFolder();
  const std::filesystem::path home = tq::bench::ProgramFolder("tq474-bench-clone");
  std::filesystem::copy_file(home / "PX220_KR.exe", home / "file.bin");
  std::printf(
      "clone of a full 8 KB image (backup, write, verify) to tq474-sim --line-timing; "
      "load average %s\n",
      tq::bench::LoadAverage().c_str());
  double single = 0;
  bool allOk = true;
  for (const int radios : {1, 2, 4}) {
    const Run run = CloneTo(radios, bin, home);
    if (radios == 1) single = run.wall;
    allOk = allOk && run.ok;
    std::printf(
        "%d radio(s) %s  wall %7.3f s  ratio to one radio %.3f  cpu %.3f s = %.2f %% of "
        "a core per radio\n",
        radios, run.ok ? "ok    " : "FAILED", run.wall, single > 0 ? run.wall / single : 0, run.cpu,
        100.0 * run.cpu / run.wall / radios);
  }
  std::printf("load average after: %s\n", tq::bench::LoadAverage().c_str());
  std::filesystem::remove_all(home);
  return allOk ? 0 : 1;
}
