#include "comm/pty_radio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

namespace tq {
namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

const Bytes kProgrammingCode = {0x3A, 0x91, 0xC4, 0x0E, 0x7B, 0x25, 0xD8};

// The tool's end of the line: the slave device opened raw, as a serial port would be.
class ToolSide {
 public:
  explicit ToolSide(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY)) {
    if (fd_ < 0) return;
    termios settings{};
    ::tcgetattr(fd_, &settings);
    ::cfmakeraw(&settings);
    ::tcsetattr(fd_, TCSANOW, &settings);
  }
  ~ToolSide() {
    if (fd_ >= 0) ::close(fd_);
  }
  ToolSide(const ToolSide&) = delete;
  ToolSide& operator=(const ToolSide&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  bool Write(const Bytes& bytes) {
    return ::write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }

  // Reads until `count` bytes have come or `limit` has passed; returns what came.
  Bytes Read(std::size_t count, milliseconds limit = milliseconds(3000)) {
    Bytes got;
    const Clock::time_point end = Clock::now() + limit;
    while (got.size() < count && Clock::now() < end) {
      pollfd in{fd_, POLLIN, 0};
      if (::poll(&in, 1, 10) <= 0 || (in.revents & POLLIN) == 0) continue;
      uint8_t buffer[256];
      const ssize_t n = ::read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

  // True when the line goes down within `limit`: POLLHUP, or a read that gives 0 or EIO.
  bool SeesHangUp(milliseconds limit = milliseconds(3000)) {
    const Clock::time_point end = Clock::now() + limit;
    while (Clock::now() < end) {
      pollfd in{fd_, POLLIN, 0};
      if (::poll(&in, 1, 10) <= 0) continue;
      if (in.revents & (POLLHUP | POLLERR)) return true;
      uint8_t byte = 0;
      const ssize_t n = ::read(fd_, &byte, 1);
      if (n == 0 || (n < 0 && errno == EIO)) return true;
    }
    return false;
  }

 private:
  int fd_;
};

TEST(PtyRadio, WrittenBlockReadsBackAndTheLineStaysUpBetweenTheToolsOpens) {
  PtyRadio server{SimulatedRadio()};
  EXPECT_EQ(server.SlavePath().rfind("/dev/pts/", 0), 0u) << server.SlavePath();
  {
    ToolSide tool(server.SlavePath());
    ASSERT_TRUE(tool.IsOpen());
    ASSERT_TRUE(tool.Write(kProgrammingCode));
    EXPECT_EQ(tool.Read(1), Bytes{0x06});
    ASSERT_TRUE(tool.Write({0x57, 0x00, 0x10, 0x04, 0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(tool.Read(1), Bytes{0x06});
  }
  ToolSide again(server.SlavePath());
  ASSERT_TRUE(again.IsOpen());
  ASSERT_TRUE(again.Write({0x52, 0x00, 0x10, 0x04}));
  // Exactly the reply: the line echoes nothing back.
  EXPECT_EQ(again.Read(9, milliseconds(300)),
            (Bytes{0x57, 0x00, 0x10, 0x04, 0xDE, 0xAD, 0xBE, 0xEF}));
  EXPECT_EQ(server.WithRadio([](SimulatedRadio& radio) { return radio.FrameCount(); }), 3);
}

TEST(PtyRadio, LineTimingAndLatencyPaceTheReplies) {
  PtyRadio timed{SimulatedRadio(), PtyRadioOptions{.lineTiming = true}};
  ToolSide tool(timed.SlavePath());
  Clock::time_point start = Clock::now();
  ASSERT_TRUE(tool.Write({0x52, 0x00, 0x10, 0x10}));
  const Bytes reply = tool.Read(20);
  ASSERT_EQ(reply.size(), 20u);
  EXPECT_EQ(reply[0], 0x57);
  // 4 request bytes and 20 reply bytes at 10 bit times of 1/9600 s each: 25 ms at least.
  EXPECT_GE(Clock::now() - start, std::chrono::microseconds(25000));

  PtyRadio late{SimulatedRadio(), PtyRadioOptions{.latencyMs = 60}};
  ToolSide waiting(late.SlavePath());
  for (int k = 0; k < 2; ++k) {
    start = Clock::now();
    ASSERT_TRUE(waiting.Write({0x02}));
    EXPECT_EQ(waiting.Read(5).size(), 5u);
    EXPECT_GE(Clock::now() - start, milliseconds(60)) << "reply " << k;
  }
}

TEST(PtyRadio, HangUpDeliversTheLastReplyThenDropsTheLine) {
  RadioFaults faults;
  faults.hangUpAfter = 2;
  PtyRadio server{SimulatedRadio(false, faults)};
  ToolSide tool(server.SlavePath());
  ASSERT_TRUE(tool.Write(kProgrammingCode));
  EXPECT_EQ(tool.Read(1), Bytes{0x06});
  ASSERT_TRUE(tool.Write({0x52, 0x00, 0x10, 0x01}));
  EXPECT_EQ(tool.Read(5), (Bytes{0x57, 0x00, 0x10, 0x01, 0xFF}));
  EXPECT_TRUE(tool.SeesHangUp());
  EXPECT_TRUE(server.WithRadio([](SimulatedRadio& radio) { return radio.HungUp(); }));
}

TEST(PtyRadio, StopIsPromptAndDropsTheLine) {
  PtyRadio server{SimulatedRadio()};
  ToolSide tool(server.SlavePath());
  ASSERT_TRUE(tool.Write(kProgrammingCode));
  EXPECT_EQ(tool.Read(1), Bytes{0x06});
  const Clock::time_point start = Clock::now();
  server.Stop();
  // Generous: the server looks at its stop flag every few tens of milliseconds.
  EXPECT_LT(Clock::now() - start, milliseconds(2000));
  EXPECT_TRUE(tool.SeesHangUp());
  server.Stop();  // a second stop does nothing
}

TEST(PtyRadio, DestructorDoesNotWaitForAPendingReply) {
  const Clock::time_point start = Clock::now();
  {
    PtyRadio server{SimulatedRadio(), PtyRadioOptions{.lineTiming = true, .latencyMs = 10000}};
    ToolSide tool(server.SlavePath());
    ASSERT_TRUE(tool.Write({0x52, 0x00, 0x00, 0x10}));
    std::this_thread::sleep_for(milliseconds(50));  // the server is now waiting to reply
    EXPECT_EQ(server.WithRadio([](SimulatedRadio& radio) { return radio.FrameCount(); }), 1);
  }
  EXPECT_LT(Clock::now() - start, milliseconds(5000)) << "the 10 s reply delay was not cut short";
}

}  // namespace
}  // namespace tq
