// The serial link to the radio: exactly the operations the protocol needs. The line settings
// are fixed for the whole program: 9600 bit/s, 8 data bits, no parity, 1 stop bit, binary.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tq {

class SerialLink {
 public:
  virtual ~SerialLink() = default;

  // Opens the device (a path such as "/dev/ttyUSB0", or "COM3" on Windows). A device that is
  // missing, busy or not permitted throws Failure whose number is the error-table number of the
  // failure and whose source names the device with the platform's error number and text.
  virtual void Open(const std::string& device) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  // Drop anything pending in either direction.
  virtual void DiscardTx() = 0;
  virtual void DiscardRx() = 0;
  // Sends the bytes as one write; a line that is gone throws Failure.
  virtual void Write(std::span<const uint8_t> bytes) = 0;
  // The number of received bytes not yet read.
  virtual int BytesWaiting() = 0;
  // Every byte waiting, in arrival order.
  virtual std::vector<uint8_t> ReadAll() = 0;
  // Blocks for at most `ms` milliseconds, returning early when new bytes arrive. The wait uses it
  // so that waiting for a reply never spins the processor.
  virtual void WaitForInput(int ms) = 0;
};

}  // namespace tq
