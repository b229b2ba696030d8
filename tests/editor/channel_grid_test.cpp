#include "editor/channel_grid.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <tuple>

#include "files/data_file.h"
#include "image/channel_table.h"
#include "session/session.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;
using Texts = std::vector<std::string>;

constexpr int32_t kDef = 16777215;   // DefColor of the shipped settings file (white)
constexpr int32_t kOver = 10066431;  // OverColor: RGB(255, 153, 153)
constexpr int32_t kHighlight = 0xF0E6E6;

// The session's data as the grid sees it, with a layout of its own that a test may change.
class WiderData final : public ChannelData {
 public:
  explicit WiderData(Session& session) : session_(session) {}
  const ChannelTable& Channels() const override { return session_.Channels(); }
  const ChannelLayout& Layout() const override { return layout; }
  const ToneTable& Tones() const override { return session_.Tones(); }
  const SoftFace& Texts() const override { return session_.Texts(); }
  const BandLimits& Band() const override { return session_.Band(); }
  int32_t DefColor() const override { return session_.DefColor(); }
  int32_t OverColor() const override { return session_.OverColor(); }
  bool Locked() const override { return session_.Locked(); }
  ErrorReport& Report() const override { return session_.Report(); }
  void EditChannel(int n, const ChannelRow& row) override { session_.EditChannel(n, row); }
  void DeleteChannel(int n) override { session_.DeleteChannel(n); }
  void SaveDefaultChannel(int n) override { session_.SaveDefaultChannel(n); }

  ChannelLayout layout;

 private:
  Session& session_;
};

// A program folder with copies of the shipped default image and settings file; the session is
// started there with the band 136 - 174 MHz and the grid built and shown.
class ChannelGridTest : public ::testing::Test {
 protected:
  ChannelGridTest() { home.CopyShippedProgramFiles(); }

  void Start() {
    ASSERT_TRUE(doc.StartUp()) << (report.lines().empty() ? "" : report.lines().back());
    doc.cboFrequency_Click(0);
    grid.SetChGrid();
    grid.ShowChTblGrid();
  }

  // The user clicks a cell, the editor opens where the click asked, and `text` is left in it.
  void Enter(int r, int c, const std::string& text) {
    grid.vsfgGridCh_Click(r, c);
    ASSERT_TRUE(grid.editRequest().has_value()) << r << "," << c;
    const CellPos at = *grid.editRequest();
    ASSERT_TRUE(grid.vsfgGridCh_BeforeEdit(at.row, at.col));
    grid.vsfgGridCh_AfterEdit(at.row, at.col, text);
  }

  // The user clicks a tone cell and leaves `text` in the tone box.
  void EnterTone(int r, int c, const std::string& text) {
    grid.vsfgGridCh_Click(r, c);
    ASSERT_TRUE(grid.toneBox().visible);
    grid.SetToneBoxText(text);
    grid.cboGridChCtdcs_LostFocus(text);
  }

