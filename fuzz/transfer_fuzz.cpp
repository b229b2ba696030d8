// The read and write transfers of a started session over a line whose replies the input decides,
// on a fake clock: every wait only moves the clock, so a transfer that would take a minute on a
// real line takes milliseconds here. Two kinds of line:
//   - raw: each frame the program sends is answered by the next chunk of the input, after a
//     delay the input gives; the replies are anything at all;
//   - radio: the simulated radio answers every frame, and the input decides for each reply
//     whether the line delivers it at once, late (within the quiet time the program waits for
//     before a retry), cut short, with a wrong first byte, with junk behind it, or not at all,
//     and after how many frames the line hangs up. Requests always reach the radio.
// Properties:
//   - a transfer ends within a bounded time on the line and a bounded number of frames (its
//     scripts, seven retries, the identification steps); the port is closed again and the
//     window told it is free;
//   - it ends either in success, with no message box and no report of its own, or with a
//     message box or a report;
//   - a read never changes the image outside its range, replaces the data (one notice) only when
//     it succeeds, and sends no write frame; a write sends no block outside its range;
//   - with the radio: a successful read holds exactly the radio's bytes in its range, a failed
//     one holds in each block either all the radio's bytes or all of its own; after a successful
//     write the radio holds the image's bytes in the range and its own elsewhere.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <deque>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/serial_link.h"
#include "comm/simulated_radio.h"
#include "comm/transfer.h"
#include "comm/wait.h"
#include "image/band.h"
#include "session/session.h"
#include "support/fuzz_support.h"
#include "support/started_program.h"
#include "support/temp_folder.h"

namespace {

using tq::fuzzing::InputReader;
using tq::fuzzing::Require;
using Bytes = std::vector<uint8_t>;

constexpr const char* kDevice = "/dev/tq474-fuzzed-line";
constexpr int kBlockBytes = 16;
constexpr uint8_t kWriteFrame = 0x57;

// A clock whose time moves only when something waits on it.
class FakeClock final : public tq::Clock {
 public:
  int64_t NowUs() override { return now; }
  void SleepUs(int64_t us) override {
    if (us > 0) now += us;
  }
  int64_t now = 0;
};

// A late reply comes at most some 250 ms after its request: inside the quiet time the program
// waits for after a failed try (the 150 ms reply window, the 30 ms pause and 100 ms without a
// byte). A reply later than that can be spliced into another block's reply that arrives cut
// short, and the protocol, which has no checksum, cannot tell.
constexpr int kLateSteps = 55;  // 0 to 216 ms later than the usual 1 to 32 ms

// What the line does to one reply of the radio.
enum class Fault { kNone, kDrop, kLate, kCut, kWrongFirstByte, kJunk };

// A serial line on the fake clock: bytes arrive at the times they were scheduled for, and a
// wait for input ends at the next arrival.
class FuzzedLine final : public tq::SerialLink {
 public:
  FuzzedLine(FakeClock& clock, InputReader& input, std::optional<tq::SimulatedRadio> radio,
             int hangUpAfter)
      : clock_(clock), input_(input), radio_(std::move(radio)), hangUpAfter_(hangUpAfter) {}

