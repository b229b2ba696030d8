// The custom range dialog on its own, and opened from the band list of the running program.
#include "ui/custom_range_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <set>

#include "comm/port_control.h"
#include "support/fake_link.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/channel_window.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace tq::ui {
namespace {

using tq::testing::DeviceTableLink;
using tq::testing::ScriptedDialogs;
using tq::testing::TempFolder;

void CopyShippedFiles(const TempFolder& home, const char* language) {
  home.CopyShippedProgramFiles();
  SettingsFile settings(home / kSettingsFileName);
  settings.WriteSetting("Setting", "FirRun", "0");
  settings.WriteSetting("Setting", "Language", language);
}

void Type(QLineEdit* box, const QString& text) {
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  QTest::keyClicks(box, text);
}

constexpr BandLimits kFallback{12000000, 52000000, 12000000, 55000000};

class CustomRangeDialogTest : public ::testing::Test {
 protected:
  CustomRangeDialogTest() {
    CopyShippedFiles(home, "3");
    started = doc.StartUp();
    doc.Subscribe(newData);
  }
  ~CustomRangeDialogTest() override { doc.Unsubscribe(newData); }

  // Opens the dialog (without its event loop), types the two limits and presses a button.
  int Run(const QString& lower, const QString& upper, const char* button = "cmdOk") {
    CustomRangeDialog dialog(doc, dialogs, texts);
    dialog.show();
    shownLower = dialog.findChild<QLineEdit*>("txtFreMin")->text();
    shownUpper = dialog.findChild<QLineEdit*>("txtFreMax")->text();
    Type(dialog.findChild<QLineEdit*>("txtFreMin"), lower);
    Type(dialog.findChild<QLineEdit*>("txtFreMax"), upper);
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    boxLower = dialog.findChild<QLineEdit*>("txtFreMin")->text();
    boxUpper = dialog.findChild<QLineEdit*>("txtFreMax")->text();
    visibleAfter = dialog.isVisible();
    return dialog.result();
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc{home.path(), report};
  bool started = false;
  ScriptedDialogs dialogs;
  CustomRangeTexts texts;
  // Counts the new data sets the dialog starts.
  struct NewDataCount : SessionObserver {
    void DataReplaced() override { ++count; }
    int count = 0;
  } newData;
  QString shownLower, shownUpper, boxLower, boxUpper;
  bool visibleAfter = true;
};

TEST_F(CustomRangeDialogTest, ItsControlsAndCaptions) {
  ASSERT_TRUE(started);
  CustomRangeDialog dialog(doc, dialogs, texts, {});
  EXPECT_EQ(dialog.objectName(), "frmCustomFre");
  EXPECT_EQ(dialog.windowTitle(), "Custom");
  EXPECT_NE(dialog.findChild<QGroupBox*>("fraCustomFre"), nullptr);
  EXPECT_EQ(dialog.findChild<QLabel*>("lblFreMin")->text(), "Min [MHz]");
  EXPECT_EQ(dialog.findChild<QLabel*>("lblFreMax")->text(), "Max [MHz]");
  EXPECT_EQ(dialog.findChild<QPushButton*>("cmdOk")->text(), "OK");
  EXPECT_EQ(dialog.findChild<QPushButton*>("cmdCancel")->text(), "Cancel");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("txtFreMin")->text(), "120");
  EXPECT_EQ(dialog.findChild<QLineEdit*>("txtFreMax")->text(), "520");
}

TEST_F(CustomRangeDialogTest, AnsweringNoStillAppliesAnAcceptedBand) {
  doc.EditableImage().set(0x0500, 0x42);
  dialogs.answers = {false};
  EXPECT_EQ(Run("136", "174"), QDialog::Accepted);
  EXPECT_FALSE(visibleAfter);
  EXPECT_EQ(doc.Band(), (BandLimits{13600000, 17400000, 12000000, 55000000}));
  ASSERT_EQ(dialogs.asked.size(), 1);
  EXPECT_EQ(dialogs.asked[0], "Notice|All data will be cleared,continue?");
  EXPECT_EQ(newData.count, 0);
  EXPECT_EQ(doc.Image().at(0x0500), 0x42);
  EXPECT_EQ(texts.lower, "136");
  EXPECT_EQ(texts.upper, "174");
  EXPECT_TRUE(dialogs.told.isEmpty());
}

TEST_F(CustomRangeDialogTest, AnsweringYesStartsANewDataSetOnTheDefaultFile) {
  doc.SaveAs(home / "elsewhere.dat");
  dialogs.answers = {true};
  Run("136.00001", "174");
  EXPECT_EQ(newData.count, 1);
  EXPECT_EQ(doc.CurrentDataPath(), doc.DefaultDataPath());
  EXPECT_EQ(doc.Band().lower, 13600001);
  EXPECT_EQ(texts.lower, "136.00001") << "the texts are kept as typed";
}

TEST_F(CustomRangeDialogTest, ARejectedBandFallsBackTo120To520Silently) {
  const std::pair<QString, QString> rejected[] = {
      {"abc", "174"}, {"500", "520.00001"}, {"174", "136"}, {"", "520"}};
  for (const auto& [lower, upper] : rejected) {
    doc.SetCustomBand(BandLimits{13600000, 17400000});
    texts = {"150", "160"};
    EXPECT_EQ(Run(lower, upper), QDialog::Accepted) << lower.toStdString();
    EXPECT_EQ(doc.Band(), kFallback) << lower.toStdString();
    EXPECT_EQ(boxLower, "120");
    EXPECT_EQ(boxUpper, "520");
    EXPECT_EQ(texts.lower, "120");
    EXPECT_EQ(texts.upper, "520");
  }
  EXPECT_TRUE(dialogs.told.isEmpty());
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(CustomRangeDialogTest, CancelChangesNothing) {
  const BandLimits before = doc.Band();
  texts = {"136", "174"};
  EXPECT_EQ(Run("400", "410", "cmdCancel"), QDialog::Rejected);
  EXPECT_FALSE(visibleAfter);
  EXPECT_EQ(doc.Band(), before);
  EXPECT_EQ(texts.lower, "136");
  EXPECT_EQ(texts.upper, "174");
  EXPECT_TRUE(dialogs.asked.isEmpty());
  EXPECT_EQ(newData.count, 0);
}

TEST_F(CustomRangeDialogTest, ASecondOpeningShowsTheTextsLastAccepted) {
  Run("500", "520");
  EXPECT_EQ(doc.Band(), (BandLimits{50000000, 52000000, 12000000, 55000000}));
  Run("abc", "520");
  EXPECT_EQ(shownLower, "500");
  EXPECT_EQ(shownUpper, "520");
  Run("400", "410");
  EXPECT_EQ(shownLower, "120") << "after a rejection the fallback texts are kept";
  EXPECT_EQ(shownUpper, "520");
  Run("136", "174", "cmdCancel");
  EXPECT_EQ(shownLower, "400");
  EXPECT_EQ(shownUpper, "410");
}

// The running program: choosing "Custom" in the band list opens the dialog modally.
class CustomBandInProgramTest : public ::testing::Test {
 protected:
  CustomBandInProgramTest() {
    CopyShippedFiles(home, "3");
    window.show();
    started = window.Form_Load();
  }
  ~CustomBandInProgramTest() override { window.hide(); }

  // Chooses "Custom" in the band list; while the dialog is open, types the limits and presses
  // OK. Returns how many times a dialog was found open.
  int ChooseCustom(const QString& lower, const QString& upper, bool again = false) {
    int opened = 0;
    // Answers every dialog that opens, so that one opened too often is counted, not waited on.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || dialog->objectName() != "frmCustomFre") return;
      ++opened;
      Type(dialog->findChild<QLineEdit*>("txtFreMin"), lower);
      Type(dialog->findChild<QLineEdit*>("txtFreMax"), upper);
      QTest::mouseClick(dialog->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
      if (dialog->isVisible()) dialog->reject();
    });
    answer.start(0);
    auto* bands = window.channelWindow()->findChild<QComboBox*>("cboFrequency");
    if (again) {
      // The user picks the entry that is already shown: the list reports only the pick.
      emit bands->activated(kCustomBand);
    } else {
      bands->setCurrentIndex(kCustomBand);
      emit bands->activated(kCustomBand);
    }
    return opened;
  }

  std::vector<uint8_t> BandBytes() {
    return {doc.Image().at(0x037A), doc.Image().at(0x037B), doc.Image().at(0x037C),
            doc.Image().at(0x037D)};
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  ScriptedDialogs dialogs;
  DeviceTableLink link{std::set<std::string>{}};
  Session doc{home.path(), report};
  PortControl port{link, doc.Settings(), report};
  MainWindow window{doc, port, dialogs, [] { return 0x0409; }};
  bool started = false;
};

TEST_F(CustomBandInProgramTest, TheOptionsShowTheStoredValuesAfterStartUp) {
  ASSERT_TRUE(started);
  QGroupBox* frame = window.channelWindow()->fraCommonSet();
  EXPECT_EQ(frame->title(), "Optional Features");
  // The shipped settings file holds the English defaults 4, 5, 8, 2, ... for the new image.
  EXPECT_EQ(frame->findChild<QComboBox*>("cboTot")->currentText(), "60s");
  EXPECT_EQ(frame->findChild<QComboBox*>("cboAnVoice")->currentText(), "English");
  EXPECT_EQ(frame->findChild<QComboBox*>("cboVoxDly")->currentText(), "0.5");
  EXPECT_TRUE(frame->findChild<QCheckBox*>("chkBatSave")->isChecked());
  EXPECT_FALSE(frame->findChild<QCheckBox*>("chkEmergencyAlarm")->isChecked());
}

TEST_F(CustomBandInProgramTest, AnAcceptedCustomBandIsWrittenIntoTheImage) {
  ASSERT_TRUE(started);
  dialogs.answers = {false};
  EXPECT_EQ(ChooseCustom("136", "174"), 1);
  EXPECT_EQ(doc.BandPosition(), kCustomBand);
  EXPECT_EQ(doc.Band(), (BandLimits{13600000, 17400000, 12000000, 55000000}));
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x13, 0x60, 0x17, 0x40}));
  EXPECT_FALSE(window.channelWindow()->OpeningCustom());
}

