#include "image/stamp.h"

#include <cstdio>

#include "image/memory_image.h"

namespace tq {
namespace {

uint8_t Bcd(int value) {
  const int twoDigits = ((value % 100) + 100) % 100;
  return static_cast<uint8_t>((twoDigits / 10) * 16 + twoDigits % 10);
}

}  // namespace

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return local;
}

void WriteComDat(MemoryImage& image, const std::tm& local) {
  const int year = ((local.tm_year + 1900) % 100 + 100) % 100;
  image.set(kStampAddress, static_cast<uint8_t>(year));
  image.set(kStampAddress + 1, static_cast<uint8_t>(local.tm_mon + 1));
  image.set(kStampAddress + 2, static_cast<uint8_t>(local.tm_mday));
  image.set(kStampAddress + 3, Bcd(local.tm_hour));
  image.set(kStampAddress + 4, Bcd(local.tm_min));
}

std::array<uint8_t, kStampLength> StampBytes(const MemoryImage& image) {
  std::array<uint8_t, kStampLength> stamp{};
  for (std::size_t i = 0; i < stamp.size(); ++i) {
    stamp[i] = image.at(kStampAddress + static_cast<int>(i));
  }
  return stamp;
}

std::optional<std::string> StampText(const MemoryImage& image) {
  const std::array<uint8_t, kStampLength> s = StampBytes(image);
  if (s[1] < 1 || s[1] > 12 || s[2] < 1 || s[2] > 31) return std::nullopt;
  // Hour and minute are BCD, so their hexadecimal digits are the decimal ones.
  char text[32];
  std::snprintf(text, sizeof text, "20%02u-%02u-%02u %02X:%02X", unsigned{s[0]}, unsigned{s[1]},
                unsigned{s[2]}, unsigned{s[3]}, unsigned{s[4]});
  return std::string(text);
}

}  // namespace tq
