#include "options/option_codec.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <string>
#include <tuple>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/settings_file.h"
#include "image/memory_image.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

constexpr const char* kFixedTime = "2026-01-02 03:04:05";
constexpr const char* kHeader = "---------2026-01-02 03:04:05--------";

ErrorReport FixedReport() {
  return ErrorReport([] { return std::string(kFixedTime); });
}

// Defaults that no byte in range can produce, so a slot that fell back to its default shows.
OptionValues MarkedDefaults() {
  OptionValues values;
  for (int k = 0; k < kOptionCount; ++k)
    values.OptDef[static_cast<std::size_t>(k)] = static_cast<int16_t>(100 + k);
  return values;
}

int16_t Sel(const OptionValues& v, int slot) {
  return v.OptSel[static_cast<std::size_t>(slot)];
}
int16_t Def(const OptionValues& v, int slot) {
  return v.OptDef[static_cast<std::size_t>(slot)];
}

using testing::FailureNumber;

// ---------------------------------------------------------------------------------------------
// Loading: one byte in an otherwise empty image, the slot value it gives.

// One case per way a byte is read, at the edges of its range; every slot's address is pinned by
// the round trip below. kDefault: the slot's marked default.
TEST(OptionLoad, EdgeBytesGiveTheValueOrTheDefault) {
  constexpr int16_t kDefault = -999;
  struct Case {
    int slot;
    int address;
    uint8_t byte;
    int16_t expected;
  };
  for (const Case& c :
       {// a whole byte up to the top of the slot's list (time-out timer 0..20)
        Case{0, 0x0130, 0x14, 20}, Case{0, 0x0130, 0x15, kDefault}, Case{0, 0x0130, 0xFF, kDefault},
        // broadcast squelch stored as 0x86..0xA6
        Case{4, 0x03F6, 0x86, 0}, Case{4, 0x03F6, 0xA6, 32}, Case{4, 0x03F6, 0x85, kDefault},
        Case{4, 0x03F6, 0xA7, kDefault},
        // broadcast volume: low four bits; battery save: bit 0; emergency alarm: bit 7
        Case{5, 0x03F7, 0x1F, 15}, Case{5, 0x03F7, 0xF0, 0}, Case{6, 0x0135, 0x03, 1},
        Case{6, 0x0135, 0x02, 0}, Case{8, 0x03FC, 0x80, 1}, Case{8, 0x03FC, 0x7F, 0},
        // voice chip: bits 0..1, where 11 reads as 1; low-battery transmit: bit 2
        Case{9, 0x03FE, 0xFC, 0}, Case{9, 0x03FE, 0x01, 1}, Case{9, 0x03FE, 0x02, 2},
        Case{9, 0x03FE, 0x03, 1}, Case{15, 0x03FE, 0x04, 1}, Case{15, 0x03FE, 0xFB, 0}}) {
    MemoryImage image;
    image.set(c.address, c.byte);
    OptionValues values = MarkedDefaults();
    SaveToOptSel(image, values);
    const int16_t expected = c.expected == kDefault ? Def(values, c.slot) : c.expected;
    EXPECT_EQ(Sel(values, c.slot), expected) << "slot " << c.slot << " byte " << int{c.byte};
  }
}

// ---------------------------------------------------------------------------------------------
// Saving

// One slot's value over a known byte: the byte it leaves at the address.
TEST(OptionSave, OffsetAndBitSlotsChangeOnlyTheirPartOfTheByte) {
  struct Case {
    int slot;
    int16_t value;
    int address;
    uint8_t before;
    uint8_t after;
  };
  for (const Case& c : {Case{4, 0, 0x03F6, 0x00, 0x86}, Case{4, 121, 0x03F6, 0x00, 0xFF},
                        Case{4, -134, 0x03F6, 0xEE, 0x00},
                        // emergency alarm: only bit 7 of 0x03FC; a value other than 1 clears it
                        Case{8, 0, 0x03FC, 0xFF, 0x7F}, Case{8, 1, 0x03FC, 0x5A, 0xDA},
                        Case{8, 5, 0x03FC, 0xC3, 0x43},
                        // low-battery transmit: only bit 2 of 0x03FE; the voice-chip bits stay
                        Case{15, 1, 0x03FE, 0xF3, 0xF7}, Case{15, 0, 0x03FE, 0xFF, 0xFB}}) {
    MemoryImage image;
    image.set(c.address, c.before);
    OptionValues values;
    values.OptSel[static_cast<std::size_t>(c.slot)] = c.value;
    OptSelToSave(values, image);
    EXPECT_EQ(image.at(c.address), c.after) << "slot " << c.slot << " value " << c.value;
  }
}

