// The memory window in the running program: laid out at start-up, opened by the service
// gestures, and its table and buttons wired to the memory grid, whose rules are tested with it.
#include "ui/memory_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
    tq::testing::PrepareHome(home, "3");
    program = std::make_unique<Program>(home.path(), dialogs);
    memory = program->window.memoryWindow();
  }

  QAbstractItemModel* Model() const { return memory->table()->model(); }
  QModelIndex At(int address) const { return Model()->index(address / 16, address % 16); }
  QString Cell(int address) const { return At(address).data().toString(); }
  QColor Ink(int address) const { return At(address).data(Qt::ForegroundRole).value<QColor>(); }
  bool Shown() const { return memory->parentWidget()->isVisible(); }

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
  EXPECT_EQ(Model()->headerData(511, Qt::Vertical).toString(), "1FF0H");
  EXPECT_EQ(Cell(0x0379),
            QString("%1").arg(program->doc.Image().at(0x0379), 2, 16, QChar('0')).toUpper());
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

// The switch itself is tested with the radio information window; here its request reaches the
// main window.
TEST_F(MemoryWindowTest, TheRadioInformationDebugSwitchOpensTheWindow) {
  emit program->window.treeView()->nodeOpened("RadioInfo");
  auto* info = program->window.findChild<RadioInfoWindow*>("frmRadioInfo");
  ASSERT_NE(info, nullptr);
  auto* frame = info->findChild<QGroupBox*>("fraMain");
  QTest::mouseDClick(info->findChild<QLabel*>("lblDebug"), Qt::LeftButton);
  QTest::mouseDClick(frame, Qt::LeftButton, {}, QPoint(frame->width() - 4, frame->height() - 4));
  EXPECT_TRUE(Shown());
  memory->parentWidget()->close();
  EXPECT_FALSE(Shown());
  EXPECT_EQ(program->window.memoryWindow(), memory) << "closing only hides";
}

TEST_F(MemoryWindowTest, AnEditCatchesUpWithTheImageFirstAndShowsWhatChanged) {
  // A byte changed behind the grid (a data file opened after the grid was filled): the edit
  // must not put the old byte back, and the table marks it red and moves to it.
  program->doc.EditableImage().set(0x0135, 0xA5);
  EXPECT_TRUE(Model()->setData(At(0x0300), "42"));
  EXPECT_EQ(program->doc.Image().at(0x0300), 0x42);
  EXPECT_EQ(program->doc.Image().at(0x0135), 0xA5);
  EXPECT_EQ(Cell(0x0135), "A5");
  EXPECT_EQ(Ink(0x0135), QColor(Qt::red));
  EXPECT_EQ(memory->table()->currentIndex(), At(0x0135));
  EXPECT_EQ(At(0x0135).data(Qt::ToolTipRole).toString(),
            QString::fromUtf8("地址为: 0x0135    二进制:10100101    B7:1 B6:0 B5:1 B4:0   "
                              "B3:0 B2:1 B1:0 B0:1     十进制165"));
  memory->findChild<QPushButton*>("cmdSetDefCol")->click();
  EXPECT_EQ(Ink(0x0135), QColor(Qt::black));
}

TEST_F(MemoryWindowTest, FillGirdStampsTheLocalTimeAndShowsIt) {
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

// Runs `act` on the partial fill dialog that the next click of cmdPartFill opens, then closes it.
void WithPartFill(MemoryWindow* memory, std::function<void(PartFillDialog*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    auto* dialog = qobject_cast<PartFillDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(dialog);
    dialog->close();
  });
  memory->findChild<QPushButton*>("cmdPartFill")->click();
}

void Type(QWidget* dialog, const char* name, const QString& text) {
  auto* box = dialog->findChild<QLineEdit*>(name);
  box->selectAll();
  QTest::keyClicks(box, text);
}

TEST_F(MemoryWindowTest, PartFillWritesTheRangeInTheChosenBaseAndRemembersItsAddresses) {
  WithPartFill(memory, [](PartFillDialog* dialog) {
    dialog->findChild<QComboBox*>("cboFillData")->setCurrentIndex(1);  // decimal
    Type(dialog, "txtFillData", "16");
    Type(dialog, "txtStartAddr", "0100");
    Type(dialog, "txtEndAddr", "010F");
    QTest::mouseClick(dialog->findChild<QPushButton*>("cmdFillData"), Qt::LeftButton);
  });
  for (int address = 0x0100; address <= 0x010F; ++address) {
    EXPECT_EQ(program->doc.Image().at(address), 0x10) << address;
    EXPECT_EQ(Cell(address), "10") << address;
  }

  QString reopened;
  WithPartFill(memory, [&](PartFillDialog* dialog) {
    reopened = dialog->findChild<QLineEdit*>("txtStartAddr")->text() + "-" +
               dialog->findChild<QLineEdit*>("txtEndAddr")->text() + " " +
               dialog->findChild<QComboBox*>("cboFillData")->currentText();
  });
  EXPECT_EQ(reopened, "0100-010F H");
}

}  // namespace
}  // namespace tq::ui
