// The channel grid on screen as a user drives it: clicks and typing through QTest on the real
// view inside the started main window, the tone box, the right-button menu, the lock and
// printing to a PDF file. The editing rules themselves are the grid's and are tested with it;
// here each gesture must reach the grid, and what the grid changed must reach the screen and
// the session.
#include "ui/channel_grid_view.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDate>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <memory>

#include "support/program.h"
#include "support/temp_folder.h"
#include "ui/channel_window.h"

namespace tq::ui {
namespace {

using tq::testing::Program;
using tq::testing::ScriptedDialogs;
using tq::testing::TempFolder;

void Settle() {
  // Commits and the display after them run as queued calls.
  for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

const QStringList kEmptyRow = {"", "", "", "", "", "", "", ""};

class ChannelGridViewTest : public ::testing::Test {
 protected:
  void Start(const char* language = "3") {
    tq::testing::PrepareHome(home, language);
    program = std::make_unique<Program>(home.path(), dialogs);
    ASSERT_TRUE(program->started);
    channels = program->window.channelWindow();
    view = program->window.findChild<ChannelGridView*>("vsfgGridCh");
    ASSERT_NE(view, nullptr);
    // The band 136 - 174 MHz, chosen as the user would.
    channels->findChild<QComboBox*>("cboFrequency")->setCurrentIndex(0);
    // Every channel starts empty, whatever the default image holds.
    for (int n = 1; n <= 16; ++n) view->grid().DelOneChannel(n);
    view->Sync();
  }

  QModelIndex Index(int r, int c) const { return view->gridModel()->GridIndex(r, c); }
  QString Cell(int r, int c) const { return Index(r, c).data().toString(); }
  QColor Back(int r, int c) const { return Index(r, c).data(Qt::BackgroundRole).value<QColor>(); }
  const ChannelRow& Stored(int n) const { return program->doc.Channels()[n]; }

  void ClickCell(int r, int c) {
    view->scrollTo(Index(r, c));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(Index(r, c)).center());
    Settle();
  }

  // Clicks a cell and types into the editor the click opened, ending with Return.
  void TypeInto(int r, int c, const QString& text) {
    ClickCell(r, c);
    auto* line = qobject_cast<QLineEdit*>(view->openEditor());
    ASSERT_NE(line, nullptr) << "clicking (" << r << ", " << c << ") opened no line editor";
    line->clear();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
    Settle();
  }

  // Clicks a cell, then clicks again on the editor the first click opened; returns the editor
  // that is open after it.
  QWidget* DoubleClick(int r, int c) {
    ClickCell(r, c);
    QWidget* editor = view->openEditor();
    EXPECT_NE(editor, nullptr);
    if (editor == nullptr) return nullptr;
    QTest::mouseDClick(editor, Qt::LeftButton, {}, editor->rect().center());
    Settle();
    return view->openEditor();
  }

  void TypeIntoToneBox(const QString& text) {
    view->toneBox()->lineEdit()->selectAll();
    QTest::keyClicks(view->toneBox()->lineEdit(), text);
  }

  QStringList Row(int r) const {
    QStringList texts;
    for (int c = 1; c <= 8; ++c) texts << Cell(r, c);
    return texts;
  }

  // Prints the channel table through the print button into a PDF file of the work folder.
  QString PrintToPdf(const std::string& name) {
    const QString file = QString::fromStdString((work / name).string());
    channels->choosePrinter = [file](QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(file);
      return true;
    };
    channels->findChild<QPushButton*>("cmdPrintChannel")->click();
    return file;
  }

  TempFolder home;
  TempFolder work;
  ScriptedDialogs dialogs;
  std::unique_ptr<Program> program;
  ChannelWindow* channels = nullptr;
  ChannelGridView* view = nullptr;
};

TEST_F(ChannelGridViewTest, TypingAReceiveFrequencyIntoAnEmptyChannelCompletesIt) {
  Start();
  // A click anywhere in an empty channel edits its receive frequency; a row label opens nothing.
  ClickCell(5, 0);
  EXPECT_EQ(view->openEditor(), nullptr);
  ClickCell(5, 6);
  ASSERT_NE(view->openEditor(), nullptr);
  EXPECT_EQ(view->currentIndex(), Index(5, 1));
  QTest::keyClick(view->openEditor(), Qt::Key_Escape);
  Settle();

  TypeInto(5, 1, "146.525");
  EXPECT_EQ(Row(5),
            QStringList({"146.525", "146.525", "None", "None", "Wide", "High", "On", "Off"}));
  EXPECT_EQ(Stored(5).field[1], 14652500);
  EXPECT_EQ(view->currentIndex(), Index(5, 2)) << "the transmit frequency comes next";
  EXPECT_EQ(view->openEditor(), nullptr);

  // 430 MHz lies outside 136 - 174 MHz: OverColor 10066431 is RGB(255,153,153), red in the low
  // byte.
  TypeInto(6, 1, "430");
  EXPECT_EQ(Back(6, 1), QColor(255, 153, 153));
}

TEST_F(ChannelGridViewTest, TypingOnTheSelectedCellStartsItsEditorWithTheTypedKey) {
  Start();
  program->window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&program->window));
  // Each key goes where the keyboard focus is, as a user's keys do.
  const auto type = [](const QString& keys) {
    for (const QChar key : keys) {
      QTest::keyClicks(QApplication::focusWidget(), key);
      Settle();
    }
  };
  // The grid has the focus from the start: the first keys fill the selected cell.
  type("146.525\r");
  EXPECT_EQ(Stored(1).field[1], 14652500);
  // Return moved on to the transmit cell, which takes typing the same way.
  ASSERT_EQ(view->grid().current(), (CellPos{1, 2}));
  type("147\r");
  EXPECT_EQ(Stored(1).field[2], 14700000);
}

