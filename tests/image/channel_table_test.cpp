#include "image/channel_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "base/failure.h"
#include "base/settings_file.h"
#include "image/memory_image.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::FailureNumber;

TEST(ChannelTable, RowsOneTo260StartEmpty) {
  ChannelTable table;
  EXPECT_EQ(table[1], ChannelRow{});
  EXPECT_EQ(table[260], ChannelRow{});
  table[260].field[20] = 7;
  table[1].rxTone = "67.0";
  const ChannelTable& view = table;
  EXPECT_EQ(view[260].field[20], 7);
  EXPECT_EQ(view[1].rxTone, "67.0");
  EXPECT_EQ(FailureNumber([&] { (void)table[0]; }), err::kIndexOutOfRange);
  EXPECT_EQ(FailureNumber([&] { (void)view[261]; }), err::kIndexOutOfRange);
}

TEST(ChannelLayout, FieldTextOutsideTheListsIsEmpty) {
  ChannelLayout layout;
  layout.fieldTexts = {{}, {"RxFre", "0", "14652500"}};
  EXPECT_EQ(layout.FieldText(1, 2), "14652500");
  EXPECT_EQ(layout.FieldText(1, 3), "");
  EXPECT_EQ(layout.FieldText(1, -1), "");
  EXPECT_EQ(layout.FieldText(0, 0), "");
  EXPECT_EQ(layout.FieldText(2, 0), "");
  EXPECT_EQ(layout.FieldText(-1, 0), "");
}

class ReadChInfoTest : public ::testing::Test {
 protected:
  // Writes a settings file whose section "ChInfo" holds `lines` ("key=value").
  SettingsFile Write(const std::vector<std::string>& lines) {
    std::string text = "[Setting]\nLanguage=3\n\n[ChInfo]\n";
    for (const std::string& line : lines) text += line + "\n";
    return SettingsFile(folder.Write("TQ474.ini", text));
  }

  // The lines of a field list at key base `base`: its texts, then the end marker.
  static void AddList(std::vector<std::string>& lines, int base, int f,
                      const std::vector<std::string>& texts, bool marker = true) {
    const int first = base + 200 + (f - 1) * 50;
    for (std::size_t r = 0; r < texts.size(); ++r) {
      lines.push_back(std::to_string(first + static_cast<int>(r)) + "=" + texts[r]);
    }
    if (marker) {
      lines.push_back(std::to_string(first + static_cast<int>(texts.size())) + "=*EndOfThisItem*");
    }
  }

  // A complete layout of `colCount` fields at key base `base`.
  static std::vector<std::string> GoodLayout(int base, int colCount, const std::string& tag) {
    std::vector<std::string> lines = {std::to_string(base) + "=16",
                                      std::to_string(base + 1) + "=300",
                                      std::to_string(base + 2) + "=" + std::to_string(colCount),
                                      std::to_string(base + 3) + "=^" + tag + "|<A|<B"};
    for (int k = 0; k <= colCount; ++k) {
      lines.push_back(std::to_string(base + 100 + k) + "=" + std::to_string(500 + k));
    }
    for (int f = 1; f <= colCount; ++f) {
      AddList(lines, base, f, {tag + std::to_string(f), "2", std::to_string(f % 3), "Off", "On"});
    }
    return lines;
  }

  testing::TempFolder folder;
};

TEST_F(ReadChInfoTest, MissingFileGivesTheDefaultsAndFailsAtTheFirstList) {
  const SettingsFile settings(folder / "absent.ini");
  ChannelLayout layout;
  layout.ChCount = 3;
  layout.ColCount = 4;
  EXPECT_EQ(FailureNumber([&] { ReadChInfo(settings, 3, layout); }), err::kIndexOutOfRange);
  EXPECT_EQ(layout.ChCount, 16);
  EXPECT_EQ(layout.rowHeight, 240);
  EXPECT_EQ(layout.ColCount, 9);
  EXPECT_EQ(layout.format, "0|0|0|0|0|0|0|0|0|0");
  EXPECT_EQ(layout.widths, std::vector<int32_t>(10, 1000));
  ASSERT_EQ(layout.fieldTexts.size(), 10u);
  // The first list read "0" fifty times without meeting the marker.
  EXPECT_EQ(layout.fieldTexts[1], std::vector<std::string>(50, "0"));
  for (std::size_t f = 2; f < layout.fieldTexts.size(); ++f) {
    EXPECT_TRUE(layout.fieldTexts[f].empty()) << f;
  }
}

