// The communication window: reading and writing the simulated radio through the program's
// window, the data list, the hidden panel and its address boxes, and the menu commands.
#include "ui/commun_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <memory>

#include "editor/channel_grid.h"
#include "files/data_file.h"
#include "qtlink/qt_serial_link.h"
#include "support/process.h"
#include "support/program.h"
#include "support/temp_folder.h"
#include "ui/channel_grid_view.h"
#include "ui/channel_window.h"
#include "ui/memory_window.h"

namespace tq::ui {
namespace {

using tq::testing::Program;
using tq::testing::ProgramOn;
using tq::testing::ScriptedDialogs;
using tq::testing::SimProcess;
using tq::testing::TempFolder;

const QString kCommunicationFailed = "Notice|Communication failed,please check commuication port!";

// Answers the modal window that opens next by running `act` on it; used where a command shows a
// dialog with its own event loop.
void OnNextModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    if (QWidget* modal = QApplication::activeModalWidget()) act(modal);
  });
}

QStringList Items(const QListWidget* list) {
  QStringList items;
  for (int k = 0; k < list->count(); ++k) items << list->item(k)->text();
  return items;
}

// The radio's image: the shipped default image with channel 1 on 146.525 MHz and the squelch
// at 7, the band 136 - 174 MHz.
MemoryImage RadioImage(const TempFolder& folder) {
  ErrorReport report;
  Session radio(folder.path(), report);
  radio.StartUp();
  radio.cboFrequency_Click(0);
  ChannelGrid grid(radio);
  grid.SetChGrid();
  for (int n = 1; n <= 16; ++n) grid.DelOneChannel(n);
  grid.vsfgGridCh_Click(1, 1);
  grid.vsfgGridCh_AfterEdit(1, 1, "146.525");
  radio.SetOption(1, 7);
  radio.SaveAs(folder.path() / "radio.dat");  // folds the edits into the image
  return radio.Image();
}

class CommunEndToEndTest : public ::testing::Test {
 protected:
  CommunEndToEndTest() {
    tq::testing::PrepareHome(home, "3", link.string());
    SaveDataFile(work / "radio.dat", RadioImage(home));
  }

  void Start() {
    program = std::make_unique<ProgramOn<QtSerialLink>>(home.path(), dialogs, 0x0409);
    ASSERT_TRUE(program->started);
    commun = program->window.communWindow();
    view = program->window.findChild<ChannelGridView*>("vsfgGridCh");
    sql = program->window.findChild<QComboBox*>("cboSql");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(sql, nullptr);
  }

  QString Cell(int r, int c) const { return view->gridModel()->GridIndex(r, c).data().toString(); }

  TempFolder home;
  TempFolder work;
  std::filesystem::path link = work / "radio";
  ScriptedDialogs dialogs;
  std::unique_ptr<ProgramOn<QtSerialLink>> program;
  CommunWindow* commun = nullptr;
  ChannelGridView* view = nullptr;
  QComboBox* sql = nullptr;
};