// Every slot goes to its own address and is loaded back from it. The voice-chip bits of 0x03FE
// and the crystal bytes 0x03D8 and 0x03D3 are among the bytes that must not change, though
// OptSel holds other values for them.
TEST(OptionSave, EverySlotRoundTripsThroughItsAddressAndNoOtherByteChanges) {
  MemoryImage image;
  std::mt19937 random(474);
  for (uint8_t& b : image.bytes()) b = static_cast<uint8_t>(random() & 0xFF);
  image.set(0x03FC, 0x35);  // alarm bit clear, to be set
  image.set(0x03FE, 0xFB);  // low-battery bit clear, to be set; voice chip bits 11
  const MemoryImage original = image;

  OptionValues values;
  const int16_t sel[kOptionCount] = {7, 3, 8, 2, 16, 9, 1, 0, 1, 1, 2, 4, 6, 5, 1, 1};
  for (int k = 0; k < kOptionCount; ++k) values.OptSel[static_cast<std::size_t>(k)] = sel[k];
  OptSelToSave(values, image);

  const std::map<int, uint8_t> written = {{0x0130, 7},    {0x0134, 3},   {0x03FF, 8}, {0x012F, 2},
                                          {0x03F6, 0x96}, {0x03F7, 9},   {0x0135, 1}, {0x0136, 0},
                                          {0x0131, 4},    {0x013A, 6},   {0x013B, 5}, {0x0138, 1},
                                          {0x03FC, 0xB5}, {0x03FE, 0xFF}};
  for (int address = 0; address <= image.DatNum(); ++address) {
    const auto w = written.find(address);
    ASSERT_EQ(image.at(address), w != written.end() ? w->second : original.at(address))
        << "address " << address;
  }
  OptionValues back = MarkedDefaults();
  SaveToOptSel(image, back);
  for (int k = 0; k < kOptionCount; ++k) {
    if (k == 10) continue;  // the crystal is detected, not stored
    EXPECT_EQ(Sel(back, k), sel[k]) << "slot " << k;
  }
}

TEST(OptionSave, ValueThatDoesNotFitAByteStopsWithOverflow) {
  MemoryImage image;
  image.set(0x0134, 0xEE);
  image.set(0x03FF, 0xEE);
  OptionValues values;
  values.OptSel[0] = 12;
  values.OptSel[1] = -1;
  values.OptSel[2] = 4;
  EXPECT_EQ(FailureNumber([&] { OptSelToSave(values, image); }), 6);
  EXPECT_EQ(image.at(0x0130), 0x0C);  // written before the failure
  EXPECT_EQ(image.at(0x0134), 0xEE);
  EXPECT_EQ(image.at(0x03FF), 0xEE);  // never reached

  MemoryImage other;
  OptionValues squelch;
  squelch.OptSel[4] = 122;  // 122 + 134 = 256
  EXPECT_EQ(FailureNumber([&] { OptSelToSave(squelch, other); }), 6);
  EXPECT_EQ(other.at(0x03F6), 0x00);
  EXPECT_EQ(other.at(0x012F), 0x00);
}

TEST(OptionSaveSol, DirectionSelectsSaveOrLoadOrNothing) {
  MemoryImage image;
  image.set(0x0134, 0x05);
  OptionValues values;
  OptSelSaveSol(1, values, image);
  EXPECT_EQ(values.OptSel[1], 5);

  values.OptSel[1] = 7;
  OptSelSaveSol(2, values, image);
  EXPECT_EQ(image.at(0x0134), 0x05);
  EXPECT_EQ(values.OptSel[1], 7);
  OptSelSaveSol(-1, values, image);
  EXPECT_EQ(image.at(0x0134), 0x05);

  OptSelSaveSol(0, values, image);
  EXPECT_EQ(image.at(0x0134), 0x07);
}

