#include "image/tone_table.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "base/failure.h"

namespace tq {
namespace {

const ToneTable& English() {
  static const ToneTable table(3);
  return table;
}

TEST(ToneList, HoldsTheOffTextOfTheLanguageThenCtcssThenBothDcsHalves) {
  EXPECT_EQ(ToneOffText(0), "None");
  EXPECT_EQ(ToneOffText(7), "None");
  EXPECT_EQ(ToneTable(1).List().front(), "无");
  EXPECT_EQ(ToneTable(2).List().front(), "無");
  const auto& list = English().List();
  ASSERT_EQ(list.size(), 261u);
  EXPECT_EQ(list[0], "None");
  EXPECT_EQ(list[50], "254.1");
  EXPECT_EQ(list[51], "D023N");
  EXPECT_EQ(list[156], "D023I");
}

TEST(ToneList, IndexOutsideTheListIsFailure9) {
  for (const int index : {-1, 261}) {
    try {
      (void)English().Text(index);
      FAIL() << "no failure for " << index;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), err::kIndexOutOfRange) << index;
    }
  }
}

// Every list entry survives text -> word -> text.
class ToneRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(ToneRoundTrip, TextToCodeAndBack) {
  for (const long long language : {1LL, 3LL}) {
    const ToneTable table(language);
    const std::string& text = table.Text(GetParam());
    const auto [low, high] = table.QtDqtCharToIic(text);
    EXPECT_EQ(table.QtDqtIicToChar(high, low), text)
        << "tone index " << GetParam() << ", language " << language;
  }
}

INSTANTIATE_TEST_SUITE_P(AllTones, ToneRoundTrip, ::testing::Range(0, kToneCount));

TEST(ToneCode, EncodesToTheStoredBytes) {
  const std::tuple<const char*, uint8_t, uint8_t> cases[] = {
      {"D023N", 0x13, 0x28},
      {"D023I", 0x13, 0xA8},
      {"67.0", 0x9E, 0x02},
      {"None", 0xFF, 0xFF},
      {"", 0xFF, 0xFF},
      {"D754I", 0xEC, 0xA9},
      {"254.1", 0xED, 0x09},
      {"D000N", 0x00, 0x28},
      {"D777I", 0xFF, 0xA9},
      // tenths rounded halves to even: 670.5 -> 670, 885.5 -> 886
      {"67.05", 0x9E, 0x02},
      {"88.55", 0x76, 0x03}};
  for (const auto& [text, low, high] : cases) {
    EXPECT_EQ(English().QtDqtCharToIic(text), std::make_pair(low, high)) << text;
  }
}

TEST(ToneCode, OffTextsOfOtherLanguagesAndNonCanonicalTexts) {
  // The off text of the language in force is FF FF.
  EXPECT_EQ(ToneTable(1).QtDqtCharToIic("无"), std::make_pair(uint8_t{0xFF}, uint8_t{0xFF}));
  EXPECT_EQ(ToneTable(2).QtDqtCharToIic("無"), std::make_pair(uint8_t{0xFF}, uint8_t{0xFF}));
  // Missing and non-digit characters count as 0; a fifth character other than "N" inverts.
  const ToneTable& t = English();
  EXPECT_EQ(t.QtDqtCharToIic("D"), std::make_pair(uint8_t{0x00}, uint8_t{0xA8}));
  EXPECT_EQ(t.QtDqtCharToIic("D7"), std::make_pair(uint8_t{0xC0}, uint8_t{0xA9}));
  EXPECT_EQ(t.QtDqtCharToIic("Dxy1N"), std::make_pair(uint8_t{0x01}, uint8_t{0x28}));
  EXPECT_EQ(t.QtDqtCharToIic("d023n"), std::make_pair(uint8_t{0x13}, uint8_t{0xA8}));
  // "None" is not the off text of Simplified Chinese.
  EXPECT_EQ(ToneTable(1).QtDqtCharToIic("None"), std::make_pair(uint8_t{0x00}, uint8_t{0xA8}));
}

TEST(ToneCode, NumberOutsideAToneWordIsOverflow) {
  for (const char* text : {"-67.0", "6553.6"}) {
    try {
      (void)English().QtDqtCharToIic(text);
      FAIL() << "no failure for " << text;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), err::kOverflow) << text;
    }
  }
  EXPECT_EQ(English().QtDqtCharToIic("6553.5"), std::make_pair(uint8_t{0xFF}, uint8_t{0xFF}));
}

// The edges of the CTCSS range (60.0 to 265.0 Hz) and of both DCS halves; nullptr: the off text.
TEST(ToneWord, DecodesToTextOrTheOffText) {
  const std::pair<uint16_t, const char*> cases[] = {
      {0xFFFF, nullptr}, {0x0000, nullptr}, {0x0257, nullptr}, {0x0258, "60.0"},
      {0x0A5A, "265.0"}, {0x0A5B, nullptr}, {0x03E9, "100.1"}, {0x27FF, nullptr},
      {0x2800, "D000N"}, {0x29FF, "D777N"}, {0x2A00, nullptr}, {0xA7FF, nullptr},
      {0xA800, "D000I"}, {0xA9FF, "D777I"}, {0xAA00, nullptr}};
  for (const long long language : {1LL, 3LL}) {
    const ToneTable table(language);
    for (const auto& [word, text] : cases) {
      const std::string expected = text != nullptr ? text : table.OffText();
      EXPECT_EQ(
          table.QtDqtIicToChar(static_cast<uint8_t>(word >> 8), static_cast<uint8_t>(word & 0xFF)),
          expected)
          << std::hex << word << ", language " << language;
    }
  }
}

// What a user may type into the tone box; nullptr: invalid, so the off text.
TEST(ToneEntry, NormalisesTypedText) {
  const std::pair<const char*, const char*> cases[] = {
      {"67", "67.0"},    {"060", "60.0"},       {"67.05", "67.0"},  {"88.55", "88.6"},
      {"265", "265.0"},  {"100.1", "100.1"},    {"59.9", nullptr},  {"023", "D023N"},
      {"7540", "D754N"}, {"23", nullptr},       {"0.5", nullptr},   {"-23", nullptr},
      {"777", "D777N"},  {"780", nullptr},      {"d023n", nullptr}, {"023i", "D023I"},
      {"023x", "D023N"}, {"D08", nullptr},      {"D088N", nullptr}, {"D754i", "D754I"},
      {"D754", "D754N"}, {"D754Ixyz", "D754I"}, {"", nullptr},      {"D", nullptr},
      {"None", nullptr}, {"無", nullptr},       {"D无23", nullptr}, {"023无", "D023N"}};
  for (const long long language : {1LL, 2LL, 3LL}) {
    const ToneTable table(language);
    for (const auto& [typed, normal] : cases) {
      const std::string expected = normal != nullptr ? normal : table.OffText();
      EXPECT_EQ(table.Normalise(typed), expected) << '"' << typed << "\", language " << language;
    }
  }
}

TEST(ToneEntry, NumberBeyond32BitsAfterTimesTenIsOverflow) {
  for (const char* typed : {"999999999999", "214748364.8", "-214748364.9"}) {
    try {
      (void)English().Normalise(typed);
      FAIL() << "no failure for " << typed;
    } catch (const Failure& f) {
      EXPECT_EQ(f.number(), err::kOverflow) << typed;
    }
  }
  // The largest number that still fits is read as digits of a DCS code.
  EXPECT_EQ(English().Normalise("214748364.7"), "D214N");
}

}  // namespace
}  // namespace tq
