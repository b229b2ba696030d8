#include "comm/pty_radio.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "comm/wait.h"

namespace tq {
namespace {

using LineClock = std::chrono::steady_clock;

constexpr int kPollMs = 20;  // how long the server waits for bytes before it looks at stop_
// How long a hang-up waits for the tool to take the last reply before the line goes down.
constexpr auto kDrainLimit = std::chrono::milliseconds(1000);

// The time `bytes` take on a 9600 bit/s 8N1 line: ten bit times each, rounded up to the
// nanosecond so that the simulated line is never faster than a real one.
LineClock::duration LineTime(std::size_t bytes) {
  return std::chrono::duration_cast<LineClock::duration>(
      std::chrono::nanoseconds((static_cast<long long>(bytes) * 10'000'000'000LL + 9599) / 9600));
}

void CloseFd(int& fd) noexcept {
  if (fd >= 0) {
    ::close(fd);
    fd = -1;
  }
}

[[noreturn]] void ThrowPtyFailure(const char* step, int error) {
  throw Failure(err::kDeviceUnavailable, "PtyRadio",
                std::string(step) + ": " + std::strerror(error));
}

// One frame's answer as the server writes it: the request's length (for line timing) and the
// reply bytes.
struct PendingReply {
  std::size_t requestBytes;
  std::vector<uint8_t> bytes;
};

}  // namespace

PtyRadio::PtyRadio(SimulatedRadio radio, PtyRadioOptions options)
    : radio_(std::move(radio)), options_(options) {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (master_ < 0) ThrowPtyFailure("posix_openpt", errno);
  try {
    if (::grantpt(master_) != 0) ThrowPtyFailure("grantpt", errno);
    if (::unlockpt(master_) != 0) ThrowPtyFailure("unlockpt", errno);
    const char* name = ::ptsname(master_);
    if (name == nullptr) ThrowPtyFailure("ptsname", errno);
    slavePath_ = name;
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
      ThrowPtyFailure("fcntl", errno);
    }
    keepSlave_ = ::open(slavePath_.c_str(), O_RDWR | O_NOCTTY);
    if (keepSlave_ < 0) ThrowPtyFailure("open slave", errno);
    termios settings{};
    if (::tcgetattr(keepSlave_, &settings) != 0) ThrowPtyFailure("tcgetattr", errno);
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
    if (::tcsetattr(keepSlave_, TCSANOW, &settings) != 0) ThrowPtyFailure("tcsetattr", errno);
    thread_ = std::thread([this] { Serve(); });
  } catch (...) {
    CloseFd(keepSlave_);
    CloseFd(master_);
    throw;
  }
}

PtyRadio::~PtyRadio() {
  Stop();
}

void PtyRadio::Stop() {
  stop_ = true;
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
  CloseFd(master_);
  CloseFd(keepSlave_);
}

void PtyRadio::Serve() {
  TightenTimers();  // paced replies stay on the line's own timing
  // When the line is free again: the end of the last reply written with line timing.
  LineClock::time_point lineFree = LineClock::now();

  // Sleeps until `deadline` in short slices; false when stopped meanwhile (unless `finish`,
  // which lets the last reply before a hang-up go out whole).
  auto sleepUntil = [this](LineClock::time_point deadline, bool finish) {
    while (LineClock::now() < deadline) {
      if (stop_ && !finish) return false;
      std::this_thread::sleep_until(
          std::min(deadline, LineClock::now() + std::chrono::milliseconds(kPollMs)));
    }
    return finish || !stop_;
  };

  // Writes all of `bytes` to the master, waiting while the line's buffer is full; false when
  // stopped meanwhile (a last reply before a hang-up only when nothing more can be written).
  auto writeAll = [this](const uint8_t* bytes, std::size_t count, bool finish) {
    while (count > 0) {
      if (stop_ && !finish) return false;
      const ssize_t n = ::write(master_, bytes, count);
      if (n > 0) {
        bytes += n;
        count -= static_cast<std::size_t>(n);
      } else if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        return false;
      } else {
        // A full line buffer ends even a last reply once the server is stopped.
        if (stop_) return false;
        pollfd out{master_, POLLOUT, 0};
        ::poll(&out, 1, kPollMs);
      }
    }
    return true;
  };

  std::vector<uint8_t> buffer(4096);
  while (!stop_) {
    pollfd in{master_, POLLIN, 0};
    const int ready = ::poll(&in, 1, kPollMs);
    if (ready <= 0) continue;
    if ((in.revents & POLLIN) == 0) {
      // No reader on the other side (POLLHUP) or an error: wait rather than spin.
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      continue;
    }
    const ssize_t n = ::read(master_, buffer.data(), buffer.size());
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) continue;
      // EIO: no slave open at the moment.
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      continue;
    }
    const LineClock::time_point arrived = LineClock::now();

    // Feed the radio byte by byte so that each reply is paired with the frame that asked for it.
    std::vector<PendingReply> pending;
    bool hungUp = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (ssize_t k = 0; k < n && !radio_.HungUp(); ++k) {
        const int framesBefore = radio_.FrameCount();
        std::vector<std::vector<uint8_t>> replies =
            radio_.Receive({buffer[static_cast<std::size_t>(k)]});
        const std::size_t requestBytes =
            radio_.FrameCount() > framesBefore ? radio_.Frames().back().size() : 0;
        for (auto& reply : replies) pending.push_back({requestBytes, std::move(reply)});
      }
      hungUp = radio_.HungUp();
    }

    for (const PendingReply& reply : pending) {
      LineClock::time_point start = arrived;
      if (options_.lineTiming) start = std::max(lineFree, arrived + LineTime(reply.requestBytes));
      start += std::chrono::milliseconds(options_.latencyMs);
      if (++repliesSent_ == options_.lateReply) {
        start += std::chrono::milliseconds(options_.lateReplyMs);
      }
      if (!sleepUntil(start, hungUp)) break;
      if (options_.lineTiming) {
        // Absolute deadlines keep the pace exact however late each wake-up is.
        bool written = true;
        for (std::size_t k = 0; k < reply.bytes.size() && written; ++k) {
          written =
              sleepUntil(start + LineTime(k + 1), hungUp) && writeAll(&reply.bytes[k], 1, hungUp);
        }
        lineFree = start + LineTime(reply.bytes.size());
        if (!written) break;
      } else if (!writeAll(reply.bytes.data(), reply.bytes.size(), hungUp)) {
        break;
      }
    }

    if (hungUp) {
      // Closing the master flushes whatever the tool has not read yet; give it the chance to
      // take the last reply first, then drop the line.
      const LineClock::time_point limit = LineClock::now() + kDrainLimit;
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      int waiting = 0;
      while (LineClock::now() < limit && ::ioctl(keepSlave_, FIONREAD, &waiting) == 0 &&
             waiting > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      CloseFd(keepSlave_);
      CloseFd(master_);
      return;
    }
  }
}

}  // namespace tq