TEST_F(CommunEndToEndTest, ReadEditWriteLeavesTheRadioHoldingTheEditsAndTheStamp) {
  SimProcess sim(
      link, {"--image", (work / "radio.dat").string(), "--save", (work / "after.dat").string()});
  ASSERT_TRUE(sim.Up());
  Start();
  ASSERT_NE(Cell(1, 1), "146.525") << "the program starts from its own default data";
  commun->findChild<QCheckBox*>("chkShowMemDat")->setChecked(true);
  const MemoryGrid& memory = program->window.memoryWindow()->grid();
  ASSERT_NE(memory.TextAt(0x0134), "07");

  commun->cmdRead_Click();
  EXPECT_TRUE(dialogs.told.isEmpty()) << dialogs.told.join("\n").toStdString();
  EXPECT_EQ(Cell(1, 1), "146.525");
  EXPECT_EQ(sql->currentIndex(), 7);
  EXPECT_EQ(commun->findChild<QProgressBar*>("prgCommunicate")->value(), 100);
  EXPECT_EQ(commun->findChild<QLabel*>("lblComStatus")->text(), "100 %");
  const QStringList log = Items(commun->findChild<QListWidget*>("listRtData"));
  EXPECT_TRUE(log.contains("Tx: 52 00 10 10 ")) << "every frame is logged";
  EXPECT_FALSE(commun->findChild<QLabel*>("imgGreen")->isVisible()) << "the light is off again";
  EXPECT_EQ(memory.TextAt(0x0134), "07") << "the memory window shows what was read";
  EXPECT_EQ(memory.ColourAt(0x0134), kMemRed);

  // One channel and one option edited in the windows, then written.
  view->grid().vsfgGridCh_Click(2, 1);
  view->grid().vsfgGridCh_AfterEdit(2, 1, "145.6");
  view->Sync();
  sql->setCurrentIndex(3);
  std::time_t before = std::time(nullptr);
  commun->cmdWrite_Click();
  EXPECT_TRUE(dialogs.told.isEmpty()) << dialogs.told.join("\n").toStdString();
  ASSERT_EQ(sim.Stop(), 0);
  EXPECT_EQ(memory.ColourAt(0x0330), kMemRed) << "the stamp, shown after the write";

  MemoryImage radio;
  LoadDataFile(work / "after.dat", radio);
  EXPECT_TRUE(radio == program->doc.Image()) << "the radio holds the program's image";
  // Channel 2 receives on 145.6 MHz: eight BCD digits, least significant byte first; the stamp
  // is today's date.
  const int at = ChannelRecordAddress(2);
  EXPECT_EQ((std::vector<int>{radio.at(at), radio.at(at + 1), radio.at(at + 2), radio.at(at + 3)}),
            (std::vector<int>{0x00, 0x00, 0x56, 0x14}));
  EXPECT_EQ(radio.at(0x0134), 3) << "the squelch";
  std::tm local{};
  localtime_r(&before, &local);
  EXPECT_EQ((std::vector<int>{radio.at(0x0330), radio.at(0x0331), radio.at(0x0332)}),
            (std::vector<int>{local.tm_year % 100, local.tm_mon + 1, local.tm_mday}));
}

TEST_F(CommunEndToEndTest, ASilentRadioEndsWithTheMessageAndLeavesTheGrid) {
  SimProcess sim(link, {"--silent"});
  ASSERT_TRUE(sim.Up());
  Start();
  const QString before = Cell(1, 1);
  const MemoryImage image = program->doc.Image();
  commun->show();
  // While the read waits for the radio, the window stays alive but takes no second start and
  // does not close.
  bool runningMidway = false;
  bool lightBlinked = false;
  QTimer::singleShot(400, [&] {
    runningMidway = commun->Running();
    auto* read = commun->findChild<QPushButton*>("cmdRead");
    QTest::mouseClick(read, Qt::LeftButton);
    commun->cmdRead_Click();
    commun->close();
  });
  QTimer light;
  QObject::connect(&light, &QTimer::timeout, [&] {
    if (commun->findChild<QLabel*>("imgGreen")->isVisible()) lightBlinked = true;
  });
  light.start(20);
  commun->cmdRead_Click();
  light.stop();
  EXPECT_TRUE(runningMidway);
  EXPECT_TRUE(lightBlinked) << "the green light blinks during the transfer";
  EXPECT_TRUE(commun->isVisible()) << "closing is refused while the transfer runs";
  ASSERT_EQ(dialogs.told.size(), 1) << "one transfer, one message";
  EXPECT_EQ(dialogs.told.front(), kCommunicationFailed);
  EXPECT_EQ(dialogs.icons.front(), QMessageBox::Warning);
  EXPECT_EQ(Cell(1, 1), before);
  EXPECT_TRUE(program->doc.Image() == image);
  EXPECT_FALSE(commun->Running());
  EXPECT_TRUE(commun->findChild<QPushButton*>("cmdRead")->isEnabled());
}

TEST_F(CommunEndToEndTest, AWriteThatStopsPartWayTellsWhatTheRadioTookInOneMessage) {
  // The programming code and the first block of 0000-001F are acknowledged, then nothing.
  SimProcess sim(link, {"--silent-after", "2"});
  ASSERT_TRUE(sim.Up());
  Start();
  commun->findChild<QLineEdit*>("txtWriteEndAddr")->setText("001F");
  commun->cmdWrite_Click();
  ASSERT_EQ(dialogs.told.size(), 1) << dialogs.told.join("\n").toStdString();
  EXPECT_EQ(dialogs.told.front(),
            kCommunicationFailed +
                "\n\nThe write stopped after 0000-000F of 0000-001F: the radio holds part of the "
                "new data. Write it again before using it.");
  EXPECT_TRUE(commun->findChild<QPushButton*>("cmdWrite")->isEnabled());
}

