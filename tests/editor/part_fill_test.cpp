#include "editor/part_fill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <tuple>
#include <vector>

#include "base/error_report.h"
#include "editor/memory_grid.h"
#include "image/memory_image.h"

namespace tq {
namespace {

constexpr const char* kLabel = "frmPartFill->cmdFillData_Click";

// A grid over a full image whose bytes are all 0x5A, laid out for 0x1FFF and refreshed.
class PartFillTest : public ::testing::Test {
 protected:
  PartFillTest() {
    std::fill(image.bytes().begin(), image.bytes().end(), uint8_t{0x5A});
    grid.SetGridMemDat(0x1FFF);
    grid.TableFreDat();
  }

  FillOutcome Fill(const std::string& value, FillMode mode, const std::string& start,
                   const std::string& end) {
    return PartFill(grid, {.fillData = value, .mode = mode, .startAddr = start, .endAddr = end});
  }

  std::vector<uint8_t> Bytes() const { return {image.bytes().begin(), image.bytes().end()}; }

  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  MemoryImage image;
  MemoryGrid grid{image, report};
};

// Each base reads its text its own way; the byte fills one grid row and nothing around it.
TEST_F(PartFillTest, FillsOneGridRowWithTheValueReadInTheChosenBase) {
  const std::tuple<std::string, FillMode, uint8_t, std::string> cases[] = {
      {"fg", FillMode::Hex, 0x0F, "0F"},
      {"1FF", FillMode::Hex, 0xFF, "FF"},
      {"", FillMode::Hex, 0x00, "00"},
      {"300", FillMode::Decimal, 0xFF, "FF"},
      {" 7 ", FillMode::Decimal, 0x07, "07"},
      {"5.0", FillMode::Decimal, 0x05, "05"},
      {"12", FillMode::Binary, 0x04, "04"},
      {"11111111111111111111", FillMode::Binary, 0xFF, "FF"}};
  for (const auto& [text, mode, byte, cell] : cases) {
    ASSERT_EQ(Fill(text, mode, "0100", "010F"), FillOutcome::Filled) << text;
    for (int a = 0x0100; a <= 0x010F; ++a) {
      EXPECT_EQ(image.at(a), byte) << text << " at " << a;
      EXPECT_EQ(grid.Text(17, a - 0x0100 + 1), cell) << text << " at " << a;
    }
  }
  EXPECT_EQ(image.at(0x00FF), 0x5A);
  EXPECT_EQ(image.at(0x0110), 0x5A);
  EXPECT_EQ(grid.Text(16, 16), "5A");
  EXPECT_EQ(grid.Text(18, 1), "5A");
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(PartFillTest, StartAboveEndWritesNothingAndIsNoError) {
  const std::vector<uint8_t> before = Bytes();
  EXPECT_EQ(Fill("FF", FillMode::Hex, "0200", "01FF"), FillOutcome::EmptyRange);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(grid.Text(33, 1), "5A");
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(PartFillTest, TheWholeImageAndSingleAddressesCanBeFilled) {
  EXPECT_EQ(Fill("00", FillMode::Hex, "0", "1FFF"), FillOutcome::Filled);
  EXPECT_TRUE(
      std::all_of(image.bytes().begin(), image.bytes().end(), [](uint8_t b) { return b == 0; }));
  EXPECT_EQ(grid.Text(512, 16), "00");
  EXPECT_EQ(Fill("7", FillMode::Decimal, "1FFF", "1FFF"), FillOutcome::Filled);
  EXPECT_EQ(image.at(0x1FFF), 0x07);
  EXPECT_EQ(image.at(0x1FFE), 0x00);
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(PartFillTest, TheFillCopiesTheWholeGridBackAfterwards) {
  // An edit still waiting in a cell reaches the image with the fill.
  grid.SetCellText(1, 1, "77");
  ASSERT_EQ(image.at(0x0000), 0x5A);
  EXPECT_EQ(Fill("FF", FillMode::Hex, "0100", "010F"), FillOutcome::Filled);
  EXPECT_EQ(image.at(0x0000), 0x77);
}

TEST_F(PartFillTest, ARangePastTheGridsMaximumFillsTheImageAndTheCellsThatExist) {
  grid.SetGridMemDat(0x00FF);
  grid.TableFreDat();
  EXPECT_EQ(Fill("C3", FillMode::Hex, "00F8", "0107"), FillOutcome::Filled);
  EXPECT_EQ(image.at(0x00F8), 0xC3);
  EXPECT_EQ(image.at(0x0107), 0xC3);
  EXPECT_EQ(image.at(0x0108), 0x5A);
  EXPECT_EQ(grid.Text(16, 9), "C3");
  EXPECT_EQ(grid.Text(16, 16), "C3");
  EXPECT_TRUE(report.lines().empty());
}

struct RejectCase {
  std::string value;
  FillMode mode;
  std::string start;
  std::string end;
  int number;
};
std::ostream& operator<<(std::ostream& os, const RejectCase& c) {
  return os << '"' << c.value << "\" " << c.start << "-" << c.end;
}

class PartFillRejectTest : public PartFillTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(PartFillRejectTest, RejectsBeforeWritingAnythingWithOneReport) {
  const RejectCase& c = GetParam();
  // A pending cell edit proves that not even the copy back ran.
  grid.SetCellText(1, 1, "77");
  const std::vector<uint8_t> before = Bytes();
  EXPECT_EQ(Fill(c.value, c.mode, c.start, c.end), FillOutcome::Rejected);
  EXPECT_EQ(Bytes(), before);
  EXPECT_EQ(grid.Text(17, 1), "5A");
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find(kLabel), std::string::npos) << report.lines()[1];
  EXPECT_NE(report.lines()[1].find("出错号:  " + std::to_string(c.number) + " "), std::string::npos)
      << report.lines()[1];
}

INSTANTIATE_TEST_SUITE_P(PartFill, PartFillRejectTest,
                         ::testing::Values(RejectCase{"2.5", FillMode::Decimal, "0100", "010F", 13},
                                           RejectCase{"", FillMode::Decimal, "0100", "010F", 13},
                                           RejectCase{"-1", FillMode::Decimal, "0100", "010F", 6},
                                           RejectCase{"FF", FillMode::Hex, "1FF0", "2000", 9},
                                           RejectCase{"FF", FillMode::Hex, "0100", "12345", 9}));

TEST(PartFillSmallImage, ARangePastTheImagesLastAddressIsRejected) {
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  MemoryImage image(0x0FFF);
  MemoryGrid grid(image, report);
  grid.SetGridMemDat(0x0FFF);
  grid.TableFreDat();
  PartFillFields fields{.startAddr = "0FF0", .endAddr = "1000"};
  EXPECT_EQ(PartFill(grid, fields), FillOutcome::Rejected);
  EXPECT_EQ(image.at(0x0FF0), 0x00);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find(kLabel), std::string::npos);
  fields.endAddr = "0FFF";
  EXPECT_EQ(PartFill(grid, fields), FillOutcome::Filled);
  EXPECT_EQ(image.at(0x0FFF), 0xFF);
}

// ---- the remembered addresses --------------------------------------------------------------

// Types `text` into a field one character at a time, as the change events arrive.
template <typename Change>
void Type(const std::string& text, Change change) {
  for (std::size_t k = 1; k <= text.size(); ++k) change(text.substr(0, k));
}

TEST_F(PartFillTest, TheNextOpeningShowsTheAddressesOfTheLastFill) {
  PartFillAddresses remembered;
  PartFillFields fields;
  remembered.Form_Load(fields);
  EXPECT_EQ(fields.startAddr, "0000");
  EXPECT_EQ(fields.endAddr, "1FFF");
  EXPECT_EQ(fields.mode, FillMode::Hex);
  EXPECT_EQ(fields.fillData, "FF");

  fields.startAddr = "0100";
  Type(fields.startAddr, [&](const std::string& t) { remembered.txtStartAddr_Change(t); });
  fields.endAddr = "010F";
  Type(fields.endAddr, [&](const std::string& t) { remembered.txtEndAddr_Change(t); });
  fields.mode = FillMode::Binary;
  fields.fillData = "101";
  ASSERT_EQ(PartFill(grid, fields), FillOutcome::Filled);
  EXPECT_EQ(image.at(0x0100), 0x05);

  PartFillFields reopened = fields;
  reopened.startAddr = "garbage";
  reopened.endAddr = "";
  remembered.Form_Load(reopened);
  EXPECT_EQ(reopened.startAddr, "0100");
  EXPECT_EQ(reopened.endAddr, "010F");
  EXPECT_EQ(reopened.mode, FillMode::Hex);
  EXPECT_EQ(reopened.fillData, "101");
}

TEST(PartFillAddressesTest, ATextThatIsNotHexadecimalKeepsTheLastAddress) {
  PartFillAddresses remembered;
  PartFillFields fields;
  remembered.txtStartAddr_Change("01");
  remembered.txtStartAddr_Change("01G");
  remembered.txtEndAddr_Change("0000");
  remembered.txtEndAddr_Change("");
  remembered.Form_Load(fields);
  EXPECT_EQ(fields.startAddr, "0001");
  // An end of 0 is remembered like any other, not taken for "none yet".
  EXPECT_EQ(fields.endAddr, "0000");

  remembered.txtStartAddr_Change(" 1a ");
  remembered.txtEndAddr_Change("FFFF");
  remembered.txtStartAddr_Change("10000");
  remembered.Form_Load(fields);
  EXPECT_EQ(fields.startAddr, "001A");
  EXPECT_EQ(fields.endAddr, "FFFF");
  EXPECT_EQ(remembered.end, -1);
}

}  // namespace
}  // namespace tq
