#include "session/session.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "files/data_file.h"
#include "image/band.h"
#include "image/channel_codec.h"
#include "image/channel_table.h"
#include "image/memory_image.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

// A program folder holding copies of the shipped default image and settings file.
class SessionTest : public ::testing::Test {
 protected:
  SessionTest() { home.CopyShippedProgramFiles(); }

  std::vector<uint8_t> DefaultImageFile() const {
    const std::string text = TempFolder::Read(home.path() / kDefaultImageFileName);
    return {text.begin(), text.end()};
  }

  bool ReportMentions(const std::string& label) const { return testing::Mentions(report, label); }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
};

TEST_F(SessionTest, StartUpLoadsTheDefaultImageIntoImageAndTemplate) {
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp()) << (report.lines().empty() ? "" : report.lines().back());
  EXPECT_TRUE(report.lines().empty()) << report.lines().front();
  const std::vector<uint8_t> file = DefaultImageFile();
  ASSERT_EQ(file.size(), 8192u);
  EXPECT_TRUE(std::equal(file.begin(), file.end(), doc.Template().bytes().begin()));
  EXPECT_TRUE(std::equal(file.begin(), file.end(), doc.EditableImage().bytes().begin()));
  EXPECT_EQ(doc.BandPosition(), kDefaultBand);
  EXPECT_EQ(doc.CurrentDataPath(), home.path() / "Data" / "Untitled.dat");
  EXPECT_TRUE(std::filesystem::is_directory(home.path() / "Data"));
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(doc.Channels()[n].field[1], -1) << n;
}

TEST_F(SessionTest, ANewDataSetTakesTheOptionDefaultsNotTheImageBytes) {
  SettingsFile settings(home.path() / kSettingsFileName);
  settings.WriteSetting("Setting", "Language", "3");
  settings.WriteSetting("Option", "3001", "7");   // default time-out: 105 s
  settings.WriteSetting("Option", "3501", "12");  // current value, replaced by the default
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  EXPECT_EQ(doc.Options().OptSel[0], 7);
  EXPECT_EQ(settings.ReadSetting("Option", "3501", "", 19), "7");
}

TEST_F(SessionTest, SaveThenOpenReproducesTheImageAndKeepsTheTemplate) {
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  // Receive 146.525, transmit 146.525, receive tone 67.0, transmit tone off; band 136 - 174.
  const std::vector<uint8_t> record = {0x00, 0x25, 0x65, 0x14, 0x00, 0x25,
                                       0x65, 0x14, 0x9E, 0x02, 0xFF, 0xFF};
  MemoryImage image = doc.Image();
  for (std::size_t i = 0; i < record.size(); ++i) {
    image.set(ChannelRecordAddress(3) + static_cast<int>(i), record[i]);
  }
  image.set(0x037A, 0x13);
  image.set(0x037B, 0x60);
  image.set(0x037C, 0x17);
  image.set(0x037D, 0x40);
  SaveDataFile(home.path() / "edited.dat", image);
  ASSERT_TRUE(doc.OpenDataFile(home.path() / "edited.dat"));
  ASSERT_TRUE(doc.SaveAs(home.path() / "radio.dat"));
  const MemoryImage saved = doc.Image();
  const MemoryImage templ = doc.Template();

  Session other(home.path(), report);
  ASSERT_TRUE(other.StartUp());
  ASSERT_TRUE(other.OpenDataFile(home.path() / "radio.dat"));
  EXPECT_EQ(other.CurrentDataPath(), home.path() / "radio.dat");
  EXPECT_EQ(other.Template(), templ);
  EXPECT_EQ(other.BandPosition(), 0);
  EXPECT_EQ(other.Channels()[3].field[1], 14652500);
  EXPECT_EQ(other.Channels()[3].field[2], 14652500);
  EXPECT_EQ(other.Channels()[3].rxTone, "67.0");
  EXPECT_EQ(other.Channels()[3].txTone, "None");
  for (int a = 0; a <= 0x1FFF; ++a) {
    if (a < 0x0400 || a > 0x040F) {
      ASSERT_EQ(other.Image().at(a), saved.at(a)) << a;
    }
  }
}

TEST_F(SessionTest, FoldingAnUnchangedImageTouchesNoOtherByte) {
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  // Make every byte of the image distinct from the defaults, then decode and fold again.
  MemoryImage image = doc.Image();
  for (int a = 0; a <= 0x1FFF; ++a) image.set(a, static_cast<uint8_t>(a * 7 + 3));
  SaveDataFile(home.path() / "distinct.dat", image);
  ASSERT_TRUE(doc.OpenDataFile(home.path() / "distinct.dat"));
  const MemoryImage decoded = doc.Image();  // the model byte may have been corrected
  ASSERT_TRUE(doc.SaveAs(home.path() / "folded.dat"));
  const std::vector<int> optionBytes = {0x012F, 0x0130, 0x0131, 0x0134, 0x0135, 0x0136, 0x0138,
                                        0x013A, 0x013B, 0x03F6, 0x03F7, 0x03FC, 0x03FE, 0x03FF};
  for (int a = 0; a <= 0x1FFF; ++a) {
    const bool channels = a >= 0x0010 && a <= 0x010F;
    const bool flags = a == 0x0170 || a == 0x0171;
    const bool option = std::find(optionBytes.begin(), optionBytes.end(), a) != optionBytes.end();
    if (!channels && !flags && !option) {
      ASSERT_EQ(doc.Image().at(a), decoded.at(a)) << a;
    }
  }
  EXPECT_EQ(decoded.at(0x0379), 0) << "an unknown model is rewritten as model 0";
  EXPECT_NE(image.at(0x0379), 0);
}

