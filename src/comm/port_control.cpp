#include "comm/port_control.h"

#include "base/error_report.h"
#include "base/failure.h"
#include "comm/serial_link.h"
#include "base/settings_file.h"

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

std::string PortControl::CurrentDevice() const {
  return deviceOverride.empty() ? DeviceOf(ComPort) : deviceOverride;
}

void PortControl::OpenCom() {
  PortOpenFailed = false;
  const bool opened = report_.Guard("modCommun->OpenCom", [this] {
    if (deviceOverride.empty() && (ComPort < 1 || ComPort > kPortCount)) {
      throw Failure(err::kInvalidPropertyValue, "COM" + std::to_string(ComPort),
                    "no such port number");
    }
    const std::string device = CurrentDevice();
    if (device.empty()) {
      throw Failure(err::kDeviceUnavailable, "COM" + std::to_string(ComPort), "no device");
    }
    link_.Open(device);
  });
  if (!opened) {
    PortOpenFailed = true;
    if (onOpenFailed) onOpenFailed();
  }
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

void PortControl::AutoSetPort() {
  report_.Guard("mdifrmMain->AutoSetPort", [this] {
    ScanComPort();
    for (int n = 1; n <= kPortCount; ++n) {
      if (PortFlag[static_cast<std::size_t>(n - 1)] == 1) {
        settings_.WriteSetting("Setting", "COM", std::to_string(n));
        ComPort = static_cast<int16_t>(n);
        return;
      }
    }
  });
}

}  // namespace tq
