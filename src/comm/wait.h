// Time for the transfers: a monotonic millisecond clock and the millisecond wait DelayNms that
// keeps the interface alive while it waits.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>

namespace tq {

class SerialLink;

// A monotonic clock in microseconds that can also sleep; tests inject one whose sleep only
// moves its own time forward.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual int64_t NowUs() = 0;
  virtual void SleepUs(int64_t us) = 0;
};

// The machine's steady clock.
class SteadyClock final : public Clock {
 public:
  int64_t NowUs() override;
  void SleepUs(int64_t us) override;
};

// Asks the system to wake the calling thread from its timed waits as close to the deadline as
// it can (on Linux the default slack lets a 1 ms wait end up to 50 us late). The transfers wait
// hundreds of times for a few milliseconds, so this keeps them close to the line's own pace.
void TightenTimers() noexcept;

class Wait {
 public:
  virtual ~Wait() = default;
  virtual int64_t NowMs() = 0;
  // Waits `ms` milliseconds (0 or less returns at once), returning no earlier than asked.
  virtual void DelayNms(int16_t ms) = 0;
  // A plain sleep that processes nothing (the retry pause of the transfers).
  virtual void SleepMs(int ms) = 0;
  // Waits like DelayNms, but returns as soon as `done` holds (checked after each pass), so that
  // a reply is taken when its bytes are there, not at the end of the millisecond.
  virtual void DelayNmsUntil(int16_t ms, const std::function<bool()>& done) {
    if (!done()) DelayNms(ms);
  }
  // The time in microseconds, on the clock of NowMs.
  virtual int64_t NowUs() { return NowMs() * 1000; }
  // Waits like DelayNms until the clock reaches `deadlineUs` (returns at once when it has).
  virtual void DelayUntilUs(int64_t deadlineUs) {
    const int64_t left = deadlineUs - NowUs();
    if (left > 0) DelayNms(static_cast<int16_t>(std::min<int64_t>((left + 999) / 1000, 32767)));
  }
};

// DelayNms over a clock: on each pass it lets the interface process its pending events (when a
// pump is given), then blocks in the link's own wait for input (or sleeps) for the rest of the
// time, at most `slice` milliseconds, so that timers keep firing and no core spins.
class LinkWait final : public Wait {
 public:
  LinkWait(Clock& clock, SerialLink* link, std::function<void()> processEvents = {},
           int sliceMs = 5);
  int64_t NowMs() override;
  void DelayNms(int16_t ms) override;
  void SleepMs(int ms) override;
  void DelayNmsUntil(int16_t ms, const std::function<bool()>& done) override;
  int64_t NowUs() override;
  void DelayUntilUs(int64_t deadlineUs) override;

 private:
  void Delay(int16_t ms, const std::function<bool()>* done);
  void DelayTo(int64_t end, const std::function<bool()>* done);

  Clock& clock_;
  SerialLink* link_;
  std::function<void()> processEvents_;
  int sliceMs_;
};

}  // namespace tq