  // The texts of channel row r, columns 1 to 8.
  Texts Row(int r) const {
    Texts texts;
    for (int c = 1; c <= 8; ++c) texts.push_back(grid.cell(r, c).text);
    return texts;
  }
  const std::string& Text(int r, int c) const { return grid.cell(r, c).text; }
  int32_t Back(int r, int c) const { return grid.cell(r, c).back; }
  const ChannelRow& Ch(int n) const { return doc.Channels()[n]; }
  bool Reported(const std::string& label) const { return testing::Mentions(report, label); }
  SettingsFile Settings() const { return SettingsFile(home.path() / kSettingsFileName); }
  // Stores a changed copy of channel n, as an edit of the grid does.
  template <typename Edit>
  void Change(int n, Edit change) {
    ChannelRow row = doc.Channels()[n];
    change(row);
    doc.EditChannel(n, row);
  }
  // The grid over a layout of 120 channels, with the VFO row at 100.
  void WidenTo120(ChannelGrid& wide) {
    wider.layout = doc.Layout();
    wider.layout.ChCount = 120;
    wide.SetChGrid();
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc{home.path(), report};
  ChannelGrid grid{doc};
  WiderData wider{doc};
};

const Texts kEmptyRow(8);

TEST(ChannelStep, SnapsToTheNearerStepAndTiesGoToTheFinerGrid) {
  const std::pair<int32_t, int32_t> cases[] = {
      {14653000, 14653000},  // on the 5 kHz grid, 125 from the 6.25 kHz grid
      {14653200, 14653125},  // 200 from the 5 kHz grid, 75 from the 6.25 kHz grid
      {14652500, 14652500},  // on both grids
      {14653625, 14653750},  // 125 from 14653500 and from 14653750
      {14651990, 14652000},  // 10 from 14652000, 115 from 14651875
      {14653260, 14653125},  // 240 from 14653500, 135 from 14653125
  };
  for (const auto& [typed, snapped] : cases) EXPECT_EQ(ModifyTxRxFre(typed), snapped) << typed;
}

TEST(FrequencyTextTest, WritesTheShortestDecimalOfMegahertz) {
  EXPECT_EQ(FrequencyText(14652500), "146.525");
  EXPECT_EQ(FrequencyText(40000000), "400");
  EXPECT_EQ(FrequencyText(14653125), "146.53125");
  EXPECT_EQ(FrequencyText(13600001), "136.00001");
}

TEST_F(ChannelGridTest, BuildsTitlesLabelsAndWidthsFromTheLayout) {
  Start();
  ASSERT_EQ(grid.rows(), 17);
  ASSERT_EQ(grid.columns(), 9);
  EXPECT_EQ(Text(0, 8), "Busy Lock");
  EXPECT_EQ(Text(16, 0), "16");
  EXPECT_EQ(grid.columnWidth(1), 1400);
  EXPECT_EQ(grid.current(), (CellPos{1, 1}));
  EXPECT_EQ(Row(16), kEmptyRow);
  // A layout of 100 channels or more labels row 100 "VFO" and the rows after it not at all.
  ChannelGrid wide(wider);
  WidenTo120(wide);
  ASSERT_EQ(wide.rows(), 121);
  EXPECT_EQ(wide.cell(99, 0).text, "99");
  EXPECT_EQ(wide.cell(100, 0).text, "VFO");
  EXPECT_EQ(wide.cell(101, 0).text, "");
  EXPECT_EQ(wide.cell(120, 0).text, "");
}

TEST_F(ChannelGridTest, ClickingAnyCellOfAnEmptyChannelEditsItsReceiveFrequency) {
  Start();
  for (int c = 1; c <= 8; ++c) {
    grid.vsfgGridCh_Click(4, c);
    ASSERT_TRUE(grid.editRequest().has_value()) << c;
    EXPECT_EQ(*grid.editRequest(), (CellPos{4, 1})) << c;
    EXPECT_FALSE(grid.toneBox().visible) << c;
    EXPECT_EQ(grid.vsfgGridCh_BeforeEdit(4, c), c == 1) << c;
  }
  ASSERT_TRUE(grid.vsfgGridCh_BeforeEdit(4, 1));
  EXPECT_EQ(grid.editPermission(), EditPermission::KeyboardAndMouse);
}

TEST_F(ChannelGridTest, AClickHighlightsTheRowAndResetsTheOthers) {
  Start();
  Enter(3, 1, "130");
  ASSERT_EQ(Back(3, 1), kOver);
  grid.vsfgGridCh_Click(5, 2);
  for (int c = 1; c <= 8; ++c) {
    EXPECT_EQ(Back(5, c), kHighlight) << c;
    EXPECT_EQ(Back(3, c), kGridBackColor) << c;
  }
  EXPECT_EQ(grid.toneBox().back, kHighlight);
}

TEST_F(ChannelGridTest, TypingAFrequencyIntoAnEmptyChannelCompletesItFromTheDefaults) {
  Start();
  Enter(2, 1, "146.525");
  EXPECT_EQ(Row(2), (Texts{"146.525", "146.525", "None", "None", "Wide", "High", "On", "Off"}));
  const ChannelRow& ch = Ch(2);
  EXPECT_EQ((std::array{ch.field[0], ch.field[1], ch.field[2], ch.field[5], ch.field[6],
                        ch.field[7], ch.field[8]}),
            (std::array{1, 14652500, 14652500, 1, 1, 1, 0}));
  EXPECT_EQ(ch.rxTone + "|" + ch.txTone, "None|None");
  EXPECT_EQ(Back(2, 2), kDef);
  EXPECT_EQ(grid.current(), (CellPos{2, 2}));
  // A later receive frequency keeps the transmit side.
  Enter(2, 2, "150");
  Enter(2, 1, "147");
  EXPECT_EQ(Ch(2).field[2], 15000000);
  EXPECT_EQ(Text(2, 2), "150");
}

// Typed into either frequency column: snapped to the channel step, clamped to the band when
// outside 120 - 550 MHz, and coloured against the band 136 - 174 MHz.
TEST_F(ChannelGridTest, ATypedFrequencyIsSnappedClampedAndColouredAgainstTheBand) {
  Start();
  const std::tuple<const char*, int32_t, const char*, int32_t> cases[] = {
      {"146.532", 14653125, "146.53125", kDef}, {" 146.53625 ", 14653750, "146.5375", kDef},
      {"119.99375", 13600000, "136", kDef},     {"-5", 13600000, "136", kDef},
      {"550.00625", 17400000, "174", kDef},     {"550", 55000000, "550", kOver},
      {"120", 12000000, "120", kOver},          {"174", 17400000, "174", kDef},
      {"174.005", 17400500, "174.005", kOver}};
  for (const auto& [typed, stored, shown, colour] : cases) {
    SCOPED_TRACE(typed);
    Enter(6, 1, "146.525");
    Enter(6, 2, typed);
    EXPECT_EQ(Ch(6).field[2], stored);
    EXPECT_EQ(Text(6, 2), shown);
    EXPECT_EQ(Back(6, 2), colour);
    EXPECT_EQ(grid.current(), (CellPos{6, 3}));
    Enter(9, 1, typed);
    EXPECT_EQ(Ch(9).field[1], stored);
    EXPECT_EQ(Text(9, 1), shown);
    EXPECT_EQ(Back(9, 1), colour);
  }
}

TEST_F(ChannelGridTest, ShowsBandLimitsWithDefColorAndTenHertzOutsideWithOverColor) {
  Start();
  const std::pair<int32_t, int32_t> cases[] = {
      {13600000, kDef}, {13599999, kOver}, {17400000, kDef}, {17400001, kOver}};
  for (const auto& [frequency, colour] : cases) {
    Change(1, [&](ChannelRow& row) { row.field[1] = row.field[2] = frequency; });
    grid.ShowChTblGrid();
    EXPECT_EQ(Back(1, 1), colour) << frequency;
    EXPECT_EQ(Back(1, 2), colour) << frequency;
  }
}

TEST_F(ChannelGridTest, ClearingTheTransmitFrequencyEmptiesTheTransmitToneOnly) {
  Start();
  Enter(2, 1, "146.525");
  EnterTone(2, 3, "67");
  Enter(2, 2, "");
  EXPECT_EQ(Row(2), (Texts{"146.525", "", "67.0", "", "Wide", "High", "On", "Off"}));
  EXPECT_EQ(Back(2, 2), kDef);
  EXPECT_EQ(Ch(2).field[1], 14652500);
  EXPECT_EQ(Ch(2).field[2], -1);
  EXPECT_EQ(Ch(2).rxTone, "67.0");
  EXPECT_EQ(Ch(2).txTone, "");
  grid.ShowChTblGrid();
  EXPECT_EQ(Row(2), (Texts{"146.525", "", "67.0", "", "Wide", "High", "On", "Off"}));
  // The transmit tone of a receive-only channel waits for its transmit frequency.
  grid.vsfgGridCh_Click(2, 4);
  EXPECT_FALSE(grid.toneBox().visible);
  EXPECT_EQ(grid.current(), (CellPos{2, 2}));
  EXPECT_FALSE(grid.vsfgGridCh_BeforeEdit(2, 4));
  // A transmit frequency typed again brings the receive tone along.
  Enter(2, 2, "147");
  EXPECT_EQ(Text(2, 4), "67.0");
  EXPECT_EQ(Ch(2).txTone, "67.0");
  EXPECT_EQ(grid.current(), (CellPos{2, 3}));
}

TEST_F(ChannelGridTest, ClearingTheReceiveFrequencyClearsTheChannel) {
  Start();
  Enter(2, 1, "146.525");
  Enter(2, 1, "abc");
  EXPECT_EQ(Row(2), kEmptyRow);
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(Ch(2).field[static_cast<std::size_t>(k)], -1) << k;
    EXPECT_EQ(Back(2, k), kDef) << k;
  }
  EXPECT_EQ(Ch(2).rxTone, "");
  EXPECT_EQ(grid.current(), (CellPos{2, 1}));
  Enter(2, 1, "146.525");  // the cleared parameters take their default items again
  EXPECT_EQ(Row(2), (Texts{"146.525", "146.525", "None", "None", "Wide", "High", "On", "Off"}));
}

