// The optional-features controls of the channel window: their names and captions, how the fill
// shows OptSel and reports what does not fit, and how a choice lands in OptSel.
#include "ui/options_frame.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <algorithm>
#include <string>

#include "session/session.h"
#include "support/temp_folder.h"

namespace tq::ui {
namespace {

using tq::testing::TempFolder;

const char* const kLists[] = {"cboTot",      "cboSql",         "cboVolume",    "cboAnVoice",
                              "cboRadioSql", "cboRadioVolume", "cboAnChipSel", "cboCrystal",
                              "cboPreTot",   "cboVoxLevel",    "cboVoxDly",    "cboVoxRxForbid"};
const char* const kChecks[] = {"chkBatSave", "chkBeep", "chkEmergencyAlarm", "chkLowBatTx"};

// A document started in its own folder from the shipped default image and settings file, and
// the option controls built in a frame of their own.
class OptionsFrameTest : public ::testing::Test {
 protected:
  explicit OptionsFrameTest(const char* language = "3") {
    const std::filesystem::path shipped = TQ474_PROGRAM_DIR;
    std::filesystem::copy_file(shipped / kDefaultImageFileName, home / kDefaultImageFileName);
    std::filesystem::copy_file(shipped / kSettingsFileName, home / kSettingsFileName);
    SettingsFile settings(home / kSettingsFileName);
    settings.WriteSetting("Setting", "FirRun", "0");
    settings.WriteSetting("Setting", "Language", language);
    started = doc.StartUp();
    options.InitFace();
  }

