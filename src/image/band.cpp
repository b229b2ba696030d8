#include "image/band.h"

#include "base/failure.h"
#include "base/numbers.h"
#include "image/memory_image.h"

namespace tq {

const std::array<BandEntry, 11> kBandList = {{
    {"136 - 174 MHz", 13600000, 17400000},
    {"136 - 150 MHz", 13600000, 15000000},
    {"150 - 174 MHz", 15000000, 17400000},
    {"200 - 260 MHz", 20000000, 26000000},
    {"245 - 246 MHz", 24500000, 24600000},
    {"400 - 470 MHz", 40000000, 47000000},
    {"400 - 440 MHz", 40000000, 44000000},
    {"440 - 480 MHz", 44000000, 48000000},
    {"470 - 520 MHz", 47000000, 52000000},
    {"400 - 520 MHz", 40000000, 52000000},
    {"120 - 520 MHz", 12000000, 52000000},
}};

std::array<uint8_t, 2> BandLimitBcd(int32_t limit) {
  const auto units = static_cast<long long>(RoundHalfEven(static_cast<double>(limit) / 10000.0));
  if (units < 0 || units > 9999) {
    throw Failure(err::kOverflow, "BandLimit", "band limit beyond four BCD digits");
  }
  const auto bcd = [](long long two) { return static_cast<uint8_t>((two / 10) * 16 + two % 10); };
  return {bcd(units / 100), bcd(units % 100)};
}

namespace {

// A limit in 10 Hz units from two BCD bytes; nibbles are taken as digits whatever they hold.
int32_t LimitOf(uint8_t high, uint8_t low) {
  const int digits = (high >> 4) * 1000 + (high & 0x0F) * 100 + (low >> 4) * 10 + (low & 0x0F);
  return digits * 10000;
}

}  // namespace

BandLimits BandOfPosition(int position) {
  if (position < 0 || position >= static_cast<int>(kBandList.size())) {
    throw Failure(err::kIndexOutOfRange, "cboFrequency",
                  "band position " + std::to_string(position));
  }
  const BandEntry& entry = kBandList[static_cast<std::size_t>(position)];
  return BandLimits{entry.lower, entry.upper, kAbsoluteLower, kAbsoluteUpper};
}

void WriteBandToImage(const BandLimits& limits, MemoryImage& image) {
  const auto [lowerHigh, lowerLow] = BandLimitBcd(limits.lower);
  const auto [upperHigh, upperLow] = BandLimitBcd(limits.upper);
  image.set(kBandAddress, lowerHigh);
  image.set(kBandAddress + 1, lowerLow);
  image.set(kBandAddress + 2, upperHigh);
  image.set(kBandAddress + 3, upperLow);
}

int ModelFromImage(MemoryImage& image) {
  const int model = image.at(kModelAddress);
  if (model < kModelCount) return model;
  image.set(kModelAddress, 0);
  return 0;
}

int BandFromImage(const MemoryImage& image, BandLimits& limits) {
  const int32_t lower = LimitOf(image.at(kBandAddress), image.at(kBandAddress + 1));
  const int32_t upper = LimitOf(image.at(kBandAddress + 2), image.at(kBandAddress + 3));
  for (std::size_t p = 0; p < kBandList.size(); ++p) {
    if (kBandList[p].lower == lower && kBandList[p].upper == upper) {
      limits = BandLimits{lower, upper, kAbsoluteLower, kAbsoluteUpper};
      return static_cast<int>(p);
    }
  }
  limits = BandLimits{kCustomLowest, kCustomHighest, kAbsoluteLower, kAbsoluteUpper};
  return kCustomBand;
}

}  // namespace tq