TEST_F(ChannelGridTest, AFrequencyTooLargeForTheChannelTableIsReportedAndEmptied) {
  Start();
  Enter(2, 1, "146.525");
  Enter(2, 2, "99999");
  EXPECT_EQ(Ch(2).field[2], -1);
  EXPECT_EQ(Text(2, 2), "");
  EXPECT_TRUE(Reported("frmChMem->vsfgGridCh_AfterEdit:"));
  EXPECT_EQ(Ch(2).field[1], 14652500);
}

TEST_F(ChannelGridTest, AReceiveToneIsCopiedToTheTransmitToneButNotTheOtherWay) {
  Start();
  Enter(2, 1, "146.525");
  grid.vsfgGridCh_Click(2, 3);
  ASSERT_TRUE(grid.toneBox().visible);
  EXPECT_EQ((CellPos{grid.toneBox().row, grid.toneBox().col}), (CellPos{2, 3}));
  EXPECT_EQ(grid.toneBox().text, "None");
  EXPECT_EQ(grid.editPermission(), EditPermission::None);
  grid.cboGridChCtdcs_LostFocus("100");
  EXPECT_EQ(grid.toneBox().text, "100.0");
  EXPECT_EQ(Ch(2).txTone, "100.0");
  EXPECT_EQ(Text(2, 4), "100.0");

  const std::pair<const char*, const char*> transmit[] = {{"023i", "D023I"}, {"d023n", "None"}};
  for (const auto& [typed, tone] : transmit) {
    EnterTone(2, 4, typed);
    EXPECT_EQ(Ch(2).txTone, tone) << typed;
    EXPECT_EQ(Text(2, 4), tone) << typed;
    EXPECT_EQ(Ch(2).rxTone, "100.0") << typed;
    EXPECT_EQ(Text(2, 3), "100.0") << typed;
  }
  // Focus back in the box shows the current row's stored tone, not what was typed.
  grid.SetToneBoxText("typed but not left");
  grid.cboGridChCtdcs_GotFocus();
  EXPECT_EQ(grid.toneBox().text, "None");
}

