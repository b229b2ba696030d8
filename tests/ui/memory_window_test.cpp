// The memory window in the running program: laid out at start-up, opened by the service
// gestures, edited through its table, filled through the partial fill dialog.
#include "ui/memory_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

#include "support/program.h"
#include "support/temp_folder.h"
#include "ui/channel_window.h"
#include "ui/part_fill_dialog.h"
#include "ui/radio_info.h"
#include "ui/tree_view.h"

namespace tq::ui {
namespace {

using tq::testing::Program;
using tq::testing::ScriptedDialogs;
using tq::testing::TempFolder;

class MemoryWindowTest : public ::testing::Test {
 protected:
  MemoryWindowTest() {
    home.CopyShippedProgramFiles();
    SettingsFile settings(home / kSettingsFileName);
    settings.WriteSetting("Setting", "FirRun", "0");
    settings.WriteSetting("Setting", "Language", "3");
    program = std::make_unique<Program>(home.path(), dialogs);
    memory = program->window.memoryWindow();
  }

  QAbstractItemModel* Model() const { return memory->table()->model(); }
  QModelIndex At(int address) const { return Model()->index(address / 16, address % 16); }
  QString Cell(int address) const { return At(address).data().toString(); }
  QColor Ink(int address) const { return At(address).data(Qt::ForegroundRole).value<QColor>(); }
  bool Shown() const { return memory->parentWidget()->isVisible(); }
  bool LastReportNames(const char* label) const {
    return !program->report.lines().empty() &&
           program->report.lines().back().find(label) != std::string::npos;
  }

