// tq474-sim: a simulated TQ-474 on a pseudo-terminal, for trying the programming tool without a
// radio and as the peer of tests and benchmarks. It prints the device to open, answers every
// frame of the programming protocol until SIGTERM or SIGINT (or until the hang-up fault drops
// the line), and can save the radio's memory as a data file at the end.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "base/failure.h"
#include "base/numbers.h"
#include "comm/pty_radio.h"
#include "comm/simulated_radio.h"
#include "files/image_file.h"
#include "image/memory_image.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage =
    "usage: tq474-sim [--image FILE] [--save FILE] [--link PATH] [--line-timing]\n"
    "                 [--latency MS] [--older-model] [--silent] [--drop-reply N]\n"
    "                 [--corrupt-echo HEXADDR] [--extra-bytes K] [--short-reply N]\n"
    "                 [--hang-up-after N] [--silent-after N] [--identify-reply|--ident HEXBYTES]\n"
    "                 [--late-reply N --late-reply-ms MS] [--corrupt-store HEXADDR] [--quiet]\n"
    "       tq474-sim --help | --version\n";

constexpr const char* kDescription =
    "\n"
    "A simulated TQ-474 radio on a pseudo-terminal, for trying the programming tool without a\n"
    "radio. It prints the device to open (or makes PATH a symbolic link to it) and answers the\n"
    "programming protocol from its 8 KB memory until SIGTERM or SIGINT.\n"
    "\n"
    "  --image FILE          start with the memory of FILE (.dat or .bin); erased otherwise\n"
    "  --save FILE           write the memory to FILE at the end (.bin: the raw image)\n"
    "  --link PATH           make PATH a symbolic link to the device\n"
    "  --line-timing         pace every byte as a 9600 bit/s line would\n"
    "  --latency MS          answer every frame MS milliseconds later\n"
    "  --older-model         answer the identification byte like an older radio\n"
    "  --silent              never answer\n"
    "  --drop-reply N        leave the Nth reply out\n"
    "  --corrupt-echo ADDR   answer the first read of ADDR with a wrong address echo\n"
    "  --extra-bytes K       append K bytes to every reply\n"
    "  --short-reply N       cut the Nth reply short\n"
    "  --hang-up-after N     drop the line after N frames\n"
    "  --silent-after N      fall silent after N replies\n"
    "  --identify-reply HEX  answer the identification byte with these bytes (also --ident)\n"
    "  --late-reply N        send the Nth reply --late-reply-ms MS milliseconds late\n"
    "  --corrupt-store ADDR  keep another byte at ADDR than was written\n"
    "  --quiet               do not log the frames on stderr\n";

struct Arguments {
  std::optional<fs::path> image;
  std::optional<fs::path> save;
  std::optional<fs::path> link;
  bool olderModel = false;
  bool quiet = false;
  tq::RadioFaults faults;
  tq::PtyRadioOptions line;
};

// A whole number 0..1000000 written in decimal digits only.
std::optional<int> Count(std::string_view text) {
  if (text.empty() || text.size() > 7) return std::nullopt;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 1000000) return std::nullopt;
  return value;
}

// Reads the command line; nullopt (after a message) when it is not understood.
std::optional<Arguments> ParseArguments(int argc, char** argv) {
  Arguments args;
  for (int k = 1; k < argc; ++k) {
    const std::string_view option = argv[k];
    auto value = [&]() -> std::optional<std::string_view> {
      if (k + 1 >= argc) return std::nullopt;
      return std::string_view(argv[++k]);
    };
    auto count = [&](int& target) {
      const std::optional<std::string_view> text = value();
      const std::optional<int> number = text ? Count(*text) : std::nullopt;
      if (number) target = *number;
      return number.has_value();
    };
    auto path = [&](std::optional<fs::path>& target) {
      const std::optional<std::string_view> text = value();
      if (!text || text->empty()) return false;
      target = fs::path(*text);
      return true;
    };
    bool ok = true;
    if (option == "--image") {
      ok = path(args.image);
    } else if (option == "--save") {
      ok = path(args.save);
    } else if (option == "--link") {
      ok = path(args.link);
    } else if (option == "--line-timing") {
      args.line.lineTiming = true;
    } else if (option == "--latency") {
      ok = count(args.line.latencyMs);
    } else if (option == "--older-model") {
      args.olderModel = true;
    } else if (option == "--silent") {
      args.faults.silent = true;
    } else if (option == "--drop-reply") {
      ok = count(args.faults.dropReply);
    } else if (option == "--corrupt-echo") {
      const std::optional<std::string_view> text = value();
      const std::optional<uint32_t> address = text ? tq::ParseHex(*text) : std::nullopt;
      ok = address && *address < static_cast<uint32_t>(tq::SimulatedRadio::kMemorySize);
      if (ok) args.faults.corruptEchoAt = static_cast<int>(*address);
    } else if (option == "--corrupt-store") {
      const std::optional<std::string_view> text = value();
      const std::optional<uint32_t> address = text ? tq::ParseHex(*text) : std::nullopt;
      ok = address && *address < static_cast<uint32_t>(tq::SimulatedRadio::kMemorySize);
      if (ok) args.faults.corruptStoreAt = static_cast<int>(*address);
    } else if (option == "--extra-bytes") {
      ok = count(args.faults.extraBytes);
    } else if (option == "--short-reply") {
      ok = count(args.faults.shortReply);
    } else if (option == "--hang-up-after") {
      ok = count(args.faults.hangUpAfter);
    } else if (option == "--silent-after") {
      ok = count(args.faults.silentAfter);
    } else if (option == "--identify-reply" || option == "--ident") {
      // The bytes as one hexadecimal text, two digits a byte ("02" or "0203").
      const std::optional<std::string_view> text = value();
      ok = text && !text->empty() && text->size() % 2 == 0 && text->size() <= 64;
      for (std::size_t at = 0; ok && at < text->size(); at += 2) {
        const std::optional<uint32_t> byte = tq::ParseHex(text->substr(at, 2));
        ok = byte.has_value();
        if (ok) args.faults.identifyReply.push_back(static_cast<uint8_t>(*byte));
      }
    } else if (option == "--late-reply") {
      ok = count(args.line.lateReply);
    } else if (option == "--late-reply-ms") {
      ok = count(args.line.lateReplyMs);
    } else if (option == "--quiet") {
      args.quiet = true;
    } else {
      std::cerr << "tq474-sim: unknown argument '" << option << "'\n";
      return std::nullopt;
    }
    if (!ok) {
      std::cerr << "tq474-sim: " << option << " needs a valid value\n";
      return std::nullopt;
    }
  }
  return args;
}

