// What every serial link honours, checked once against the Qt link on a pseudo-terminal and
// against each stand-in that other tests put in its place.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "base/failure.h"
#include "qtlink/qt_serial_link.h"
#include "support/fake_link.h"
#include "support/scripted_link.h"

namespace tq {
namespace {

using Bytes = std::vector<uint8_t>;
using Ms = std::chrono::milliseconds;
using SteadyTime = std::chrono::steady_clock;

// One link and the other end of its line.
struct LinkEnds {
  virtual ~LinkEnds() = default;
  virtual SerialLink& link() = 0;
  // The writes that reached the other end since the last call, as the other end saw them.
  virtual std::vector<Bytes> Arrived() = 0;
  virtual void Send(const Bytes& bytes) = 0;  // the other end sends
  std::string device;                         // a device that opens
};

// The Qt link on the slave of a pseudo-terminal whose master the test holds.
struct QtOnPty final : LinkEnds {
  QtOnPty() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
      throw Failure(err::kDeviceUnavailable, "no pseudo-terminal");
    }
    device = ::ptsname(master);
  }
  ~QtOnPty() override { ::close(master); }
  SerialLink& link() override { return qt; }
  std::vector<Bytes> Arrived() override {
    Bytes buffer(4096);
    const ssize_t n = ::read(master, buffer.data(), buffer.size());
    if (n <= 0) return {};
    buffer.resize(static_cast<std::size_t>(n));
    return {buffer};
  }
  void Send(const Bytes& bytes) override {
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  int master;
  QtSerialLink qt;
};

struct Scripted final : LinkEnds {
  Scripted() { device = testing::ScriptedLink::kDevice; }
  SerialLink& link() override { return scripted; }
  std::vector<Bytes> Arrived() override { return std::exchange(scripted.written, {}); }
  void Send(const Bytes& bytes) override {
    scripted.input.insert(scripted.input.end(), bytes.begin(), bytes.end());
  }
  testing::ScriptedLink scripted;
};

struct DeviceTable final : LinkEnds {
  DeviceTable() { device = "/dev/radio-cable"; }
  SerialLink& link() override { return table; }
  std::vector<Bytes> Arrived() override { return {}; }
  void Send(const Bytes&) override {}
  testing::DeviceTableLink table{{"/dev/radio-cable"}};
};

struct LinkKind {
  const char* name;
  bool carriesBytes;  // false: writes are taken and dropped, and nothing ever arrives
  bool realTime;      // bytes arrive on their own while the link waits, and waits take time
  std::unique_ptr<LinkEnds> (*make)();
};

template <typename Ends>
std::unique_ptr<LinkEnds> Make() {
  return std::make_unique<Ends>();
}

void PrintTo(const LinkKind& kind, std::ostream* out) {
  *out << kind.name;
}

class SerialLinkContract : public ::testing::TestWithParam<LinkKind> {
 protected:
  void Open() { ASSERT_NO_THROW(link.Open(ends->device)); }
  // What reading gives after the other end sent `bytes`.
  Bytes Carried(const Bytes& bytes) const { return GetParam().carriesBytes ? bytes : Bytes{}; }
  // Waits as the protocol does until what the other end sent is waiting, two seconds at most.
  void AwaitBytes(const Bytes& sent) {
    const auto end = SteadyTime::now() + Ms(2000);
    while (link.BytesWaiting() < static_cast<int>(Carried(sent).size()) &&
           SteadyTime::now() < end) {
      link.WaitForInput(10);
    }
  }
  static long long MsSince(SteadyTime::time_point start) {
    return std::chrono::duration_cast<Ms>(SteadyTime::now() - start).count();
  }