  void Open(const std::string& device) override {
    if (device != kDevice) throw tq::Failure(tq::err::kFileNotFound, device + ": no such device");
    open_ = true;
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  void DiscardTx() override {}
  void DiscardRx() override {
    while (!line_.empty() && line_.front().first <= clock_.now) line_.pop_front();
  }
  void Write(std::span<const uint8_t> bytes) override {
    if (!open_) throw tq::Failure(tq::err::kDeviceUnavailable, "FuzzedLine", "the port is closed");
    if (hangUpAfter_ > 0 && static_cast<int>(frames.size()) >= hangUpAfter_) {
      throw tq::Failure(tq::err::kDeviceIo, "FuzzedLine", "the line hung up");
    }
    frames.emplace_back(bytes.begin(), bytes.end());
    if (radio_) {
      for (Bytes& reply : radio_->Receive(frames.back())) Deliver(std::move(reply));
    } else if (!input_.empty()) {
      const int64_t delayMs = input_.Byte() * 2;
      Schedule(delayMs, input_.Bytes(input_.Byte()));
    }
  }
  int BytesWaiting() override {
    return static_cast<int>(std::count_if(line_.begin(), line_.end(),
                                          [&](const auto& b) { return b.first <= clock_.now; }));
  }
  Bytes ReadAll() override {
    Bytes arrived;
    while (!line_.empty() && line_.front().first <= clock_.now) {
      arrived.push_back(line_.front().second);
      line_.pop_front();
    }
    return arrived;
  }
  void WaitForInput(int ms) override {
    int64_t until = clock_.now + int64_t{ms} * 1000;
    for (const auto& [at, byte] : line_) {
      if (at > clock_.now) {
        until = std::min(until, at);
        break;
      }
    }
    clock_.now = std::max(clock_.now, until);
  }

  const tq::SimulatedRadio* radio() const { return radio_ ? &*radio_ : nullptr; }
  std::vector<Bytes> frames;

 private:
  // Bytes on the way, by arrival time; those of one reply arrive together.
  void Schedule(int64_t delayMs, const Bytes& bytes) {
    const int64_t at = clock_.now + delayMs * 1000;
    auto where = std::upper_bound(line_.begin(), line_.end(), at,
                                  [](int64_t t, const auto& b) { return t < b.first; });
    for (const uint8_t byte : bytes) where = std::next(line_.insert(where, {at, byte}));
  }

  void Deliver(Bytes reply) {
    const uint8_t how = input_.Byte();
    const int64_t latencyMs = 1 + (how >> 3);  // 1 to 32 ms, well inside the reply window
    switch (static_cast<Fault>(std::min<uint8_t>(how & 7, 5))) {
      case Fault::kNone:
        break;
      case Fault::kDrop:
        return;
      case Fault::kLate:
        Schedule(latencyMs + input_.Byte() % kLateSteps * 4, reply);
        return;
      case Fault::kCut:
        reply.resize(input_.Byte() % reply.size());
        break;
      case Fault::kWrongFirstByte:
        reply[0] ^= static_cast<uint8_t>(input_.Byte() | 1);
        break;
      case Fault::kJunk: {
        const Bytes junk = input_.Bytes(1 + input_.Byte() % 8);
        reply.insert(reply.end(), junk.begin(), junk.end());
        break;
      }
    }
    Schedule(latencyMs, reply);
  }

  FakeClock& clock_;
  InputReader& input_;
  std::optional<tq::SimulatedRadio> radio_;
  int hangUpAfter_;
  bool open_ = false;
  std::deque<std::pair<int64_t, uint8_t>> line_;
};

// The communication window's part: what the transfer tells it.
class Window final : public tq::TransferObserver, public tq::SessionObserver {
 public:
  void MessageBox(int) override { ++messageBoxes; }
  // A write that stops tells what the radio holds in its message instead of message 79.
  void WriteStopped(const tq::WriteStop&) override { ++messageBoxes; }
  void Running(bool running, bool) override { runs.push_back(running); }
  std::tm LocalTime() override {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 6;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 41;
    return t;
  }
  void DataReplaced() override { ++dataReplaced; }

