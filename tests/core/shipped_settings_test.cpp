// The settings file shipped with the program: every key the program reads at start-up is there,
// the channel layouts read to their end markers, and the option values fit their lists.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings_file.h"

namespace tq {
namespace {

constexpr std::string_view kMissing = "<missing>";
constexpr std::string_view kEndMarker = "*EndOfThisItem*";

SettingsFile Shipped() {
  return SettingsFile(std::string(TQ474_PROGRAM_DIR) + "/TQ474.ini");
}

// A plain decimal whole number, or nullopt for anything else.
std::optional<long long> Whole(std::string_view text) {
  long long value = 0;
  const char* const end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

std::vector<std::string> SplitBars(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = text.find('|', start);
    parts.push_back(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}

std::string Read(const SettingsFile& file, std::string_view section, long long key,
                 std::size_t length) {
  return file.ReadSetting(section, std::to_string(key), kMissing, length);
}

TEST(ShippedSettings, FileIsNextToTheProgram) {
  EXPECT_TRUE(std::filesystem::is_regular_file(Shipped().path())) << Shipped().path();
}

TEST(ShippedSettings, SettingSectionHasEveryKey) {
  const SettingsFile file = Shipped();
  const char* const keys[] = {"FirRun",         "Language",     "COM",           "ModelType",
                              "ModelRange",     "DatNum",       "EngFont",       "ChsFont",
                              "OverColor",      "DefColor",     "CtMax",         "DcsMax",
                              "CtcDcsMax",      "TableMaxAddr", "ReadStartAddr", "ReadEndAddr",
                              "WriteStartAddr", "WriteEndAddr", "ChannelLock"};
  for (const char* key : keys) {
    EXPECT_NE(file.ReadSetting("Setting", key, kMissing, 29), kMissing) << key;
  }
  EXPECT_EQ(file.ReadSetting("Setting", "FirRun", kMissing, 2), "1");
  EXPECT_EQ(file.ReadSetting("Setting", "Language", kMissing, 9), "3");
  EXPECT_EQ(file.ReadSetting("Setting", "COM", kMissing, 9), "1");
  EXPECT_EQ(file.ReadSetting("Setting", "DatNum", kMissing, 9), "8191");
  EXPECT_EQ(file.ReadSetting("Setting", "EngFont", kMissing, 29), "Times New Roman");
  EXPECT_EQ(file.ReadSetting("Setting", "ChsFont", kMissing, 29), "宋体");
  EXPECT_EQ(file.ReadSetting("Setting", "TableMaxAddr", kMissing, 14), "1FFF");
  EXPECT_EQ(file.ReadSetting("Setting", "ReadStartAddr", kMissing, 14), "0000");
  EXPECT_EQ(file.ReadSetting("Setting", "ReadEndAddr", kMissing, 14), "1FFF");
  EXPECT_EQ(file.ReadSetting("Setting", "WriteStartAddr", kMissing, 14), "0000");
  EXPECT_EQ(file.ReadSetting("Setting", "WriteEndAddr", kMissing, 14), "1FFF");
  EXPECT_EQ(file.ReadSetting("Setting", "ChannelLock", kMissing, 14), "ShowNo");
}

TEST(ShippedSettings, ColoursAreDistinctDecimalColourNumbers) {
  const SettingsFile file = Shipped();
  const auto def = Whole(file.ReadSetting("Setting", "DefColor", kMissing, 29));
  const auto over = Whole(file.ReadSetting("Setting", "OverColor", kMissing, 29));
  ASSERT_TRUE(def.has_value());
  ASSERT_TRUE(over.has_value());
  for (long long colour : {*def, *over}) {
    EXPECT_GE(colour, 0);
    EXPECT_LE(colour, 16777215);
  }
  EXPECT_NE(*def, *over);
}

// Both channel layouts: key base 1000 (Simplified Chinese) and 3000 (the other languages).
class ShippedLayout : public ::testing::TestWithParam<int> {
 protected:
  // Text list of field f, read up to its end marker; nullopt when no marker is among r = 0..50.
  std::optional<std::vector<std::string>> FieldList(int field) const {
    std::vector<std::string> texts;
    for (int r = 0; r <= 50; ++r) {
      const std::string text = Read(file_, "ChInfo", GetParam() + 200 + (field - 1) * 50 + r, 99);
      if (text == kEndMarker) return texts;
      texts.push_back(text);
    }
    return std::nullopt;
  }

  SettingsFile file_ = Shipped();
};

TEST_P(ShippedLayout, HasSixteenChannelsAndEightFields) {
  const int base = GetParam();
  EXPECT_EQ(Read(file_, "ChInfo", base, 5), "16");
  EXPECT_EQ(Read(file_, "ChInfo", base + 1, 5), "240");
  EXPECT_EQ(Read(file_, "ChInfo", base + 2, 5), "8");
}

TEST_P(ShippedLayout, HasATitleAndAWidthForEveryColumn) {
  const int base = GetParam();
  const std::vector<std::string> titles = SplitBars(Read(file_, "ChInfo", base + 3, 199));
  ASSERT_EQ(titles.size(), 9u);
  for (const std::string& title : titles) EXPECT_FALSE(title.empty());
  for (int k = 0; k <= 8; ++k) {
    const auto width = Whole(Read(file_, "ChInfo", base + 100 + k, 10));
    ASSERT_TRUE(width.has_value()) << "column " << k;
    EXPECT_GE(*width, 300) << "column " << k;
    EXPECT_LE(*width, 3000) << "column " << k;
  }
}

TEST_P(ShippedLayout, FrequencyAndToneFieldsCarryTheirColumnKeys) {
  const char* const keys[] = {"RxFre", "TxFre", "CtcssDcsDec", "CtcssDcsEnc"};
  for (int f = 1; f <= 4; ++f) {
    const auto list = FieldList(f);
    ASSERT_TRUE(list.has_value()) << "field " << f << " has no end marker";
    ASSERT_EQ(list->size(), 3u) << "field " << f;
    EXPECT_EQ((*list)[0], keys[f - 1]);
    const auto defaultValue = Whole((*list)[2]);
    ASSERT_TRUE(defaultValue.has_value()) << "field " << f;
    if (f <= 2) {
      // A frequency in 10 Hz inside the 400 - 470 MHz band the channel window starts with.
      EXPECT_GE(*defaultValue, 40000000) << "field " << f;
      EXPECT_LE(*defaultValue, 47000000) << "field " << f;
    } else {
      // A tone index of the tone list.
      EXPECT_GE(*defaultValue, 0) << "field " << f;
      EXPECT_LE(*defaultValue, 260) << "field " << f;
    }
  }
}

TEST_P(ShippedLayout, ParameterFieldsListTheirItemsAndAValidDefault) {
  // Bandwidth, power and scan list are on/off bits; the busy lock has three values.
  const std::size_t itemCounts[] = {2, 2, 2, 3};
  for (int f = 5; f <= 8; ++f) {
    const auto list = FieldList(f);
    ASSERT_TRUE(list.has_value()) << "field " << f << " has no end marker";
    ASSERT_GE(list->size(), 3u) << "field " << f;
    const std::vector<std::string> items(list->begin() + 3, list->end());
    const auto count = Whole((*list)[1]);
    ASSERT_TRUE(count.has_value()) << "field " << f;
    EXPECT_EQ(static_cast<std::size_t>(*count), items.size()) << "field " << f;
    EXPECT_EQ(items.size(), itemCounts[f - 5]) << "field " << f;
    EXPECT_EQ(SplitBars((*list)[0]), items) << "field " << f;
    for (const std::string& item : items) EXPECT_FALSE(item.empty()) << "field " << f;
    const auto defaultItem = Whole((*list)[2]);
    ASSERT_TRUE(defaultItem.has_value()) << "field " << f;
    EXPECT_GE(*defaultItem, 0) << "field " << f;
    EXPECT_LT(*defaultItem, *count) << "field " << f;
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedSettings, ShippedLayout, ::testing::Values(1000, 3000));

TEST(ShippedSettings, OptionValuesOfEveryLanguageFitTheirLists) {
  const SettingsFile file = Shipped();
  EXPECT_EQ(file.ReadSetting("Option", "0", kMissing, 19), "16");
  // Highest value of each option slot, in slot order.
  const long long highest[16] = {20, 9, 15, 2, 32, 15, 1, 1, 1, 1, 3, 10, 10, 5, 1, 1};
  for (int language = 1; language <= 3; ++language) {
    for (int slot = 0; slot < 16; ++slot) {
      for (int offset : {1, 501}) {
        const long long key = language * 1000 + offset + slot;
        const auto value = Whole(Read(file, "Option", key, 19));
        ASSERT_TRUE(value.has_value()) << "key " << key;
        EXPECT_GE(*value, 0) << "key " << key;
        EXPECT_LE(*value, highest[slot]) << "key " << key;
      }
    }
  }
}

}  // namespace
}  // namespace tq