TEST_F(ChannelGridTest, AClickElsewhereStoresThePendingToneAndClosesTheBox) {
  Start();
  Enter(2, 1, "146.525");
  grid.vsfgGridCh_Click(2, 3);
  grid.SetToneBoxText("D754I");
  grid.vsfgGridCh_Click(5, 6);
  EXPECT_EQ(Ch(2).rxTone, "D754I");
  EXPECT_EQ(Text(2, 4), "D754I");
  EXPECT_FALSE(grid.toneBox().visible);
  EXPECT_EQ(grid.toneBox().col, 0);
}

TEST_F(ChannelGridTest, DoubleClickCyclesAParameterAndWrapsOnItsLastItem) {
  Start();
  Enter(2, 1, "146.525");
  ASSERT_EQ(Ch(2).field[5], 1);  // Wide, the last of two items
  grid.vsfgGridCh_DblClick(2, 5);
  EXPECT_EQ(Ch(2).field[5], 0);
  EXPECT_EQ(Text(2, 5), "Narrow");
  for (const char* item : {"Carrier", "Tone", "Off"}) {
    grid.vsfgGridCh_DblClick(2, 8);
    EXPECT_EQ(Text(2, 8), item);
  }
  EXPECT_EQ(Ch(2).field[8], 0);
  // A typed text that is no item stores -1, which a double-click leaves alone.
  ASSERT_TRUE(grid.vsfgGridCh_BeforeEdit(2, 6));
  EXPECT_EQ(grid.editList(), "Low|High");
  grid.vsfgGridCh_AfterEdit(2, 6, "Low");
  EXPECT_EQ(Ch(2).field[6], 0);
  grid.vsfgGridCh_AfterEdit(2, 6, "Medium");
  grid.vsfgGridCh_DblClick(2, 6);
  EXPECT_EQ(Ch(2).field[6], -1);
}