TEST_F(ChannelGridViewTest, TabGoesDownTheWindowAndTheBoxesAreNamedByTheirLabels) {
  Start();
  program->window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&program->window));
  auto* model = channels->findChild<QComboBox*>("cboModel");
  model->setFocus();
  QStringList order;
  for (int k = 0; k < 22 && QApplication::focusWidget() != nullptr; ++k) {
    order << QApplication::focusWidget()->objectName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  const QStringList expected = {
      "cboModel",       "cboFrequency", "vsfgGridCh", "cmdPrintChannel",   "cboTot",
      "cboSql",         "cboVolume",    "cboAnVoice", "cboRadioSql",       "cboRadioVolume",
      "cboAnChipSel",   "cboCrystal",   "cboPreTot",  "cboVoxLevel",       "cboVoxDly",
      "cboVoxRxForbid", "chkBatSave",   "chkBeep",    "chkEmergencyAlarm", "chkLowBatTx"};
  EXPECT_EQ(order.mid(0, expected.size()), expected);

  const auto* modelLabel = channels->findChild<QLabel*>("lblModel");
  EXPECT_EQ(modelLabel->buddy(), model);
  EXPECT_EQ(modelLabel->text(), "Model &Type");
  EXPECT_EQ(channels->findChild<QLabel*>("lblFrequency")->buddy(),
            channels->findChild<QComboBox*>("cboFrequency"));
}

TEST_F(ChannelGridViewTest, ParameterCellsOfferTheColumnItems) {
  Start();
  TypeInto(2, 1, "146.52");
  ClickCell(2, 6);
  auto* box = qobject_cast<QComboBox*>(view->openEditor());
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->count(), 2);
  EXPECT_EQ(box->itemText(0), "Low");
  EXPECT_EQ(box->currentText(), "High");
  box->setCurrentIndex(0);
  QTest::keyClick(box, Qt::Key_Return);
  Settle();
  EXPECT_EQ(Cell(2, 6), "Low");
  EXPECT_EQ(Stored(2).field[6], 0);
}

// The second click of a double-click lands on the editor the first click opened, a list box
// for a parameter and a line for a frequency; either way it is the grid's double-click.
TEST_F(ChannelGridViewTest, DoubleClicksOnEitherEditorReachTheGrid) {
  Start();
  TypeInto(3, 1, "146.525");
  EXPECT_EQ(DoubleClick(3, 8), nullptr) << "the double-click ends the edit";
  EXPECT_EQ(Cell(3, 8), "Carrier");
  EXPECT_EQ(Stored(3).field[8], 1);

  // A receive-only channel gets its transmit side from the receive side.
  TypeInto(3, 2, "");
  ASSERT_EQ(Cell(3, 2), "");
  EXPECT_EQ(DoubleClick(3, 2), nullptr) << "the double-click ends the edit";
  EXPECT_EQ(Cell(3, 2), "146.525");
  EXPECT_EQ(Stored(3).field[2], 14652500);

  // On a frequency with nothing to copy the editor stays open, its text no longer selected.
  auto* line = qobject_cast<QLineEdit*>(DoubleClick(3, 1));
  ASSERT_NE(line, nullptr) << "the double-click closed the frequency editor";
  EXPECT_EQ(line->text(), "146.525");
  EXPECT_FALSE(line->hasSelectedText());
}

