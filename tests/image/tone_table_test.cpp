#include "image/tone_table.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(list[1], "67.0");
  EXPECT_EQ(list[50], "254.1");
  EXPECT_EQ(list[51], "D023N");
  EXPECT_EQ(list[155], "D754N");
  EXPECT_EQ(list[156], "D023I");
  EXPECT_EQ(list[260], "D754I");
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

struct CodeCase {
  const char* text;
  uint8_t low;
  uint8_t high;
};

class ToneCode : public ::testing::TestWithParam<CodeCase> {};

TEST_P(ToneCode, EncodesToTheStoredBytes) {
  const CodeCase& c = GetParam();
  const auto [low, high] = English().QtDqtCharToIic(c.text);
  EXPECT_EQ(low, c.low) << c.text;
  EXPECT_EQ(high, c.high) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ToneCode,
    ::testing::Values(CodeCase{"D023N", 0x13, 0x28}, CodeCase{"D023I", 0x13, 0xA8},
                      CodeCase{"67.0", 0x9E, 0x02}, CodeCase{"None", 0xFF, 0xFF},
                      CodeCase{"", 0xFF, 0xFF}, CodeCase{"D754N", 0xEC, 0x29},
                      CodeCase{"D754I", 0xEC, 0xA9}, CodeCase{"254.1", 0xED, 0x09},
                      CodeCase{"100.1", 0xE9, 0x03}, CodeCase{"D000N", 0x00, 0x28},
                      CodeCase{"D777I", 0xFF, 0xA9},
                      // tenths rounded halves to even: 670.5 -> 670, 885.5 -> 886
                      CodeCase{"67.05", 0x9E, 0x02}, CodeCase{"88.55", 0x76, 0x03}));

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

struct WordCase {
  uint16_t word;
  const char* text;  // nullptr: the off text
};

class ToneWord : public ::testing::TestWithParam<WordCase> {};

TEST_P(ToneWord, DecodesToText) {
  const WordCase& c = GetParam();
  const auto high = static_cast<uint8_t>(c.word >> 8);
  const auto low = static_cast<uint8_t>(c.word & 0xFF);
  for (const long long language : {1LL, 3LL}) {
    const ToneTable table(language);
    const std::string expected = c.text != nullptr ? c.text : table.OffText();
    EXPECT_EQ(table.QtDqtIicToChar(high, low), expected) << std::hex << c.word;
  }
}

INSTANTIATE_TEST_SUITE_P(EdgeWords, ToneWord,
                         ::testing::Values(WordCase{0xFFFF, nullptr}, WordCase{0x0000, nullptr},
                                           WordCase{0x0257, nullptr}, WordCase{0x0A5B, nullptr},
                                           WordCase{0x0258, "60.0"}, WordCase{0x0A5A, "265.0"},
                                           WordCase{0x029E, "67.0"}, WordCase{0x03E9, "100.1"},
                                           WordCase{0x2813, "D023N"}, WordCase{0xA813, "D023I"},
                                           WordCase{0x29EC, "D754N"}, WordCase{0xA9EC, "D754I"},
                                           WordCase{0x2800, "D000N"}, WordCase{0x29FF, "D777N"},
                                           WordCase{0x27FF, nullptr}, WordCase{0x2A00, nullptr},
                                           WordCase{0xA7FF, nullptr}, WordCase{0xA800, "D000I"},
                                           WordCase{0xA9FF, "D777I"}, WordCase{0xAA00, nullptr}));

struct TypedCase {
  const char* typed;
  const char* expected;  // nullptr: invalid, so the off text
};

class ToneEntry : public ::testing::TestWithParam<TypedCase> {};

TEST_P(ToneEntry, NormalisesTypedText) {
  const TypedCase& c = GetParam();
  for (const long long language : {1LL, 2LL, 3LL}) {
    const ToneTable table(language);
    const std::string expected = c.expected != nullptr ? c.expected : table.OffText();
    EXPECT_EQ(table.Normalise(c.typed), expected) << '"' << c.typed << '"';
  }
}

INSTANTIATE_TEST_SUITE_P(
    TypedForms, ToneEntry,
    ::testing::Values(
        TypedCase{"67", "67.0"}, TypedCase{"100", "100.0"}, TypedCase{"060", "60.0"},
        TypedCase{"67.05", "67.0"}, TypedCase{"88.55", "88.6"}, TypedCase{"265", "265.0"},
        TypedCase{"100.1", "100.1"}, TypedCase{"59.9", nullptr}, TypedCase{"023", "D023N"},
        TypedCase{"7540", "D754N"}, TypedCase{"23", nullptr}, TypedCase{"0.5", nullptr},
        TypedCase{"-23", nullptr}, TypedCase{"777", "D777N"}, TypedCase{"780", nullptr},
        TypedCase{"d023n", nullptr}, TypedCase{"023n", "D023N"}, TypedCase{"023I", "D023I"},
        TypedCase{"023i", "D023I"}, TypedCase{"023x", "D023N"}, TypedCase{"D08", nullptr},
        TypedCase{"D088N", nullptr}, TypedCase{"D754i", "D754I"}, TypedCase{"D754n", "D754N"},
        TypedCase{"D754", "D754N"}, TypedCase{"D754Ixyz", "D754I"}, TypedCase{"D023N", "D023N"},
        TypedCase{"", nullptr}, TypedCase{"D", nullptr}, TypedCase{"None", nullptr},
        TypedCase{"无", nullptr}, TypedCase{"無", nullptr}, TypedCase{"D无23", nullptr},
        TypedCase{"023无", "D023N"}));

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