TEST_F(ChannelGridTest, DoubleClickOnTheTransmitCellOfAReceiveOnlyChannelCopiesTheReceiveSide) {
  Start();
  Enter(2, 1, "130");
  Enter(2, 2, "");
  EnterTone(2, 3, "D023N");
  ASSERT_EQ(Ch(2).txTone, "");  // receive-only: the copied tone was emptied again
  grid.vsfgGridCh_DblClick(2, 2);
  EXPECT_EQ(Ch(2).field[2], 13000000);
  EXPECT_EQ(Back(2, 2), kOver);
  EXPECT_EQ(Row(2), (Texts{"130", "130", "D023N", "D023N", "Wide", "High", "On", "Off"}));
  EXPECT_EQ(Ch(2).txTone, "D023N");
  Enter(2, 2, "150");
  grid.vsfgGridCh_DblClick(2, 2);  // an existing transmit frequency is left alone
  EXPECT_EQ(Ch(2).field[2], 15000000);
  EnterTone(2, 4, "67");
  grid.vsfgGridCh_DblClick(2, 3);  // the receive tone takes the transmit tone
  EXPECT_EQ(Ch(2).rxTone, "67.0");
  EXPECT_EQ(Text(2, 3), "67.0");
}

// The right-button menu over channel 3: empty, with a frequency, locked, and without the lock
// entry.
TEST_F(ChannelGridTest, TheMenuOffersTheCommandsTheChannelAllows) {
  Start();
  struct Case {
    const char* name;
    bool withFrequency, lockVisible, lockChecked, delOneEnabled, delAllEnabled;
  };
  for (const Case& c : {Case{"EmptyChannel", false, true, false, false, true},
                        Case{"ChannelWithFrequency", true, true, false, true, true},
                        Case{"Locked", true, true, true, false, false},
                        Case{"NoLockEntry", true, false, false, true, true}}) {
    SCOPED_TRACE(c.name);
    if (c.withFrequency) Enter(3, 1, "146.525");
    const ChannelMenu menu = grid.vsfgGridCh_MouseDown(3, 5, c.lockVisible, c.lockChecked);
    ASSERT_TRUE(menu.popUp);
    EXPECT_EQ(grid.menuChannel(), 3);
    EXPECT_EQ(menu.delOne.caption, "Delete channel 3");
    EXPECT_EQ(menu.openCh.caption, "Open channel 3");
    EXPECT_EQ(menu.delOne.enabled, c.delOneEnabled);
    EXPECT_EQ(menu.delAll.enabled, c.delAllEnabled);
    EXPECT_FALSE(menu.openCh.enabled);
    EXPECT_FALSE(menu.saveDef.enabled);
    EXPECT_EQ(menu.lockSeparator, c.lockVisible);
    EXPECT_EQ(menu.popChLock.visible, c.lockVisible);
    EXPECT_EQ(menu.popChLock.checked, c.lockChecked);
    EXPECT_EQ(menu.popChLock.caption, c.lockVisible ? "&Lock Channel Interface" : "");
  }
}

TEST_F(ChannelGridTest, ARightPressOnALabelCellOpensNoMenu) {
  Start();
  EXPECT_FALSE(grid.vsfgGridCh_MouseDown(3, 0, true, false).popUp);
  EXPECT_FALSE(grid.vsfgGridCh_MouseDown(0, 3, true, false).popUp);
  EXPECT_EQ(grid.menuChannel(), 0);
}

TEST_F(ChannelGridTest, DeletingAllChannelsLeavesOnlyTheTemplatesParameterBytes) {
  Start();
  Enter(1, 1, "146.525");
  Enter(16, 1, "440");
  grid.vsfgGridCh_MouseDown(16, 1, true, false);
  grid.mnuDelAll_Click();
  for (int r = 1; r <= 16; ++r) {
    EXPECT_EQ(Row(r), kEmptyRow) << r;
    EXPECT_EQ(Ch(r).field[0], 1);
  }
  ASSERT_TRUE(doc.SaveAs(home.path() / "deleted.dat"));  // folds the table into the image
  for (int n = 1; n <= 16; ++n) {
    const int b = ChannelRecordAddress(n);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(doc.Image().at(b + i), 0xFF) << n << ":" << i;
    // Template bytes 12-15 are 00 00 FF FF; the kept fields 5 and 6 (Wide, High) set bits 5 and
    // 4 of byte 13, field 8 (Off) leaves byte 12 clear.
    EXPECT_EQ(doc.Image().at(b + 12), 0x00) << n;
    EXPECT_EQ(doc.Image().at(b + 13), 0x30) << n;
    EXPECT_EQ(doc.Image().at(b + 14), 0xFF) << n;
    EXPECT_EQ(doc.Image().at(b + 15), 0xFF) << n;
  }
}