// ---------------------------------------------------------------------------------------------
// Crystal detection.

// The identification byte 0x03D8 first, then the top bits of 0x03D3.
TEST(CrystalDetection, IdentificationByteFirstThenTopBits) {
  const std::tuple<uint8_t, uint8_t, int16_t> cases[] = {
      {0x5A, 0xC0, 0}, {0x75, 0x00, 1}, {0x49, 0x40, 2}, {0xA8, 0x40, 3}, {0x00, 0xC5, 3},
      {0x00, 0x3F, 0}, {0x5B, 0x7F, 1}, {0xFF, 0x80, 2}, {0x7A, 0xBF, 2}};
  for (const auto& [id, bits, expected] : cases) {
    MemoryImage image;
    image.set(0x03D8, id);
    image.set(0x03D3, bits);
    EXPECT_EQ(DetectCrystal(image), expected) << int{id} << "/" << int{bits};
    OptionValues values = MarkedDefaults();
    SaveToOptSel(image, values);
    EXPECT_EQ(values.OptSel[10], expected) << int{id} << "/" << int{bits};
  }
}

// ---------------------------------------------------------------------------------------------
// The settings-file copy in section "Option".

class OptionSettings : public ::testing::Test {
 protected:
  SettingsFile Write(const std::string& text) {
    return SettingsFile(folder_.Write("TQ474.ini", text));
  }
  std::string Text() const { return testing::TempFolder::Read(folder_ / "TQ474.ini"); }

  testing::TempFolder folder_;
};

TEST_F(OptionSettings, NoSectionOrANegativeCountKeepsNoSlot) {
  for (const std::string text :
       {"[Setting]\nLanguage=1\n1001=9\n1501=9\n", "[Option]\n0=-4\n1001=5\n1501=5\n"}) {
    const SettingsFile settings = Write(text);
    OptionValues values = MarkedDefaults();
    values.OptSel[0] = 4;
    const OptionValues before = values;
    int16_t language = 1;
    for (const int mode : {0, 1, 2, 3}) OptNowDefSol(mode, language, values, settings);
    EXPECT_EQ(values.OptSel, before.OptSel) << text;
    EXPECT_EQ(values.OptDef, before.OptDef) << text;
    EXPECT_EQ(Text(), text);
  }
}

TEST_F(OptionSettings, ModeZeroReadsTheLanguagesKeys) {
  const SettingsFile settings =
      Write("[Option]\n0=3\n1001=5\n1002=-1\n1003= 2 \n1501=7\n1502=8\n3001=9\n3501=9\n2001=9\n");
  OptionValues values;
  values.OptSel[3] = 42;
  values.OptDef[3] = 43;
  int16_t language = 1;
  OptNowDefSol(0, language, values, settings);
  EXPECT_EQ(Def(values, 0), 5);
  EXPECT_EQ(Def(values, 1), -1);
  EXPECT_EQ(Def(values, 2), 2);
  EXPECT_EQ(Sel(values, 0), 7);
  EXPECT_EQ(Sel(values, 1), 8);
  EXPECT_EQ(Sel(values, 2), 0);  // key 1503 missing
  EXPECT_EQ(Sel(values, 3), 42);
  EXPECT_EQ(Def(values, 3), 43);
  EXPECT_EQ(language, 1);
}

TEST_F(OptionSettings, ModeTwoResetsAndStoresCurrentValues) {
  const SettingsFile settings = Write("; options\n[Option]\n0=2\n3501=9\n[ChInfo]\n3000=16\n");
  OptionValues values;
  values.OptDef = {4, 6, 8};
  values.OptSel = {1, 1, 1};
  int16_t language = 3;
  OptNowDefSol(2, language, values, settings);
  EXPECT_EQ(Sel(values, 0), 4);
  EXPECT_EQ(Sel(values, 1), 6);
  EXPECT_EQ(Sel(values, 2), 1);  // beyond the kept count
  EXPECT_EQ(Text(), "; options\n[Option]\n0=2\n3501=4\n3502=6\n[ChInfo]\n3000=16\n");
}

