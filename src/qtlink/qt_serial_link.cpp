#include "qtlink/qt_serial_link.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "base/failure.h"

namespace tq {
namespace {

// The platform's error number for a port error, and the error-table number that describes it.
struct OpenError {
  int platform;
  int table;
};

OpenError ErrorsOf(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::DeviceNotFoundError:
      return {ENOENT, err::kFileNotFound};
    case QSerialPort::PermissionError:
      return {EACCES, err::kPermissionDenied};
    case QSerialPort::OpenError:
      return {EBUSY, err::kDeviceUnavailable};
    case QSerialPort::ResourceError:
      return {EIO, err::kDeviceIo};
    default:
      return {EIO, err::kDeviceUnavailable};
  }
}

// True when `group` is the user's effective group or one of the supplementary ones.
bool UserInGroup(gid_t group) {
  if (::getegid() == group) return true;
  const int count = ::getgroups(0, nullptr);
  if (count <= 0) return false;
  std::vector<gid_t> groups(static_cast<std::size_t>(count));
  const int got = ::getgroups(count, groups.data());
  for (int k = 0; k < got; ++k) {
    if (groups[static_cast<std::size_t>(k)] == group) return true;
  }
  return false;
}

// The process a lock file names on its first line, when that process still runs: "process 812
// (minicom)".
std::string LiveHolder(const std::filesystem::path& lockFile) {
  std::ifstream in(lockFile);
  long pid = 0;
  if (!(in >> pid) || pid <= 0) return {};
  const std::filesystem::path proc = "/proc/" + std::to_string(pid);
  std::error_code ignored;
  if (!std::filesystem::exists(proc, ignored)) return {};
  std::string name;
  std::getline(std::ifstream(proc / "comm"), name);
  return "process " + std::to_string(pid) + (name.empty() ? "" : " (" + name + ")");
}

}  // namespace

std::string PortHolder(const std::string& device) {
  // Serial programs lock a port with a file "LCK..NAME" in one of the usual lock folders; NAME is
  // the device's file name, or (Qt's way) its path below /dev with '/' turned into '_'.
  const auto flattened = [](std::string path) {
    for (char& c : path) {
      if (c == '/') c = '_';
    }
    return path;
  };
  const std::string below = device.rfind("/dev/", 0) == 0 ? device.substr(5) : device;
  const std::string names[] = {"LCK.." + std::filesystem::path(device).filename().string(),
                               "LCK.." + flattened(below)};
  std::vector<std::filesystem::path> folders = {
      "/var/lock",       "/run/lock", "/etc/locks", "/var/spool/locks",
      "/var/spool/uucp", "/tmp",      "/var/tmp",   "/var/lock/lockdev"};
  if (const char* temp = std::getenv("TMPDIR"); temp != nullptr && *temp != '\0') {
    folders.emplace_back(temp);
  }
  for (const auto& folder : folders) {
    for (const std::string& name : names) {
      const std::string holder = LiveHolder(folder / name);
      if (!holder.empty()) return holder;
    }
  }
  return {};
}

std::string PermissionAdvice(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return {};
  // Joining a group the user is in already would not help.
  if (UserInGroup(info.st_gid)) return {};
  const struct group* owner = ::getgrgid(info.st_gid);
  const std::string name = owner != nullptr ? owner->gr_name : std::to_string(info.st_gid);
  return "the user needs to be in the group \"" + name + "\" that owns " + device +
         " (sudo usermod -aG " + name + " $USER, then log in again)";
}

QtSerialLink::QtSerialLink() = default;

QtSerialLink::~QtSerialLink() {
  if (port_.isOpen()) port_.close();
}

void QtSerialLink::Open(const std::string& name) {
  if (port_.isOpen()) port_.close();
  // A relative path is relative to the working folder (Qt would look for it under /dev).
  std::string device = name;
  if (!device.empty() && device.front() != '/') {
    std::error_code ignored;
    device = std::filesystem::absolute(device, ignored).string();
  }
  port_.setPortName(QString::fromStdString(device));
  // Fixed line settings: 9600 bit/s, 8 data bits, no parity, 1 stop bit, no flow control.
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  port_.setReadBufferSize(0);
  if (!port_.open(QIODevice::ReadWrite)) {
    OpenError error = ErrorsOf(port_.error());
    // Qt reports a port locked by another program as a permission error; a device the user may
    // open is busy, not forbidden.
    const bool busy = error.platform == EBUSY ||
                      (error.platform == EACCES && ::access(device.c_str(), R_OK | W_OK) == 0);
    std::string source;
    if (busy) {
      error = {EBUSY, err::kDeviceUnavailable};
      const std::string holder = PortHolder(device);
      source = device + ": error " + std::to_string(EBUSY) + ", " + std::strerror(EBUSY) +
               " (the port is in use by " + (holder.empty() ? "another program" : holder) + ")";
    } else {
      source = device + ": error " + std::to_string(error.platform) + ", " +
               std::strerror(error.platform) + " (" + port_.errorString().toStdString() + ")";
      if (error.platform == EACCES) {
        const std::string advice = PermissionAdvice(device);
        if (!advice.empty()) source += "; " + advice;
      }
    }
    port_.clearError();
    throw Failure(error.table, source);
  }
}

void QtSerialLink::Close() {
  if (port_.isOpen()) port_.close();
  port_.clearError();
}

bool QtSerialLink::IsOpen() const {
  return port_.isOpen();
}

void QtSerialLink::DiscardTx() {
  if (port_.isOpen()) port_.clear(QSerialPort::Output);
}

void QtSerialLink::DiscardRx() {
  if (!port_.isOpen()) return;
  port_.clear(QSerialPort::Input);
  port_.readAll();  // bytes Qt had already taken from the driver
}

void QtSerialLink::Write(std::span<const uint8_t> bytes) {
  if (!port_.isOpen()) throw Failure(err::kDeviceUnavailable, "SerialLink", "the port is closed");
  const auto size = static_cast<qint64>(bytes.size());
  if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
    throw Failure(err::kDeviceIo, port_.portName().toStdString(),
                  port_.errorString().toStdString());
  }
  // Hand the bytes to the driver now rather than at the next turn of the event loop.
  while (port_.bytesToWrite() > 0) {
    if (!port_.waitForBytesWritten(1000)) {
      CheckLine("write");
      break;
    }
  }
  CheckLine("write");
}

int QtSerialLink::BytesWaiting() {
  if (!port_.isOpen()) return 0;
  // Take what the driver holds without blocking.
  port_.waitForReadyRead(0);
  CheckLine("read");
  return static_cast<int>(port_.bytesAvailable());
}

std::vector<uint8_t> QtSerialLink::ReadAll() {
  if (!port_.isOpen()) return {};
  port_.waitForReadyRead(0);
  const QByteArray data = port_.readAll();
  CheckLine("read");
  return {data.begin(), data.end()};
}

void QtSerialLink::WaitForInput(int ms) {
  if (!port_.isOpen() || ms <= 0) return;
  port_.waitForReadyRead(ms);
  CheckLine("read");
}

void QtSerialLink::CheckLine(const char* operation) {
  const QSerialPort::SerialPortError error = port_.error();
  if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError) {
    if (error == QSerialPort::TimeoutError) port_.clearError();
    return;
  }
  const std::string text = port_.errorString().toStdString();
  port_.clearError();
  if (error == QSerialPort::ResourceError) port_.close();
  throw Failure(ErrorsOf(error).table, port_.portName().toStdString(),
                std::string(operation) + ": " + text);
}

}  // namespace tq
