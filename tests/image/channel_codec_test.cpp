#include "image/channel_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/error_report.h"
#include "base/failure.h"
#include "image/memory_image.h"
#include "image/tone_table.h"
#include "support/outcomes.h"

namespace tq {
namespace {

using Bytes = std::vector<uint8_t>;

// Fields 1 to 4 are the frequency and tone columns; the parameter fields 5 to 9 default to
// the items 1, 0, 1, 2, 3.
ChannelLayout TestLayout() {
  ChannelLayout layout;
  layout.ChCount = 16;
  layout.ColCount = 9;
  layout.widths.assign(10, 1000);
  layout.fieldTexts = {
      {},
      {"RxFre", "0", "14652500"},
      {"TxFre", "0", "14652500"},
      {"CtcssDcsDec", "0", "0"},
      {"CtcssDcsEnc", "0", "0"},
      {"ScanAdd", "2", "1", "Off", "On"},
      {"Narrow", "2", "0", "Off", "On"},
      {"BusyLock", "2", "1", "Off", "On"},
      {"Power", "3", "2", "Low", "Mid", "High"},
      {"Name", "4", "3", "A", "B", "C", "D"},
  };
  return layout;
}

using Fields32 = std::vector<int32_t>;

// Fields first to first + count - 1 of a row.
Fields32 Fields(const ChannelRow& row, int first, int count) {
  return {row.field.begin() + first, row.field.begin() + first + count};
}

using testing::CountMentions;

class ChannelCodecTest : public ::testing::Test {
 protected:
  void PutRecord(int n, const Bytes& bytes) {
    for (std::size_t k = 0; k < bytes.size(); ++k) {
      image.set(ChannelRecordAddress(n) + static_cast<int>(k), bytes[k]);
    }
  }
  Bytes Record(int n, int first = 0, int count = kChannelRecordSize) const {
    Bytes bytes;
    for (int k = first; k < first + count; ++k)
      bytes.push_back(image.at(ChannelRecordAddress(n) + k));
    return bytes;
  }
  void Decode() { IicDatToChInfo(image, layout, tones, table, report); }
  void Encode() { ChInfoToIicDat(table, layout, tones, image, report); }

