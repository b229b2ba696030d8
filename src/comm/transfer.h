// The read and write transfers: sequential code over the link, the wait and the protocol, that
// reports progress, data-list lines and its message box through hooks the window (or the
// command line) connects.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace tq {

struct Document;
class SerialLink;
class Wait;
class DataList;
class PortControl;
class MemoryImage;

// The read and write address ranges, signed 16-bit as the address boxes hold them.
struct AddressRanges {
  int16_t readStart = 0x0000;
  int16_t readEnd = 0x1FFF;
  int16_t writeStart = 0x0000;
  int16_t writeEnd = 0x1FFF;
};

struct TransferHooks {
  // ShowComPercent: the percentage of the last entry that succeeded.
  std::function<void(int16_t percent)> showPercent;
  // A message box with message `number` (79), title message 70 and the exclamation icon.
  std::function<void(int number)> messageBox;
  // Called with true at the common start (window disabled, light blinking, `reading` button
  // bold) and with false at the common end (window enabled, light off).
  std::function<void(bool running, bool reading)> running;
  // The refresh after a successful read (SoftDisplay); without it the document refreshes itself.
  std::function<void()> softDisplay;
  // TableFreDat, run when "Show Memory Data" is ticked.
  std::function<void()> refreshMemoryGrid;
  // The local date and time for the stamp; the machine's clock when not given.
  std::function<std::tm()> localTime;
};

struct TransferContext {
  Document& doc;
  SerialLink& link;
  Wait& wait;
  DataList& list;
  PortControl& port;
  AddressRanges ranges;
  bool showMemDat = false;
  TransferHooks hooks;
};

// The read transfer (cmdRead_Click). Returns true when every block arrived and the data were
// refreshed; false when the port did not open or the transfer aborted.
bool ReadTransfer(TransferContext& ctx);

// The write transfer (cmdWrite_Click). Returns true when every block was written and the
// identification exchange (or the older-model sequence) completed.
bool WriteTransfer(TransferContext& ctx);

}  // namespace tq