TEST_F(ChannelGridTest, DeletingAfterOpeningAFileRestoresTheDefaultImagesRecord) {
  Start();
  MemoryImage image = doc.Image();
  // Channel 3: 146.525 / 146.525, 67.0 / D023N, bytes 12-15 all set.
  const uint8_t record[16] = {0x00, 0x25, 0x65, 0x14, 0x00, 0x25, 0x65, 0x14,
                              0x9E, 0x02, 0x13, 0x28, 0xFF, 0xFF, 0x5A, 0xA5};
  for (int i = 0; i < 16; ++i) image.set(ChannelRecordAddress(3) + i, record[i]);
  const std::filesystem::path file = home.path() / "radio.dat";
  SaveDataFile(file, image);
  ASSERT_TRUE(doc.OpenDataFile(file));
  grid.ShowChTblGrid();
  ASSERT_EQ(Row(3), (Texts{"146.525", "146.525", "67.0", "D023N", "Wide", "High", "Off", "Off"}));

  grid.vsfgGridCh_MouseDown(3, 2, true, false);
  grid.mnuDelOne_Click();
  const uint8_t templ[16] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                             0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF};
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(doc.Image().at(ChannelRecordAddress(3) + i), templ[i]) << i;
  EXPECT_EQ(Row(3), kEmptyRow);
  EXPECT_EQ(Back(3, 1), kDef);
  EXPECT_EQ(Ch(3).rxTone, "");
  EXPECT_FALSE(grid.toneBox().visible);
  // The row of the VFO is never deleted from the menu.
  ChannelGrid wide(wider);
  WidenTo120(wide);
  Change(100, [](ChannelRow& row) { row.field[1] = 14652500; });
  wide.vsfgGridCh_MouseDown(100, 1, true, false);
  wide.mnuDelOne_Click();
  EXPECT_EQ(doc.Channels()[100].field[1], 14652500);
  EXPECT_TRUE(report.lines().empty()) << report.lines().front();
}

TEST_F(ChannelGridTest, OpeningAChannelFillsItFromTheDefaultChannel) {
  const SettingsFile settings = Settings();
  // An eleven-field layout: two more parameters and a channel-name column.
  settings.WriteSetting("ChInfo", "3002", "11");
  settings.WriteSetting("ChInfo", "3003", "CH|Rx|Tx|Dec|Enc|BW|Pow|Scan|Busy|P9|P10|Name");
  const std::pair<int, const char*> extra[] = {
      {3600, "A|B|C"}, {3601, "3"},        {3602, "2"},        {3603, "A"},      {3604, "B"},
      {3605, "C"},     {3606, kEndOfItem}, {3650, "X|Y"},      {3651, "2"},      {3652, "0"},
      {3653, "X"},     {3654, "Y"},        {3655, kEndOfItem}, {3700, "CHNAME"}, {3701, "0"},
      {3702, "0"},     {3703, kEndOfItem}, {3352, "-1"},  // no transmit tone in the default channel
      {3302, "51"},                                       // receive tone D023N
  };
  for (const auto& [key, value] : extra)
    settings.WriteSetting("ChInfo", std::to_string(key), value);
  Start();
  ASSERT_EQ(grid.columns(), 12);

  grid.vsfgGridCh_MouseDown(7, 3, true, false);
  grid.mnuOpenCh_Click();
  EXPECT_EQ(Row(7), (Texts{"430", "430", "D023N", "", "Wide", "High", "On", "Off"}));
  EXPECT_EQ((Texts{Text(7, 9), Text(7, 10), Text(7, 11)}), (Texts{"C", "X", " CH-07"}));
  EXPECT_EQ(Back(7, 1), kOver);  // 430 MHz lies outside 136 - 174 MHz
  const ChannelRow& ch = Ch(7);
  EXPECT_EQ(
      (std::array{ch.field[0], ch.field[1], ch.field[2], ch.field[3], ch.field[4], ch.field[9]}),
      (std::array{1, 43000000, 43000000, 51, -1, 2}));
  EXPECT_EQ(ch.rxTone, "");  // the tone texts come only from an edit
  EXPECT_EQ(grid.current(), (CellPos{7, 1}));
  EXPECT_TRUE(report.lines().empty()) << report.lines().front();
  grid.ShowChTblGrid();  // the display of the table never writes the name column
  EXPECT_EQ(Text(7, 11), " CH-07");
}

