#include "editor/channel_csv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "base/error_report.h"
#include "editor/channel_grid.h"
#include "image/channel_table.h"
#include "image/tone_table.h"
#include "session/session.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";

// A simplex with tone squelch, a repeater, a cross-DCS split and a receive-only channel.
constexpr const char* kExampleRows =
    "1,,446.006250,,0.600000,TSQL,67.0,67.0,023,NN,023,Tone->Tone,NFM,6.25,,0.5W,,,,,\n"
    "2,,145.725000,-,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n"
    "3,,435.000000,split,438.500000,Cross,88.5,88.5,023,NR,754,DTCS->DTCS,NFM,5.00,,1.0W,,,,,\n"
    "4,,162.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,5.0W,,,,,\n";

// A started data set in a program folder of its own, with the grid the import goes through.
struct DataSet {
  explicit DataSet(const TempFolder& home) : doc(home.path(), report) {
    EXPECT_TRUE(doc.StartUp());
    grid.SetChGrid();
    grid.ShowChTblGrid();
  }
  CsvRows Import(const std::string& csv) {
    CsvRows rows = ParseChannelCsv(csv, doc, ReadCsvMapping(doc.Settings()));
    EnterCsvChannels(grid, doc, rows);
    return rows;
  }
  // The channel records and the flag word as a save writes them.
  std::string Records() {
    const MemoryImage image = doc.ImageAsSaved();
    std::string bytes;
    for (int a = kChannelBase; a < ChannelRecordAddress(17); ++a)
      bytes += static_cast<char>(image.at(a));
    bytes += static_cast<char>(image.at(kFlagWordLow));
    bytes += static_cast<char>(image.at(kFlagWordHigh));
    return bytes;
  }
  ErrorReport report;
  Session doc;
  ChannelGrid grid{doc};
};

class ChannelCsvTest : public ::testing::Test {
 protected:
  ChannelCsvTest() { home.CopyShippedProgramFiles(); }
  TempFolder home;
};

TEST_F(ChannelCsvTest, TheExampleRowsBecomeTheExpectedChannels) {
  DataSet set(home);
  const CsvRows rows = set.Import(std::string(kHeader) + kExampleRows);
  ASSERT_TRUE(rows.readable);
  EXPECT_EQ(rows.channels.size(), 4u);
  for (const CsvProblem& problem : rows.problems) EXPECT_FALSE(problem.refused) << problem.reason;
  const ChannelTable& ch = set.doc.Channels();
  EXPECT_EQ(ch[1].field[1], 44600625);
  EXPECT_EQ(ch[1].field[2], 44600625);
  EXPECT_EQ(ch[1].rxTone, "67.0");
  EXPECT_EQ(ch[1].txTone, "67.0");
  EXPECT_EQ(ch[2].field[2], 14512500) << "145.725 - 0.6";
  EXPECT_EQ(ch[2].rxTone, set.doc.Tones().OffText());
  EXPECT_EQ(ch[2].txTone, "88.5");
  EXPECT_EQ(ch[3].field[2], 43850000);
  EXPECT_EQ(ch[3].txTone, "D023N");
  EXPECT_EQ(ch[3].rxTone, "D754I");
  EXPECT_EQ(ch[4].field[2], -1) << "receive-only: no transmit frequency";
  // Mode, power (0.5 W is nearest to Low) and the scan list.
  EXPECT_EQ((std::array{ch[1].field[5], ch[1].field[6], ch[1].field[7]}), (std::array{0, 0, 1}));
  EXPECT_EQ((std::array{ch[4].field[5], ch[4].field[6], ch[4].field[7]}), (std::array{1, 1, 0}));

  const std::string records = set.Records();
  const auto bytes = [&](int address, int count) {
    return records.substr(static_cast<std::size_t>(address - kChannelBase),
                          static_cast<std::size_t>(count));
  };
  EXPECT_EQ(bytes(0x10, 4), std::string("\x25\x06\x60\x44", 4));  // 446.00625 MHz, BCD
  EXPECT_EQ(bytes(0x18, 4), std::string("\x9E\x02\x9E\x02", 4));  // 67.0 Hz both ways
  EXPECT_EQ(bytes(0x38, 4), std::string("\xEC\xA9\x13\x28", 4));  // D754I in, D023N out
  EXPECT_EQ(bytes(0x44, 4), std::string("\xFF\xFF\xFF\xFF", 4));  // channel 4 transmits nothing
}

