// The judgement of a custom band typed in megahertz: both limits must be numbers, lie within
// 120 MHz to 520 MHz, and the lower must not be above the upper. A rejected band falls back to
// 120 MHz to 520 MHz.
#pragma once

#include <cstdint>
#include <string_view>

namespace tq {

struct CustomRangeResult {
  bool accepted = false;
  // The band limits to apply, in 10 Hz units: the typed ones when accepted, otherwise the
  // fallback 12000000 and 52000000.
  int32_t lower = 0;
  int32_t upper = 0;
};

// Reads both texts as decimal megahertz, takes each times 100000 to the nearest whole number
// (halves to even) and accepts when 12000000 <= lower <= upper <= 52000000. A text that is not
// a number or a value beyond 32 bits rejects.
CustomRangeResult JudgeCustomRange(std::string_view lowerText, std::string_view upperText);

}  // namespace tq
