#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "session/session.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

// Windows that record the order of their start-up steps and of the session's notices, and answer
// the system questions.
class Recording final : public SessionWindows, public SessionObserver {
 public:
  Recording(Session& session, int locale, std::vector<std::string>& steps)
      : session_(session), locale_(locale), steps_(steps) {
    session_.Subscribe(*this);
  }
  ~Recording() override { session_.Unsubscribe(*this); }
  int SystemLocale() override { return locale_; }
  bool TestComPort(int16_t port) override {
    steps_.push_back("test " + std::to_string(port));
    return port == 3;
  }
  int16_t AutoSetPort() override {
    steps_.push_back("auto");
    return 3;
  }
  void CheckLanguageMenu(int16_t l) override { steps_.push_back("menu " + std::to_string(l)); }
  void SetSoftFace() override { steps_.push_back("texts"); }
  void InitChannelWindow() override { steps_.push_back("channel window"); }
  void SetGridMemDat() override { steps_.push_back("memory grid"); }
  void ShowChannelWindow() override { steps_.push_back("show"); }
  void OpenCustomRange() override { steps_.push_back("custom range"); }
  void DataReplaced() override { steps_.push_back("new data"); }
  void LockChanged(bool locked) override { steps_.push_back(locked ? "locked" : "unlocked"); }

 private:
  Session& session_;
  int locale_;
  std::vector<std::string>& steps_;
};

// A program folder with the shipped default image; the settings file is what each test writes.
class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() {
    std::filesystem::copy_file(std::filesystem::path(TQ474_PROGRAM_DIR) / kDefaultImageFileName,
                               home / kDefaultImageFileName);
  }

  TempFolder home;
  SettingsFile settings{home / kSettingsFileName};
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
};

TEST_F(StartUpTest, AFirstStartWithoutSettingsDetectsLanguageAndPortInOrder) {
  std::vector<std::string> steps;
  Session doc(home.path(), report);
  Recording windows_doc(doc, 0x0804, steps);
  ASSERT_TRUE(doc.StartUp(&windows_doc));
  EXPECT_EQ(settings.ReadSetting("Setting", "FirRun", "", 2), "0");
  EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), "1");
  EXPECT_EQ(doc.Language(), 1);
  EXPECT_EQ(doc.Tones().OffText(), "无");
  EXPECT_EQ(doc.ComPort(), 3);
  EXPECT_EQ(steps,
            (std::vector<std::string>{"auto", "menu 1", "test 1", "auto", "texts", "channel window",
                                      "new data", "memory grid", "show", "unlocked"}));
  // The second start runs no detection.
  steps.clear();
  Session again(home.path(), report);
  Recording windows_again(again, 0x0409, steps);
  ASSERT_TRUE(again.StartUp(&windows_again));
  EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), "1");
  EXPECT_EQ(steps.front(), "menu 1");
}

TEST_F(StartUpTest, EveryOtherLocaleMeansEnglish) {
  for (const int locale : {0x0404, 0x0409, 0x0000}) {
    settings.WriteSetting("Setting", "FirRun", "1");
    std::vector<std::string> steps;
    Session doc(home.path(), report);
    Recording windows_doc(doc, locale, steps);
    doc.StartUp(&windows_doc);
    EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), "3") << locale;
  }
}

TEST_F(StartUpTest, AnInvalidPortNumberStopsStartUpWithOneReport) {
  settings.WriteSetting("Setting", "FirRun", "0");
  settings.WriteSetting("Setting", "COM", "17");
  std::vector<std::string> steps;
  Session doc(home.path(), report);
  Recording windows_doc(doc, 0x0409, steps);
  EXPECT_FALSE(doc.StartUp(&windows_doc));
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find("mdifrmMain->Form_Load"), std::string::npos);
  EXPECT_EQ(steps, (std::vector<std::string>{"menu 2"})) << "the steps after the port are skipped";
}

TEST_F(StartUpTest, OnlyTheExactLockTextLocks) {
  settings.WriteSetting("Setting", "FirRun", "0");
  for (const auto& [text, locked] : std::vector<std::pair<std::string, bool>>{
           {"ShowLock", true}, {"showlock", false}, {"SHOWLOCK", false}, {"ShowNo", false}}) {
    settings.WriteSetting("Setting", "ChannelLock", text);
    std::vector<std::string> steps;
    Session doc(home.path(), report);
    Recording windows_doc(doc, 0x0409, steps);
    ASSERT_TRUE(doc.StartUp(&windows_doc));
    EXPECT_EQ(steps.back(), locked ? "locked" : "unlocked") << text;
  }
}