TEST_F(ChannelCsvTest, ExportThenImportKeepsRandomChannelsByteForByte) {
  std::mt19937 random(474);
  const ToneTable toneTable(3);
  const std::vector<std::string>& tones = toneTable.List();
  for (int round = 0; round < 20; ++round) {
    DataSet from(home);
    for (int n = 1; n <= 16; ++n) {
      if (random() % 5 == 0) continue;  // an empty channel
      const int32_t rx = 40000000 + static_cast<int32_t>(random() % 7000000);
      from.grid.vsfgGridCh_AfterEdit(n, 1, FrequencyText(rx));
      const int kind = static_cast<int>(random() % 3);
      from.grid.vsfgGridCh_AfterEdit(
          n, 2,
          kind == 0 ? ""
                    : FrequencyText(
                          kind == 1 ? rx : rx - 500000 + static_cast<int32_t>(random() % 1000000)));
      from.grid.vsfgGridCh_Click(n, 3);
      from.grid.cboGridChCtdcs_LostFocus(tones[random() % tones.size()]);
      if (kind != 0) {
        from.grid.vsfgGridCh_Click(n, 4);
        from.grid.cboGridChCtdcs_LostFocus(tones[random() % tones.size()]);
      }
      for (int c = 5; c <= 8; ++c) {
        const unsigned count = c == 8 ? 3 : 2;
        from.grid.vsfgGridCh_AfterEdit(
            n, c, from.doc.Layout().FieldText(c, 3 + static_cast<int>(random() % count)));
      }
    }
    const std::string csv = ChannelsToCsv(from.doc, ReadCsvMapping(from.doc.Settings()));
    DataSet to(home);
    const CsvRows rows = to.Import(csv);
    for (const CsvProblem& problem : rows.problems) EXPECT_FALSE(problem.refused) << problem.reason;
    const std::string a = from.Records();
    const std::string b = to.Records();
    const auto [at, _] = std::mismatch(a.begin(), a.end(), b.begin());
    ASSERT_EQ(at - a.begin(), static_cast<long>(a.size())) << "round " << round << "\n" << csv;
  }
}

TEST_F(ChannelCsvTest, ASpreadsheetsFileImportsTheSameChannels) {
  DataSet plain(home);
  plain.Import(std::string(kHeader) + kExampleRows);
  // Semicolons, decimal commas, other spellings, columns in another order and short rows.
  DataSet sheet(home);
  const CsvRows rows = sheet.Import(
      "\xEF\xBB\xBF# exported from a spreadsheet\n"
      "Frequency;Location;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;"
      "RxDtcsCode;CrossMode;Mode;Power;Skip\r\n"
      "446,00625;1;;;tsql;67;67;;;;;nfm;low\r\n"
      "145,725;2;-;0,6;TONE;88,5;;;;;;FM;High\r\n"
      "435;3;split;438,5;cross;;;23;nr;754;dtcs->dtcs;NFM;1\r\n"
      "162,55;4;OFF;;;;;;;;;fm;5W;S\r\n");
  for (const CsvProblem& problem : rows.problems) EXPECT_FALSE(problem.refused) << problem.reason;
  EXPECT_EQ(sheet.Records(), plain.Records());
  // Cells copied from a spreadsheet come as tab-separated text.
  DataSet pasted(home);
  std::string tabs = std::string(kHeader) + kExampleRows;
  std::replace(tabs.begin(), tabs.end(), ',', '\t');
  pasted.Import(tabs);
  EXPECT_EQ(pasted.Records(), plain.Records());
}

