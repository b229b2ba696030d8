#include "comm/port_control.h"

#include "base/error_report.h"
#include "base/failure.h"
#include "base/settings_file.h"
#include "base/text_table.h"
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
  auto& why = PortFailure[static_cast<std::size_t>(n - 1)];
  flag = 1;
  why = {};
  try {
    const std::string device = DeviceOf(n);
    if (device.empty()) throw Failure(err::kDeviceUnavailable, "COM" + std::to_string(n));
    link_.Open(device);
    link_.Close();
  } catch (const Failure& failure) {
    // A port that cannot be opened is only marked unusable; the probe reports nothing, but keeps
    // why for the port dialog.
    flag = -1;
    why = {failure.number(), failure.source()};
  }
}

std::string PortControl::NoPortText(int16_t language) const {
  for (const int16_t flag : PortFlag) {
    if (flag == 1) return {};
  }
  const auto first = [this](auto accept) -> const ProbeFailure* {
    for (const ProbeFailure& why : PortFailure) {
      if (why.number != 0 && accept(why.number)) return &why;
    }
    return nullptr;
  };
  const ProbeFailure* reason = first([](int number) { return number == err::kPermissionDenied; });
  if (reason == nullptr) reason = first([](int number) { return number != err::kFileNotFound; });
  const bool simplified = language == kLangSimplifiedChinese;
  const bool traditional = language == kLangTraditionalChinese;
  std::string text = simplified    ? "没有可以打开的端口。"
                     : traditional ? "沒有可以開啟的序列埠。"
                                   : "No port could be opened. ";
  if (reason != nullptr) return text + reason->text;
  return text + (simplified ? "16 个端口的设备都不存在：请插好写频线，或在 TQ474.ini 的 [Ports] "
                              "段中为端口指定设备（COM1=/dev/ttyUSB0）。"
                 : traditional ? "16 個序列埠的裝置都不存在：請插好寫頻線，或在 TQ474.ini 的 "
                                 "[Ports] 段中為序列埠指定裝置（COM1=/dev/ttyUSB0）。"
                               : "None of the 16 ports' devices exists: plug in the programming "
                                 "cable, or map a port to its device in section [Ports] of "
                                 "TQ474.ini (COM1=/dev/ttyUSB0).");
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
