// The radio profile in the image: the model index at 0x0379 and the band limits at
// 0x037A-0x037D (four BCD digits each in 0.1 MHz units, most significant byte first), and the
// working band limits the editor checks frequencies against (all in 10 Hz units).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tq {

class MemoryImage;

inline constexpr int kModelAddress = 0x0379;
inline constexpr int kBandAddress = 0x037A;
inline constexpr int kModelCount = 1;
inline constexpr int kCustomBand = 11;  // position of "Custom" in the band list
inline constexpr int kDefaultBand = 5;  // "400 - 470 MHz"
inline constexpr int32_t kAbsoluteLower = 12000000;
inline constexpr int32_t kAbsoluteUpper = 55000000;
inline constexpr int32_t kCustomLowest = 12000000;
inline constexpr int32_t kCustomHighest = 52000000;

struct BandEntry {
  const char* text;
  int32_t lower;
  int32_t upper;
};

// Positions 0 to 10 of the band list; position 11 is "Custom".
extern const std::array<BandEntry, 11> kBandList;

struct BandLimits {
  int32_t lower = 40000000;
  int32_t upper = 47000000;
  int32_t absLower = kAbsoluteLower;
  int32_t absUpper = kAbsoluteUpper;
  bool operator==(const BandLimits&) const = default;
};

// Limits of band list position 0 to 10; Failure 9 otherwise.
BandLimits BandOfPosition(int position);

// The two BCD bytes, most significant first, of a band limit in 10 Hz units as four digits of
// 0.1 MHz, rounded halves to even (136 MHz gives 13 60). Beyond four digits throws Failure 6.
std::array<uint8_t, 2> BandLimitBcd(int32_t limit);

// Writes the band limits into 0x037A-0x037D (the last step of cboFrequency_Click).
void WriteBandToImage(const BandLimits& limits, MemoryImage& image);

// Model from image: the model position held at 0x0379 when it is a known model; otherwise 0,
// which is then written back into 0x0379.
int ModelFromImage(MemoryImage& image);

// Band from image: the band list position whose limits the image holds, with those limits;
// otherwise position 11 with the fallback band 120 to 520 MHz. The image is not changed.
int BandFromImage(const MemoryImage& image, BandLimits& limits);

}  // namespace tq
