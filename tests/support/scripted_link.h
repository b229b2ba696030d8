// An in-memory serial link that answers each write with the next queued reply, and a wait that
// only counts: the protocol interpreter's tests run on them without a line or a clock.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "comm/serial_link.h"
#include "comm/wait.h"

namespace tq::testing {

class ScriptedLink final : public SerialLink {
 public:
  // The only device that opens.
  static constexpr const char* kDevice = "/dev/tq474-scripted";

  void Open(const std::string& device) override {
    open_ = device == kDevice;
    if (!open_) throw Failure(err::kFileNotFound, device + ": error 2, No such file");
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  void DiscardTx() override {}
  void DiscardRx() override { input.clear(); }
  void Write(std::span<const uint8_t> bytes) override {
    if (!open_) throw Failure(err::kDeviceUnavailable, "SerialLink", "the port is closed");
    written.emplace_back(bytes.begin(), bytes.end());
    if (!replies.empty()) {
      input.insert(input.end(), replies.front().begin(), replies.front().end());
      replies.pop_front();
    }
  }
  int BytesWaiting() override { return static_cast<int>(input.size()); }
  std::vector<uint8_t> ReadAll() override { return std::exchange(input, {}); }
  void WaitForInput(int) override {}

  // The answers to the next writes, one each; every write as it was made; the bytes that have
  // arrived and are not read yet.
  std::deque<std::vector<uint8_t>> replies;
  std::vector<std::vector<uint8_t>> written;
  std::vector<uint8_t> input;

 private:
  bool open_ = false;
};

// A wait whose time moves only by what it is asked to wait; it records every DelayNms.
class CountingWait final : public Wait {
 public:
  int64_t NowMs() override { return now; }
  void DelayNms(int16_t ms) override {
    delays.push_back(ms);
    now += ms;
  }
  void SleepMs(int ms) override { now += ms; }
  std::vector<int> delays;
  int64_t now = 0;
};

}  // namespace tq::testing
