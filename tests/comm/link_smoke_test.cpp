#include <gtest/gtest.h>

#include "base/failure.h"
#include "qtlink/qt_serial_link.h"

namespace tq {
namespace {

TEST(QtSerialLink, AMissingDeviceFailsWithItsNumberAndName) {
  QtSerialLink link;
  try {
    link.Open("/dev/tq474-no-such-port");
    FAIL() << "opened";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), 53);
    EXPECT_NE(failure.source().find("/dev/tq474-no-such-port"), std::string::npos);
    EXPECT_NE(failure.source().find("error 2"), std::string::npos) << failure.source();
  }
  EXPECT_FALSE(link.IsOpen());
}

}  // namespace
}  // namespace tq
