#include "base/numbers.h"

#include <gtest/gtest.h>

#include "base/failure.h"

namespace tq {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0.0);
  EXPECT_EQ(RoundHalfEven(1.5), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5), 2.0);
  EXPECT_EQ(RoundHalfEven(-2.5), -2.0);
  EXPECT_EQ(RoundHalfEven(-3.5), -4.0);
  EXPECT_EQ(RoundHalfEven(2.4999), 2.0);
  EXPECT_EQ(RoundHalfEven(2.5001), 3.0);
  EXPECT_EQ(RoundHalfEven(670.0), 670.0);
}

TEST(ParseDecimal, AcceptsPlainDecimalNotationOnly) {
  EXPECT_EQ(ParseDecimal("146.525"), 146.525);
  EXPECT_EQ(ParseDecimal("  -7 "), -7.0);
  EXPECT_EQ(ParseDecimal("+.5"), 0.5);
  EXPECT_EQ(ParseDecimal("5."), 5.0);
  EXPECT_EQ(ParseDecimal("060"), 60.0);
  for (const char* bad : {"", " ", ".", "-", "1e3", "0x10", "1.2.3", "12a", "D023N", "1 2"}) {
    EXPECT_FALSE(ParseDecimal(bad).has_value()) << bad;
  }
}

TEST(WholeNumbers, TypeMismatchAndOverflowCarryTheirNumbers) {
  EXPECT_EQ(ToInt16("32767", "t"), 32767);
  EXPECT_EQ(ToInt16("2.5", "t"), 2);
  EXPECT_EQ(ToInt32(" 14652500 ", "t"), 14652500);
  try {
    ToInt16("abc", "t");
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 13);
  }
  try {
    ToInt16("32768", "t");
    FAIL() << "no failure";
  } catch (const Failure& f) {
    EXPECT_EQ(f.number(), 6);
  }
  EXPECT_THROW(CheckedByte(-1, "t"), Failure);
  EXPECT_THROW(CheckedByte(256, "t"), Failure);
  EXPECT_EQ(CheckedByte(255, "t"), 255);
}

TEST(WrapToInt16, ReducesModulo65536) {
  EXPECT_EQ(WrapToInt16(40000), -25536);
  EXPECT_EQ(WrapToInt16(65535), -1);
  EXPECT_EQ(WrapToInt16(31036), 31036);
  EXPECT_EQ(WrapToInt16(-32769), 32767);
}

TEST(HexText, ParsesAndWritesUpperCaseDigits) {
  EXPECT_EQ(ParseHex("1FFF"), 0x1FFFu);
  EXPECT_EQ(ParseHex("1fff"), 0x1FFFu);
  EXPECT_FALSE(ParseHex("").has_value());
  EXPECT_FALSE(ParseHex("g5").has_value());
  EXPECT_EQ(HexText(0x0A, 2), "0A");
  EXPECT_EQ(HexText(0x10, 4), "0010");
}

TEST(Utf8, CutsWholeCharacters) {
  EXPECT_EQ(CutUtf8("宋体字", 2), "宋体");
  EXPECT_EQ(CutUtf8("ShowLock", 4), "Show");
  EXPECT_EQ(CutUtf8("ab", 9), "ab");
}

}  // namespace
}  // namespace tq