  int messageBoxes = 0;
  int dataReplaced = 0;
  std::vector<bool> runs;
};

// A radio whose memory is unlike the default image, with a known model.
tq::SimulatedRadio PatternRadio(bool olderModel) {
  tq::SimulatedRadio radio(olderModel);
  for (std::size_t k = 0; k < radio.memory().size(); ++k) {
    radio.memory()[k] = static_cast<uint8_t>(k * 37 + (k >> 8) + 5);
  }
  radio.memory()[tq::kModelAddress] = 0;
  return radio;
}

// Mostly short ranges, sometimes the whole image, sometimes any two 16-bit words.
std::pair<int16_t, int16_t> Range(InputReader& input) {
  const uint8_t kind = input.Byte();
  const uint16_t start = input.Word();
  const uint8_t length = input.Byte();
  switch (kind % 8) {
    case 6:
      return {0x0000, 0x1FFF};
    case 7:
      return {static_cast<int16_t>(start), static_cast<int16_t>(input.Word())};
    default: {
      const int first = start % 0x2000;
      return {static_cast<int16_t>(first), static_cast<int16_t>(std::min(first + length, 0x1FFF))};
    }
  }
}

// The address of a block frame's address field (the top digit weighs 0x400).
int FrameAddress(const Bytes& frame) {
  return tq::SimulatedRadio::AddressOf(frame[1], frame[2]);
}

bool IsOlderModelFrame(const Bytes& frame) {
  return frame.size() >= 4 && frame[0] == kWriteFrame && frame[1] == 0x03 &&
         (frame[2] == 0x79 || frame[2] == 0xF0);
}

// Radio addresses the older-model closing frames write to: model and band, radio parameters.
bool OlderModelAddress(int a) {
  return (a >= tq::kModelAddress && a <= tq::kBandAddress + 3) || (a >= 0x03F0 && a <= 0x03FF);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  tq::fuzzing::StartedProgram& program = tq::fuzzing::SharedProgram();
  tq::Session& doc = program.doc;
  tq::ErrorReport& report = program.report;
  InputReader input(data, size);

  const uint8_t flags = input.Byte();
  const bool reading = (flags & 1) != 0;
  const bool withRadio = (flags & 2) != 0;
  const bool olderModel = (flags & 4) != 0;
  const bool portFails = (flags >> 3) == 0x1F;
  const auto [start, end] = Range(input);
  const uint8_t hangUp = input.Byte();
  const int hangUpAfter = hangUp < 0x10 ? hangUp : 0;

  doc.NewFileSol();
  const tq::MemoryImage before = doc.Image();
  const std::size_t reports = report.lines().size();
  FakeClock clock;
  FuzzedLine line(
      clock, input,
      withRadio ? std::optional<tq::SimulatedRadio>(PatternRadio(olderModel)) : std::nullopt,
      hangUpAfter);
  const std::optional<tq::SimulatedRadio> radioBefore =
      line.radio() ? std::optional<tq::SimulatedRadio>(*line.radio()) : std::nullopt;
  tq::LinkWait wait(clock, &line);
  tq::DataList list;
  tq::PortControl port(line, doc.Settings(), report);
  Window window;
  doc.Subscribe(window);
  tq::TransferSetup setup{line,
                          wait,
                          list,
                          port,
                          window,
                          tq::AddressRanges{start, end, start, end},
                          portFails ? std::string("/dev/tq474-no-line") : std::string(kDevice),
                          false,
                          false,  // no backups: the disk is not what this target is about
                          std::nullopt};
  const bool done = reading ? doc.Read(setup) : doc.Write(setup);
  doc.Unsubscribe(window);

  // Ends, in bounded time and traffic, with the port closed and the window free.
  const std::size_t blocks =
      end >= start ? static_cast<std::size_t>((end - start) / kBlockBytes + 1) : 0;
  const std::size_t scripts = blocks + 2;
  Require(clock.now <= static_cast<int64_t>(scripts) * 200'000 + 60'000'000,
          "a transfer ends within a bounded time on the line");
  Require(line.frames.size() <= scripts + (reading ? 7 : 24),
          "a transfer sends at most its scripts, seven retries and the identification steps");
  Require(!line.IsOpen(), "the port is closed after a transfer");
  // A range without blocks ends before the start, and the window is only told it is free.
  Require(window.runs == std::vector<bool>{true, false} || window.runs == std::vector<bool>{false},
          "the window is told the transfer runs, then that it is free");

  // Either success, or a message box or a report.
  const bool ownReport = std::any_of(report.lines().begin() + static_cast<std::ptrdiff_t>(reports),
                                     report.lines().end(), [](const std::string& l) {
                                       return l.find("frmCommun") != std::string::npos ||
                                              l.find("modCommun") != std::string::npos;
                                     });
  if (done) {
    Require(window.messageBoxes == 0 && !ownReport, "a successful transfer reports nothing");
  } else {
    Require(window.messageBoxes > 0 || report.lines().size() > reports,
            "a failed transfer shows a message box or a report");
  }

  const tq::MemoryImage& image = doc.Image();
  const bool inImage = start >= 0 && end <= image.DatNum();
  if (reading) {
    Require(window.dataReplaced == (done ? 1 : 0), "only a successful read replaces the data");
    for (int a = 0; a < static_cast<int>(image.size()); ++a) {
      if (a < start || a > end) {
        Require(image.at(a) == before.at(a), "a read changes nothing outside its range");
      }
    }
    for (const Bytes& frame : line.frames) {
      Require(frame.empty() || frame[0] != kWriteFrame, "a read sends no write frame");
    }
  } else if (inImage) {
    for (const Bytes& frame : line.frames) {
      if (frame.size() < 4 || frame[0] != kWriteFrame || IsOlderModelFrame(frame)) continue;
      const int a = FrameAddress(frame);
      Require(a >= start && a + frame[3] - 1 <= end, "a write sends no block outside its range");
    }
  }

  // A range reaching below 0 or past the image sends address fields that wrap; only ranges
  // inside the image are compared address by address with the radio.
  const tq::SimulatedRadio* radio = line.radio();
  if (radio == nullptr || !inImage) return 0;
  const auto& memory = radio->memory();
  const auto& memoryBefore = radioBefore->memory();
  if (reading) {
    Require(memory == memoryBefore, "a read leaves the radio's memory");
    for (int block = start; block <= end; block += kBlockBytes) {
      const int last = std::min(block + kBlockBytes - 1, static_cast<int>(end));
      bool own = true;
      bool radios = true;
      for (int a = block; a <= last; ++a) {
        own = own && image.at(a) == before.at(a);
        radios = radios && image.at(a) == memory[static_cast<std::size_t>(a)];
      }
      Require(radios || (own && !done), "a read holds the radio's bytes in every block it took");
    }
    return 0;
  }
  const bool olderFrames = std::any_of(line.frames.begin(), line.frames.end(), IsOlderModelFrame);
  for (int a = 0; a < static_cast<int>(memory.size()); ++a) {
    if (olderFrames && OlderModelAddress(a)) continue;
    const auto k = static_cast<std::size_t>(a);
    if (a < start || a > end) {
      Require(memory[k] == memoryBefore[k], "a write changes the radio only in its range");
    } else if (done) {
      Require(memory[k] == image.at(a), "after a successful write the radio holds the image");
    }
  }
  return 0;
}
