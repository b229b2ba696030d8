// The data list of the communication window (listRtData): a running log of every byte sent and
// received and of the transfer's step lines. The window shows `lines()` and follows changes
// as an observer; the command line writes the lines to its log.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/observers.h"

namespace tq {

inline constexpr int kComSent = 0;
inline constexpr int kComReceived = -1;
// The list holds at most this many lines; the next line clears it first.
inline constexpr int kDataListMaxLines = 3000;

// The lines of one ComDataShow entry: "Tx: " or "Rx: " and the first four bytes, then sixteen
// bytes a line after seven spaces, a last shorter line after four spaces; each byte as two
// upper-case hexadecimal digits and a space ("57 ").
std::vector<std::string> FormatComData(int direction, std::span<const uint8_t> bytes);

// Told after a line was added (`cleared` is true when the list was emptied first), and with an
// empty line and `cleared` true when the list was cleared on its own.
class DataListObserver {
 public:
  virtual ~DataListObserver() = default;
  virtual void LineAdded(const std::string& line, int index, bool cleared) = 0;
};

class DataList {
 public:
  // Adds the lines of one ComDataShow entry.
  void ComDataShow(int direction, std::span<const uint8_t> bytes);
  // Adds one line at ListLine, clearing the list first when it is full.
  void AddLine(const std::string& line);
  // Empties the list; ListLine starts again at 0.
  void Clear();

  const std::vector<std::string>& lines() const noexcept { return lines_; }
  int16_t ListLine() const noexcept { return listLine_; }
  void Subscribe(DataListObserver& observer) { observers_.Subscribe(observer); }
  void Unsubscribe(DataListObserver& observer) { observers_.Unsubscribe(observer); }

 private:
  std::vector<std::string> lines_;
  int16_t listLine_ = 0;
  Observers<DataListObserver> observers_;
};

}  // namespace tq
