// A failure of a guarded procedure: an error number from the error-number table, the
// component that raised it (the "source" of the report) and a free detail text.
#pragma once

#include <stdexcept>
#include <string>

namespace tq {

// Error numbers that this program's own failures carry; each has a row in the
// error-number table so that the report shows its description.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kIndexOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIo = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kInputPastEnd = 62;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kPrinterError = 482;
inline constexpr int kSaveToFile = 31036;
inline constexpr int kReadFromFile = 31037;
}  // namespace err

class Failure : public std::runtime_error {
 public:
  Failure(int number, std::string source, const std::string& detail = {})
      : std::runtime_error(detail.empty() ? source : source + ": " + detail),
        number_(number),
        source_(std::move(source)) {}

  int number() const noexcept { return number_; }
  const std::string& source() const noexcept { return source_; }

 private:
  int number_;
  std::string source_;
};

}  // namespace tq
