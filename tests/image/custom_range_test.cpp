#include "image/custom_range.h"

#include <gtest/gtest.h>

#include <utility>

namespace tq {
namespace {

TEST(CustomRangeJudgement, AcceptsLimitsInsideTheRadiosRangeInOrder) {
  struct Case {
    const char* lower;
    const char* upper;
    int32_t expectLower;
    int32_t expectUpper;
  };
  for (const Case& c :
       {Case{"136.00001", "174", 13600001, 17400000},
        // Tenths of the 10 Hz unit round to the nearest whole unit.
        Case{"136.000004", "174.000006", 13600000, 17400001},
        Case{"120", "520", 12000000, 52000000}, Case{"150", "150", 15000000, 15000000},
        Case{" 433.5 ", "434", 43350000, 43400000}}) {
    const CustomRangeResult result = JudgeCustomRange(c.lower, c.upper);
    EXPECT_TRUE(result.accepted) << c.lower << " to " << c.upper;
    EXPECT_EQ(result.lower, c.expectLower) << c.lower;
    EXPECT_EQ(result.upper, c.expectUpper) << c.upper;
  }
}

TEST(CustomRangeJudgement, ARejectedRangeFallsBackTo120To520) {
  const std::pair<const char*, const char*> rejected[] = {{"500", "520.00001"},
                                                          {"119.99999", "174"},
                                                          {"174", "136"},
                                                          {"abc", "174"},
                                                          {"136", ""},
                                                          {"-136", "174"},
                                                          {"1e2", "174"},
                                                          // Beyond 32 bits once in 10 Hz units.
                                                          {"136", "99999999999"},
                                                          {"30000", "174"}};
  for (const auto& [lower, upper] : rejected) {
    const CustomRangeResult result = JudgeCustomRange(lower, upper);
    EXPECT_FALSE(result.accepted) << lower << " to " << upper;
    EXPECT_EQ(result.lower, 12000000) << lower << " to " << upper;
    EXPECT_EQ(result.upper, 52000000) << lower << " to " << upper;
  }
}

}  // namespace
}  // namespace tq
