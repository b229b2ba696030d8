#include "comm/wait.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "comm/serial_link.h"

#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace tq {
namespace {
constexpr int64_t kReplyPollUs = 400;
}  // namespace

void TightenTimers() noexcept {
#ifdef __linux__
  ::prctl(PR_SET_TIMERSLACK, 1UL);
#endif
}

int64_t SteadyClock::NowUs() {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

void SteadyClock::SleepUs(int64_t us) {
  if (us > 0) std::this_thread::sleep_for(std::chrono::microseconds(us));
}

LinkWait::LinkWait(Clock& clock, SerialLink* link, std::function<void()> processEvents, int sliceMs)
    : clock_(clock), link_(link), processEvents_(std::move(processEvents)), sliceMs_(sliceMs) {}

int64_t LinkWait::NowMs() {
  return clock_.NowUs() / 1000;
}

void LinkWait::DelayNms(int16_t ms) {
  Delay(ms, nullptr);
}

void LinkWait::DelayNmsUntil(int16_t ms, const std::function<bool()>& done) {
  Delay(ms, &done);
}

int64_t LinkWait::NowUs() {
  return clock_.NowUs();
}

void LinkWait::DelayUntilUs(int64_t deadlineUs) {
  DelayTo(deadlineUs, nullptr);
}

void LinkWait::Delay(int16_t ms, const std::function<bool()>* done) {
  if (ms <= 0) return;
  DelayTo(clock_.NowUs() + int64_t{ms} * 1000, done);
}

void LinkWait::DelayTo(int64_t end, const std::function<bool()>* done) {
  for (int64_t now = clock_.NowUs(); now < end; now = clock_.NowUs()) {
    if (done != nullptr && (*done)()) return;
    if (processEvents_) processEvents_();
    now = clock_.NowUs();
    if (now >= end) break;
    int64_t slice = std::min<int64_t>(end - now, int64_t{sliceMs_} * 1000);
    // The port waits only in whole milliseconds: a wait for a reply sleeps the last fraction in
    // short steps, each followed by a look at the line.
    if (done != nullptr && slice < 1000) slice = std::min<int64_t>(slice, kReplyPollUs);
    // Waiting in the port keeps its buffer filling; a link that returns early because bytes
    // arrived simply brings the next pass sooner. The link waits in whole milliseconds, so
    // the last fraction of a millisecond is slept.
    if (link_ != nullptr && link_->IsOpen() && slice >= 1000) {
      link_->WaitForInput(static_cast<int>(slice / 1000));
    } else {
      clock_.SleepUs(slice);
    }
  }
}

void LinkWait::SleepMs(int ms) {
  clock_.SleepUs(int64_t{ms} * 1000);
}

}  // namespace tq
