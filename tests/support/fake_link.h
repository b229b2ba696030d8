// A serial link that opens only the devices it is told exist and carries no bytes: for the
// port probes of tests that must never touch the machine's own ports.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/failure.h"
#include "comm/serial_link.h"

namespace tq::testing {

class DeviceTableLink final : public SerialLink {
 public:
  explicit DeviceTableLink(std::set<std::string> present) : present_(std::move(present)) {}
  void Open(const std::string& device) override {
    opened.push_back(device);
    if (const auto refusal = refused.find(device); refusal != refused.end()) {
      throw Failure(refusal->second.first, refusal->second.second);
    }
    open_ = present_.count(device) != 0;
    if (!open_) throw Failure(err::kFileNotFound, device + ": error 2, No such file");
  }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  void DiscardTx() override {}
  void DiscardRx() override {}
  void Write(std::span<const uint8_t>) override {
    if (!open_) throw Failure(err::kDeviceUnavailable, "SerialLink", "the port is closed");
  }
  int BytesWaiting() override { return 0; }
  std::vector<uint8_t> ReadAll() override { return {}; }
  void WaitForInput(int) override {}

  std::vector<std::string> opened;
  // Devices that exist but refuse to open: the error-table number and text of the failure.
  std::map<std::string, std::pair<int, std::string>> refused;

 private:
  std::set<std::string> present_;
  bool open_ = false;
};

}  // namespace tq::testing
