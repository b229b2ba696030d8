// The read and write transfers: sequential code over the link, the wait and the protocol. They
// work on the image of a TransferTarget (the session) and tell a TransferObserver (the
// communication window, the command line) of their progress.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace tq {

class SerialLink;
class Wait;
class DataList;
class PortControl;
class MemoryImage;
class SoftFace;
class ErrorReport;
struct BandLimits;
struct OptionValues;

// The read and write address ranges, signed 16-bit as the address boxes hold them.
struct AddressRanges {
  int16_t readStart = 0x0000;
  int16_t readEnd = 0x1FFF;
  int16_t writeStart = 0x0000;
  int16_t writeEnd = 0x1FFF;
};

// The data a transfer reads into or writes from.
class TransferTarget {
 public:
  virtual ~TransferTarget() = default;
  // The image the blocks are stored into (read) or taken from (write).
  virtual MemoryImage& TransferImage() = 0;
  // Before a write: the edits are folded into the image (SetConvIicDat).
  virtual void FoldEdits() = 0;
  // After a read that brought every block: the data are refreshed from the image (SoftDisplay).
  virtual void ImageRead() = 0;
  virtual const SoftFace& TransferTexts() const = 0;
  // The band and the option values an older radio gets at the end of a write.
  virtual const BandLimits& TransferBand() const = 0;
  virtual const OptionValues& TransferOptions() const = 0;
  virtual ErrorReport& TransferReport() = 0;
};

// How far a write got when it stopped short of its end.
struct WriteStop {
  int16_t start = 0;  // the write range
  int16_t end = 0;
  int32_t acknowledged = 0;   // bytes from `start` on whose blocks the radio acknowledged
  bool entered = false;       // the radio took the programming code
  bool dataComplete = false;  // every block was acknowledged; the closing exchange failed
};

// What a stopped write left in the radio and what the user must do, in `language` (1 Simplified
// Chinese, 2 Traditional Chinese, anything else English).
std::string WriteStopText(const WriteStop& stop, int16_t language);

// What a transfer tells while it runs; every notice has an empty default.
class TransferObserver {
 public:
  virtual ~TransferObserver() = default;
  // ShowComPercent: the percentage of the last entry that succeeded.
  virtual void ShowComPercent(int16_t /*percent*/) {}
  // A message box with message `number` (79), title message 70 and the exclamation icon.
  virtual void MessageBox(int /*number*/) {}
  // True at the common start (window disabled, light blinking, the `reading` button bold),
  // false at the common end (window enabled, light off).
  virtual void Running(bool /*running*/, bool /*reading*/) {}
  // A write stopped after the port opened: instead of message 79 alone, the observer tells the
  // user what the radio now holds (message 79 first unless every block was written).
  virtual void WriteStopped(const WriteStop& /*stop*/) {}
  // A text the user must read: why a backup before a write or a verify after it failed.
  virtual void TellUser(const std::string& /*text*/) {}
  // The port did not open; the transfer ends without traffic.
  virtual void PortOpenFailed() {}
  // TableFreDat, when "Show Memory Data" is ticked: after a read's refresh, and after a write
  // has folded and stamped the image.
  virtual void RefreshMemoryGrid() {}
  // The local date and time for the stamp.
  virtual std::tm LocalTime();
};

struct TransferContext {
  TransferTarget& target;
  SerialLink& link;
  Wait& wait;
  DataList& list;
  PortControl& port;
  AddressRanges ranges;
  // The port number to open, or a device path that replaces it when not empty.
  int16_t portNumber = 1;
  std::string device;
  bool showMemDat = false;
  TransferObserver& observer;
};

// What a transfer did, for the transfer log and the checks around a write.
struct TransferOutcome {
  bool portOpened = false;
  int retries = 0;  // failed scripts that were tried again
  int message = 0;  // the message number that ended it, 0 for none
  // The whole image as the transfer left it: after a write, the bytes sent (edits folded and the
  // date stamped); after a read, the image with the blocks that arrived.
  std::vector<uint8_t> image;
};

// The read transfer (cmdRead_Click). Returns true when every block arrived and the data were
// refreshed; false when the port did not open or the transfer aborted.
bool ReadTransfer(TransferContext& ctx);
bool ReadTransfer(TransferContext& ctx, TransferOutcome& outcome);

// The write transfer (cmdWrite_Click). Returns true when every block was written and the
// identification exchange (or the older-model sequence) completed.
bool WriteTransfer(TransferContext& ctx);
bool WriteTransfer(TransferContext& ctx, TransferOutcome& outcome);

// Whether a radio answers on `device`: the port is opened, the programming-mode code sent and,
// when the radio takes it, the end code that leaves programming mode again; nothing else is sent,
// and the port is closed again. A port that cannot be opened has no radio.
bool ProbeRadio(PortControl& port, const std::string& device, Wait& wait, DataList& list,
                const SoftFace& texts, ErrorReport& report);

}  // namespace tq