  ToneTable tones{3};
  ChannelLayout layout = TestLayout();
  MemoryImage image;
  ChannelTable table;
  ErrorReport report{[] { return std::string("2026-01-01 00:00:00"); }};
};

const Bytes kExample = {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x14,
                        0x9E, 0x02, 0xFF, 0xFF, 0x08, 0x20, 0x00, 0x00};

TEST_F(ChannelCodecTest, DecodesTheExampleRecordAndEncodesItBackIntoAnErasedRecord) {
  PutRecord(1, kExample);
  image.set(kFlagWordLow, 0x01);
  Decode();
  const ChannelRow& row = table[1];
  EXPECT_EQ(Fields(row, 1, 2), (Fields32{14652500, 14652500}));
  EXPECT_EQ(Fields(row, 5, 4), (Fields32{1, 0, 1, 1}));
  EXPECT_EQ(row.rxTone, "67.0");
  EXPECT_EQ(row.txTone, "None");
  EXPECT_TRUE(report.lines().empty());

  PutRecord(1, Bytes(16, 0x00));
  Encode();
  EXPECT_EQ(Record(1), kExample);
}

// Byte 3 outside 0x01 to 0x99 marks an empty channel whatever the rest of the record holds.
TEST_F(ChannelCodecTest, AnEmptyRecordTakesTheDefaultItemsAndKeepsTonesAndMark) {
  for (const uint8_t byte3 : {uint8_t{0x00}, uint8_t{0xFF}, uint8_t{0x9A}}) {
    PutRecord(1, {0x00, 0x25, 0x65, byte3, 0x00, 0x25, 0x65, 0x14, 0x13, 0x28, 0x13, 0xA8, 0x3F,
                  0x3F, 0x55, 0xAA});
    image.set(kFlagWordLow, 0xFF);
    ChannelRow& row = table[1];
    row.field.fill(77);
    row.field[0] = 1;
    row.rxTone = "X";
    row.txTone = "Y";
    Decode();
    EXPECT_EQ(Fields(row, 0, 10), (Fields32{1, -1, -1, 0, 0, 1, 0, 1, 2, 3})) << int{byte3};
    EXPECT_EQ(Fields(row, 10, kFieldCount - 10), Fields32(kFieldCount - 10, 77)) << int{byte3};
    EXPECT_EQ(row.rxTone + row.txTone, "XY") << int{byte3};
  }
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(ChannelCodecTest, ByteThreeFrom01To99StartsAFrequency) {
  PutRecord(1, {0x00, 0x00, 0x00, 0x01});
  PutRecord(2, {0x99, 0x99, 0x99, 0x99});
  Decode();
  EXPECT_EQ(table[1].field[1], 1000000);
  EXPECT_EQ(table[2].field[1], 99999999);
}

TEST_F(ChannelCodecTest, ReceiveOnlyChannelKeepsItsTransmitTone) {
  PutRecord(1, {0x00, 0x25, 0x65, 0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x9E, 0x02, 0x13, 0x28});
  PutRecord(2, {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x00, 0xFF, 0xFF, 0xEC, 0xA9});
  table[2].field[2] = 5;
  Decode();
  EXPECT_EQ(table[1].field[1], 14652500);
  EXPECT_EQ(table[1].field[2], -1);
  EXPECT_EQ(table[1].txTone, "D023N");
  EXPECT_EQ(table[2].field[2], -1);
  EXPECT_EQ(table[2].rxTone, "None");
  EXPECT_EQ(table[2].txTone, "D754I");
}

TEST_F(ChannelCodecTest, NibbleAboveNineGives120MHzAndAReport) {
  PutRecord(1, {0x00, 0x25, 0x6A, 0x14, 0x00, 0x25, 0x65, 0x14, 0x13, 0x28, 0xFF, 0xFF});
  Decode();
  EXPECT_EQ(table[1].field[1], 12000000);
  EXPECT_EQ(CountMentions(report, "modChMem->IcRxFreSol"), 1);
  EXPECT_EQ(report.lines().size(), 2u);
  // The routines after the failed one still ran.
  EXPECT_EQ(table[1].field[2], 14652500);
  EXPECT_EQ(table[1].rxTone, "D023N");
}

TEST_F(ChannelCodecTest, BadTransmitDigitsKeepTheOldValueAndReport) {
  PutRecord(1, {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x1F, 0xFF, 0xFF, 0x9E, 0x02});
  table[1].field[2] = 4242;
  Decode();
  EXPECT_EQ(table[1].field[2], 4242);
  EXPECT_EQ(CountMentions(report, "modChMem->IcTxFreSol"), 1);
  EXPECT_EQ(CountMentions(report, "modChMem->IcRxFreSol"), 0);
  EXPECT_EQ(table[1].txTone, "67.0");
}

// Field 5 is bit 5 and field 6 bit 4 of byte 13; field 8 is bits 3-4 of byte 12, where both
// bits set read as 0.
TEST_F(ChannelCodecTest, ParametersAreReadFromTheirBitsOfBytes12And13) {
  const std::tuple<uint8_t, uint8_t, Fields32> cases[] = {
      {0x08, 0x10, {0, 1, 1}}, {0x18, 0xCF, {0, 0, 0}}, {0xF7, 0xEF, {1, 0, 2}}};
  for (const auto& [byte12, byte13, fields] : cases) {
    PutRecord(1, kExample);
    image.set(ChannelRecordAddress(1) + 12, byte12);
    image.set(ChannelRecordAddress(1) + 13, byte13);
    Decode();
    EXPECT_EQ((Fields32{table[1].field[5], table[1].field[6], table[1].field[8]}), fields)
        << int{byte12} << " " << int{byte13};
  }
}

// Values other than the items leave their bits clear; no other bit changes.
TEST_F(ChannelCodecTest, ParametersWriteOnlyTheirBits) {
  const std::tuple<uint8_t, uint8_t, Fields32, uint8_t, uint8_t> cases[] = {
      {0x00, 0xFF, {0, 0, 2}, 0x10, 0xCF},
      {0xFF, 0x00, {1, 1, 0}, 0xE7, 0x30},
      {0xFF, 0xCF, {2, 1, 1}, 0xEF, 0xDF},
      {0x18, 0x30, {-1, -1, 3}, 0x00, 0x00}};
  layout.ChCount = 1;
  for (const auto& [byte12, byte13, fields, after12, after13] : cases) {
    image.set(ChannelRecordAddress(1) + 12, byte12);
    image.set(ChannelRecordAddress(1) + 13, byte13);
    ChannelRow& row = table[1];
    row.field[1] = 14652500;
    row.field[2] = -1;
    row.field[5] = fields[0];
    row.field[6] = fields[1];
    row.field[8] = fields[2];
    Encode();
    EXPECT_EQ(image.at(ChannelRecordAddress(1) + 12), after12) << int{byte12};
    EXPECT_EQ(image.at(ChannelRecordAddress(1) + 13), after13) << int{byte13};
  }
}

TEST_F(ChannelCodecTest, FlagWordBitBelongsToItsChannelOnly) {
  for (int n = 1; n <= kImageChannels; ++n) PutRecord(n, kExample);
  image.set(kFlagWordLow, 0x5A);
  image.set(kFlagWordHigh, 0xA1);
  Decode();
  EXPECT_EQ(table[1].field[7], 0);
  EXPECT_EQ(table[2].field[7], 1);
  EXPECT_EQ(table[9].field[7], 1);
  EXPECT_EQ(table[10].field[7], 0);
  EXPECT_EQ(table[12].field[7], 0);
  EXPECT_EQ(table[16].field[7], 1);

  table[12].field[7] = 1;
  Encode();
  EXPECT_EQ(image.at(kFlagWordLow), 0x5A);
  EXPECT_EQ(image.at(kFlagWordHigh), 0xA9);

  table[12].field[7] = 0;
  table[1].field[7] = 1;
  Encode();
  EXPECT_EQ(image.at(kFlagWordLow), 0x5B);
  EXPECT_EQ(image.at(kFlagWordHigh), 0xA1);
}

// A frequency fills its four bytes, least significant pair first, and nothing else.
TEST_F(ChannelCodecTest, AFrequencyFillsItsFourBytesAndNothingElse) {
  const std::pair<int32_t, Bytes> cases[] = {
      {14652500, {0x00, 0x25, 0x65, 0x14}},
      {-1, {0xFF, 0xFF, 0xFF, 0xFF}},
      // seven digits: the last pair is the single digit 9
      {9999999, {0x09, 0x99, 0x99, 0x99}},
      // a text that is not a frequency leaves the bytes as they were
      {-5, {0xA5, 0xA5, 0xA5, 0xA5}}};
  layout.ChCount = 1;
  for (const auto& [value, stored] : cases) {
    std::fill(image.bytes().begin(), image.bytes().end(), uint8_t{0xA5});
    ChannelRow& row = table[1];
    row.field[1] = value;
    row.field[2] = -1;
    row.field[7] = 1;  // keeps the flag word at 0xA5A5
    row.rxTone = "D023N";
    row.txTone = "D023N";
    Encode();
    EXPECT_EQ(Record(1, 0, 4), stored) << value;
    EXPECT_EQ(Record(1, 4, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF})) << value;
    EXPECT_EQ(Record(1, 8, 4), (Bytes{0x13, 0x28, 0x13, 0x28})) << value;
    for (int a = 0; a <= image.DatNum(); ++a) {
      if (a >= ChannelRecordAddress(1) && a < ChannelRecordAddress(1) + 14) continue;
      ASSERT_EQ(image.at(a), 0xA5) << "address " << a << " for " << value;
    }
  }
}

TEST_F(ChannelCodecTest, NegativeFrequencyIsReportedUnderItsRoutine) {
  layout.ChCount = 1;
  table[1].field[1] = 14652500;
  table[1].field[2] = -25;
  Encode();
  EXPECT_EQ(CountMentions(report, "modChMem->CiTxFreSol"), 1);
  EXPECT_EQ(Record(1, 0, 4), (Bytes{0x00, 0x25, 0x65, 0x14}));
  EXPECT_EQ(Record(1, 4, 4), (Bytes{0x00, 0x00, 0x00, 0x00}));
}

TEST(SeparateFreChar, SplitsDigitPairsMostSignificantFirst) {
  using Four = std::array<uint8_t, 4>;
  EXPECT_EQ(SeparateFreChar("14652500"), (Four{0x14, 0x65, 0x25, 0x00}));
  EXPECT_EQ(SeparateFreChar("9999999"), (Four{0x99, 0x99, 0x99, 0x09}));
  EXPECT_EQ(SeparateFreChar("123456789"), (Four{0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(SeparateFreChar("125"), (Four{0x12, 0x05, 0x00, 0x00}));
  EXPECT_EQ(SeparateFreChar(""), (Four{0x00, 0x00, 0x00, 0x00}));
  for (const char* text : {"-1", "1465250x", " 1465250"}) {
    try {
      (void)SeparateFreChar(text);
      FAIL() << "no failure for " << text;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), err::kTypeMismatch) << text;
    }
  }
}

TEST_F(ChannelCodecTest, ToneThatFitsNoWordIsReportedAndTheOtherToneStillEncodes) {
  layout.ChCount = 1;
  PutRecord(1, {0, 0, 0, 0, 0, 0, 0, 0, 0x11, 0x22, 0x33, 0x44});
  table[1].rxTone = "-67.0";
  table[1].txTone = "D023I";
  Encode();
  EXPECT_EQ(CountMentions(report, "modChMem->CiCtdcsDecSol"), 1);
  EXPECT_EQ(Record(1, 8, 4), (Bytes{0x11, 0x22, 0x13, 0xA8}));
}

TEST_F(ChannelCodecTest, DefaultThatIsNotANumberEndsTheDecodingAtThatChannel) {
  layout.fieldTexts[6][2] = "abc";
  PutRecord(2, kExample);
  table[2].field[1] = 5;
  Decode();
  EXPECT_EQ(CountMentions(report, "modChMem->IicDatToChInfo"), 1);
  EXPECT_NE(report.lines().back().find(":  13 "), std::string::npos);
  EXPECT_EQ(table[1].field[1], -1);
  EXPECT_EQ(table[1].field[5], 1);  // what ran before the failure stays done
  EXPECT_EQ(table[2].field[1], 5);
}

TEST_F(ChannelCodecTest, MissingFieldListEndsTheDecodingToo) {
  layout.fieldTexts.resize(9);  // field 9 has no list, so no default
  Decode();
  EXPECT_EQ(CountMentions(report, "modChMem->IicDatToChInfo"), 1);
  EXPECT_EQ(table[1].field[8], 2);
  EXPECT_EQ(table[2].field[1], 0);
}

TEST_F(ChannelCodecTest, ChannelBeyondTheSixteenthStopsDecodingAndEncoding) {
  layout.ChCount = 17;
  table[17].field[1] = 33;
  Decode();
  EXPECT_EQ(CountMentions(report, "modChMem->IicDatToChInfo"), 1);
  EXPECT_EQ(table[16].field[1], -1);
  EXPECT_EQ(table[17].field[1], 33);

  std::fill(image.bytes().begin(), image.bytes().end(), uint8_t{0x5A});
  table[17].field[1] = 14652500;
  Encode();
  EXPECT_EQ(CountMentions(report, "modChMem->ChInfoToIicDat"), 1);
  EXPECT_EQ(Record(16, 0, 4), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
  for (int a = ChannelRecordAddress(17); a < ChannelRecordAddress(18); ++a) {
    EXPECT_EQ(image.at(a), 0x5A) << a;
  }
}

TEST_F(ChannelCodecTest, SaveSolDispatchesOnItsMode) {
  PutRecord(1, kExample);
  ChInfoSaveSol(1, table, layout, tones, image, report);
  EXPECT_EQ(table[1].field[1], 14652500);

  table[1].field[1] = 12500000;
  const MemoryImage before = image;
  for (const int mode : {2, -1}) {
    ChInfoSaveSol(mode, table, layout, tones, image, report);
    EXPECT_EQ(image, before) << mode;
    EXPECT_EQ(table[1].field[1], 12500000) << mode;
  }
  ChInfoSaveSol(0, table, layout, tones, image, report);
  EXPECT_EQ(Record(1, 0, 4), (Bytes{0x00, 0x00, 0x50, 0x12}));
}

// The masks of the bits inside the word are exercised through the flag word tests above and
// the guard-byte round trips below.
TEST(FlagMask, BitOutsideTheWordIsFailure9) {
  for (const int bit : {-1, 16}) {
    EXPECT_THROW((void)FlagSetMask(bit), Failure) << bit;
    try {
      (void)FlagClearMask(bit);
      FAIL() << "no failure for " << bit;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), err::kIndexOutOfRange);
    }
  }
}

// A seeded random image goes through a decode and an encode; whatever the codec does not own
// must come out as it went in.
class GuardBytes : public ::testing::TestWithParam<unsigned> {
 protected:
  static MemoryImage RandomImage(unsigned seed, bool allInUse) {
    MemoryImage image;
    std::mt19937 random(seed);
    for (auto& byte : image.bytes()) byte = static_cast<uint8_t>(random() & 0xFF);
    if (allInUse) {
      for (int n = 1; n <= kImageChannels; ++n) {
        const auto tens = static_cast<uint8_t>(1 + random() % 9);
        const auto units = static_cast<uint8_t>(random() % 10);
        image.set(ChannelRecordAddress(n) + 3, static_cast<uint8_t>(tens * 16 + units));
      }
    }
    return image;
  }

