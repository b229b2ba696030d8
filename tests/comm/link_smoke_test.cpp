#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "base/failure.h"
#include "comm/pty_radio.h"
#include "comm/simulated_radio.h"
#include "qtlink/qt_serial_link.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

// The text of the failure that opening `device` throws; empty when it opened.
std::string OpenFailure(QtSerialLink& link, const std::string& device) {
  try {
    link.Open(device);
  } catch (const Failure& failure) {
    return failure.source();
  }
  return {};
}

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

TEST(QtSerialLink, APortInUseIsBusyAndNamesItsHolderNotAPermission) {
  PtyRadio radio{SimulatedRadio()};
  QtSerialLink first;
  first.Open(radio.SlavePath());
  QtSerialLink second;
  const std::string text = OpenFailure(second, radio.SlavePath());
  EXPECT_NE(text.find("error 16"), std::string::npos) << text;
  EXPECT_NE(text.find("in use by process " + std::to_string(::getpid())), std::string::npos)
      << text;
  EXPECT_EQ(text.find("usermod"), std::string::npos) << text;
  first.Close();
  EXPECT_EQ(OpenFailure(second, radio.SlavePath()), "");
}

TEST(QtSerialLink, ARelativePathIsTakenFromTheWorkingFolder) {
  PtyRadio radio{SimulatedRadio()};
  TempFolder work;
  std::filesystem::create_symlink(radio.SlavePath(), work / "radio");
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(work.path());
  QtSerialLink link;
  const std::string opened = OpenFailure(link, "radio");
  const std::string missing = OpenFailure(link, "tq474-no-such-port");
  std::filesystem::current_path(before);
  EXPECT_EQ(opened, "");
  EXPECT_NE(missing.find((work / "tq474-no-such-port").string()), std::string::npos) << missing;
}

TEST(QtSerialLink, PermissionAdviceNamesAGroupTheUserIsNotIn) {
  TempFolder folder;
  const std::filesystem::path device = folder.Write("device", "");
  // A file of the user's own group: joining it would not help.
  EXPECT_EQ(PermissionAdvice(device.string()), "");
  EXPECT_EQ(PermissionAdvice("/dev/tq474-no-such-port"), "");
  if (::chown(device.c_str(), static_cast<uid_t>(-1), 65534) != 0 || ::getegid() == 65534) {
    GTEST_SKIP() << "the file's group cannot be changed to one the user is not in";
  }
  const std::string advice = PermissionAdvice(device.string());
  EXPECT_NE(advice.find("the user needs to be in the group \""), std::string::npos) << advice;
  EXPECT_NE(advice.find("usermod -aG"), std::string::npos) << advice;
}

}  // namespace
}  // namespace tq
