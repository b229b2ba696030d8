// The optional-features controls of the channel window: their names and captions in both
// languages, the lists they offer, how a fill shows OptSel, and that every control stores into
// its own slot. Which index a value shows and which values are noted is the option codec's rule
// and is tested with it.
#include "ui/options_frame.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <string>

#include "session/session.h"
#include "support/outcomes.h"
#include "support/program.h"
#include "support/temp_folder.h"

namespace tq::ui {
namespace {

using tq::testing::TempFolder;

// The controls in slot order; the names starting "chk" are check boxes, the others lists.
const char* const kSlots[kOptionCount] = {
    "cboTot",         "cboSql",     "cboVolume",   "cboAnVoice",        "cboRadioSql",
    "cboRadioVolume", "chkBatSave", "chkBeep",     "chkEmergencyAlarm", "cboAnChipSel",
    "cboCrystal",     "cboPreTot",  "cboVoxLevel", "cboVoxDly",         "cboVoxRxForbid",
    "chkLowBatTx"};

bool IsCheck(int slot) {
  return std::string(kSlots[slot]).starts_with("chk");
}

// A document started in its own folder from the shipped default image and settings file, and
// the option controls built in a frame of their own.
class OptionsFrameTest : public ::testing::Test {
 protected:
  explicit OptionsFrameTest(const char* language = "3") {
    tq::testing::PrepareHome(home, language);
    started = doc.StartUp();
    options.InitFace();
  }

