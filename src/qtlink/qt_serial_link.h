// The serial link over QSerialPort: real ports, USB cables and pseudo-terminals alike.
#pragma once

#include <QSerialPort>

#include "comm/serial_link.h"

namespace tq {

class QtSerialLink final : public SerialLink {
 public:
  QtSerialLink();
  ~QtSerialLink() override;

  // A relative path is taken from the working folder.
  void Open(const std::string& name) override;
  void Close() override;
  bool IsOpen() const override;
  void DiscardTx() override;
  void DiscardRx() override;
  void Write(std::span<const uint8_t> bytes) override;
  int BytesWaiting() override;
  std::vector<uint8_t> ReadAll() override;
  void WaitForInput(int ms) override;

 private:
  // Throws Failure when the port reported that the line is gone.
  void CheckLine(const char* operation);

  QSerialPort port_;
};

// The text a user needs when a device may not be opened for lack of permission: the group that
// owns it (usually "dialout") and that the user is to join. Empty when the device is missing or
// the user is in its group already.
std::string PermissionAdvice(const std::string& device);

// The running process that holds the lock file of `device` ("process 812 (minicom)"), or empty.
std::string PortHolder(const std::string& device);

}  // namespace tq