TEST_F(ReadChInfoTest, GoodLayoutReadsBack) {
  std::vector<std::string> lines = GoodLayout(3000, 8, "E");
  lines.push_back("3205=信道名称");  // field 1, text 5
  const SettingsFile settings = Write(lines);
  ChannelLayout layout;
  ReadChInfo(settings, 3, layout);
  EXPECT_EQ(layout.ChCount, 16);
  EXPECT_EQ(layout.rowHeight, 300);
  EXPECT_EQ(layout.ColCount, 8);
  EXPECT_EQ(layout.format, "^E|<A|<B");
  EXPECT_EQ(layout.widths, (std::vector<int32_t>{500, 501, 502, 503, 504, 505, 506, 507, 508}));
  ASSERT_EQ(layout.fieldTexts.size(), 9u);
  EXPECT_TRUE(layout.fieldTexts[0].empty());
  EXPECT_EQ(layout.fieldTexts[1], (std::vector<std::string>{"E1", "2", "1", "Off", "On"}));
  EXPECT_EQ(layout.fieldTexts[8], (std::vector<std::string>{"E8", "2", "2", "Off", "On"}));
  EXPECT_EQ(layout.FieldText(6, 2), "0");
}

TEST_F(ReadChInfoTest, ListMayHoldFiftyTextsWithTheMarkerAtPlace50) {
  // Place 50 of a field is place 0 of the next one, so only the last field can use it.
  std::vector<std::string> lines = {"3002=2"};
  AddList(lines, 3000, 1, {"First", "1", "0"});
  std::vector<std::string> fifty;
  for (int r = 0; r < 50; ++r) fifty.push_back("T" + std::to_string(r));
  AddList(lines, 3000, 2, fifty);
  const SettingsFile settings = Write(lines);
  ChannelLayout layout;
  ReadChInfo(settings, 3, layout);
  EXPECT_EQ(layout.fieldTexts[1], (std::vector<std::string>{"First", "1", "0"}));
  EXPECT_EQ(layout.fieldTexts[2], fifty);
}

TEST_F(ReadChInfoTest, ItemTextsAreCutTo99Characters) {
  std::vector<std::string> lines = {"3002=1"};
  AddList(lines, 3000, 1, {std::string(120, 'x'), "1", "0"});
  const SettingsFile settings = Write(lines);
  ChannelLayout layout;
  ReadChInfo(settings, 3, layout);
  EXPECT_EQ(layout.FieldText(1, 0), std::string(99, 'x'));
}

// Language 2 reads the keys from 2000 where key 2000 is there, else those of English.
TEST_F(ReadChInfoTest, EachLanguageReadsItsKeyBase) {
  std::vector<std::string> lines = GoodLayout(1000, 9, "C");
  const std::vector<std::string> english = GoodLayout(3000, 8, "E");
  lines.insert(lines.end(), english.begin(), english.end());

  const SettingsFile withoutTraditional = Write(lines);
  ChannelLayout chinese;
  ReadChInfo(withoutTraditional, 1, chinese);
  EXPECT_EQ(chinese.ColCount, 9);
  EXPECT_EQ(chinese.FieldText(1, 0), "C1");

  for (const long long language : {2LL, 3LL, 0LL}) {
    ChannelLayout layout;
    ReadChInfo(withoutTraditional, language, layout);
    EXPECT_EQ(layout.ColCount, 8) << language;
    EXPECT_EQ(layout.FieldText(1, 0), "E1") << language;
    EXPECT_EQ(layout.format, "^E|<A|<B") << language;
  }

  const std::vector<std::string> traditional = GoodLayout(2000, 7, "T");
  lines.insert(lines.end(), traditional.begin(), traditional.end());
  const SettingsFile settings = Write(lines);
  for (const auto& [language, colCount, tag] :
       {std::tuple{2LL, 7, "T"}, std::tuple{3LL, 8, "E"}, std::tuple{1LL, 9, "C"}}) {
    ChannelLayout layout;
    ReadChInfo(settings, language, layout);
    EXPECT_EQ(layout.ColCount, colCount) << language;
    EXPECT_EQ(layout.FieldText(1, 0), std::string(tag) + "1") << language;
  }
}

TEST_F(ReadChInfoTest, ListWithoutMarkerStopsTheReadingThere) {
  std::vector<std::string> lines = {"3002=4"};
  AddList(lines, 3000, 1, {"RxFre", "0", "14652500"});
  AddList(lines, 3000, 2, {"TxFre", "0", "14652500"}, false);
  AddList(lines, 3000, 3, {"CtcssDcsDec", "0", "0"});
  AddList(lines, 3000, 4, {"CtcssDcsEnc", "0", "0"});
  const SettingsFile settings = Write(lines);
  ChannelLayout layout;
  EXPECT_EQ(FailureNumber([&] { ReadChInfo(settings, 3, layout); }), err::kIndexOutOfRange);
  EXPECT_EQ(layout.fieldTexts[1], (std::vector<std::string>{"RxFre", "0", "14652500"}));
  ASSERT_EQ(layout.fieldTexts[2].size(), 50u);
  EXPECT_EQ(layout.fieldTexts[2][2], "14652500");
  EXPECT_EQ(layout.fieldTexts[2][3], "0");
  EXPECT_TRUE(layout.fieldTexts[3].empty());
  EXPECT_TRUE(layout.fieldTexts[4].empty());
}

