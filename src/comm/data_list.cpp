#include "comm/data_list.h"

#include <algorithm>

namespace tq {

namespace {

constexpr std::size_t kFirstLineBytes = 4;
constexpr std::size_t kBytesPerLine = 16;

void AppendBytes(std::string& line, std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (const uint8_t byte : bytes) {
    line += kDigits[byte >> 4];
    line += kDigits[byte & 0x0F];
    line += ' ';
  }
}

}  // namespace

std::vector<std::string> FormatComData(int direction, std::span<const uint8_t> bytes) {
  std::vector<std::string> lines;
  std::string first = direction == kComSent ? "Tx: " : "Rx: ";
  const std::size_t head = std::min(bytes.size(), kFirstLineBytes);
  AppendBytes(first, bytes.first(head));
  lines.push_back(std::move(first));

  for (std::size_t at = head; at < bytes.size(); at += kBytesPerLine) {
    const std::size_t count = std::min(kBytesPerLine, bytes.size() - at);
    // A full line is indented by seven spaces, the shorter last one by four.
    std::string line(count == kBytesPerLine ? 7 : 4, ' ');
    AppendBytes(line, bytes.subspan(at, count));
    lines.push_back(std::move(line));
  }
  return lines;
}

void DataList::ComDataShow(int direction, std::span<const uint8_t> bytes) {
  for (const std::string& line : FormatComData(direction, bytes)) AddLine(line);
}

void DataList::AddLine(const std::string& line) {
  bool cleared = false;
  if (listLine_ >= kDataListMaxLines) {
    lines_.clear();
    listLine_ = 0;
    cleared = true;
  }
  const int index = listLine_;
  lines_.push_back(line);
  ++listLine_;
  observers_.Notify([&](DataListObserver& o) { o.LineAdded(line, index, cleared); });
}

void DataList::Clear() {
  lines_.clear();
  listLine_ = 0;
  observers_.Notify([](DataListObserver& o) { o.LineAdded(std::string(), 0, true); });
}

}  // namespace tq