  QComboBox* List(const char* name) { return frame.findChild<QComboBox*>(name); }
  QCheckBox* Check(const char* name) { return frame.findChild<QCheckBox*>(name); }
  QString Label(const char* name) { return frame.findChild<QLabel*>(name)->text(); }
  int16_t Sel(int slot) const { return doc.Options().OptSel[static_cast<std::size_t>(slot)]; }
  void SetSel(int slot, int16_t value) { doc.SetOption(slot, value); }
  // Stores defaults in the settings file and loads them, as a start does.
  void StoreDefaults(std::initializer_list<std::pair<int, int16_t>> defaults) {
    const SettingsFile settings(home / kSettingsFileName);
    const int base = doc.Language() * 1000;
    for (const auto& [slot, value] : defaults) {
      settings.WriteSetting("Option", std::to_string(base + 1 + slot), std::to_string(value));
    }
    doc.LoadStoredOptions();
  }
  bool ReportHas(const std::string& part) {
    const auto& lines = report.lines();
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(part) != std::string::npos;
    });
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc{home.path(), report};
  bool started = false;
  QGroupBox frame;
  OptionsFrame options{doc, &frame};
};

class OptionsFrameChineseTest : public OptionsFrameTest {
 protected:
  OptionsFrameChineseTest() : OptionsFrameTest("1") {}
};

TEST_F(OptionsFrameTest, EverySlotHasItsNamedControlInsideTheFrame) {
  ASSERT_TRUE(started);
  for (const char* name : kLists) {
    ASSERT_NE(List(name), nullptr) << name;
    const std::string label = "lbl" + std::string(name).substr(3);
    EXPECT_NE(frame.findChild<QLabel*>(QString::fromStdString(label)), nullptr) << label;
  }
  for (const char* name : kChecks) EXPECT_NE(Check(name), nullptr) << name;
}

TEST_F(OptionsFrameTest, EnglishCaptionsAndLists) {
  EXPECT_EQ(Label("lblTot"), "Time Out Timer[s]");
  EXPECT_EQ(Label("lblSql"), "Sql");
  EXPECT_EQ(Label("lblRadioSql"), "Radio Sql");
  EXPECT_EQ(Label("lblAnChipSel"), "An Chip Sel");
  EXPECT_EQ(Label("lblPreTot"), "TOT Pre-Alert[s]");
  EXPECT_EQ(Label("lblVoxDly"), "VOX Delay Time[s]");
  EXPECT_EQ(Label("lblVoxRxForbid"), "VOX inhibit on Rx");
  EXPECT_EQ(Check("chkBatSave")->text(), "Battery Save");
  EXPECT_EQ(Check("chkEmergencyAlarm")->text(), "Emergency Alarm");
  EXPECT_EQ(Check("chkLowBatTx")->text(), "Low Battery Tx Enable");

  options.InitOpt();
  QComboBox* tot = List("cboTot");
  ASSERT_EQ(tot->count(), 21);
  EXPECT_EQ(tot->itemText(0), "Off");
  EXPECT_EQ(tot->itemText(1), "15s");
  EXPECT_EQ(tot->itemText(8), "120s");
  EXPECT_EQ(tot->itemText(20), "300s");
  const std::pair<const char*, QStringList> lists[] = {
      {"cboAnVoice", {"Off", "Chinese", "English"}},
      {"cboAnChipSel", {"Male1-1", "Female NA021-2"}},
      {"cboCrystal", {"12.8MHz", "13.0MHz", "25.6MHz", "26.0MHz"}},
      {"cboVoxDly", {"0.3", "0.5", "1.0", "1.5", "2.0", "3.0"}},
      {"cboVoxRxForbid", {"Off", "On"}},
  };
  for (const auto& [name, entries] : lists) {
    QStringList shown;
    for (int i = 0; i < List(name)->count(); ++i) shown << List(name)->itemText(i);
    EXPECT_EQ(shown, entries) << name;
  }
  const std::tuple<const char*, int, QString, QString> numbered[] = {
      {"cboSql", 10, "0", "9"},       {"cboVolume", 16, "0", "15"},
      {"cboRadioSql", 33, "0", "32"}, {"cboRadioVolume", 16, "0", "15"},
      {"cboPreTot", 11, "Off", "10"}, {"cboVoxLevel", 11, "Off", "10"},
  };
  for (const auto& [name, count, first, last] : numbered) {
    ASSERT_EQ(List(name)->count(), count) << name;
    EXPECT_EQ(List(name)->itemText(0), first) << name;
    EXPECT_EQ(List(name)->itemText(count - 1), last) << name;
  }
}

TEST_F(OptionsFrameChineseTest, ChineseCaptionsAndLists) {
  EXPECT_EQ(Label("lblTot"), "超时定时器");
  EXPECT_EQ(Label("lblPreTot"), "超时定时器预警[秒]");
  EXPECT_EQ(Check("chkLowBatTx")->text(), "低电时允许发射");
  options.InitOpt();
  EXPECT_EQ(List("cboTot")->itemText(0), "关");
  EXPECT_EQ(List("cboTot")->itemText(1), "15秒");
  EXPECT_EQ(List("cboTot")->itemText(20), "300秒");
  EXPECT_EQ(List("cboAnChipSel")->itemText(1), "女声NA021-2");
  EXPECT_EQ(List("cboVoxRxForbid")->itemText(1), "开");
}

TEST_F(OptionsFrameTest, TheFillShowsEachSlotOfOptSel) {
  const int16_t values[kOptionCount] = {20, 9, 15, 2, 32, 0, 1, 0, 5, 1, 3, 10, 4, 5, 1, 0};
  for (int slot = 0; slot < kOptionCount; ++slot) SetSel(slot, values[slot]);
  options.InitOpt();
  EXPECT_TRUE(report.lines().empty());
  EXPECT_EQ(List("cboTot")->currentText(), "300s");
  EXPECT_EQ(List("cboSql")->currentIndex(), 9);
  EXPECT_EQ(List("cboVolume")->currentIndex(), 15);
  EXPECT_EQ(List("cboAnVoice")->currentText(), "English");
  EXPECT_EQ(List("cboRadioSql")->currentText(), "32");
  EXPECT_EQ(List("cboRadioVolume")->currentIndex(), 0);
  EXPECT_EQ(List("cboAnChipSel")->currentText(), "Female NA021-2");
  EXPECT_EQ(List("cboCrystal")->currentText(), "26.0MHz");
  EXPECT_EQ(List("cboPreTot")->currentText(), "10");
  EXPECT_EQ(List("cboVoxLevel")->currentText(), "4");
  EXPECT_EQ(List("cboVoxDly")->currentText(), "3.0");
  EXPECT_EQ(List("cboVoxRxForbid")->currentText(), "On");
  EXPECT_TRUE(Check("chkBatSave")->isChecked());
  EXPECT_FALSE(Check("chkBeep")->isChecked());
  EXPECT_TRUE(Check("chkEmergencyAlarm")->isChecked()) << "any non-zero value is checked";
  EXPECT_FALSE(Check("chkLowBatTx")->isChecked());
  // The handlers ran for the fill's own choices: OptSel holds what is shown.
  EXPECT_EQ(Sel(8), 1);
  EXPECT_EQ(Sel(0), 20);
  EXPECT_EQ(Sel(13), 5);
}

TEST_F(OptionsFrameTest, ARefillDoesNotPassThroughOtherValues) {
  SetSel(0, 6);
  SetSel(12, 3);
  options.InitOpt();
  options.InitOpt();
  EXPECT_EQ(List("cboTot")->count(), 21) << "the list is cleared before it is filled";
  EXPECT_EQ(List("cboTot")->currentText(), "90s");
  EXPECT_EQ(Sel(0), 6);
  EXPECT_EQ(Sel(12), 3);
}

TEST_F(OptionsFrameTest, AnOutOfRangeValueIsNotedAndShowsTheDefault) {
  StoreDefaults({{0, 4}, {9, 1}});
  SetSel(0, 21);
  SetSel(9, 2);  // voice-chip bits 10
  options.InitOpt();
  ASSERT_EQ(report.lines().size(), 4u);
  EXPECT_EQ(
      report.lines()[1],
      "        可选功能项:   出错位置: frmChMem->InitOpt->超时定时器     错误类型: 不在范围内");
  EXPECT_EQ(
      report.lines()[3],
      "        可选功能项:   出错位置: frmChMem->InitOpt->语音片选择     错误类型: 不在范围内");
  EXPECT_EQ(List("cboTot")->currentText(), "60s");
  EXPECT_EQ(List("cboAnChipSel")->currentText(), "Female NA021-2");
  EXPECT_EQ(Sel(0), 4) << "the shown default went into OptSel";
  EXPECT_EQ(Sel(9), 1);
}

TEST_F(OptionsFrameTest, ANegativeSlotSelectsNothing) {
  SetSel(2, -1);
  options.InitOpt();
  EXPECT_EQ(List("cboVolume")->count(), 16);
  EXPECT_EQ(List("cboVolume")->currentIndex(), -1);
  EXPECT_EQ(Sel(2), -1);
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(OptionsFrameTest, ADefaultOutsideItsListEndsTheFillWithAReport) {
  StoreDefaults({{4, 33}});
  SetSel(4, 40);
  SetSel(11, 2);
  options.InitOpt();
  EXPECT_TRUE(ReportHas("frmChMem->InitOpt->收音机静噪电平   错误类型"));
  EXPECT_TRUE(ReportHas("错误:  frmChMem->InitOpt     出错号:  380"));
  EXPECT_EQ(List("cboVolume")->count(), 16) << "the options before it are filled";
  EXPECT_EQ(List("cboRadioSql")->currentIndex(), -1);
  EXPECT_EQ(List("cboPreTot")->count(), 0) << "the options after it are not";
  EXPECT_EQ(Sel(11), 2);
}

TEST_F(OptionsFrameTest, AChoiceGoesIntoOptSelAtOnce) {
  options.InitOpt();
  QComboBox* voxDelay = List("cboVoxDly");
  voxDelay->setCurrentIndex(0);
  voxDelay->setFocus();
  QTest::keyClick(voxDelay, Qt::Key_Down);
  EXPECT_EQ(voxDelay->currentText(), "0.5");
  EXPECT_EQ(Sel(13), 1);
  List("cboRadioSql")->setCurrentIndex(17);
  EXPECT_EQ(Sel(4), 17);
  List("cboCrystal")->setCurrentIndex(2);
  EXPECT_EQ(Sel(10), 2);

  // The shipped defaults have the beep on; a click turns it off and another on again.
  QCheckBox* beep = Check("chkBeep");
  ASSERT_TRUE(beep->isChecked());
  beep->click();
  EXPECT_EQ(Sel(7), 0);
  beep->click();
  EXPECT_EQ(Sel(7), 1);
  EXPECT_TRUE(report.lines().empty());
}

}  // namespace
}  // namespace tq::ui