  std::unique_ptr<LinkEnds> ends = GetParam().make();
  SerialLink& link = ends->link();
};

TEST_P(SerialLinkContract, OpensClosesAndRefusesToWriteWhileClosed) {
  EXPECT_FALSE(link.IsOpen());
  EXPECT_THROW(link.Write(Bytes{0x02}), Failure);
  Open();
  EXPECT_TRUE(link.IsOpen());
  link.Close();
  link.Close();
  EXPECT_FALSE(link.IsOpen());
  EXPECT_THROW(link.Write(Bytes{0x02}), Failure);
  Open();
  EXPECT_TRUE(link.IsOpen());
}

TEST_P(SerialLinkContract, AMissingDeviceFailsAsFileNotFoundAndLeavesTheLinkClosed) {
  for (bool openBefore : {false, true}) {
    if (openBefore) Open();
    try {
      link.Open("/dev/tq474-no-such-port");
      ADD_FAILURE() << "opened";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), err::kFileNotFound);
    }
    EXPECT_FALSE(link.IsOpen()) << "open before: " << openBefore;
  }
}

TEST_P(SerialLinkContract, AWriteArrivesWholeRepliesAreReadInArrivalOrderAndDiscardDropsThem) {
  Open();
  Bytes everyValue(256);
  for (std::size_t k = 0; k < everyValue.size(); ++k) everyValue[k] = static_cast<uint8_t>(k);
  link.Write(everyValue);
  EXPECT_EQ(ends->Arrived(),
            GetParam().carriesBytes ? std::vector<Bytes>{everyValue} : std::vector<Bytes>{});

  // Bytes a terminal would act on (CR, LF, XON, XOFF, interrupt, end of file) pass untouched.
  const Bytes first = {0x57, 0x0D, 0x0A, 0x11, 0x13, 0x03, 0x04, 0x00};
  const Bytes both = {0x57, 0x0D, 0x0A, 0x11, 0x13, 0x03, 0x04, 0x00, 0xFF, 0x06};
  ends->Send(first);
  ends->Send({0xFF, 0x06});
  AwaitBytes(both);
  EXPECT_EQ(link.BytesWaiting(), static_cast<int>(Carried(both).size()));
  EXPECT_EQ(link.ReadAll(), Carried(both));
  EXPECT_EQ(link.ReadAll(), Bytes{});

  // DiscardRx drops only what is pending.
  ends->Send({0x57, 0x00, 0x10});
  AwaitBytes({0x57, 0x00, 0x10});
  link.DiscardRx();
  EXPECT_EQ(link.BytesWaiting(), 0);
  ends->Send({0x06});
  AwaitBytes({0x06});
  EXPECT_EQ(link.ReadAll(), Carried({0x06}));
}

TEST_P(SerialLinkContract, WaitForInputReturnsEarlyWhenBytesArriveAndInTimeWhenNoneDo) {
  Open();
  auto start = SteadyTime::now();
  link.WaitForInput(60);
  EXPECT_LT(MsSince(start), 1000);
  if (GetParam().realTime) {
    EXPECT_GE(MsSince(start), 50) << "a wait that returns at once spins";
  }

  std::thread later;
  if (GetParam().realTime) {
    later = std::thread([this] {
      std::this_thread::sleep_for(Ms(100));
      ends->Send({0x06});
    });
  } else {
    ends->Send({0x06});
  }
  start = SteadyTime::now();
  link.WaitForInput(5000);
  const long long waited = MsSince(start);
  if (later.joinable()) later.join();
  EXPECT_LT(waited, 2500);
  AwaitBytes({0x06});
  EXPECT_EQ(link.ReadAll(), Carried({0x06}));
}

INSTANTIATE_TEST_SUITE_P(
    Links, SerialLinkContract,
    ::testing::Values(LinkKind{"QtSerialLinkOnPty", true, true, &Make<QtOnPty>},
                      LinkKind{"ScriptedLink", true, false, &Make<Scripted>},
                      LinkKind{"DeviceTableLink", false, false, &Make<DeviceTable>}),
    [](const ::testing::TestParamInfo<LinkKind>& kind) { return std::string(kind.param.name); });

}  // namespace
}  // namespace tq