  TempFolder home;
  ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
  MemoryWindow* memory = nullptr;
};

TEST_F(MemoryWindowTest, StartUpLaysOutTheWholeImageHidden) {
  ASSERT_NE(memory, nullptr);
  EXPECT_FALSE(Shown());
  EXPECT_EQ(memory->windowTitle(), "Memory Data");
  ASSERT_EQ(Model()->rowCount(), 512);
  EXPECT_EQ(Model()->headerData(0, Qt::Vertical).toString(), "0000H");
  EXPECT_EQ(Model()->headerData(511, Qt::Vertical).toString(), "1FF0H");
  EXPECT_EQ(Model()->headerData(10, Qt::Horizontal).toString(), "A");
  const auto hex = [](uint8_t byte) {
    return QString("%1").arg(byte, 2, 16, QChar('0')).toUpper();
  };
  for (const int address : {0x0000, 0x0379, 0x1FFF}) {
    EXPECT_EQ(Cell(address), hex(program->doc.Image().at(address))) << address;
    EXPECT_EQ(Ink(address), QColor(Qt::black));
  }
  for (const char* name : {"fraMemData", "cmdPartFill", "cmdFillGrid", "cmdSetDefCol"}) {
    EXPECT_NE(memory->findChild<QWidget*>(name), nullptr) << name;
  }
  EXPECT_EQ(memory->findChild<QPushButton*>("cmdFillGrid")->text(), "Fill Gird");
}

TEST_F(MemoryWindowTest, TheSixthClickOfTenOnTheModelFrameShowsTheWindow) {
  auto* frame = program->window.channelWindow()->fraModel();
  // A point on the frame itself, clear of its boxes.
  const QPoint onFrame(frame->width() - 4, frame->height() / 2);
  QStringList seen;
  for (int click = 1; click <= 17; ++click) {
    QTest::mouseClick(frame, Qt::LeftButton, {}, onFrame);
    if (Shown()) seen << QString::number(click);
    // The memory window opens over the channel window; the user brings the channel window
    // back to the front through the tree to go on clicking.
    emit program->window.treeView()->nodeOpened("ChInfo");
  }
  EXPECT_EQ(seen, QStringList({"6", "16"}));
}

TEST_F(MemoryWindowTest, TheRadioInformationDebugSwitchOpensTheWindow) {
  emit program->window.treeView()->nodeOpened("RadioInfo");
  auto* info = program->window.findChild<RadioInfoWindow*>("frmRadioInfo");
  ASSERT_NE(info, nullptr);
  auto* frame = info->findChild<QGroupBox*>("fraMain");
  auto* debug = info->findChild<QLabel*>("lblDebug");
  const QPoint offLabel(frame->width() - 4, frame->height() - 4);
  QTest::mouseDClick(frame, Qt::LeftButton, {}, offLabel);
  EXPECT_FALSE(Shown()) << "the switch is off";
  QTest::mouseDClick(debug, Qt::LeftButton);
  QTest::mouseDClick(frame, Qt::LeftButton, {}, offLabel);
  EXPECT_TRUE(Shown());
  memory->parentWidget()->close();
  EXPECT_FALSE(Shown());
  EXPECT_EQ(program->window.memoryWindow(), memory) << "closing only hides";
}

// The copy-back rules belong to the grid; here the table hands typed text to it.
TEST_F(MemoryWindowTest, TypedBytesGoIntoTheImageAndATooLargeOneIsReported) {
  EXPECT_TRUE(Model()->setData(At(0x0200), "0a"));
  EXPECT_EQ(program->doc.Image().at(0x0200), 0x0A);
  EXPECT_EQ(Cell(0x0200), "0a") << "shown as typed until the next refresh";
  program->doc.EditableImage().set(0x0203, 0x33);
  Model()->setData(At(0x0203), "1FF");
  EXPECT_TRUE(LastReportNames("frmMemDat->GridDataTemp"));
  EXPECT_EQ(program->doc.Image().at(0x0203), 0x33);
}

TEST_F(MemoryWindowTest, AnImageChangedBehindTheGridIsShownBeforeAnEditIsCopied) {
  // A data file opened after the grid was filled: the edit must not put the old bytes back.
  program->doc.EditableImage().set(0x0135, 0xA5);
  Model()->setData(At(0x0300), "42");
  EXPECT_EQ(program->doc.Image().at(0x0135), 0xA5);
  EXPECT_EQ(program->doc.Image().at(0x0300), 0x42);
  EXPECT_EQ(Cell(0x0135), "A5");
  EXPECT_EQ(Ink(0x0135), QColor(Qt::red));
  EXPECT_EQ(memory->table()->currentIndex(), At(0x0135));
  memory->findChild<QPushButton*>("cmdSetDefCol")->click();
  EXPECT_EQ(Ink(0x0135), QColor(Qt::black));
}

TEST_F(MemoryWindowTest, EachByteExplainsItselfInItsToolTip) {
  Model()->setData(At(0x0130), "A5");
  const QString tip = At(0x0130).data(Qt::ToolTipRole).toString();
  EXPECT_EQ(tip, QString::fromUtf8("地址为: 0x0130    二进制:10100101    B7:1 B6:0 B5:1 B4:0   "
                                   "B3:0 B2:1 B1:0 B0:1     十进制165"));
}

TEST_F(MemoryWindowTest, FillGirdFoldsTheEditorsAndStampsTheDate) {
  memory->localTime = [] {
    std::tm local{};
    local.tm_year = 126;
    local.tm_mon = 6;
    local.tm_mday = 5;
    local.tm_hour = 9;
    local.tm_min = 41;
    return local;
  };
  memory->findChild<QPushButton*>("cmdFillGrid")->click();
  const QStringList stamp = {Cell(0x0330), Cell(0x0331), Cell(0x0332), Cell(0x0333), Cell(0x0334)};
  EXPECT_EQ(stamp, QStringList({"1A", "07", "05", "09", "41"}));
  EXPECT_EQ(Ink(0x0330), QColor(Qt::red)) << "the default image carries no stamp";
  EXPECT_EQ(program->doc.Image().at(0x0330), 0x1A);
}

// Answers the partial fill dialog that the next command opens.
void OnPartFill(std::function<void(PartFillDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<PartFillDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(dialog);
    dialog->close();
  });
}

void Type(QWidget* dialog, const char* name, const QString& text) {
  auto* box = dialog->findChild<QLineEdit*>(name);
  box->selectAll();
  QTest::keyClicks(box, text);
}

TEST_F(MemoryWindowTest, PartFillWritesTheRangeAndRemembersItsAddresses) {
  QStringList opened;
  OnPartFill([&](PartFillDialog* dialog) {
    opened << dialog->findChild<QLineEdit*>("txtStartAddr")->text() + "-" +
                  dialog->findChild<QLineEdit*>("txtEndAddr")->text();
    Type(dialog, "txtFillData", "FF");
    Type(dialog, "txtStartAddr", "0100");
    Type(dialog, "txtEndAddr", "010F");
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdFillData"), Qt::LeftButton);
  });
  memory->findChild<QPushButton*>("cmdPartFill")->click();
  for (int address = 0x0100; address <= 0x010F; ++address) {
    EXPECT_EQ(program->doc.Image().at(address), 0xFF) << address;
    EXPECT_EQ(Cell(address), "FF");
  }

  OnPartFill([&](PartFillDialog* dialog) {
    opened << dialog->findChild<QLineEdit*>("txtStartAddr")->text() + "-" +
                  dialog->findChild<QLineEdit*>("txtEndAddr")->text();
    dialog->findChild<QComboBox*>("cboFillData")->setCurrentIndex(1);
    Type(dialog, "txtFillData", "1.5");
    Type(dialog, "txtStartAddr", "0104");
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdFillData"), Qt::LeftButton);
  });
  memory->findChild<QPushButton*>("cmdPartFill")->click();
  EXPECT_EQ(opened, QStringList({"0000-1FFF", "0100-010F"}));
  EXPECT_TRUE(LastReportNames("frmPartFill->cmdFillData_Click")) << "1.5 is refused";
  EXPECT_EQ(program->doc.Image().at(0x0104), 0xFF) << "nothing written for a refused fill";
}

}  // namespace
}  // namespace tq::ui
