// What the fuzz targets share: the check of a property (a broken one aborts, so libFuzzer keeps
// the input), a reader that takes the input apart, and the error report with a fixed clock.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/error_report.h"

namespace tq::fuzzing {

// Aborts with `property` on standard error when it does not hold.
inline void Require(bool holds, std::string_view property) {
  if (holds) return;
  std::fprintf(stderr, "\nProperty broken: %.*s\n", static_cast<int>(property.size()),
               property.data());
  std::abort();
}

// An error report whose header lines carry a fixed time, so that a run repeats exactly.
inline ErrorReport FixedTimeReport() {
  return ErrorReport([] { return std::string("2026-12-05 10:00:00"); });
}

// Whether any line of the report contains `label`.
inline bool Mentions(const ErrorReport& report, std::string_view label) {
  return std::any_of(report.lines().begin(), report.lines().end(), [&](const std::string& line) {
    return line.find(label) != std::string::npos;
  });
}

// Takes the fuzzer's input apart from the front; past its end every byte reads as 0 and every
// text as empty.
class InputReader {
 public:
  InputReader(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool empty() const noexcept { return at_ >= size_; }
  std::size_t remaining() const noexcept { return size_ - at_; }

  uint8_t Byte() { return at_ < size_ ? data_[at_++] : uint8_t{0}; }

  // A 16-bit number, low byte first.
  uint16_t Word() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
  }

  // At most `count` bytes.
  std::vector<uint8_t> Bytes(std::size_t count) {
    const std::size_t n = std::min(count, remaining());
    std::vector<uint8_t> bytes(data_ + at_, data_ + at_ + n);
    at_ += n;
    return bytes;
  }

  // The text up to the next line feed (which is dropped), or to the end.
  std::string Line() {
    std::string line;
    while (at_ < size_ && data_[at_] != '\n') line.push_back(static_cast<char>(data_[at_++]));
    if (at_ < size_) ++at_;
    return line;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace tq::fuzzing