TEST_F(CommunEndToEndTest, AVerifyAfterWritingShowsTheByteTheRadioDidNotKeep) {
  SimProcess sim(link, {"--corrupt-store", "0013"});
  ASSERT_TRUE(sim.Up());
  Start();
  program->doc.SetVerifyAfterWrite(true);
  commun->findChild<QLineEdit*>("txtWriteEndAddr")->setText("001F");
  commun->cmdWrite_Click();
  ASSERT_EQ(dialogs.told.size(), 1) << dialogs.told.join("\n").toStdString();
  EXPECT_TRUE(dialogs.told.front().startsWith(
      "Notice|The verify after writing failed: 1 byte differs from what was written (0013)"))
      << dialogs.told.front().toStdString();
}

TEST_F(CommunEndToEndTest, ARadioThatHangsUpMidwayLeavesTheWindowReadyAgain) {
  SimProcess sim(link, {"--image", (work / "radio.dat").string(), "--hang-up-after", "20"});
  ASSERT_TRUE(sim.Up());
  Start();
  const QString before = Cell(1, 1);
  commun->findChild<QLineEdit*>("txtReadEndAddr")->setText("03FF");
  commun->cmdRead_Click();
  const bool reported = std::any_of(
      program->report.lines().begin(), program->report.lines().end(), [](const std::string& line) {
        return line.find("frmCommun->cmdRead_Click") != std::string::npos;
      });
  EXPECT_TRUE(dialogs.told.contains(kCommunicationFailed) || reported);
  EXPECT_EQ(Cell(1, 1), before) << "an aborted read does not refresh the views";
  EXPECT_FALSE(commun->Running());
  EXPECT_TRUE(commun->findChild<QPushButton*>("cmdRead")->isEnabled());
  EXPECT_FALSE(program->link.IsOpen());
}

TEST_F(CommunEndToEndTest, APortThatFailsBringsThePortDialogAndSendsNothing) {
  Start();  // no simulator: the device does not exist
  bool portDialogShown = false;
  OnNextModal([&](QWidget* modal) {
    portDialogShown = modal->objectName() == "frmToolCom";
    QMetaObject::invokeMethod(modal, "reject");
  });
  commun->cmdRead_Click();
  EXPECT_TRUE(portDialogShown);
  EXPECT_TRUE(program->port.PortOpenFailed);
  EXPECT_TRUE(Items(commun->findChild<QListWidget*>("listRtData")).isEmpty());
  EXPECT_EQ(program->Status(2), "COM3");
}

// The window on its own, in a program whose port probe sees no device.
class CommunWindowTest : public ::testing::Test {
 protected:
  CommunWindowTest() {
    tq::testing::PrepareHome(home);
    program = std::make_unique<Program>(home.path(), dialogs);
    commun = program->window.communWindow();
    list = commun->findChild<QListWidget*>("listRtData");
  }

  TempFolder home;
  ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
  CommunWindow* commun = nullptr;
  QListWidget* list = nullptr;
};

// The lines themselves are the data list's; the window must show all of them, follow the newest
// and empty itself when the full list starts again.
TEST_F(CommunWindowTest, TheListShowsTheDataListAndFollowsTheNewestLine) {
  commun->dataList().ComDataShow(kComSent, std::vector<uint8_t>{0x52, 0x00, 0x10, 0x10});
  commun->dataList().ComDataShow(kComReceived, std::vector<uint8_t>(21, 0x57));
  QStringList lines;
  for (const std::string& line : commun->dataList().lines()) lines << QString::fromStdString(line);
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(Items(list), lines);
  EXPECT_EQ(list->currentRow(), 3);

  for (int k = 4; k < kDataListMaxLines; ++k) commun->dataList().AddLine("line");
  EXPECT_EQ(list->count(), kDataListMaxLines);
  commun->dataList().AddLine("the 3001st");
  EXPECT_EQ(Items(list), QStringList({"the 3001st"}));
  commun->dataList().Clear();
  EXPECT_EQ(list->count(), 0);
}