  static void DecodeEncode(MemoryImage& image) {
    const ToneTable tones(3);
    const ChannelLayout layout = TestLayout();
    ChannelTable table;
    ErrorReport report([] { return std::string("t"); });
    IicDatToChInfo(image, layout, tones, table, report);
    ChInfoToIicDat(table, layout, tones, image, report);
  }

  static void ExpectUnownedBytesKept(const MemoryImage& original, const MemoryImage& image) {
    const int first = ChannelRecordAddress(1);
    const int last = ChannelRecordAddress(kImageChannels) + kChannelRecordSize - 1;
    for (int a = 0; a <= image.DatNum(); ++a) {
      if ((a >= first && a <= last) || a == kFlagWordLow || a == kFlagWordHigh) continue;
      ASSERT_EQ(image.at(a), original.at(a)) << "address " << a;
    }
    for (int n = 1; n <= kImageChannels; ++n) {
      const int b = ChannelRecordAddress(n);
      EXPECT_EQ(image.at(b + 14), original.at(b + 14)) << "channel " << n;
      EXPECT_EQ(image.at(b + 15), original.at(b + 15)) << "channel " << n;
      EXPECT_EQ(image.at(b + 12) & 0xC7, original.at(b + 12) & 0xC7) << "channel " << n;
      EXPECT_EQ(image.at(b + 13) & 0xC7, original.at(b + 13) & 0xC7) << "channel " << n;
    }
  }
};

TEST_P(GuardBytes, ChannelsInUseKeepEveryParameterAndFlagBit) {
  const MemoryImage original = RandomImage(GetParam(), true);
  MemoryImage image = original;
  DecodeEncode(image);
  ExpectUnownedBytesKept(original, image);
  EXPECT_EQ(image.at(kFlagWordLow), original.at(kFlagWordLow));
  EXPECT_EQ(image.at(kFlagWordHigh), original.at(kFlagWordHigh));
  for (int n = 1; n <= kImageChannels; ++n) {
    const int b = ChannelRecordAddress(n);
    EXPECT_EQ(image.at(b + 13), original.at(b + 13)) << "channel " << n;
    // Bits 3 and 4 both set read as 0 and are written back as neither.
    const uint8_t expected12 = (original.at(b + 12) & 0x18) == 0x18
                                   ? static_cast<uint8_t>(original.at(b + 12) & 0xE7)
                                   : original.at(b + 12);
    EXPECT_EQ(image.at(b + 12), expected12) << "channel " << n;
  }
}

TEST_P(GuardBytes, AnyImageKeepsTheBytesTheCodecDoesNotOwn) {
  const MemoryImage original = RandomImage(GetParam(), false);
  MemoryImage image = original;
  DecodeEncode(image);
  ExpectUnownedBytesKept(original, image);
}

INSTANTIATE_TEST_SUITE_P(Seeds, GuardBytes, ::testing::Values(1u, 474u));

}  // namespace
}  // namespace tq