TEST_F(ChannelGridTest, SavingAsDefaultInTraditionalChineseWritesItsOwnKeys) {
  Settings().WriteSetting("Setting", "Language", "2");
  Start();
  Enter(5, 1, "146.525");
  grid.vsfgGridCh_DblClick(5, 6);  // High to Low
  grid.vsfgGridCh_MouseDown(5, 1, true, false);
  grid.mnuSaveDef_Click();
  const SettingsFile settings = Settings();
  const std::pair<const char*, const char*> expected[] = {
      {"2202", "14652500"}, {"2252", "14652500"}, {"2302", "0"}, {"2352", "0"},
      {"2402", "1"},        {"2452", "0"},        {"2502", "1"}, {"2552", "0"},
      {"1202", "43000000"}, {"3202", "43000000"},  // the other languages' defaults stay
  };
  for (const auto& [key, value] : expected) {
    EXPECT_EQ(settings.ReadSetting("ChInfo", key, "?", 20), value) << key;
  }
  EXPECT_EQ(grid.current(), (CellPos{5, 1}));
  // The next channel opened from the defaults is the saved channel.
  grid.vsfgGridCh_MouseDown(6, 1, true, false);
  grid.mnuOpenCh_Click();
  EXPECT_EQ(Row(6), (Texts{"146.525", "146.525", "無", "無", "寬頻", "低", "開", "關"}));
}

TEST_F(ChannelGridTest, TheLockRefusesEveryEdit) {
  Start();
  Enter(2, 1, "146.525");
  grid.vsfgGridCh_Click(2, 3);  // a tone box left open when the lock comes
  grid.SetToneBoxText("67");
  doc.SetLock(true);
  const ChannelRow before2 = Ch(2);
  const ChannelRow before4 = Ch(4);
  const Texts texts = Row(2);

  grid.vsfgGridCh_Click(4, 3);
  EXPECT_FALSE(grid.editRequest().has_value());
  EXPECT_FALSE(grid.toneBox().visible);
  EXPECT_EQ(grid.toneBox().col, 0);
  EXPECT_EQ(Back(4, 1), kHighlight);
  EXPECT_EQ(Back(2, 1), kGridBackColor);
  grid.vsfgGridCh_Click(2, 6);
  EXPECT_FALSE(grid.editRequest().has_value());
  for (int c = 1; c <= 8; ++c) {
    EXPECT_FALSE(grid.vsfgGridCh_BeforeEdit(2, c)) << c;
    EXPECT_FALSE(grid.vsfgGridCh_BeforeEdit(4, c)) << c;
  }
  grid.vsfgGridCh_AfterEdit(4, 1, "146.525");
  grid.vsfgGridCh_AfterEdit(2, 1, "abc");
  grid.vsfgGridCh_AfterEdit(2, 6, "Low");
  for (int c = 2; c <= 8; ++c) grid.vsfgGridCh_DblClick(2, c);
  EXPECT_EQ(Ch(2), before2);
  EXPECT_EQ(Ch(4), before4);
  EXPECT_EQ(Row(2), texts);
  EXPECT_EQ(Row(4), kEmptyRow);
}

TEST_F(ChannelGridTest, AnItemNumberWithoutTextIsReportedAndTheRestIsShown) {
  Start();
  Change(2, [](ChannelRow& ch) {
    ch.field[1] = 14652500;
    ch.field[2] = -1;
    ch.field[5] = 47;
    ch.rxTone = "67.0";
    ch.txTone = "D023N";
  });
  grid.ShowChTblGrid();
  EXPECT_TRUE(Reported("modChMem->ChParaShow"));
  // No transmit frequency: neither it nor the transmit tone is shown.
  EXPECT_EQ((Texts{Text(2, 1), Text(2, 2), Text(2, 3), Text(2, 4)}),
            (Texts{"146.525", "", "67.0", ""}));
}

}  // namespace
}  // namespace tq
