// The custom range dialog on its own, and opened from the band list of the running program.
// Which limits are accepted is the range judgement's rule and is tested with it.
#include "ui/custom_range_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>

#include "support/program.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/channel_window.h"

namespace tq::ui {
namespace {

using tq::testing::Program;
using tq::testing::ScriptedDialogs;
using tq::testing::TempFolder;

void Type(QLineEdit* box, const QString& text) {
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  QTest::keyClicks(box, text);
}

constexpr BandLimits kFallback{12000000, 52000000, 12000000, 55000000};

class CustomRangeDialogTest : public ::testing::Test {
 protected:
  CustomRangeDialogTest() {
    tq::testing::PrepareHome(home);
    started = doc.StartUp();
  }

  // Opens the dialog (without its event loop), types the two limits and presses a button.
  int Run(const QString& lower, const QString& upper, const char* button = "cmdOk") {
    CustomRangeDialog dialog(doc, dialogs, texts);
    dialog.show();
    auto* min = dialog.findChild<QLineEdit*>("txtFreMin");
    auto* max = dialog.findChild<QLineEdit*>("txtFreMax");
    shown = min->text() + "-" + max->text();
    Type(min, lower);
    Type(max, upper);
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    left = min->text() + "-" + max->text();
    visibleAfter = dialog.isVisible();
    return dialog.result();
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-12-05 10:00:00"); }};
  Session doc{home.path(), report};
  bool started = false;
  ScriptedDialogs dialogs;
  CustomRangeTexts texts;
  // The limits the dialog showed when it opened and when it closed.
  QString shown, left;
  bool visibleAfter = true;
};

// A text that is no number and limits in the wrong order: both fall back to 120 - 520 MHz
// without a message, and the boxes and the remembered texts say so.
TEST_F(CustomRangeDialogTest, ARejectedBandFallsBackTo120To520Silently) {
  for (const auto& [lower, upper] : {std::pair<QString, QString>{"abc", "174"}, {"174", "136"}}) {
    doc.SetCustomBand(BandLimits{13600000, 17400000});
    texts = {"150", "160"};
    EXPECT_EQ(Run(lower, upper), QDialog::Accepted) << lower.toStdString();
    EXPECT_FALSE(visibleAfter);
    EXPECT_EQ(doc.Band(), kFallback) << lower.toStdString();
    EXPECT_EQ(left, "120-520");
    EXPECT_EQ(texts.lower + "-" + texts.upper, "120-520");
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
  EXPECT_EQ(texts.lower + "-" + texts.upper, "136-174");
  EXPECT_TRUE(dialogs.asked.isEmpty()) << "no new data set was offered";
}

TEST_F(CustomRangeDialogTest, ASecondOpeningShowsTheTextsLastAccepted) {
  ASSERT_TRUE(started);
  EXPECT_EQ(Run("500", "520"), QDialog::Accepted);
  EXPECT_EQ(shown, "120-520") << "the first opening shows the radio's whole range";
  EXPECT_EQ(doc.Band(), (BandLimits{50000000, 52000000, 12000000, 55000000}));
  Run("abc", "520");
  EXPECT_EQ(shown, "500-520");
  Run("400", "410");
  EXPECT_EQ(shown, "120-520") << "after a rejection the fallback texts are kept";
  Run("136", "174", "cmdCancel");
  EXPECT_EQ(shown, "400-410");
}

// The running program: choosing "Custom" in the band list opens the dialog modally, and the
// band it sets is written into the image.
class CustomBandInProgramTest : public ::testing::Test {
 protected:
  CustomBandInProgramTest() {
    tq::testing::PrepareHome(home);
    program = std::make_unique<Program>(home.path(), dialogs);
  }

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
    // The user picks the entry that is already shown: the list reports only the pick.
    if (!again) Bands()->setCurrentIndex(kCustomBand);
    emit Bands()->activated(kCustomBand);
    return opened;
  }

  QComboBox* Bands() {
    return program->window.channelWindow()->findChild<QComboBox*>("cboFrequency");
  }
  std::vector<uint8_t> BandBytes() {
    const MemoryImage& image = program->doc.Image();
    return {image.at(0x037A), image.at(0x037B), image.at(0x037C), image.at(0x037D)};
  }

  TempFolder home;
  ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
};

TEST_F(CustomBandInProgramTest, NoKeepsTheDataAndPickingCustomAgainOpensTheDialogAgain) {
  ASSERT_TRUE(program->started);
  program->doc.EditableImage().set(0x0500, 0x42);
  dialogs.answers = {false, false};
  EXPECT_EQ(ChooseCustom("136", "174"), 1) << "a pick that changes the entry opens it once";
  EXPECT_EQ(dialogs.asked, QStringList({"Notice|All data will be cleared,continue?"}));
  EXPECT_EQ(program->doc.Image().at(0x0500), 0x42);
  EXPECT_EQ(program->doc.BandPosition(), kCustomBand);
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x13, 0x60, 0x17, 0x40}));
  EXPECT_FALSE(program->window.channelWindow()->OpeningCustom());

  EXPECT_EQ(ChooseCustom("144", "148", true), 1);
  EXPECT_EQ(program->doc.Band(), (BandLimits{14400000, 14800000, 12000000, 55000000}));
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x14, 0x40, 0x14, 0x80}));
}

TEST_F(CustomBandInProgramTest, YesClearsTheDataAndKeepsCustomWithoutReopening) {
  ASSERT_TRUE(program->started);
  QComboBox* tot = program->window.channelWindow()->findChild<QComboBox*>("cboTot");
  ASSERT_EQ(tot->currentText(), "60s") << "the options show the stored values after start-up";
  const MemoryImage fresh = program->doc.Image();
  program->doc.EditableImage().set(0x0500, static_cast<uint8_t>(fresh.at(0x0500) ^ 0xFF));
  program->doc.SaveAs(home / "other.dat");
  tot->setCurrentIndex(12);
  dialogs.answers = {true};
  EXPECT_EQ(ChooseCustom("245", "246.5"), 1);
  EXPECT_EQ(dialogs.asked.size(), 1) << "the dialog was opened once";
  EXPECT_EQ(program->doc.Image().at(0x0500), fresh.at(0x0500)) << "a new data set replaced it";
  EXPECT_EQ(BandBytes(), (std::vector<uint8_t>{0x24, 0x50, 0x24, 0x65}));
  EXPECT_EQ(Bands()->currentIndex(), kCustomBand);
  EXPECT_EQ(tot->currentText(), "60s") << "the options show the new data set";
  EXPECT_EQ(program->Status(3),
            "File Name:" + QString::fromStdString((home / "Data" / "Untitled.dat").string()));
}

}  // namespace
}  // namespace tq::ui
