// The settings file shipped with the program: every key the program reads at start-up is there,
// both channel layouts read to their end markers, and the option values fit their lists.
#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings_file.h"
#include "image/channel_table.h"
#include "options/option_codec.h"

namespace tq {
namespace {

constexpr std::string_view kMissing = "<missing>";

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

TEST(ShippedSettings, SettingSectionHasEveryKeyAndDistinctColourNumbers) {
  const SettingsFile file = Shipped();
  ASSERT_TRUE(std::filesystem::is_regular_file(file.path())) << file.path();
  for (const char* key :
       {"FirRun", "Language", "COM", "ModelType", "ModelRange", "DatNum", "EngFont", "ChsFont",
        "OverColor", "DefColor", "CtMax", "DcsMax", "CtcDcsMax", "TableMaxAddr", "ReadStartAddr",
        "ReadEndAddr", "WriteStartAddr", "WriteEndAddr", "ChannelLock"}) {
    EXPECT_NE(file.ReadSetting("Setting", key, kMissing, 29), kMissing) << key;
  }
  // The image size matches the radio's 8 KB memory.
  EXPECT_EQ(file.ReadSetting("Setting", "DatNum", kMissing, 9), "8191");
  const auto def = Whole(file.ReadSetting("Setting", "DefColor", kMissing, 29));
  const auto over = Whole(file.ReadSetting("Setting", "OverColor", kMissing, 29));
  ASSERT_TRUE(def.has_value() && over.has_value());
  for (long long colour : {*def, *over}) {
    EXPECT_GE(colour, 0);
    EXPECT_LE(colour, 16777215);
  }
  EXPECT_NE(*def, *over);
}

// The channel layouts: Simplified Chinese (1), Traditional Chinese (2) and English (3).
class ShippedLayout : public ::testing::TestWithParam<int> {};

// It reads whole, with a title and a width for every column; the frequency and tone fields carry
// their column keys and usable defaults, the parameter fields their items and a valid default.
TEST_P(ShippedLayout, ReadsWholeWithUsableFieldLists) {
  ChannelLayout layout;
  ASSERT_NO_THROW(ReadChInfo(Shipped(), GetParam(), layout));
  EXPECT_EQ(layout.ChCount, 16);
  ASSERT_EQ(layout.ColCount, 8);
  const std::vector<std::string> titles = SplitBars(layout.format);
  ASSERT_EQ(titles.size(), 9u);
  for (const std::string& title : titles) EXPECT_FALSE(title.empty());
  ASSERT_EQ(layout.widths.size(), 9u);
  for (const int32_t width : layout.widths) {
    EXPECT_GE(width, 300);
    EXPECT_LE(width, 3000);
  }
  const char* const keys[] = {"RxFre", "TxFre", "CtcssDcsDec", "CtcssDcsEnc"};
  for (int f = 1; f <= 4; ++f) {
    const auto& list = layout.fieldTexts.at(static_cast<std::size_t>(f));
    ASSERT_EQ(list.size(), 3u) << "field " << f;
    EXPECT_EQ(list[0], keys[f - 1]);
    const auto defaultValue = Whole(list[2]);
    ASSERT_TRUE(defaultValue.has_value()) << "field " << f;
    // A frequency in 10 Hz inside the 400 - 470 MHz band the channel window starts with, or
    // a tone index of the tone list.
    EXPECT_GE(*defaultValue, f <= 2 ? 40000000 : 0) << "field " << f;
    EXPECT_LE(*defaultValue, f <= 2 ? 47000000 : 260) << "field " << f;
  }
  for (int f = 5; f <= 8; ++f) {
    const auto& list = layout.fieldTexts.at(static_cast<std::size_t>(f));
    ASSERT_GE(list.size(), 5u) << "field " << f;
    const std::vector<std::string> items(list.begin() + 3, list.end());
    EXPECT_EQ(Whole(list[1]), static_cast<long long>(items.size())) << "field " << f;
    EXPECT_EQ(SplitBars(list[0]), items) << "field " << f;
    for (const std::string& item : items) EXPECT_FALSE(item.empty()) << "field " << f;
    const auto defaultItem = Whole(list[2]);
    ASSERT_TRUE(defaultItem.has_value()) << "field " << f;
    EXPECT_GE(*defaultItem, 0) << "field " << f;
    EXPECT_LT(*defaultItem, static_cast<long long>(items.size())) << "field " << f;
  }
}

INSTANTIATE_TEST_SUITE_P(ShippedSettings, ShippedLayout, ::testing::Values(1, 2, 3));

// Traditional Chinese has its own layout, in Taiwan's radio terms.
TEST(ShippedSettings, TraditionalChineseLayoutUsesTaiwanRadioTerms) {
  ChannelLayout layout;
  ReadChInfo(Shipped(), 2, layout);
  std::string texts = layout.format;
  for (const auto& list : layout.fieldTexts) {
    for (const std::string& text : list) texts += "|" + text;
  }
  EXPECT_EQ(SplitBars(layout.format).at(0), "頻道");
  for (const char* term : {"頻寬", "窄頻", "寬頻", "亞音", "頻率"}) {
    EXPECT_NE(texts.find(term), std::string::npos) << term;
  }
  for (const char* wrong : {"通道", "信道", "寬帶", "窄帶", "带", "亞音訊", "频", "关"}) {
    EXPECT_EQ(texts.find(wrong), std::string::npos) << wrong;
  }
}

TEST(ShippedSettings, OptionValuesOfEveryLanguageFitTheirLists) {
  const SettingsFile file = Shipped();
  EXPECT_EQ(file.ReadSetting("Option", "0", kMissing, 19), std::to_string(kOptionCount));
  for (int language = 1; language <= 3; ++language) {
    for (int slot = 0; slot < kOptionCount; ++slot) {
      // The default (x001...) and the current value (x501...) of the slot.
      for (int offset : {1, 501}) {
        const std::string key = std::to_string(language * 1000 + offset + slot);
        const auto value = Whole(file.ReadSetting("Option", key, kMissing, 19));
        ASSERT_TRUE(value.has_value()) << "key " << key;
        EXPECT_GE(*value, 0) << "key " << key;
        EXPECT_LE(*value, kOptionMax[static_cast<std::size_t>(slot)]) << "key " << key;
      }
    }
  }
}

}  // namespace
}  // namespace tq