TEST_F(CustomBandInProgramTest, YesClearsTheDataAndKeepsCustomWithoutReopening) {
  ASSERT_TRUE(started);
  const MemoryImage fresh = doc.Image();
  doc.EditableImage().set(0x0500, static_cast<uint8_t>(fresh.at(0x0500) ^ 0xFF));
  doc.SaveAs(home / "other.dat");
  window.channelWindow()->findChild<QComboBox*>("cboTot")->setCurrentIndex(12);
  dialogs.answers = {true};
  EXPECT_EQ(ChooseCustom("245", "246.5"), 1);
  EXPECT_EQ(dialogs.asked.size(), 1) << "the dialog was opened once";
  EXPECT_EQ(doc.Image().at(0x0500), fresh.at(0x0500)) << "the new data set replaced the image";
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x24, 0x50, 0x24, 0x65}));
  EXPECT_EQ(window.channelWindow()->findChild<QComboBox*>("cboFrequency")->currentIndex(),
            kCustomBand);
  EXPECT_EQ(window.channelWindow()->findChild<QComboBox*>("cboTot")->currentText(), "60s")
      << "the options show the new data set";
  EXPECT_EQ(window.StatusText(3),
            "File Name:" + QString::fromStdString((home / "Data" / "Untitled.dat").string()));
}

TEST_F(CustomBandInProgramTest, PickingCustomAgainOpensTheDialogAgain) {
  ASSERT_TRUE(started);
  dialogs.answers = {false, false};
  EXPECT_EQ(ChooseCustom("136", "174"), 1) << "a pick that changes the entry opens it once";
  EXPECT_EQ(ChooseCustom("144", "148", true), 1);
  EXPECT_EQ(doc.Band(), (BandLimits{14400000, 14800000, 12000000, 55000000}));
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x14, 0x40, 0x14, 0x80}));
}

TEST_F(CustomBandInProgramTest, ARejectedBandWrites120To520) {
  ASSERT_TRUE(started);
  EXPECT_EQ(ChooseCustom("abc", "174"), 1);
  EXPECT_EQ(doc.Band(), kFallback);
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x12, 0x00, 0x52, 0x00}));
}

}  // namespace
}  // namespace tq::ui
