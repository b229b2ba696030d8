// The last-write stamp at 0x0330-0x0334, written into the image before every write to a radio:
//
//   address  0x0330          0x0331       0x0332     0x0333     0x0334
//   holds    year mod 100    month 1-12   day 1-31   hour BCD   minute BCD
//
// Year, month and day are plain binary numbers; hour and minute are BCD (2026-07-05 09:41 gives
// 1A 07 05 09 41). An image never written to a radio holds an erased stamp (FF FF FF FF FF).
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace tq {

class MemoryImage;

inline constexpr int kStampAddress = 0x0330;
inline constexpr int kStampLength = 5;

// The machine's local date and time, as the stamp takes it.
std::tm LocalNow();

// Writes the stamp of `local` into the image (WriteComDat).
void WriteComDat(MemoryImage& image, const std::tm& local);

// The five stamp bytes as they stand in the image.
std::array<uint8_t, kStampLength> StampBytes(const MemoryImage& image);

// The stamp as "20YY-MM-DD HH:MM"; nothing when the month or the day is out of range (an erased
// stamp: the image was never written to a radio).
std::optional<std::string> StampText(const MemoryImage& image);

}  // namespace tq
