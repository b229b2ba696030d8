#include "comm/port_control.h"

#include <gtest/gtest.h>

#include <set>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/settings_file.h"
#include "comm/serial_link.h"
#include "comm/wait.h"
#include "support/fake_link.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::DeviceTableLink;
using testing::TempFolder;

class PortControlTest : public ::testing::Test {
 protected:
  PortControlTest() : settings(dir / "TQ474.ini") {
    settings.WriteSetting("Ports", "COM1", "/dev/busy-a");
    settings.WriteSetting("Ports", "COM2", "/dev/busy-b");
    settings.WriteSetting("Ports", "COM3", "/dev/free");
  }
  TempFolder dir;
  SettingsFile settings;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
};

TEST_F(PortControlTest, PortNumbersMapThroughTheSettingsFileOrTheDefaultTable) {
  DeviceTableLink link({});
  PortControl port(link, settings, report);
  EXPECT_EQ(port.DeviceOf(3), "/dev/free");
  EXPECT_EQ(port.DeviceOf(4), "/dev/ttyUSB3");
  EXPECT_EQ(port.DeviceOf(9), "/dev/ttyACM0");
  EXPECT_EQ(port.DeviceOf(16), "/dev/ttyACM7");
  for (int n = 1; n <= 16; ++n) {
    EXPECT_EQ(DefaultPortDevice(n).find("/dev/ttyS"), std::string::npos) << n;
  }
}

TEST_F(PortControlTest, AutoSetPortStoresTheLowestUsablePortOrNothing) {
  DeviceTableLink link({"/dev/free"});
  PortControl port(link, settings, report);
  EXPECT_EQ(port.AutoSetPort(), 3);
  EXPECT_EQ(settings.ReadSetting("Setting", "COM", "", 9), "3");
  EXPECT_EQ(port.PortFlag[0], -1);
  EXPECT_EQ(port.PortFlag[1], -1);
  EXPECT_EQ(port.PortFlag[2], 1);
  EXPECT_EQ(link.opened.size(), 16u);
  EXPECT_FALSE(link.IsOpen()) << "a probe closes what it opened";
  EXPECT_TRUE(report.lines().empty()) << "a probe that fails is no error";

  // With no usable port nothing is stored.
  DeviceTableLink none({});
  PortControl nowhere(none, settings, report);
  settings.WriteSetting("Setting", "COM", "5");
  EXPECT_EQ(nowhere.AutoSetPort(), 0);
  EXPECT_EQ(settings.ReadSetting("Setting", "COM", "", 9), "5");
}

TEST_F(PortControlTest, AFailedOpenIsMarkedAndReported) {
  DeviceTableLink link({"/dev/free"});
  PortControl port(link, settings, report);
  port.OpenCom(1);
  EXPECT_TRUE(port.PortOpenFailed);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find("modCommun->OpenCom"), std::string::npos);
  EXPECT_NE(report.lines()[1].find("/dev/busy-a: error 2"), std::string::npos);

  port.OpenCom(3);
  EXPECT_FALSE(port.PortOpenFailed);
  EXPECT_TRUE(link.IsOpen());
  port.CloseCom();
  EXPECT_FALSE(link.IsOpen());

  // A device path overrides the port number.
  port.OpenCom(1, "/dev/free");
  EXPECT_FALSE(port.PortOpenFailed);
  EXPECT_EQ(link.opened.back(), "/dev/free");
  port.CloseCom();

  // A port number outside 1 to 16 is reported without opening anything.
  const std::size_t opened = link.opened.size();
  port.OpenCom(17);
  EXPECT_TRUE(port.PortOpenFailed);
  EXPECT_EQ(link.opened.size(), opened);
  EXPECT_EQ(report.lines().size(), 4u);
}

// A clock whose sleeps only move its own time, counting the passes of the wait.
class FakeClock final : public Clock {
 public:
  int64_t NowUs() override { return now; }
  void SleepUs(int64_t us) override {
    now += us;
    ++sleeps;
  }
  int64_t now = 1'000'000;
  int sleeps = 0;
};

TEST(DelayNms, ReturnsNoEarlierThanAskedAndKeepsEventsFlowing) {
  FakeClock clock;
  int events = 0;
  LinkWait wait(
      clock, nullptr, [&] { ++events; }, 5);
  wait.DelayNms(0);
  EXPECT_EQ(clock.now, 1'000'000);
  EXPECT_EQ(events, 0);
  wait.DelayNms(-3);
  EXPECT_EQ(clock.now, 1'000'000);

  wait.DelayNms(12);
  EXPECT_GE(clock.now, 1'012'000);
  EXPECT_LT(clock.now, 1'013'000) << "no oversleeping";
  // The wait sleeps in slices of at most 5 ms and processes events before each.
  EXPECT_EQ(clock.sleeps, 3);
  EXPECT_EQ(events, 3);
}

TEST(DelayNms, TheWaitForAReplyEndsOnThePassThatFindsIt) {
  FakeClock clock;
  // The interface's events take a microsecond, as they take some time on a real machine.
  LinkWait wait(
      clock, nullptr, [&] { ++clock.now; }, 5);
  // Within its last millisecond the wait looks at the line every 400 us: a reply complete after
  // the second look ends it about 800 us in.
  wait.DelayNmsUntil(1, [&] { return clock.sleeps >= 2; });
  EXPECT_GE(clock.now, 1'000'800);
  EXPECT_LT(clock.now, 1'000'900);
  // Without a reply it waits the whole time, as DelayNms does.
  const int64_t before = clock.now;
  wait.DelayNmsUntil(1, [] { return false; });
  EXPECT_GE(clock.now, before + 1000);
}

TEST(DelayNms, WaitsOnTheRealClockForAtLeastTheTimeAsked) {
  SteadyClock clock;
  LinkWait wait(clock, nullptr);
  const int64_t start = clock.NowUs();
  wait.DelayNms(15);
  EXPECT_GE(clock.NowUs() - start, 15'000);
}

}  // namespace
}  // namespace tq