TEST_F(ChannelGridViewTest, TheToneBoxOpensOverTheCellAndStoresWhenItLosesTheFocus) {
  Start();
  TypeInto(1, 1, "146.525");
  ClickCell(1, 3);
  QComboBox* box = view->toneBox();
  ASSERT_TRUE(box->isVisible());
  EXPECT_TRUE(box->hasFocus());
  EXPECT_EQ(box->objectName(), "cboGridChCtdcs");
  EXPECT_EQ(box->geometry(), view->visualRect(Index(1, 3)));
  EXPECT_EQ(box->currentText(), "None");
  EXPECT_EQ(box->count(), 261) << "the off text and 260 tones";

  // Leaving for another cell: the grid normalises the tone and copies it to the transmit side.
  TypeIntoToneBox("88.55");
  ClickCell(2, 1);
  EXPECT_EQ(Cell(1, 3), "88.6");
  EXPECT_EQ(Cell(1, 4), "88.6");
  EXPECT_EQ(Stored(1).rxTone, "88.6");
  EXPECT_EQ(Stored(1).txTone, "88.6");
  EXPECT_FALSE(box->isVisible());

  // Leaving for a row label, where no editor opens, stores the tone too.
  ClickCell(1, 3);
  ASSERT_TRUE(box->hasFocus());
  TypeIntoToneBox("D023N");
  ClickCell(1, 0);
  EXPECT_EQ(Cell(1, 3), "D023N");
  EXPECT_EQ(Stored(1).rxTone, "D023N");
  EXPECT_FALSE(box->isVisible());
}

// What the user typed and did not leave yet reaches the image first when the grid is folded into
// it: Save (through its question and file dialog, which take the focus away without committing)
// and printing store an open tone box and an open cell editor as leaving them would.
TEST_F(ChannelGridViewTest, SaveAndPrintStoreWhatIsStillOpenInTheGrid) {
  Start();
  TypeInto(1, 1, "146.525");
  ClickCell(1, 3);
  TypeIntoToneBox("67");
  const std::filesystem::path saved = work / "saved.dat";
  dialogs.answers = {true};
  dialogs.files = {QString::fromStdString(saved.string())};
  program->Action("FileSave")->trigger();
  ASSERT_TRUE(std::filesystem::exists(saved));
  EXPECT_EQ(Stored(1).rxTone, "67.0");
  Session reopened(home.path(), program->report);
  ASSERT_TRUE(reopened.StartUp());
  ASSERT_TRUE(reopened.OpenDataFile(saved));
  EXPECT_EQ(reopened.Channels()[1].rxTone, "67.0");

  ClickCell(2, 1);
  auto* line = qobject_cast<QLineEdit*>(view->openEditor());
  ASSERT_NE(line, nullptr);
  QTest::keyClicks(line, "440");
  PrintToPdf("open-editor.pdf");
  EXPECT_EQ(Stored(2).field[1], 44000000);
}

