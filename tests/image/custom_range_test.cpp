#include "image/custom_range.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tq {
namespace {

struct RangeCase {
  const char* lower;
  const char* upper;
  bool accepted;
  int32_t expectLower;
  int32_t expectUpper;
};

void PrintTo(const RangeCase& c, std::ostream* out) {
  *out << '"' << c.lower << "\" to \"" << c.upper << '"';
}

class CustomRangeJudgement : public ::testing::TestWithParam<RangeCase> {};

TEST_P(CustomRangeJudgement, GivesTheBandToApply) {
  const RangeCase& c = GetParam();
  const CustomRangeResult result = JudgeCustomRange(c.lower, c.upper);
  EXPECT_EQ(result.accepted, c.accepted);
  EXPECT_EQ(result.lower, c.expectLower);
  EXPECT_EQ(result.upper, c.expectUpper);
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, CustomRangeJudgement,
    ::testing::Values(RangeCase{"136", "174", true, 13600000, 17400000},
                      RangeCase{"136.00001", "174", true, 13600001, 17400000},
                      // Tenths of the 10 Hz unit round to the nearest whole unit.
                      RangeCase{"136.000004", "174.000006", true, 13600000, 17400001},
                      RangeCase{"500", "520", true, 50000000, 52000000},
                      RangeCase{"120", "520", true, 12000000, 52000000},
                      RangeCase{"150", "150", true, 15000000, 15000000},
                      RangeCase{" 433.5 ", "434", true, 43350000, 43400000}));

INSTANTIATE_TEST_SUITE_P(RejectedFallsBackTo120To520, CustomRangeJudgement,
                         ::testing::Values(RangeCase{"500", "520.00001", false, 12000000, 52000000},
                                           RangeCase{"119.99999", "174", false, 12000000, 52000000},
                                           RangeCase{"174", "136", false, 12000000, 52000000},
                                           RangeCase{"abc", "174", false, 12000000, 52000000},
                                           RangeCase{"136", "", false, 12000000, 52000000},
                                           RangeCase{"-136", "174", false, 12000000, 52000000},
                                           RangeCase{"1e2", "174", false, 12000000, 52000000},
                                           // Beyond 32 bits once in 10 Hz units.
                                           RangeCase{"136", "99999999999", false, 12000000,
                                                     52000000},
                                           RangeCase{"30000", "174", false, 12000000, 52000000}));

}  // namespace
}  // namespace tq
