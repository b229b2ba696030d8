// A simulated TQ-474: its 8 KB memory and its answers to every frame of the programming
// protocol, with faults that tests and demonstrations switch on. It is pure logic: bytes in,
// replies out; the pseudo-terminal server (PtyRadio) puts it on a line.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace tq {

struct RadioFaults {
  bool silent = false;                 // never answers
  int dropReply = 0;                   // the Nth reply (1-based) is not sent; 0 = none
  std::optional<int> corruptEchoAt;    // the first read reply for this block address has a wrong
                                       // address echo byte
  int extraBytes = 0;                  // bytes appended to every reply
  int shortReply = 0;                  // the Nth reply (1-based) loses its last byte; 0 = none
  int hangUpAfter = 0;                 // the line hangs up after N frames; 0 = never
  int silentAfter = 0;                 // answers the first N replies, then none; 0 = always
  std::vector<uint8_t> identifyReply;  // the answer to the identification byte, when not empty
  std::optional<int> corruptStoreAt;   // a write keeps another byte here than it was sent
};

class SimulatedRadio {
 public:
  static constexpr int kMemorySize = 8192;

  // Starts with every byte erased (0xFF). `olderModel` answers the identification byte with
  // 02 00 instead of 02 03 30 10 0B, so the write goes through the older-model sequence.
  explicit SimulatedRadio(bool olderModel = false, RadioFaults faults = {});

  // Feeds bytes received on the line; returns the replies to the frames they complete, each
  // reply in the order the frames came.
  std::vector<std::vector<uint8_t>> Receive(const std::vector<uint8_t>& bytes);

  // True once the hang-up fault has triggered: the line is to be closed.
  bool HungUp() const noexcept { return hungUp_; }
  // Frames recognised so far, and the frames themselves (for tests).
  int FrameCount() const noexcept { return frameCount_; }
  const std::vector<std::vector<uint8_t>>& Frames() const noexcept { return frames_; }

  std::array<uint8_t, kMemorySize>& memory() noexcept { return memory_; }
  const std::array<uint8_t, kMemorySize>& memory() const noexcept { return memory_; }
  // The model and band bytes of the last older-model frame 57 03 79 05 (5 bytes).
  const std::vector<uint8_t>& modelAndBand() const noexcept { return modelAndBand_; }

  // The memory address of an address field: top digit weighted 0x400, kept within 8 KB.
  static int AddressOf(uint8_t high, uint8_t low) noexcept;

 private:
  // Answers one complete frame at the front of the input; nullopt when more bytes are needed.
  std::optional<std::size_t> TakeFrame(std::vector<uint8_t>& reply);
  void Reply(std::vector<std::vector<uint8_t>>& out, std::vector<uint8_t> reply);

  bool olderModel_;
  RadioFaults faults_;
  std::array<uint8_t, kMemorySize> memory_{};
  std::deque<uint8_t> input_;
  std::vector<std::vector<uint8_t>> frames_;
  std::vector<uint8_t> modelAndBand_;
  int frameCount_ = 0;
  int replyCount_ = 0;
  bool hungUp_ = false;
  bool echoCorrupted_ = false;
};

}  // namespace tq
