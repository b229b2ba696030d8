// The serial port of the program: which port number is used, the device each number stands
// for, the probe of ports 1 to 16, and opening and closing the port for a transfer.
//
// Port numbers map to devices: "COMn" on Windows; elsewhere section "Ports" of the settings
// file, keys "COM1" to "COM16", with the default table below (USB programming cables appear as
// ttyUSB or ttyACM devices; the machine's own ttyS ports are left out because the first of them
// is often the system console).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tq {

class SerialLink;
class SettingsFile;
class ErrorReport;

inline constexpr int kPortCount = 16;

// The device that port `n` (1 to 16) stands for when the settings file names none:
// COM1-COM8 /dev/ttyUSB0-7, COM9-COM16 /dev/ttyACM0-7 ("COMn" on Windows).
std::string DefaultPortDevice(int n);

class PortControl {
 public:
  PortControl(SerialLink& link, const SettingsFile& settings, ErrorReport& report);

  // The device of port `n` from section "Ports", else the default table.
  std::string DeviceOf(int n) const;
  // The device OpenCom opens: `device` when not empty, else the device of `port`.
  std::string DeviceFor(int16_t port, const std::string& device = {}) const;

  // Opens the device of `port`, or `device` when it is not empty. On a failure PortOpenFailed is
  // set and the failure is reported as "modCommun->OpenCom".
  void OpenCom(int16_t port, const std::string& device = {});
  // Closes the port; a failure is reported as "modCommun->CloseCom".
  void CloseCom();
  // Probes port n: PortFlag[n - 1] = 1 when it opens and closes, -1 otherwise.
  void TestComPort(int n);
  void ScanComPort();
  // Probes every port and returns the lowest usable one, storing it under "COM"; 0 (and nothing
  // stored) when no port is usable. Failures are reported as "mdifrmMain->AutoSetPort".
  int16_t AutoSetPort();

  // After a probe of every port: why none of them is usable, in `language` (the first
  // permission failure with its group hint, else the first failure other than a missing device,
  // else that no device exists); empty when a port is usable.
  std::string NoPortText(int16_t language) const;

  bool PortOpenFailed = false;
  std::array<int16_t, kPortCount> PortFlag{};
  // Why each port failed its last probe: the error-table number (0 when it opened) and the text.
  struct ProbeFailure {
    int number = 0;
    std::string text;
  };
  std::array<ProbeFailure, kPortCount> PortFailure{};

  // The link the port is opened on, for the transfers that talk through it.
  SerialLink& link() noexcept { return link_; }

 private:
  SerialLink& link_;
  const SettingsFile& settings_;
  ErrorReport& report_;
};

}  // namespace tq
