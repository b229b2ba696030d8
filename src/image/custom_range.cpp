#include "image/custom_range.h"

#include <cmath>
#include <limits>
#include <optional>

#include "base/numbers.h"
#include "image/band.h"

namespace tq {
namespace {

// Megahertz text to 10 Hz units; nullopt for a text that is not a number or a result that does
// not fit 32 bits.
std::optional<int32_t> TenHertzOf(std::string_view text) {
  const std::optional<double> megahertz = ParseDecimal(text);
  if (!megahertz) return std::nullopt;
  const double units = RoundHalfEven(*megahertz * 100000.0);
  if (!std::isfinite(units) || units < std::numeric_limits<int32_t>::min() ||
      units > std::numeric_limits<int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(units);
}

bool WithinCustomBounds(int32_t limit) {
  return limit >= kCustomLowest && limit <= kCustomHighest;
}

}  // namespace

CustomRangeResult JudgeCustomRange(std::string_view lowerText, std::string_view upperText) {
  const std::optional<int32_t> lower = TenHertzOf(lowerText);
  const std::optional<int32_t> upper = TenHertzOf(upperText);
  if (lower && upper && WithinCustomBounds(*lower) && WithinCustomBounds(*upper) &&
      *lower <= *upper) {
    return {true, *lower, *upper};
  }
  return {false, kCustomLowest, kCustomHighest};
}

}  // namespace tq