// One log line for a frame: its first bytes (a write's data only counted).
std::string Describe(const std::vector<uint8_t>& frame) {
  const std::size_t head = frame.size() > 4 && frame[0] == 0x57 ? 4 : frame.size();
  std::string text = "rx";
  for (std::size_t k = 0; k < head; ++k) text += " " + tq::HexText(frame[k], 2);
  if (head < frame.size()) {
    const std::size_t data = frame.size() - head;
    text += " + " + std::to_string(data) + (data == 1 ? " byte" : " bytes");
  }
  return text;
}

// Points `link` at `target`, replacing a symbolic link that is already there (nothing else).
bool MakeLink(const fs::path& link, const std::string& target) {
  std::error_code error;
  if (fs::is_symlink(fs::symlink_status(link, error))) {
    fs::remove(link, error);
  } else if (fs::exists(fs::symlink_status(link, error))) {
    std::cerr << "tq474-sim: " << link.string() << " exists and is not a symbolic link\n";
    return false;
  }
  fs::create_symlink(target, link, error);
  if (error) {
    std::cerr << "tq474-sim: cannot link " << link.string() << ": " << error.message() << "\n";
    return false;
  }
  return true;
}

int Run(const Arguments& args) {
  tq::SimulatedRadio radio(args.olderModel, args.faults);
  if (args.image) {
    tq::MemoryImage image;
    tq::LoadImageFile(*args.image, image);
    std::copy_n(image.bytes().begin(), tq::SimulatedRadio::kMemorySize, radio.memory().begin());
  }

  // SIGTERM and SIGINT are taken with sigtimedwait in the loop below; blocking them before the
  // server thread starts keeps them away from that thread too.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGTERM);
  sigaddset(&signals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  tq::PtyRadio server(std::move(radio), args.line);
  bool linked = false;
  if (args.link) {
    if (!MakeLink(*args.link, server.SlavePath())) return 1;
    linked = true;
    std::cout << args.link->string() << " " << server.SlavePath() << std::endl;
  } else {
    std::cout << server.SlavePath() << std::endl;
  }

  std::size_t logged = 0;
  for (;;) {
    const timespec wait{0, 50'000'000};
    const int received = sigtimedwait(&signals, nullptr, &wait);
    const auto [frames, hungUp] = server.WithRadio([&](tq::SimulatedRadio& r) {
      std::vector<std::vector<uint8_t>> fresh;
      const auto& all = r.Frames();
      if (!args.quiet && all.size() > logged)
        fresh.assign(all.begin() + static_cast<std::ptrdiff_t>(logged), all.end());
      logged = all.size();
      return std::pair{std::move(fresh), r.HungUp()};
    });
    for (const auto& frame : frames) std::cerr << Describe(frame) << "\n";
    if (received == SIGTERM || received == SIGINT) break;
    if (hungUp) {
      if (!args.quiet) std::cerr << "hang-up: line dropped\n";
      break;
    }
  }
  // Lets a hang-up finish dropping the line before the server is stopped.
  server.Stop();

  int status = 0;
  if (args.save) {
    tq::MemoryImage image;
    server.WithRadio([&](tq::SimulatedRadio& r) {
      std::copy(r.memory().begin(), r.memory().end(), image.bytes().begin());
    });
    try {
      tq::SaveImageFile(*args.save, image);
    } catch (const tq::Failure& failure) {
      std::cerr << "tq474-sim: cannot save " << args.save->string() << ": " << failure.what()
                << "\n";
      status = 1;
    }
  }
  if (linked) {
    std::error_code error;
    fs::remove(*args.link, error);
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  for (int k = 1; k < argc; ++k) {
    const std::string_view option = argv[k];
    if (option == "--help" || option == "-h") {
      std::cout << kUsage << kDescription;
      return 0;
    }
    if (option == "--version") {
      std::cout << "tq474-sim " << TQ474_VERSION << "\n";
      return 0;
    }
  }
  const std::optional<Arguments> args = ParseArguments(argc, argv);
  if (!args) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    return Run(*args);
  } catch (const tq::Failure& failure) {
    std::cerr << "tq474-sim: " << failure.what() << "\n";
    return 1;
  }
}