  QComboBox* List(const char* name) { return frame.findChild<QComboBox*>(name); }
  QCheckBox* Check(const char* name) { return frame.findChild<QCheckBox*>(name); }
  QString Label(const char* name) { return frame.findChild<QLabel*>(name)->text(); }
  int16_t Sel(int slot) const { return doc.Options().OptSel[static_cast<std::size_t>(slot)]; }
  // Stores defaults in the settings file and loads them, as a start does.
  void StoreDefaults(std::initializer_list<std::pair<int, int16_t>> defaults) {
    const SettingsFile settings(home / kSettingsFileName);
    const int base = doc.Language() * 1000;
    for (const auto& [slot, value] : defaults) {
      settings.WriteSetting("Option", std::to_string(base + 1 + slot), std::to_string(value));
    }
    doc.LoadStoredOptions();
  }
  bool ReportHas(const std::string& part) { return tq::testing::Mentions(report, part); }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc{home.path(), report};
  bool started = false;
  QGroupBox frame;
  OptionsFrame options{doc, &frame};
};

// Every slot has its named control and, for a list, its label; the captions come from the
// language's texts, and every list offers the entries up to the top the option codec allows.
TEST_F(OptionsFrameTest, EverySlotHasItsNamedControlCaptionAndList) {
  ASSERT_TRUE(started);
  options.InitOpt();
  for (int slot = 0; slot < kOptionCount; ++slot) {
    const std::string name = kSlots[slot];
    if (IsCheck(slot)) {
      ASSERT_NE(Check(kSlots[slot]), nullptr) << name;
      EXPECT_FALSE(Check(kSlots[slot])->text().isEmpty()) << name;
      continue;
    }
    ASSERT_NE(List(kSlots[slot]), nullptr) << name;
    const auto* label = frame.findChild<QLabel*>(QString::fromStdString("lbl" + name.substr(3)));
    ASSERT_NE(label, nullptr) << name;
    EXPECT_FALSE(label->text().isEmpty()) << name;
    EXPECT_EQ(List(kSlots[slot])->count(), kOptionMax[static_cast<std::size_t>(slot)] + 1) << name;
  }
  EXPECT_EQ(Label("lblTot"), "Time Out Timer[s]");
  EXPECT_EQ(Check("chkLowBatTx")->text(), "Low Battery Tx Enable");
  EXPECT_EQ(List("cboTot")->itemText(20), "300s");
  EXPECT_EQ(List("cboCrystal")->itemText(3), "26.0MHz");
}

class OptionsFrameChineseTest : public OptionsFrameTest {
 protected:
  OptionsFrameChineseTest() : OptionsFrameTest("1") {}
};

TEST_F(OptionsFrameChineseTest, ChineseCaptionsAndLists) {
  options.InitOpt();
  EXPECT_EQ(Label("lblTot"), "超时定时器");
  EXPECT_EQ(List("cboTot")->itemText(20), "300秒");
}

// After a fill every control shows its slot, and the handlers that ran for the fill's own
// choices left OptSel holding what is shown.
TEST_F(OptionsFrameTest, TheFillShowsEverySlotAndOptSelHoldsWhatIsShown) {
  StoreDefaults({{0, 4}});
  // Slot 0 is out of range (its default shows), slot 2 negative (nothing selected), slot 8 a
  // check box holding 5.
  const int16_t values[kOptionCount] = {21, 9, -1, 2, 32, 0, 1, 0, 5, 1, 3, 10, 4, 5, 1, 0};
  const int16_t shown[kOptionCount] = {4, 9, -1, 2, 32, 0, 1, 0, 1, 1, 3, 10, 4, 5, 1, 0};
  for (int slot = 0; slot < kOptionCount; ++slot) doc.SetOption(slot, values[slot]);
  options.InitOpt();
  options.InitOpt();
  for (int slot = 0; slot < kOptionCount; ++slot) {
    if (IsCheck(slot)) {
      EXPECT_EQ(Check(kSlots[slot])->isChecked(), shown[slot] != 0) << kSlots[slot];
    } else {
      EXPECT_EQ(List(kSlots[slot])->currentIndex(), shown[slot]) << kSlots[slot];
    }
    EXPECT_EQ(Sel(slot), shown[slot]) << kSlots[slot];
  }
  EXPECT_EQ(List("cboTot")->count(), 21) << "a refill clears the list before it fills it";
  EXPECT_EQ(List("cboTot")->currentText(), "60s");
  EXPECT_EQ(report.lines().size(), 2u) << "slot 0 is noted by the first fill only: its shown "
                                          "default went into OptSel";
}

TEST_F(OptionsFrameTest, ADefaultOutsideItsListEndsTheFillWithAReport) {
  StoreDefaults({{4, 33}});
  doc.SetOption(4, 40);
  options.InitOpt();
  EXPECT_TRUE(ReportHas("错误:  frmChMem->InitOpt     出错号:  380"));
  EXPECT_EQ(List("cboVolume")->count(), 16) << "the options before it are filled";
  EXPECT_EQ(List("cboRadioSql")->currentIndex(), -1);
  EXPECT_EQ(List("cboPreTot")->count(), 0) << "the options after it are not";
}

TEST_F(OptionsFrameTest, EveryControlStoresIntoItsOwnSlotAtOnce) {
  options.InitOpt();
  for (int slot = 0; slot < kOptionCount; ++slot) {
    const OptionValues before = doc.Options();
    int16_t expected = 0;
    if (IsCheck(slot)) {
      QCheckBox* check = Check(kSlots[slot]);
      check->click();
      expected = check->isChecked() ? 1 : 0;
    } else {
      QComboBox* list = List(kSlots[slot]);
      list->setCurrentIndex(list->currentIndex() == 0 ? 1 : 0);
      expected = static_cast<int16_t>(list->currentIndex());
    }
    ASSERT_NE(expected, before.OptSel[static_cast<std::size_t>(slot)]) << kSlots[slot];
    for (int other = 0; other < kOptionCount; ++other) {
      EXPECT_EQ(Sel(other),
                other == slot ? expected : before.OptSel[static_cast<std::size_t>(other)])
          << kSlots[slot] << " changed slot " << other;
    }
  }
  EXPECT_TRUE(report.lines().empty());
}

}  // namespace
}  // namespace tq::ui