TEST_F(StartUpTest, AddressTextsGiveTheirValuesAndBadTextsKeepTheDefaults) {
  settings.WriteSetting("Setting", "FirRun", "0");
  settings.WriteSetting("Setting", "ReadEndAddr", "1F");
  settings.WriteSetting("Setting", "WriteStartAddr", "8000");
  settings.WriteSetting("Setting", "TableMaxAddr", "zz");
  std::vector<std::string> steps;
  Session doc(home.path(), report);
  Recording windows_doc(doc, 0x0409, steps);
  ASSERT_TRUE(doc.StartUp(&windows_doc));
  EXPECT_EQ(doc.AddressValue(AddressBox::ReadEnd), 0x1F);
  EXPECT_EQ(doc.AddressValue(AddressBox::WriteStart), -32768) << "above 0x7FFF reads as negative";
  EXPECT_EQ(doc.AddressText(AddressBox::TableMax), "zz");
  EXPECT_EQ(doc.AddressValue(AddressBox::TableMax), 0x1FFF);
  EXPECT_EQ(doc.FillAddresses().end, 0x1FFF);
  const auto mentions = [&](const std::string& label) { return testing::Mentions(report, label); };
  EXPECT_TRUE(mentions("frmCommun->txtMaxAddr_Change"));
  EXPECT_FALSE(mentions("frmCommun->txtReadEndAddr_Change"));
  EXPECT_FALSE(mentions("mdifrmMain->Form_Load")) << "a bad address does not stop start-up";
  // A write range from -32768 to 0x1FFF has more blocks than a script list holds.
  EXPECT_TRUE(mentions("modCommun->InitProtocol"));
}

// Typing into the address boxes: every text is stored as typed, and only hexadecimal texts move
// the address the next transfer uses.
TEST_F(StartUpTest, AddressBoxesStoreEveryTextAndKeepTheLastHexValue) {
  settings.WriteSetting("Setting", "FirRun", "0");
  Session doc(home.path(), report);
  ASSERT_TRUE(doc.StartUp());
  const std::size_t startUpLines = report.lines().size();
  EXPECT_TRUE(doc.AddressTextChanged(AddressBox::ReadEnd, "1F"));
  EXPECT_EQ(settings.ReadSetting("Setting", "ReadEndAddr", "", 14), "1F");
  EXPECT_TRUE(doc.AddressTextChanged(AddressBox::ReadEnd, "1FF"));
  EXPECT_EQ(settings.ReadSetting("Setting", "ReadEndAddr", "", 14), "1FF");
  EXPECT_EQ(doc.AddressValue(AddressBox::ReadEnd), 0x1FF);
  EXPECT_EQ(report.lines().size(), startUpLines);

  EXPECT_FALSE(doc.AddressTextChanged(AddressBox::ReadEnd, ""));
  EXPECT_EQ(settings.ReadSetting("Setting", "ReadEndAddr", "x", 14), "");
  EXPECT_EQ(doc.AddressValue(AddressBox::ReadEnd), 0x1FF) << "an empty box keeps the address";
  ASSERT_GT(report.lines().size(), startUpLines);
  EXPECT_NE(report.lines().back().find("frmCommun->txtReadEndAddr_Change"), std::string::npos);

  EXPECT_FALSE(doc.AddressTextChanged(AddressBox::TableMax, "12G"));
  EXPECT_EQ(settings.ReadSetting("Setting", "TableMaxAddr", "", 14), "12G");
  EXPECT_EQ(doc.AddressValue(AddressBox::TableMax), 0x1FFF);
  EXPECT_TRUE(doc.AddressTextChanged(AddressBox::WriteStart, "FFFF"));
  EXPECT_EQ(doc.AddressValue(AddressBox::WriteStart), -1)
      << "no range check follows the 16-bit reading";
  EXPECT_TRUE(doc.AddressTextChanged(AddressBox::WriteEnd, "0100"));
  EXPECT_EQ(doc.AddressValue(AddressBox::WriteEnd), 0x100);
  EXPECT_EQ(doc.AddressValue(AddressBox::ReadStart), 0) << "the other boxes keep their addresses";
}

}  // namespace
}  // namespace tq
