#include "qtlink/qt_serial_link.h"

#include <grp.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

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

}  // namespace

std::string PermissionAdvice(const std::string& device) {
  struct stat info {};
  if (::stat(device.c_str(), &info) != 0) return {};
  const struct group* owner = ::getgrgid(info.st_gid);
  const std::string name = owner != nullptr ? owner->gr_name : std::to_string(info.st_gid);
  return "the user needs to be in the group \"" + name + "\" that owns " + device +
         " (sudo usermod -aG " + name + " $USER, then log in again)";
}

QtSerialLink::QtSerialLink() = default;

QtSerialLink::~QtSerialLink() {
  if (port_.isOpen()) port_.close();
}

void QtSerialLink::Open(const std::string& device) {
  if (port_.isOpen()) port_.close();
  port_.setPortName(QString::fromStdString(device));
  // Fixed line settings: 9600 bit/s, 8 data bits, no parity, 1 stop bit, no flow control.
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setDataBits(QSerialPort::Data8);
  port_.setParity(QSerialPort::NoParity);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  port_.setReadBufferSize(0);
  if (!port_.open(QIODevice::ReadWrite)) {
    const OpenError error = ErrorsOf(port_.error());
    std::string source = device + ": error " + std::to_string(error.platform) + ", " +
                         std::strerror(error.platform) + " (" + port_.errorString().toStdString() +
                         ")";
    if (error.platform == EACCES) {
      const std::string advice = PermissionAdvice(device);
      if (!advice.empty()) source += "; " + advice;
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
