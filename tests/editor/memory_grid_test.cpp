#include "editor/memory_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <tuple>
#include <utility>

#include "base/error_report.h"
#include "image/channel_table.h"
#include "image/memory_image.h"
#include "session/session.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

constexpr const char* kLongTextLabel = "frmMemDat->SeparateChar";
constexpr const char* kCopyLabel = "frmMemDat->GridDataTemp";
constexpr const char* kRefreshLabel = "modMemDat->TableFreDat";

using testing::CountMentions;

// ---- conversions ---------------------------------------------------------------------------

TEST(MemoryGridConversions, HexToBinaryGivesFourBinaryDigitsPerHexDigit) {
  const std::pair<std::string, std::string> cases[] = {
      {"a5", "10100101"}, {"", ""}, {"fg", "1111"}, {"1FF", "000111111111"}, {"汉5", "0101"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(H_To_B(in), out) << in;
}

TEST(MemoryGridConversions, BinaryToNumberDoublesAndAddsFromTheLeftAndSaturates) {
  const std::pair<std::string, int16_t> cases[] = {
      {"10100101", 165},
      {"", 0},
      {"100000000", 256},
      // A digit above 1 adds its own value; other characters are 0 digits.
      {"12", 4},
      {"1汉1", 5},
      // The largest value that fits, then saturation instead of wrapping.
      {"111111111111111", 32767},
      {"1000000000000000", 32767},
      {"99999999999999999999", 32767}};
  for (const auto& [in, value] : cases) EXPECT_EQ(B_To_D(in), value) << in;
}

TEST(MemoryGridConversions, BitShowListsTheBitsFromTheHighestWithAGapBeforeBitThree) {
  const std::pair<std::string, std::string> cases[] = {
      {"10100101", "B7:1 B6:0 B5:1 B4:0   B3:0 B2:1 B1:0 B0:1 "},
      {"101", "B2:1 B1:0 B0:1 "},
      {"", ""},
      {"0101", "  B3:0 B2:1 B1:0 B0:1 "},
      {"000111111111", "B11:0 B10:0 B9:0 B8:1 B7:1 B6:1 B5:1 B4:1   B3:1 B2:1 B1:1 B0:1 "}};
  for (const auto& [in, out] : cases) EXPECT_EQ(B_To_BitShow(in), out) << in;
}

// The rightmost four characters are the nibbles; a longer text is reported.
TEST(MemoryGridConversions, SeparateCharTakesTheRightmostFourCharactersAsNibbles) {
  const std::tuple<std::string, std::array<uint8_t, 4>, bool> cases[] = {
      {"", {0, 0, 0, 0}, false},         {"g5", {5, 0, 0, 0}, false},
      {"1FF", {15, 15, 1, 0}, false},    {"ABCD", {13, 12, 11, 10}, false},
      {"汉字ab", {11, 10, 0, 0}, false}, {"12345", {5, 4, 3, 2}, true},
      {"汉字abc", {12, 11, 10, 0}, true}};
  for (const auto& [text, nibbles, reported] : cases) {
    ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
    EXPECT_EQ(SeparateChar(text, report), nibbles) << text;
    EXPECT_EQ(report.lines().size(), reported ? 2u : 0u) << text;
    EXPECT_EQ(CountMentions(report, kLongTextLabel), reported ? 1 : 0) << text;
  }
}

// ---- the grid over an image ----------------------------------------------------------------

// A grid over a full image whose bytes are all 0x5A, laid out for 0x1FFF and refreshed once.
class MemoryGridTest : public ::testing::Test {
 protected:
  MemoryGridTest() {
    std::fill(image.bytes().begin(), image.bytes().end(), uint8_t{0x5A});
    grid.SetGridMemDat(0x1FFF);
  }

  int RedCells() const {
    int reds = 0;
    for (int r = 1; r <= grid.RowCount(); ++r) {
      for (int c = 1; c <= kMemDataColumns; ++c) reds += grid.Colour(r, c) == kMemRed ? 1 : 0;
    }
    return reds;
  }

  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  MemoryImage image;
  MemoryGrid grid{image, report};
};

TEST_F(MemoryGridTest, LaysOutOneLabelledRowPerSixteenAddresses) {
  ASSERT_EQ(grid.RowCount(), 512);
  EXPECT_EQ(grid.RowLabel(1), "0000H");
  EXPECT_EQ(grid.RowLabel(2), "0010H");
  EXPECT_EQ(grid.RowLabel(512), "1FF0H");
  EXPECT_EQ(grid.Text(0, 0), "Addr");
  EXPECT_EQ(grid.Text(0, 11), "A");
  EXPECT_EQ(grid.Text(1, 1), "");
  EXPECT_EQ(grid.Text(512, 16), "");
  EXPECT_TRUE(grid.HoldsAddress(512, 16));
  EXPECT_THROW(grid.Text(513, 1), Failure);
  EXPECT_THROW(grid.Text(1, 17), Failure);
  // The first refresh fills every cell and marks nothing.
  EXPECT_FALSE(grid.TableFreDat().has_value());
  EXPECT_EQ(grid.TextAt(0x0000), "5A");
  EXPECT_EQ(grid.TextAt(0x1FFF), "5A");
  EXPECT_EQ(RedCells(), 0);
  EXPECT_EQ(grid.Current(), (MemCellPos{1, 1}));
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(MemoryGridTest, AMaximumInsideARowKeepsThatRowAndCopiesOnlyUpToIt) {
  grid.SetGridMemDat(0x0100);
  ASSERT_EQ(grid.RowCount(), 17);
  EXPECT_EQ(grid.RowLabel(17), "0100H");
  EXPECT_TRUE(grid.HoldsAddress(17, 1));
  EXPECT_FALSE(grid.HoldsAddress(17, 2));
  grid.TableFreDat();
  EXPECT_EQ(grid.TextAt(0x0100), "5A");
  EXPECT_EQ(grid.TextAt(0x0101), "");
  // A cell past the maximum is never copied into the image.
  grid.SetCellText(17, 2, "11");
  grid.SetCellText(17, 1, "22");
  EXPECT_TRUE(grid.GridDataTemp());
  EXPECT_EQ(image.at(0x0100), 0x22);
  EXPECT_EQ(image.at(0x0101), 0x5A);
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(MemoryGridTest, ANegativeMaximumGivesAnEmptyGridThatTouchesNothing) {
  grid.SetGridMemDat(-1);
  EXPECT_EQ(grid.RowCount(), 0);
  EXPECT_EQ(grid.Current(), (MemCellPos{0, 0}));
  EXPECT_EQ(grid.Text(0, 0), "Addr");
  EXPECT_FALSE(grid.TableFreDat().has_value());
  EXPECT_TRUE(grid.GridDataTemp());
  EXPECT_FALSE(grid.CellTipHint(1, 1).has_value());
  EXPECT_THROW(grid.SetCellText(1, 1, "00"), Failure);
  EXPECT_EQ(image.at(0), 0x5A);
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(MemoryGridTest, AMaximumPastTheImageStopsTheRefreshAtTheImagesEnd) {
  MemoryImage small(0x0FFF);
  small.set(0x0FFF, 0x42);
  MemoryGrid wide{small, report};
  wide.SetGridMemDat(0x1FFF);
  wide.TableFreDat();
  EXPECT_EQ(wide.TextAt(0x0FFF), "42");
  EXPECT_EQ(wide.TextAt(0x1000), "");
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find(kRefreshLabel), std::string::npos);
  EXPECT_NE(report.lines()[1].find("出错号:  9"), std::string::npos);
}

TEST_F(MemoryGridTest, ChangedBytesTurnRedUntilTheNextRefreshOrSetDefCol) {
  grid.TableFreDat();
  image.set(0x0135, 0xA5);
  const auto marked = grid.TableFreDat();
  ASSERT_TRUE(marked.has_value());
  EXPECT_EQ(*marked, (MemCellPos{20, 6}));
  EXPECT_EQ(grid.Current(), (MemCellPos{20, 6}));
  EXPECT_EQ(grid.ColourAt(0x0135), kMemRed);
  EXPECT_EQ(grid.Text(20, 6), "A5");
  EXPECT_EQ(RedCells(), 1);
  EXPECT_FALSE(grid.TableFreDat().has_value());
  EXPECT_FALSE(grid.LastMarked().has_value());
  EXPECT_EQ(grid.Colour(20, 6), kMemBlack);

  // Several changes select the last.
  image.set(0x0010, 0x00);
  image.set(0x1FF0, 0xFF);
  image.set(0x0800, 0x01);
  EXPECT_EQ(grid.TableFreDat(), (MemCellPos{512, 1}));
  EXPECT_EQ(grid.LastMarked(), (MemCellPos{512, 1}));
  EXPECT_EQ(RedCells(), 3);
  grid.SetDefCol();
  EXPECT_EQ(RedCells(), 0);
  EXPECT_EQ(grid.TextAt(0x1FF0), "FF");
}

TEST_F(MemoryGridTest, EditedCellsCopyBackByTheirHexDigits) {
  grid.TableFreDat();
  grid.SetCellText(1, 1, "");
  grid.SetCellText(1, 2, "g5");
  EXPECT_TRUE(grid.vsfgGridMemDat_AfterEdit(1, 3, "0a"));
  EXPECT_EQ(image.at(0x0000), 0x00);
  EXPECT_EQ(image.at(0x0001), 0x05);
  EXPECT_EQ(image.at(0x0002), 0x0A);
  EXPECT_EQ(image.at(0x0003), 0x5A);
  EXPECT_TRUE(report.lines().empty());
  // The next refresh writes the two-digit form; the texts already meant these bytes, so no
  // mark, and the empty cell is never marked.
  EXPECT_FALSE(grid.TableFreDat().has_value());
  EXPECT_EQ(grid.Text(1, 1), "00");
  EXPECT_EQ(grid.Text(1, 2), "05");
  EXPECT_EQ(grid.Text(1, 3), "0A");
  EXPECT_EQ(RedCells(), 0);
}

TEST_F(MemoryGridTest, AValueAboveAByteStopsTheCopyBackAtItsAddress) {
  grid.TableFreDat();
  grid.SetCellText(2, 1, "77");   // 0x0010, before the bad cell
  grid.SetCellText(5, 1, "88");   // 0x0040, after it
  grid.SetCellText(3, 1, "1FF");  // 0x0020
  EXPECT_FALSE(grid.GridDataTemp());
  EXPECT_EQ(image.at(0x0010), 0x77);
  EXPECT_EQ(image.at(0x0020), 0x5A);
  EXPECT_EQ(image.at(0x0040), 0x5A);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find(kCopyLabel), std::string::npos);
  EXPECT_NE(report.lines()[1].find("出错号:  6"), std::string::npos);

  // The cell stops every later copy back until it is corrected.
  EXPECT_FALSE(grid.vsfgGridMemDat_AfterEdit(6, 1, "99"));
  EXPECT_EQ(image.at(0x0050), 0x5A);
  EXPECT_EQ(CountMentions(report, kCopyLabel), 2);
  EXPECT_TRUE(grid.vsfgGridMemDat_AfterEdit(3, 1, "1F"));
  EXPECT_EQ(image.at(0x0020), 0x1F);
  EXPECT_EQ(image.at(0x0040), 0x88);
  EXPECT_EQ(image.at(0x0050), 0x99);
}

TEST_F(MemoryGridTest, AnOldTextAboveAByteEndsTheRefreshAtItsAddress) {
  grid.TableFreDat();
  grid.SetCellText(3, 1, "1FF");  // 0x0020
  grid.SetCellText(5, 1, "88");   // 0x0040
  image.set(0x0010, 0x01);
  image.set(0x0040, 0x02);
  EXPECT_EQ(grid.TableFreDat(), (MemCellPos{2, 1}));
  EXPECT_EQ(grid.Text(2, 1), "01");
  EXPECT_EQ(grid.Colour(2, 1), kMemRed);
  EXPECT_EQ(grid.Text(3, 1), "1FF");
  EXPECT_EQ(grid.Text(5, 1), "88");
  EXPECT_EQ(grid.Colour(5, 1), kMemBlack);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find(kRefreshLabel), std::string::npos);
  EXPECT_NE(report.lines()[1].find("出错号:  6"), std::string::npos);
}

TEST_F(MemoryGridTest, ACellOfMoreThanFourCharactersIsReportedAndReadFromItsRight) {
  grid.TableFreDat();
  EXPECT_TRUE(grid.vsfgGridMemDat_AfterEdit(1, 1, "00012"));
  EXPECT_EQ(image.at(0x0000), 0x12);
  EXPECT_EQ(CountMentions(report, kLongTextLabel), 1);
  // Read whole, the same text still means a byte, so the refresh takes it without a mark.
  EXPECT_FALSE(grid.TableFreDat().has_value());
  EXPECT_EQ(grid.Text(1, 1), "12");
}

TEST_F(MemoryGridTest, TheTipDescribesADataCellAndSelectsIt) {
  grid.TableFreDat();
  image.set(0x0130, 0xA5);
  grid.TableFreDat();
  const auto tip = grid.CellTipHint(20, 1);
  ASSERT_TRUE(tip.has_value());
  EXPECT_EQ(*tip,
            "地址为: 0x0130    二进制:10100101    B7:1 B6:0 B5:1 B4:0   B3:0 B2:1 B1:0 B0:1 "
            "    十进制165    \r\n");
  EXPECT_EQ(grid.ToolTip(), *tip);
  EXPECT_EQ(grid.Current(), (MemCellPos{20, 1}));

  // Fixed cells give nothing; an empty cell gives nothing but is selected; the tip stays.
  EXPECT_FALSE(grid.CellTipHint(0, 3).has_value());
  EXPECT_FALSE(grid.CellTipHint(7, 0).has_value());
  EXPECT_FALSE(grid.CellTipHint(513, 1).has_value());
  EXPECT_EQ(grid.Current(), (MemCellPos{20, 1}));
  grid.SetCellText(2, 2, "");
  EXPECT_FALSE(grid.CellTipHint(2, 2).has_value());
  EXPECT_EQ(grid.Current(), (MemCellPos{2, 2}));
  EXPECT_EQ(grid.ToolTip(), *tip);
}

// The window refreshes a grid that no longer shows the image before it copies an edit back, so
// that stale cells never overwrite newer bytes.
TEST_F(MemoryGridTest, KnowsWhetherItStillShowsTheImage) {
  EXPECT_FALSE(grid.ShowsImage()) << "empty cells show nothing";
  grid.TableFreDat();
  EXPECT_TRUE(grid.ShowsImage());
  image.set(0x1FFF, 0x00);
  EXPECT_FALSE(grid.ShowsImage());
  grid.TableFreDat();
  grid.SetCellText(1, 1, "5a");
  EXPECT_FALSE(grid.ShowsImage()) << "a typed text counts until it is shown in two digits";
  grid.SetCellText(1, 1, "5A");
  EXPECT_TRUE(grid.ShowsImage());
}

// ---- "Fill Gird" over a started document ---------------------------------------------------

TEST(MemoryGridFill, FoldsTheEditorsStampsTheDateAndMarksWhatChanged) {
  testing::TempFolder home;
  home.CopyShippedProgramFiles();
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  MemoryGrid grid(doc.EditableImage(), report);
  grid.SetGridMemDat(doc.AddressValue(AddressBox::TableMax));
  grid.TableFreDat();
  for (int a = 0x0330; a <= 0x0334; ++a) doc.EditableImage().set(a, 0x00);
  for (int a = 0x0010; a <= 0x0013; ++a) doc.EditableImage().set(a, 0xFF);
  grid.TableFreDat();
  ASSERT_EQ(grid.TextAt(0x0330), "00");

  ChannelRow row = doc.Channels()[1];
  row.field[1] = 14652500;  // 146.525 MHz
  doc.EditChannel(1, row);
  std::tm local{};
  local.tm_year = 2026 - 1900;
  local.tm_mon = 6;
  local.tm_mday = 5;
  local.tm_hour = 9;
  local.tm_min = 41;
  doc.StampImage(local);
  grid.TableFreDat();

  const char* stamp[] = {"1A", "07", "05", "09", "41"};
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(grid.TextAt(0x0330 + k), stamp[k]) << k;
    EXPECT_EQ(grid.ColourAt(0x0330 + k), kMemRed) << k;
  }
  const char* frequency[] = {"00", "25", "65", "14"};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(grid.TextAt(0x0010 + k), frequency[k]) << k;
    EXPECT_EQ(grid.ColourAt(0x0010 + k), kMemRed) << k;
  }
  EXPECT_EQ(grid.ColourAt(0x0000), kMemBlack);
  EXPECT_EQ(grid.ColourAt(0x0335), kMemBlack);
  EXPECT_EQ(CountMentions(report, "出错号"), 0) << report.lines().back();
}

}  // namespace
}  // namespace tq