TEST_F(CommunWindowTest, TheSixthDoubleClickOfTenTogglesTheHiddenPanel) {
  commun->show();
  auto* fraOne = commun->findChild<QGroupBox*>("fraOne");
  auto* fraRdWrDat = commun->findChild<QGroupBox*>("fraRdWrDat");
  const int opened = commun->height();
  const auto doubleClicks = [&](int count) {
    for (int k = 0; k < count; ++k) QTest::mouseDClick(fraOne, Qt::LeftButton);
  };
  auto* showMemDat = commun->findChild<QCheckBox*>("chkShowMemDat");
  // Tab and a screen reader reach only what the window shows.
  EXPECT_FALSE(showMemDat->isVisible()) << "the panel starts below the window's edge";
  doubleClicks(5);
  EXPECT_EQ(commun->height(), opened);
  doubleClicks(1);
  EXPECT_LT(commun->height(), opened) << "the 6th shrinks the window to the top frame";
  EXPECT_GT(commun->height(), fraOne->geometry().bottom());
  EXPECT_FALSE(commun->findChild<QListWidget*>()->isVisible());
  doubleClicks(9);
  EXPECT_LT(commun->height(), opened);
  doubleClicks(1);
  EXPECT_GT(commun->height(), fraRdWrDat->geometry().bottom()) << "the 16th shows the panel";
  EXPECT_TRUE(showMemDat->isVisible());
  doubleClicks(10);
  EXPECT_LT(commun->height(), opened) << "the 26th hides it again";
  commun->hide();
}

// What a text means is the session's rule; here each box must reach its own address.
TEST_F(CommunWindowTest, EachAddressBoxStoresItsTextForItsOwnAddress) {
  EXPECT_EQ(commun->findChild<QLineEdit*>("txtReadEndAddr")->text(), "1FFF");
  const std::tuple<const char*, AddressBox, const char*, int> boxes[] = {
      {"txtReadStartAddr", AddressBox::ReadStart, "ReadStartAddr", 0x0011},
      {"txtReadEndAddr", AddressBox::ReadEnd, "ReadEndAddr", 0x0122},
      {"txtWriteStartAddr", AddressBox::WriteStart, "WriteStartAddr", 0x0033},
      {"txtWriteEndAddr", AddressBox::WriteEnd, "WriteEndAddr", 0x0144},
      {"txtMaxAddr", AddressBox::TableMax, "TableMaxAddr", 0x1555}};
  for (const auto& [name, box, key, value] : boxes) {
    auto* line = commun->findChild<QLineEdit*>(name);
    ASSERT_NE(line, nullptr) << name;
    line->selectAll();
    QTest::keyClicks(line, QString::number(value, 16).toUpper());
  }
  for (const auto& [name, box, key, value] : boxes) {
    EXPECT_EQ(program->doc.AddressValue(box), value) << name;
    EXPECT_EQ(program->doc.Settings().ReadSetting("Setting", key, "", 14),
              QString::number(value, 16).toUpper().toStdString())
        << name;
  }
  EXPECT_TRUE(program->report.lines().empty());
}

TEST_F(CommunWindowTest, ReadAndWriteShowTheirOwnButtonAndClosingOnlyHides) {
  QStringList shown;
  const auto record = [&](QWidget* modal) {
    shown << modal->objectName() + ":" +
                 (modal->findChild<QPushButton*>("cmdRead")->isVisible() ? "read" : "") +
                 (modal->findChild<QPushButton*>("cmdWrite")->isVisible() ? "write" : "");
    modal->close();
  };
  OnNextModal(record);
  program->Action("mnuReadFre")->trigger();
  OnNextModal(record);
  program->Action("Write")->trigger();
  EXPECT_EQ(shown, QStringList({"frmCommun:read", "frmCommun:write"}));
  EXPECT_EQ(program->window.communWindow(), commun) << "the window is kept, not destroyed";
  EXPECT_FALSE(commun->isVisible());

  commun->ShowComPercent(50);
  EXPECT_EQ(commun->findChild<QLabel*>("lblComStatus")->text(), "50 %");
  commun->close();
  EXPECT_EQ(commun->findChild<QProgressBar*>("prgCommunicate")->value(), 0);
  EXPECT_TRUE(commun->findChild<QLabel*>("lblComStatus")->text().isEmpty());
}

TEST_F(CommunWindowTest, ThePortCommandShowsTheChosenPortInTheStatusBar) {
  OnNextModal([](QWidget* modal) {
    // COM3 is the only port whose device exists; it is chosen already.
    QTest::mouseClick(modal->findChild<QPushButton*>("cmdOk"), Qt::LeftButton);
  });
  program->Action("Com")->trigger();
  EXPECT_EQ(program->Status(2), "COM3");
  EXPECT_EQ(program->doc.Settings().ReadSetting("Setting", "COM", "", 3), "3");
}

}  // namespace
}  // namespace tq::ui