TEST_F(ReadChInfoTest, ACountWithoutRoomOrNotANumberFails) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {"3000", "abc", err::kTypeMismatch},         {"3000", "0", err::kInvalidPropertyValue},
      {"3000", "261", err::kInvalidPropertyValue}, {"3002", "0", err::kInvalidPropertyValue},
      {"3002", "21", err::kInvalidPropertyValue},  {"3001", "big", err::kTypeMismatch}};
  for (const auto& [key, value, number] : cases) {
    const SettingsFile settings = Write({std::string(key) + "=" + value});
    ChannelLayout layout;
    EXPECT_EQ(FailureNumber([&] { ReadChInfo(settings, 3, layout); }), number)
        << key << "=" << value;
  }
}

TEST_F(ReadChInfoTest, WidthThatIsNotANumberKeepsTheWidthsBeforeIt) {
  const SettingsFile settings = Write({"3002=3", "3100=900", "3101=800", "3102=?"});
  ChannelLayout layout;
  EXPECT_EQ(FailureNumber([&] { ReadChInfo(settings, 3, layout); }), err::kTypeMismatch);
  EXPECT_EQ(layout.ColCount, 3);
  EXPECT_EQ(layout.widths, (std::vector<int32_t>{900, 800, 0, 0}));
  EXPECT_EQ(layout.fieldTexts.size(), 4u);
}

class DelOneChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int a = 0; a <= temp.DatNum(); ++a) {
      temp.set(a, static_cast<uint8_t>(a * 7 + 3));
      image.set(a, static_cast<uint8_t>(a * 13 + 1));
    }
    image.set(kFlagWordLow, 0xA5);
    image.set(kFlagWordHigh, 0x5A);
    for (int n = 1; n <= kImageChannels; ++n) {
      for (int f = 0; f < kFieldCount; ++f) table[n].field[static_cast<std::size_t>(f)] = 100 + f;
      table[n].rxTone = "67.0";
      table[n].txTone = "D023N";
    }
    original = image;
  }

  ChannelTable table;
  MemoryImage image;
  MemoryImage temp;
  MemoryImage original;
};

TEST_F(DelOneChannelTest, RestoresTheTemplateRecordAndLeavesTheRest) {
  DelOneChannel(5, table, image, temp);
  const ChannelRow& row = table[5];
  EXPECT_EQ(row.field[0], 1);
  EXPECT_EQ(row.field[1], -1);
  EXPECT_EQ(row.field[2], -1);
  for (int f = 3; f < kFieldCount; ++f) EXPECT_EQ(row.field[static_cast<std::size_t>(f)], 100 + f);
  EXPECT_EQ(row.rxTone, "");
  EXPECT_EQ(row.txTone, "");
  EXPECT_EQ(table[4].field[1], 101);
  EXPECT_EQ(table[6].rxTone, "67.0");
  for (int a = 0; a <= image.DatNum(); ++a) {
    const bool record = a >= 0x0050 && a <= 0x005F;
    ASSERT_EQ(image.at(a), record ? temp.at(a) : original.at(a)) << "address " << a;
  }
  EXPECT_EQ(image.at(kFlagWordLow), 0xA5);
  EXPECT_EQ(image.at(kFlagWordHigh), 0x5A);
}

TEST_F(DelOneChannelTest, ChannelWithoutARecordIsFailure9AndChangesNothing) {
  table[17].field[1] = 5;
  for (const int n : {0, 17, -3}) {
    EXPECT_EQ(FailureNumber([&] { DelOneChannel(n, table, image, temp); }), err::kIndexOutOfRange)
        << n;
  }
  EXPECT_EQ(table[17].field[1], 5);
  EXPECT_EQ(image, original);
}

TEST_F(DelOneChannelTest, InitChTableDeletesChannelsOneToChCount) {
  ChannelLayout layout;
  layout.ChCount = 16;
  InitChTable(layout, table, image, temp);
  for (int n = 1; n <= kImageChannels; ++n) {
    EXPECT_EQ(table[n].field[2], -1) << n;
    EXPECT_EQ(table[n].field[8], 108) << n;
  }
  for (int a = 0; a <= image.DatNum(); ++a) {
    const bool records = a >= 0x0010 && a <= 0x010F;
    ASSERT_EQ(image.at(a), records ? temp.at(a) : original.at(a)) << "address " << a;
  }

  layout.ChCount = 17;
  EXPECT_EQ(FailureNumber([&] { InitChTable(layout, table, image, temp); }), err::kIndexOutOfRange);
}

}  // namespace
}  // namespace tq