TEST_F(ChannelCsvTest, RefusedRowsAreNamedAndTheRestIsTaken) {
  DataSet set(home);
  const CsvRows rows = set.Import(std::string(kHeader) +
                                  "1,,146520,,,,,,,,,,,,,,,,,,\n"              // line 2: kHz
                                  ",,446.1,off,,,,,,,,,,,,,,,,,\n"             // line 3: taken
                                  "17,,446.2,,,,,,,,,,,,,,,,,,\n"              // line 4
                                  ",,446.3,,,TSQL-R,88.5,88.5,,,,,,,,,,,,,\n"  // line 5
                                  ",,446.4,,,,,,,,,,AM,,,,,,,,\n"              // line 6
                                  ",,,,,,,,,,,,,,,,,,,,\n"                     // no frequency
                                  ",,446.5,split,abc,,,,,,,,,,,,,,,,\n");      // line 8
  std::vector<std::pair<int, std::string>> refused;
  for (const CsvProblem& problem : rows.problems) {
    if (problem.refused) refused.emplace_back(problem.line, problem.column);
  }
  EXPECT_EQ(refused,
            (std::vector<std::pair<int, std::string>>{
                {2, "Frequency"}, {4, "Location"}, {5, "Tone"}, {6, "Mode"}, {8, "Offset"}}));
  EXPECT_EQ(set.doc.Channels()[1].field[1], 44610000);
  EXPECT_EQ(set.doc.Channels()[1].field[2], -1) << "off stays receive-only";

  for (const std::string& bad :
       {std::string(), std::string("not,a,channel\n1,2,3\n"), std::string("Frequency\n\xC3\x28\n"),
        std::string(kCsvMaxBytes + 1, 'x')}) {
    DataSet untouched(home);
    const std::string before = untouched.Records();
    EXPECT_FALSE(untouched.Import(bad).readable);
    EXPECT_EQ(untouched.Records(), before);
  }
}

}  // namespace
}  // namespace tq

namespace tq {
namespace {

// Undo and Redo walk back and forth through typed edits, a paste, a move, an import, an option
// and the band, each gesture one step, the image as a save writes it restored byte for byte.
TEST_F(ChannelCsvTest, UndoAndRedoRestoreTheImageStepByStep) {
  DataSet set(home);
  const auto image = [&] {
    const MemoryImage saved = set.doc.ImageAsSaved();
    return std::string(saved.bytes().begin(), saved.bytes().end());
  };
  std::vector<std::string> states = {image()};
  const auto step = [&](const std::function<void()>& gesture) {
    gesture();
    states.push_back(image());
    ASSERT_NE(states.back(), states[states.size() - 2]) << "the gesture changed something";
  };
  step([&] { set.grid.vsfgGridCh_AfterEdit(1, 1, "446.1"); });
  step([&] {
    set.grid.vsfgGridCh_Click(1, 3);
    set.grid.cboGridChCtdcs_LostFocus("67");
  });
  step([&] { set.grid.vsfgGridCh_AfterEdit(1, 6, "Low"); });
  step([&] {
    CsvRows rows = ParseChannelCsv(std::string(kHeader) + kExampleRows, set.doc,
                                   ReadCsvMapping(set.doc.Settings()));
    PasteCsvChannels(set.grid, set.doc, rows, 5);
  });
  step([&] { EXPECT_TRUE(set.grid.MoveChannel(5, -1)); });
  step([&] { set.Import(std::string(kHeader) + ",,440.5,,,,,,,,,,,,,,,,,,\n"); });
  step([&] { set.doc.SetOption(1, 2); });
  step([&] { set.doc.cboFrequency_Click(0); });

  for (std::size_t k = states.size() - 1; k > 0; --k) {
    ASSERT_TRUE(set.doc.CanUndo()) << k;
    set.doc.Undo();
    EXPECT_TRUE(image() == states[k - 1]) << "undo to state " << k - 1;
  }
  EXPECT_FALSE(set.doc.CanUndo());
  for (std::size_t k = 1; k < states.size(); ++k) {
    set.doc.Redo();
    EXPECT_TRUE(image() == states[k]) << "redo to state " << k;
  }
  EXPECT_FALSE(set.doc.CanRedo());
  set.doc.Undo();
  set.grid.vsfgGridCh_AfterEdit(2, 1, "441");
  EXPECT_FALSE(set.doc.CanRedo()) << "a new change ends the redo";
  set.doc.NewDataSet();
  EXPECT_FALSE(set.doc.CanUndo()) << "a new data set starts a new history";
}

}  // namespace
}  // namespace tq