// A radio image file keeps every byte it was opened with; only what the user edited reaches it.
TEST_F(SessionTest, ARadioImageSavesOnlyTheEditsOverItsOwnBytes) {
  std::vector<uint8_t> bytes(8192);
  for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<uint8_t>(k * 31 + 7);
  const std::filesystem::path radio = home.WriteBytes("radio.bin", bytes);
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  ASSERT_TRUE(doc.OpenDataFile(radio));

  // Unedited, the image goes back as it came (the unknown model byte included).
  ASSERT_TRUE(doc.SaveAs(home.path() / "same.bin"));
  EXPECT_EQ(TempFolder::Read(home.path() / "same.bin"), TempFolder::Read(radio));

  ChannelRow row = doc.Channels()[2];
  row.field[1] = 14652500;
  doc.EditChannel(2, row);
  ASSERT_TRUE(doc.SaveAs(home.path() / "edited.bin"));
  const std::string edited = TempFolder::Read(home.path() / "edited.bin");
  ASSERT_EQ(edited.size(), bytes.size());
  const int record = ChannelRecordAddress(2);
  for (std::size_t k = 0; k < bytes.size(); ++k) {
    const bool inRecord = k >= static_cast<std::size_t>(record) && k < record + 16u;
    const bool flagWord = k == 0x0170 || k == 0x0171;
    if (!inRecord && !flagWord) {
      ASSERT_EQ(static_cast<uint8_t>(edited[k]), bytes[k]) << k;
    }
  }
  EXPECT_EQ(edited.substr(static_cast<std::size_t>(record), 4), std::string("\x00\x25\x65\x14", 4));

  // The same data saved as a data file fold everything, as a data file always has.
  ASSERT_TRUE(doc.SaveAs(home.path() / "edited.dat"));
  MemoryImage folded;
  LoadDataFile(home.path() / "edited.dat", folded);
  EXPECT_EQ(folded.at(kModelAddress), 0);
}

TEST_F(SessionTest, AMissingDefaultImageIsReportedAndStartUpGoesOn) {
  std::filesystem::remove(home.path() / kDefaultImageFileName);
  Session doc(home.path(), report);
  EXPECT_TRUE(doc.StartUp());
  EXPECT_TRUE(ReportMentions("mdifrmMain->InitTempArray"));
  EXPECT_TRUE(ReportMentions("出错号:  53"));
}

TEST_F(SessionTest, ANonNumericImageSizeStopsStartUpWithAReport) {
  SettingsFile(home.path() / kSettingsFileName).WriteSetting("Setting", "DatNum", "big");
  Session doc(home.path(), report);
  EXPECT_FALSE(doc.StartUp());
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find("mdifrmMain->Form_Load"), std::string::npos);
  EXPECT_NE(report.lines()[1].find("出错号:  13"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(home.path() / "Data")) << "later steps are skipped";
}

TEST_F(SessionTest, AnInvalidLanguageMeansEnglishAndIsNotWrittenBack) {
  SettingsFile settings(home.path() / kSettingsFileName);
  for (const char* value : {"7", "abc", "-1"}) {
    settings.WriteSetting("Setting", "Language", value);
    Session doc(home.path(), report);
    doc.StartUp();
    EXPECT_EQ(doc.Language(), 3) << value;
    EXPECT_EQ(doc.Tones().OffText(), "None") << value;
    EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), value);
  }
}

TEST_F(SessionTest, ABrokenLayoutIsReportedButTheDataStillLoad) {
  // No section "ChInfo": the layout keeps its defaults and the first field list has no marker.
  const std::string text = TempFolder::Read(home.path() / kSettingsFileName);
  const auto start = text.find("[ChInfo]");
  const auto end = text.find("[Option]");
  ASSERT_NE(start, std::string::npos);
  ASSERT_NE(end, std::string::npos);
  home.Write(kSettingsFileName, text.substr(0, start) + text.substr(end));
  Session doc(home.path(), report);
  EXPECT_TRUE(doc.StartUp());
  EXPECT_TRUE(ReportMentions("modChMem->ReadChInfo"));
  EXPECT_EQ(doc.Layout().ChCount, 16);
  EXPECT_EQ(doc.Layout().ColCount, 9);
}

TEST_F(SessionTest, ANonNumericOptionValueIsReported) {
  SettingsFile settings(home.path() / kSettingsFileName);
  settings.WriteSetting("Setting", "Language", "3");
  settings.WriteSetting("Option", "3003", "loud");
  Session doc(home.path(), report);
  doc.StartUp();
  EXPECT_TRUE(ReportMentions("modSysSet->OptNowDefSol"));
}

TEST_F(SessionTest, FilesThatCannotBeOpenedOrSavedAreReported) {
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  const MemoryImage before = doc.Image();
  EXPECT_FALSE(doc.OpenDataFile(home.path() / "missing.dat"));
  EXPECT_FALSE(doc.OpenDataFile(home.Write("empty.dat", "")));
  EXPECT_TRUE(ReportMentions("mdifrmMain->OpenFile"));
  EXPECT_EQ(doc.Image(), before);
  EXPECT_EQ(doc.CurrentDataPath(), home.path() / "Data" / "Untitled.dat");
  EXPECT_FALSE(doc.SaveAs(home.path() / "no-such-folder" / "x.dat"));
  EXPECT_TRUE(ReportMentions("mdifrmMain->SaveDatFile"));
}

}  // namespace
}  // namespace tq