TEST_F(OptionSettings, ModeThreeMakesCurrentValuesTheDefaults) {
  const SettingsFile settings = Write("[Option]\n0=2\n1001=0\n1002=0\n1501=3\n");
  OptionValues values;
  values.OptSel = {11, -2, 5};
  values.OptDef = {1, 1, 1};
  int16_t language = 1;
  OptNowDefSol(3, language, values, settings);
  EXPECT_EQ(Def(values, 0), 11);
  EXPECT_EQ(Def(values, 1), -2);
  EXPECT_EQ(Def(values, 2), 1);
  EXPECT_EQ(Text(), "[Option]\n0=2\n1001=11\n1002=-2\n1501=3\n");
}

TEST_F(OptionSettings, ModeOneStoresTheCurrentValuesUnderTheLanguagesKeys) {
  // Language 2 has keys of its own; the section name matches without regard to case.
  const SettingsFile settings = Write("[option]\n0=2\n2501=9\nOther=x\n[ChInfo]\n3000=16\n");
  OptionValues values;
  values.OptSel = {3, 0};
  int16_t language = 2;
  OptNowDefSol(1, language, values, settings);
  EXPECT_EQ(Text(), "[option]\n0=2\n2501=3\nOther=x\n2502=0\n[ChInfo]\n3000=16\n");

  // An invalid language becomes 3, in the caller's variable too.
  const SettingsFile one = Write("[Option]\n0=1\n");
  values.OptSel[0] = 12;
  language = 7;
  OptNowDefSol(1, language, values, one);
  EXPECT_EQ(language, 3);
  EXPECT_EQ(Text(), "[Option]\n0=1\n3501=12\n");
  language = 0;
  OptNowDefSol(9, language, values, one);  // any other mode only reads the count
  EXPECT_EQ(language, 3);
  EXPECT_EQ(Text(), "[Option]\n0=1\n3501=12\n");
}

TEST_F(OptionSettings, ValueThatIsNotANumberEndsTheLoad) {
  const SettingsFile settings = Write("[Option]\n0=3\n1001=1\n1002=abc\n1003=2\n1501=5\n");
  OptionValues values;
  values.OptDef = {9, 9, 9};
  values.OptSel = {9, 9, 9};
  int16_t language = 1;
  EXPECT_EQ(FailureNumber([&] { OptNowDefSol(0, language, values, settings); }), 13);
  EXPECT_EQ(Def(values, 0), 1);
  EXPECT_EQ(Def(values, 1), 9);
  EXPECT_EQ(Def(values, 2), 9);
  EXPECT_EQ(Sel(values, 0), 9);

  const SettingsFile badCount = Write("[Option]\n0=many\n");
  EXPECT_EQ(FailureNumber([&] { OptNowDefSol(1, language, values, badCount); }), 13);
  EXPECT_EQ(Text(), "[Option]\n0=many\n");
}

TEST_F(OptionSettings, CountBeyondTheSlotsFailsBeforeAnySlot) {
  const SettingsFile settings = Write("[Option]\n0=101\n1001=5\n1501=5\n");
  OptionValues values;
  int16_t language = 1;
  for (const int mode : {0, 1, 2, 3}) {
    EXPECT_EQ(FailureNumber([&] { OptNowDefSol(mode, language, values, settings); }), 9) << mode;
  }
  // A mode that touches no slot only reads the count.
  EXPECT_EQ(FailureNumber([&] { OptNowDefSol(4, language, values, settings); }), 0);
  EXPECT_EQ(Def(values, 0), 0);
  EXPECT_EQ(Sel(values, 0), 0);
  EXPECT_EQ(Text(), "[Option]\n0=101\n1001=5\n1501=5\n");

  // All hundred slots is the most the file may keep.
  const SettingsFile full = Write("[Option]\n0=100\n1100=4\n1600=3\n");
  OptNowDefSol(0, language, values, full);
  EXPECT_EQ(Def(values, 99), 4);
  EXPECT_EQ(Sel(values, 99), 3);
}

