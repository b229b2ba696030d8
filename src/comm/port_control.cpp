#include "comm/port_control.h"

#include "base/error_report.h"
#include "base/failure.h"
#include "base/settings_file.h"
#include "comm/serial_link.h"

namespace tq {

std::string DefaultPortDevice(int n) {
#ifdef _WIN32
  return "COM" + std::to_string(n);
#else
  if (n >= 1 && n <= 8) return "/dev/ttyUSB" + std::to_string(n - 1);
  if (n >= 9 && n <= kPortCount) return "/dev/ttyACM" + std::to_string(n - 9);
  return {};
#endif
}

PortControl::PortControl(SerialLink& link, const SettingsFile& settings, ErrorReport& report)
    : link_(link), settings_(settings), report_(report) {}

std::string PortControl::DeviceOf(int n) const {
  const std::string fallback = DefaultPortDevice(n);
  return settings_.ReadSetting("Ports", "COM" + std::to_string(n), fallback, 260);
}

std::string PortControl::DeviceFor(int16_t port, const std::string& device) const {
  return device.empty() ? DeviceOf(port) : device;
}

void PortControl::OpenCom(int16_t port, const std::string& device) {
  PortOpenFailed = false;
  const bool opened = report_.Guard("modCommun->OpenCom", [&] {
    if (device.empty() && (port < 1 || port > kPortCount)) {
      throw Failure(err::kInvalidPropertyValue, "COM" + std::to_string(port),
                    "no such port number");
    }
    const std::string chosen = DeviceFor(port, device);
    if (chosen.empty()) {
      throw Failure(err::kDeviceUnavailable, "COM" + std::to_string(port), "no device");
    }
    link_.Open(chosen);
  });
  if (!opened) PortOpenFailed = true;
}

void PortControl::CloseCom() {
  report_.Guard("modCommun->CloseCom", [this] { link_.Close(); });
}

void PortControl::TestComPort(int n) {
  if (n < 1 || n > kPortCount) return;
  auto& flag = PortFlag[static_cast<std::size_t>(n - 1)];
  flag = 1;
  try {
    const std::string device = DeviceOf(n);
    if (device.empty()) throw Failure(err::kDeviceUnavailable, "COM" + std::to_string(n));
    link_.Open(device);
    link_.Close();
  } catch (const Failure&) {
    // A port that cannot be opened is only marked unusable; the probe reports nothing.
    flag = -1;
  }
}

void PortControl::ScanComPort() {
  for (int n = 1; n <= kPortCount; ++n) TestComPort(n);
}

int16_t PortControl::AutoSetPort() {
  int16_t chosen = 0;
  report_.Guard("mdifrmMain->AutoSetPort", [&] {
    ScanComPort();
    for (int n = 1; n <= kPortCount; ++n) {
      if (PortFlag[static_cast<std::size_t>(n - 1)] == 1) {
        settings_.WriteSetting("Setting", "COM", std::to_string(n));
        chosen = static_cast<int16_t>(n);
        return;
      }
    }
  });
  return chosen;
}

}  // namespace tq