TEST_F(ChannelGridViewTest, TheRightButtonMenuShowsTheGridsChoicesAndRunsItsCommands) {
  Start();
  TypeInto(1, 1, "146.525");
  TypeInto(2, 1, "146.52");
  EXPECT_EQ(view->BuildChannelMenu(4, 0), nullptr) << "no menu over a row label";

  // Over the empty channel 4 only "delete all" can be chosen; the lock item is offered, as the
  // main window's channel lock entry is shown (under its hidden menu), and unchecked.
  std::unique_ptr<QMenu> menu = view->BuildChannelMenu(4, 2);
  ASSERT_NE(menu, nullptr);
  const auto action = [&menu](const char* name) { return menu->findChild<QAction*>(name); };
  for (const char* name : {"mnuOpenCh", "mnuDelOne", "mnuDelAll", "sepPopChLock", "mnuPopChLock"}) {
    ASSERT_NE(action(name), nullptr) << name;
  }
  EXPECT_FALSE(action("mnuOpenCh")->isVisible());
  EXPECT_TRUE(action("mnuDelOne")->isVisible());
  EXPECT_FALSE(action("mnuDelOne")->isEnabled());
  EXPECT_TRUE(action("mnuDelAll")->isEnabled());
  EXPECT_TRUE(action("mnuPopChLock")->isVisible());
  EXPECT_FALSE(action("mnuPopChLock")->isChecked());
  EXPECT_TRUE(action("sepPopChLock")->isVisible());

  menu = view->BuildChannelMenu(2, 4);
  action("mnuDelOne")->trigger();
  EXPECT_EQ(Row(2), kEmptyRow);
  EXPECT_EQ(Stored(2).field[1], -1);
  EXPECT_EQ(Cell(1, 1), "146.525");
  menu = view->BuildChannelMenu(7, 1);
  action("mnuDelAll")->trigger();
  EXPECT_EQ(Row(1), kEmptyRow);
  EXPECT_EQ(Stored(1).field[1], -1);
}

// The interface lock protects the channels from the right-button menu too: locked from the
// Settings menu, the menu offers its lock item checked and no channel command; the item unlocks
// and locks again through the main window.
TEST_F(ChannelGridViewTest, WhileLockedTheMenuOffersNoChannelCommandAndItsItemTogglesTheLock) {
  Start();
  TypeInto(1, 1, "146.525");
  program->Action("mnuLockFace")->trigger();
  ASSERT_TRUE(program->doc.Locked());
  std::unique_ptr<QMenu> menu = view->BuildChannelMenu(1, 1);
  QAction* lock = menu->findChild<QAction*>("mnuPopChLock");
  EXPECT_TRUE(lock->isVisible());
  EXPECT_TRUE(lock->isChecked());
  for (const char* command : {"mnuDelOne", "mnuDelAll", "mnuOpenCh", "mnuSaveDef"}) {
    EXPECT_FALSE(menu->findChild<QAction*>(command)->isEnabled()) << command;
  }
  const ChannelTable before = program->doc.Channels();
  view->grid().mnuDelAll_Click();  // even a command that reaches the grid changes nothing
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(Stored(n), before[n]) << n;

  // Unlocking from the menu's own item clears both check marks of the main menu.
  lock->trigger();
  EXPECT_FALSE(program->doc.Locked());
  EXPECT_FALSE(program->Action("mnuLockFace")->isChecked());
  EXPECT_FALSE(program->Action("mnuChLock")->isChecked());
  menu = view->BuildChannelMenu(1, 1);
  lock = menu->findChild<QAction*>("mnuPopChLock");
  EXPECT_FALSE(lock->isChecked());
  lock->trigger();
  EXPECT_TRUE(program->doc.Locked());
  EXPECT_TRUE(program->Action("mnuLockFace")->isChecked());
  EXPECT_TRUE(view->Locked());
}

TEST_F(ChannelGridViewTest, WhileLockedClicksAndTypingChangeNothing) {
  Start();
  TypeInto(1, 1, "146.525");
  // An edit running at the moment of locking ends without storing anything.
  ClickCell(1, 1);
  auto* line = qobject_cast<QLineEdit*>(view->openEditor());
  ASSERT_NE(line, nullptr);
  line->selectAll();
  QTest::keyClicks(line, "150");
  program->Action("mnuLockFace")->trigger();
  Settle();
  EXPECT_EQ(view->openEditor(), nullptr);
  EXPECT_EQ(Cell(1, 1), "146.525");

  ClickCell(4, 1);
  EXPECT_EQ(view->openEditor(), nullptr);
  QTest::keyClicks(view, "146.5");
  QTest::keyClick(view, Qt::Key_Return);
  Settle();
  EXPECT_EQ(view->openEditor(), nullptr);
  EXPECT_EQ(Row(4), kEmptyRow);
  EXPECT_TRUE(view->selectionModel()->selectedIndexes().isEmpty()) << "no selection shown";
  ClickCell(1, 3);
  EXPECT_FALSE(view->toneBox()->isVisible());

  // Unlocked again, the same click edits.
  program->Action("mnuLockFace")->trigger();
  ClickCell(4, 1);
  EXPECT_NE(view->openEditor(), nullptr);
  EXPECT_EQ(view->selectionModel()->selectedIndexes(), QModelIndexList({Index(4, 1)}));
}