// ---------------------------------------------------------------------------------------------
// The index each control shows, and the notes for values outside the lists.

// Every list shows the top of its list; one above it is noted and shows the default.
TEST(OptionShownNotes, TopOfListShownAndOneAboveReportedWithDefault) {
  for (const int slot : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14}) {
    const int16_t max = kOptionMax[static_cast<std::size_t>(slot)];
    OptionValues values;
    values.OptDef[static_cast<std::size_t>(slot)] = 1;
    values.OptSel[static_cast<std::size_t>(slot)] = max;
    ErrorReport report = FixedReport();
    EXPECT_EQ(OptionShownIndex(slot, values, report), max) << slot;
    EXPECT_TRUE(report.lines().empty()) << slot;

    values.OptSel[static_cast<std::size_t>(slot)] = static_cast<int16_t>(max + 1);
    EXPECT_EQ(OptionShownIndex(slot, values, report), 1) << slot;
    ASSERT_EQ(report.lines().size(), 2u) << slot;
    EXPECT_EQ(report.lines()[0], kHeader);
    EXPECT_EQ(report.lines()[1], "        可选功能项:   " + OptionOutOfRangeText(slot));
    EXPECT_NE(OptionOutOfRangeText(slot).find("frmChMem->InitOpt->"), std::string::npos) << slot;
  }
  // The broadcast squelch's note has three blanks before the error type, the others five.
  EXPECT_EQ(OptionOutOfRangeText(0),
            "出错位置: frmChMem->InitOpt->超时定时器     错误类型: 不在范围内");
  EXPECT_EQ(OptionOutOfRangeText(4),
            "出错位置: frmChMem->InitOpt->收音机静噪电平   错误类型: 不在范围内");
}

TEST(OptionShownNotes, NegativeValueSelectsNothingWithoutANote) {
  OptionValues values;
  values.OptSel[1] = -1;
  ErrorReport report = FixedReport();
  EXPECT_EQ(OptionShownIndex(1, values, report), -1);
  EXPECT_TRUE(report.lines().empty());

  // An out-of-range value whose default is negative: the note, then nothing selected.
  values.OptSel[2] = 16;
  values.OptDef[2] = -3;
  EXPECT_EQ(OptionShownIndex(2, values, report), -1);
  EXPECT_EQ(report.lines().size(), 2u);
}

TEST(OptionShownNotes, CheckBoxesShowAnyNonZeroAsCheckedAndHaveNoNote) {
  struct Case {
    int slot;
    int16_t value;
    int16_t shown;
  };
  ErrorReport report = FixedReport();
  for (const Case c : {Case{6, 5, 1}, Case{7, 1, 1}, Case{8, 0, 0}, Case{15, -1, 1},
                       Case{15, 300, 1}, Case{6, 0, 0}}) {
    OptionValues values;
    values.OptSel[static_cast<std::size_t>(c.slot)] = c.value;
    EXPECT_EQ(OptionShownIndex(c.slot, values, report), c.shown) << c.slot << " " << c.value;
  }
  EXPECT_TRUE(report.lines().empty());
  for (const int slot : {6, 7, 8, 15, -1, 16, 99}) {
    EXPECT_TRUE(OptionOutOfRangeText(slot).empty()) << slot;
  }
}

TEST(OptionShownNotes, ASlotOutsideTheOptionsOrADefaultOutsideItsListFails) {
  OptionValues values;
  ErrorReport report = FixedReport();
  EXPECT_EQ(FailureNumber([&] { OptionShownIndex(16, values, report); }), 9);
  EXPECT_EQ(FailureNumber([&] { OptionShownIndex(-1, values, report); }), 9);
  EXPECT_TRUE(report.lines().empty());
  // The note of the value out of range comes before the failure.
  values.OptSel[13] = 6;
  values.OptDef[13] = 6;
  EXPECT_EQ(FailureNumber([&] { OptionShownIndex(13, values, report); }), 380);
  EXPECT_EQ(report.lines().size(), 2u);
}

}  // namespace
}  // namespace tq
