// The simulated radio on a pseudo-terminal: opens a master/slave pair, serves the radio on the
// master side in a thread, and gives the slave path for the tool to open as its serial port.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "comm/simulated_radio.h"

namespace tq {

struct PtyRadioOptions {
  bool lineTiming = false;  // pace every byte as a 9600 8N1 line would (10/9600 s a byte,
                            // counting the request's bytes too)
  int latencyMs = 0;        // extra pause before each reply
  int lateReply = 0;        // the Nth reply (1-based) comes lateReplyMs later still; 0 = none
  int lateReplyMs = 0;
};

class PtyRadio {
 public:
  // Opens the pair and starts serving. Throws Failure when no pseudo-terminal can be had.
  PtyRadio(SimulatedRadio radio, PtyRadioOptions options = {});
  ~PtyRadio();  // stops the thread and closes the master side
  PtyRadio(const PtyRadio&) = delete;
  PtyRadio& operator=(const PtyRadio&) = delete;

  // The slave device, e.g. "/dev/pts/7".
  const std::string& SlavePath() const noexcept { return slavePath_; }

  // Runs `f` with the radio under the lock (its memory, frames and state).
  template <typename F>
  auto WithRadio(F&& f) {
    std::lock_guard<std::mutex> lock(mutex_);
    return f(radio_);
  }

  // Stops serving; the master side is closed, which the tool sees as a hang-up.
  void Stop();

 private:
  void Serve();

  SimulatedRadio radio_;
  PtyRadioOptions options_;
  int repliesSent_ = 0;
  std::mutex mutex_;
  int master_ = -1;
  int keepSlave_ = -1;  // keeps the line up between the tool's opens
  std::string slavePath_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace tq