// Text of a PDF file by the system's pdftotext; empty when the tool is missing.
QString PdfText(const QString& file) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) return {};
  QProcess process;
  process.start(tool, {"-layout", file, "-"});
  process.waitForFinished(20000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The first page of a PDF file as an image by the system's pdftoppm; null when it is missing.
QImage PdfPage(const QString& file) {
  const QString tool = QStandardPaths::findExecutable("pdftoppm");
  if (tool.isEmpty()) return {};
  QProcess process;
  process.start(tool, {"-r", "40", "-f", "1", "-l", "1", "-png", "-singlefile", file, file});
  process.waitForFinished(20000);
  return QImage(file + ".png");
}

QByteArray FileStart(const QString& file) {
  QFile pdf(file);
  return pdf.open(QIODevice::ReadOnly) ? pdf.read(4) : QByteArray();
}

TEST_F(ChannelGridViewTest, PrintsTheChannelTableToPdf) {
  Start();
  TypeInto(1, 1, "146.525");
  TypeInto(2, 1, "430");
  QStringList notices;
  QObject::connect(channels, &ui::ChannelWindow::statusNotice,
                   [&](const QString& text) { notices << text; });
  const QString file = PrintToPdf("channels.pdf");
  EXPECT_EQ(notices, QStringList({"Printing，Please wait..."}));
  EXPECT_TRUE(dialogs.told.isEmpty());
  ASSERT_EQ(FileStart(file), "%PDF");

  const QString text = PdfText(file);
  if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed (package poppler-utils)";
  // The title: the main window's caption, then the date and time of printing.
  const QString year = QString::number(QDate::currentDate().year());
  EXPECT_TRUE(text.contains(QRegularExpression("TQ-474 Radio Software\\s+[^\\n]*" + year)))
      << text.toStdString();
  for (const char* shown : {"Rx Freq[MHz]", "Busy Lock", "146.525", "430", "None", "Wide", "16"}) {
    EXPECT_TRUE(text.contains(shown)) << shown << " missing from\n" << text.toStdString();
  }

  // The current row's highlight is the screen's, not the paper's.
  bool onScreen = false;
  for (int r = 1; r <= 16; ++r)
    onScreen = onScreen || view->grid().cell(r, 5).back == kRowHighlight;
  ASSERT_TRUE(onScreen);
  const QImage page = PdfPage(file);
  ASSERT_FALSE(page.isNull());
  const QRgb highlight = qRgb(230, 230, 240);
  int highlighted = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) highlighted += page.pixel(x, y) == highlight ? 1 : 0;
  }
  EXPECT_EQ(highlighted, 0);
}

TEST_F(ChannelGridViewTest, PrintsChineseTitlesReadably) {
  Start("1");
  TypeInto(1, 1, "146.525");
  const QString file = PrintToPdf("channels-zh.pdf");
  ASSERT_EQ(FileStart(file), "%PDF");
  const QString text = PdfText(file);
  if (text.isEmpty()) GTEST_SKIP() << "pdftotext is not installed (package poppler-utils)";
  for (const char* shown : {"TQ-474写频软件", "接收频率[MHz]", "繁忙锁定", "146.525", "无"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << " missing from\n"
                                                         << text.toStdString();
  }
}

TEST_F(ChannelGridViewTest, APrintFailureIsShownInTheStatusBarAndAMessage) {
  Start();
  PrintToPdf("missing/x.pdf");
  EXPECT_EQ(program->Status(1), "Print occur error!");
  ASSERT_EQ(dialogs.told.size(), 1);
  EXPECT_EQ(dialogs.told[0], "Notice|Print occur error!");
  EXPECT_EQ(dialogs.icons[0], QMessageBox::Critical);

  // A cancelled print dialog prints nothing and shows nothing.
  channels->choosePrinter = [](QPrinter&) { return false; };
  program->window.SetStatusNotice("Ready");
  channels->cmdPrintChannel_Click();
  EXPECT_EQ(program->Status(1), "Ready");
  EXPECT_EQ(dialogs.told.size(), 1);
}

}  // namespace
}  // namespace tq::ui
