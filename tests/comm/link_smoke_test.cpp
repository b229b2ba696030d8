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

namespace tq {
namespace {

TEST(QtSerialLink, PermissionAdviceNamesTheGroupThatOwnsTheDevice) {
  // /dev/null's group is the machine's own; the advice names it and the command to join it.
  const std::string advice = PermissionAdvice("/dev/null");
  EXPECT_NE(advice.find("the user needs to be in the group \""), std::string::npos) << advice;
  EXPECT_NE(advice.find("usermod -aG"), std::string::npos) << advice;
  EXPECT_TRUE(PermissionAdvice("/dev/tq474-no-such-port").empty());
}

}  // namespace
}  // namespace tq
