// The main window as a user drives it, on the offscreen platform; every message box and file
// dialog is answered by the test.
#include "ui/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "base/settings_file.h"
#include "files/data_file.h"
#include "files/image_file.h"
#include "support/program.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/channel_grid_view.h"
#include "ui/channel_window.h"
#include "ui/error_list.h"
#include "ui/radio_info.h"
#include "ui/tree_view.h"

namespace tq::ui {
namespace {

using tq::testing::Program;
using tq::testing::ScriptedDialogs;
using tq::testing::TempFolder;

QString FileNameStatus(const std::filesystem::path& file) {
  return "File Name:" + QString::fromStdString(file.string());
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { tq::testing::PrepareHome(home); }

  std::string Setting(const char* key) {
    return settings.ReadSetting("Setting", key, "<none>", 29);
  }

  TempFolder home;
  TempFolder work;
  SettingsFile settings{home / kSettingsFileName};
  ScriptedDialogs dialogs;
};

TEST_F(MainWindowTest, AFirstStartShowsTheDetectedLanguageAndPort) {
  std::filesystem::remove(home / kSettingsFileName);
  // Without a settings file COM3 stands for /dev/ttyUSB2, the one cable plugged in.
  Program program(home.path(), dialogs, 0x0804, {"/dev/ttyUSB2"});
  EXPECT_TRUE(program.started);
  EXPECT_EQ(program.window.windowTitle(), "TQ-474写频软件");
  EXPECT_TRUE(program.Action("mnuLangSel0")->isChecked());
  EXPECT_EQ(program.Status(2), "COM3");
  for (const std::string& device : program.link.opened) {
    EXPECT_EQ(device.find("/dev/ttyS"), std::string::npos) << "the machine's own ports stay shut";
  }
}

// The captions of the menus, the channel window and its grid come in the stored language.
TEST_F(MainWindowTest, TheTextsAndTheCheckedLanguageEntryFollowTheStoredLanguage) {
  struct Case {
    const char* stored;
    QString title;
    QString file;
    QString channels;
    QString firstColumn;
    std::string checked;
  };
  for (const Case& c :
       {Case{"3", "TQ-474 Radio Software", "&File", "Channel Info", "CH", "mnuLangSel2"},
        Case{"2", "TQ-474寫頻軟體", "檔案(&F)", "頻道資訊", "頻道", "mnuLangSel1"}}) {
    settings.WriteSetting("Setting", "Language", c.stored);
    Program program(home.path(), dialogs);
    EXPECT_TRUE(program.started) << c.stored;
    EXPECT_EQ(program.window.windowTitle(), c.title) << c.stored;
    EXPECT_EQ(program.Action("mnuFile")->text(), c.file) << c.stored;
    const ChannelWindow* channels = program.window.channelWindow();
    EXPECT_EQ(channels->windowTitle(), c.channels) << c.stored;
    EXPECT_EQ(channels->gridView()->model()->headerData(0, Qt::Horizontal).toString(),
              c.firstColumn)
        << c.stored;
    for (const std::string entry : {"mnuLangSel0", "mnuLangSel1", "mnuLangSel2"}) {
      EXPECT_EQ(program.Action(entry.c_str())->isChecked(), entry == c.checked)
          << c.stored << " " << entry;
    }
  }
}

TEST_F(MainWindowTest, OnlyTheOfferedMenuEntriesAreShownAndHiddenShortcutsDoNothing) {
  Program program(home.path(), dialogs);
  for (const char* shown :
       {"mnuFile", "mnuFileNew", "mnuFileOpen", "mnuFileSave", "mnuFileSaveAs", "mnuExit",
        "mnuProgram", "mnuReadFre", "mnuWriteFre", "mnuSet", "mnuCommunicate", "mnuLockFace",
        "mnuLangSetting", "mnuLangSel0", "mnuLangSel1", "mnuLangSel2", "mnuHelp", "mnuAboutSoft"}) {
    EXPECT_TRUE(program.Action(shown)->isVisible()) << shown;
  }
  for (const char* hidden :
       {"mnuPrintFile", "mnuReadWriteFre", "mnuAddFre", "mnuTestMode", "mnuTestFre",
        "mnuBatchTestVal", "mnuOption", "mnuModel", "mnuFunc", "mnuChLock", "mnuView",
        "mnuTreeView", "mnuShowErr", "mnuWindow", "mnuHelpTopic", "mnuMcuVer"}) {
    EXPECT_FALSE(program.Action(hidden)->isVisible()) << hidden;
  }
  QApplication::setActiveWindow(&program.window);
  for (const auto& key : {QKeySequence("Ctrl+L"), QKeySequence("F1"), QKeySequence("Ctrl+P"),
                          QKeySequence("F2"), QKeySequence("Ctrl+M"), QKeySequence("Ctrl+T")}) {
    QTest::keySequence(&program.window, key);
  }
  EXPECT_TRUE(dialogs.opened.isEmpty()) << "F1 opened help";
  EXPECT_FALSE(program.Action("mnuChLock")->isChecked()) << "Ctrl+L locked";
  EXPECT_FALSE(program.doc.Locked());
}

TEST_F(MainWindowTest, NewAsksAndThenRestoresTheDefaultImage) {
  Program program(home.path(), dialogs);
  const MemoryImage fresh = program.doc.Image();
  program.doc.EditableImage().set(0x0500, 0x42);
  dialogs.answers = {false};
  program.Action("mnuFileNew")->trigger();
  EXPECT_EQ(program.doc.Image().at(0x0500), 0x42) << "No keeps the data";
  dialogs.answers = {true};
  program.Action("FileNew")->trigger();
  EXPECT_EQ(program.doc.Image(), fresh);
  ASSERT_EQ(dialogs.asked.size(), 2);
  EXPECT_EQ(dialogs.asked[1], "Notice|All data will be cleared,continue?");
}

TEST_F(MainWindowTest, OpenShowsTheFileAndAWrongFileSaysSo) {
  Program program(home.path(), dialogs);
  MemoryImage image = program.doc.Image();
  image.set(0x0800, static_cast<uint8_t>(image.at(0x0800) ^ 0xFF));
  SaveDataFile(work / "other.dat", image);
  dialogs.files = {QString::fromStdString((work / "other.dat").string())};
  program.Action("mnuFileOpen")->trigger();
  EXPECT_EQ(program.doc.Image().at(0x0800), image.at(0x0800));
  EXPECT_EQ(program.Status(3), FileNameStatus(work / "other.dat"));
  EXPECT_EQ(dialogs.filters.front(), "Data File(*.dat);;Radio Image (*.bin)");

  work.Write("empty.dat", "");
  dialogs.files = {QString::fromStdString((work / "empty.dat").string())};
  program.Action("FileOpen")->trigger();
  ASSERT_EQ(dialogs.told.size(), 1);
  EXPECT_EQ(dialogs.told[0], "Notice|Wrong file type!");
  EXPECT_EQ(dialogs.icons[0], QMessageBox::Critical);
  EXPECT_EQ(program.Status(3), FileNameStatus(work / "other.dat"));
  // A radio image opens byte for byte, 0x0400-0x040F included.
  image.set(0x0405, static_cast<uint8_t>(image.at(0x0405) ^ 0x5A));
  SaveRadioImage(work / "radio.bin", image);
  dialogs.files = {QString::fromStdString((work / "radio.bin").string())};
  program.Action("mnuFileOpen")->trigger();
  EXPECT_EQ(program.doc.Image(), image);
}

TEST_F(MainWindowTest, SaveAsksThenWritesTheImageAndAnUnwritableNameIsRefused) {
  Program program(home.path(), dialogs);
  program.doc.EditableImage().set(0x0800, 0x5A);
  const std::filesystem::path target = work / "copy.dat";
  dialogs.answers = {true};
  dialogs.files = {QString::fromStdString(target.string())};
  program.Action("mnuFileSave")->trigger();
  MemoryImage back;
  LoadDataFile(target, back);
  EXPECT_EQ(back.at(0x0800), 0x5A);
  EXPECT_EQ(program.Status(3), FileNameStatus(target));

  dialogs.files = {QString::fromStdString((work / "missing" / "x.dat").string())};
  program.Action("mnuFileSaveAs")->trigger();
  ASSERT_EQ(dialogs.told.size(), 1);
  EXPECT_EQ(dialogs.told[0], "Notice|Save file failed!");
  EXPECT_EQ(program.doc.CurrentDataPath(), target);
}

TEST_F(MainWindowTest, CancellingADialogChangesNothing) {
  Program program(home.path(), dialogs);
  const MemoryImage before = program.doc.Image();
  const QString status = program.Status(3);
  program.Action("FileOpen")->trigger();  // file dialog cancelled
  dialogs.answers = {true};
  program.Action("FileSave")->trigger();  // Yes, then the file dialog cancelled
  dialogs.answers = {false};
  program.Action("mnuFileSave")->trigger();    // No
  program.Action("mnuFileSaveAs")->trigger();  // cancelled
  EXPECT_EQ(program.doc.Image(), before);
  EXPECT_EQ(program.Status(3), status);
  EXPECT_FALSE(std::filesystem::exists(home / "Data" / "Untitled.dat"));
  EXPECT_TRUE(dialogs.told.isEmpty());
}

TEST_F(MainWindowTest, TheErrorListStaysAwayUntilTheFirstReport) {
  Program program(home.path(), dialogs);
  EXPECT_EQ(program.window.errorList(), nullptr);
  program.report.ShowErrLine("mdifrmMain->Help", 53, "test");
  ASSERT_NE(program.window.errorList(), nullptr);
  auto* list = program.window.errorList()->findChild<QListWidget*>("listShowErr");
  EXPECT_EQ(list->count(), 2);
  program.report.ShowErrLine("mdifrmMain->Help", 53, "test");
  EXPECT_EQ(list->count(), 4);
}

TEST_F(MainWindowTest, TheLockSurvivesARestartAndTheMenuLockItemUnlocks) {
  {
    Program program(home.path(), dialogs);
    program.Action("mnuLockFace")->trigger();
    EXPECT_TRUE(program.Action("mnuChLock")->isChecked());
    EXPECT_EQ(program.Status(1), "Interface Locked");
    EXPECT_FALSE(program.window.channelWindow()->fraModel()->isEnabled());
    EXPECT_EQ(Setting("ChannelLock"), "ShowLock");
  }
  Program program(home.path(), dialogs);
  EXPECT_TRUE(program.Action("mnuLockFace")->isChecked());
  EXPECT_TRUE(program.Action("mnuChLock")->isChecked());
  EXPECT_FALSE(program.window.channelWindow()->fraCommonSet()->isEnabled());
  // The channel grid's menu item goes through the hidden entry and unlocks here.
  program.window.mnuPopChLock_Click();
  EXPECT_FALSE(program.Action("mnuLockFace")->isChecked());
  EXPECT_EQ(program.Status(1), "Ready");
  EXPECT_EQ(Setting("ChannelLock"), "ShowNo");
}

TEST_F(MainWindowTest, TheLockNoticeBlinksOnlyOverTheIdleNotice) {
  Program program(home.path(), dialogs);
  program.Action("mnuLockFace")->trigger();
  program.window.SetStatusNotice("Ready");
  program.window.tmrChLock_Timer();
  EXPECT_EQ(program.Status(1), "Interface Locked");
  program.window.tmrChLockBlink_Timer();
  EXPECT_EQ(program.Status(1), "Interface Locked");
  program.window.tmrChLockBlink_Timer();
  EXPECT_EQ(program.Status(1), "Ready");
  program.window.SetStatusNotice("Communication success");
  program.window.tmrChLockBlink_Timer();
  EXPECT_EQ(program.Status(1), "Communication success");
}

TEST_F(MainWindowTest, AnsweringNoToTheExitQuestionKeepsEverything) {
  Program program(home.path(), dialogs);
  const MemoryImage before = program.doc.Image();
  dialogs.answers = {false};
  program.Action("mnuExit")->trigger();
  EXPECT_TRUE(program.window.isVisible());
  EXPECT_FALSE(program.window.Closing());
  EXPECT_TRUE(program.window.channelWindow()->isVisible());
  EXPECT_EQ(program.doc.Image(), before);
  EXPECT_EQ(dialogs.asked.back(), "Notice|Are you sure want to exit?");
  dialogs.answers = {true};
  program.Action("Exit")->trigger();
  EXPECT_TRUE(program.window.Closing());
  EXPECT_FALSE(program.window.isVisible());
}

TEST_F(MainWindowTest, ChoosingAnotherLanguageStoresItAndAsksToExit) {
  for (const auto& [entry, stored] :
       {std::pair{"mnuLangSel0", "1"}, std::pair{"mnuLangSel1", "2"}}) {
    settings.WriteSetting("Setting", "Language", "3");
    ScriptedDialogs answers;
    Program program(home.path(), answers);
    answers.answers = {false};
    program.Action(entry)->trigger();
    EXPECT_EQ(Setting("Language"), stored);
    ASSERT_EQ(answers.told.size(), 1) << entry;
    EXPECT_EQ(answers.told[0], "Message|Language has changed, you need to restart the software.");
    EXPECT_EQ(answers.asked.back(), "Notice|Are you sure want to exit?");
    EXPECT_TRUE(program.window.isVisible()) << "No keeps the program running";
    EXPECT_EQ(program.window.windowTitle(), "TQ-474 Radio Software") << "texts stay until restart";
    EXPECT_TRUE(program.Action(entry)->isChecked());
    EXPECT_FALSE(program.Action("mnuLangSel2")->isChecked());
  }
}

TEST_F(MainWindowTest, TheHelpButtonOpensTheManualOfTheLanguage) {
  Program program(home.path(), dialogs);
  program.Action("Help")->trigger();
  ASSERT_EQ(dialogs.opened.size(), 1);
  EXPECT_TRUE(dialogs.opened[0].endsWith("/EngHelp.html")) << dialogs.opened[0].toStdString();
  program.Action("Print")->trigger();
  program.window.tlbmdifrmMain_ButtonClick("NoSuchKey");
  EXPECT_TRUE(program.report.lines().empty());
  EXPECT_EQ(dialogs.opened.size(), 1);
}

TEST_F(MainWindowTest, TheTreeOpensTheViewsAndClosingThemOnlyHidesThem) {
  Program program(home.path(), dialogs);
  TreeViewWindow* tree = program.window.treeView();
  ASSERT_NE(tree, nullptr);
  emit tree->nodeOpened("RadioInfo");
  auto* info = program.window.findChild<RadioInfoWindow*>("frmRadioInfo");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->isVisible());
  EXPECT_EQ(info->findChild<QLineEdit*>("txtLastPc")->text(), "Unknown Time");
  info->parentWidget()->close();
  emit tree->nodeOpened("RadioInfo");
  EXPECT_EQ(program.window.findChild<RadioInfoWindow*>("frmRadioInfo"), info)
      << "kept, not rebuilt";
  emit tree->nodeOpened("SysSet");
  EXPECT_NE(program.window.findChild<QWidget*>("frmSysSet"), nullptr);
  EXPECT_TRUE(program.report.lines().empty());
}

}  // namespace
}  // namespace tq::ui

namespace tq::ui {
namespace {

// A program started in English on a prepared folder.
struct StartedProgram {
  StartedProgram() { tq::testing::PrepareHome(home); }
  TempFolder home;
  ScriptedDialogs dialogs;
};

class MainWindowPieces : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(program.started); }

  StartedProgram folder;
  TempFolder& home = folder.home;
  ScriptedDialogs& dialogs = folder.dialogs;
  Program program{home.path(), dialogs};
};

// The language entries are one exclusive group: picking the language in force changes nothing
// and keeps its mark. The settings tree cannot be closed for good (it may float).
TEST_F(MainWindowPieces, TheLanguageInForceKeepsItsMarkAndTheTreeStaysReachable) {
  QAction* english = program.Action("mnuLangSel2");
  ASSERT_TRUE(english->isChecked());
  english->trigger();
  EXPECT_TRUE(english->isChecked());
  EXPECT_FALSE(program.Action("mnuLangSel0")->isChecked());
  EXPECT_TRUE(dialogs.told.isEmpty()) << "no language switch";

  const QDockWidget* tree = program.window.treeView();
  ASSERT_NE(tree, nullptr);
  EXPECT_FALSE(tree->features().testFlag(QDockWidget::DockWidgetClosable));
  EXPECT_TRUE(tree->features().testFlag(QDockWidget::DockWidgetFloatable));
}

// Qt's own buttons speak the interface language: "Yes" and "No" of every question.
TEST(QtTexts, FollowTheInterfaceLanguage) {
  for (const auto& [language, chinese] :
       {std::pair{"1", true}, std::pair{"2", true}, std::pair{"3", false}}) {
    TempFolder home;
    tq::testing::PrepareHome(home, language);
    ScriptedDialogs dialogs;
    Program program(home.path(), dialogs);
    ASSERT_TRUE(program.started);
    QMessageBox box(QMessageBox::Question, "", "", QMessageBox::Yes | QMessageBox::No);
    const QString yes = box.button(QMessageBox::Yes)->text();
    EXPECT_EQ(yes.contains(QChar(0x662F)), chinese) << yes.toStdString();  // 是
  }
}

// The channel window stays maximised behind the other views: restoring another maximised view,
// or asking the channel window itself, leaves it filling the document area.
TEST_F(MainWindowPieces, TheChannelWindowStaysMaximised) {
  auto* channels = qobject_cast<QMdiSubWindow*>(program.window.channelWindow()->parentWidget());
  ASSERT_NE(channels, nullptr);
  ASSERT_TRUE(channels->isMaximized());
  channels->showNormal();
  for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
  EXPECT_TRUE(channels->isMaximized());
}

// The Open dialog starts in the data file's folder with no file name filled in, and the toolbar
// has a title, so that its entry in the toolbar's own menu is not blank.
TEST_F(MainWindowPieces, OpenStartsInTheFolderAndTheToolbarHasATitle) {
  program.Action("mnuFileOpen")->trigger();
  ASSERT_EQ(dialogs.starts.size(), 1);
  EXPECT_EQ(dialogs.starts[0], QString::fromStdString((home / "Data").string()));
  const auto* toolbar = program.window.findChild<QToolBar*>("tlbMdiFrmMain");
  ASSERT_NE(toolbar, nullptr);
  EXPECT_EQ(toolbar->windowTitle(), "Toolbar");
  EXPECT_EQ(toolbar->toggleViewAction()->text(), "Toolbar");
}

}  // namespace
}  // namespace tq::ui

namespace tq::ui {
namespace {

// With the error list open the channel grid keeps eight rows at the size the program opens at;
// at 800x600 the tree shows its entries whole and the grid four rows, the channel window
// scrolling for the rest.
TEST_F(MainWindowPieces, TheErrorListLeavesTheGridItsRowsAndASmallWindowScrolls) {
  const auto settle = [] {
    for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
  };
  const auto* view = program.window.findChild<QAbstractItemView*>("vsfgGridCh");
  ASSERT_NE(view, nullptr);
  const auto rowsShown = [&] { return view->viewport()->height() / view->sizeHintForRow(0); };
  program.window.resize(1100, 760);
  program.window.mnuShowErr_Click();
  settle();
  EXPECT_GE(rowsShown(), 8);

  program.window.resize(800, 600);
  settle();
  EXPECT_EQ(program.window.width(), 800);
  EXPECT_EQ(program.window.height(), 600);
  EXPECT_GE(rowsShown(), 4);
  const auto* tree = program.window.findChild<QTreeWidget*>("treevMain");
  ASSERT_NE(tree, nullptr);
  QTreeWidgetItemIterator item(const_cast<QTreeWidget*>(tree));
  for (; *item != nullptr; ++item) {
    const QRect rect = tree->visualItemRect(*item);
    EXPECT_LE(rect.left() + tree->fontMetrics().horizontalAdvance((*item)->text(0)),
              tree->viewport()->width())
        << (*item)->text(0).toStdString();
  }
}

}  // namespace
}  // namespace tq::ui

namespace tq::ui {
namespace {

// The Program menu's two switches are kept in the settings file; Help shows the backups.
TEST_F(MainWindowPieces, TheBackupAndVerifySwitchesAreKeptAndTheBackupFolderShown) {
  QAction* backup = program.Action("mnuBackupBeforeWrite");
  QAction* verify = program.Action("mnuVerifyAfterWrite");
  ASSERT_NE(backup, nullptr);
  ASSERT_NE(verify, nullptr);
  EXPECT_EQ(backup->text(), "Back up before writing");
  EXPECT_FALSE(backup->isChecked()) << "off unless asked for";
  backup->trigger();
  verify->trigger();
  EXPECT_TRUE(program.doc.BackupBeforeWrite());
  EXPECT_TRUE(program.doc.VerifyAfterWrite());
  const SettingsFile settings(home / kSettingsFileName);
  EXPECT_EQ(settings.ReadSetting("Setting", "BackupBeforeWrite", "", 9), "1");
  EXPECT_EQ(settings.ReadSetting("Setting", "VerifyAfterWrite", "", 9), "1");

  program.Action("mnuShowBackups")->trigger();
  ASSERT_EQ(dialogs.opened.size(), 1);
  EXPECT_EQ(dialogs.opened[0], QString::fromStdString((home / "backups").string()));
  EXPECT_TRUE(std::filesystem::is_directory(home / "backups"));
  backup->trigger();
  verify->trigger();
}

// File > Compare With... lists what differs between the data here, edits included, and a file.
TEST_F(MainWindowPieces, CompareWithListsTheDifferencesFromAChosenFile) {
  const auto file = home / "saved.bin";
  ASSERT_TRUE(program.doc.SaveAs(file));
  const auto compare = [&] {
    dialogs.files.push_back(QString::fromStdString(file.string()));
    program.Action("mnuCompareWith")->trigger();
    auto* shown = program.window.findChild<QDialog*>("frmCompare");
    EXPECT_NE(shown, nullptr);
    const QString text = shown ? shown->findChild<QPlainTextEdit*>("txtList")->toPlainText() : "";
    delete shown;
    return text.toStdString();
  };
  EXPECT_EQ(compare(), "No differences.");
  const int16_t squelch = program.doc.Options().OptSel[1];
  program.doc.SetOption(1, static_cast<int16_t>(squelch == 2 ? 3 : 2));
  EXPECT_EQ(compare(), "Sql  " + std::to_string(squelch == 2 ? 3 : 2) + " -> " +
                           std::to_string(squelch) + "\n");
  program.doc.SetOption(1, squelch);
}

// The Edit menu over the channel grid: undo and redo, whole channels through the clipboard as
// channel CSV, moves; the right-button menu offers the same entries.
TEST_F(MainWindowPieces, TheEditMenuUndoesCopiesPastesAndMovesChannels) {
  ChannelGridView* view = program.window.channelWindow()->gridView();
  ChannelGrid& grid = view->grid();
  const ChannelTable& channels = program.doc.Channels();
  grid.vsfgGridCh_AfterEdit(1, 1, "446.1");
  view->Sync();
  program.Action("mnuUndo")->trigger();
  EXPECT_EQ(channels[1].field[1], -1);
  EXPECT_TRUE(view->gridModel()->data(view->gridModel()->GridIndex(1, 1)).toString().isEmpty());
  program.Action("mnuRedo")->trigger();
  EXPECT_EQ(channels[1].field[1], 44610000);

  grid.vsfgGridCh_Click(1, 6);
  program.Action("mnuCopy")->trigger();
  EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("Location,Name,Frequency"));
  grid.vsfgGridCh_Click(3, 6);
  program.Action("mnuPaste")->trigger();
  EXPECT_EQ(channels[3], channels[1]);
  program.Action("mnuMoveDown")->trigger();
  EXPECT_EQ(channels[3].field[1], -1);
  EXPECT_EQ(channels[4], channels[1]);
  EXPECT_EQ(grid.current().row, 4) << "the moved channel stays selected";

  std::unique_ptr<QMenu> menu = view->BuildChannelMenu(4, 2);
  ASSERT_NE(menu, nullptr);
  QStringList names;
  for (QAction* action : menu->actions()) names << action->objectName();
  EXPECT_EQ(names.mid(names.indexOf("sepPopEdit") + 1).join(','),
            "mnuUndo,mnuRedo,,mnuCut,mnuCopy,mnuPaste,,mnuMoveUp,mnuMoveDown");
  program.Action("mnuCut")->trigger();
  EXPECT_EQ(channels[4].field[1], -1) << "the menu's channel was cut";
}

// File > Import Channels... shows what would change; Cancel changes nothing, OK imports as one
// step that Undo takes back.
TEST_F(MainWindowPieces, ImportChannelsPreviewsAndCancelChangesNothing) {
  const auto csv = home.Write("plan.csv", "Frequency,Tone,rToneFreq\n446.5,Tone,88.5\n");
  const ChannelTable& channels = program.doc.Channels();
  const ChannelRow before = channels[1];
  dialogs.files = {QString::fromStdString(csv.string())};
  dialogs.answers = {false};
  program.Action("mnuImportChannels")->trigger();
  ASSERT_EQ(dialogs.reviewed.size(), 1);
  EXPECT_TRUE(dialogs.reviewed[0].contains("CH 1  Rx Freq[MHz] - -> 446.50000"))
      << dialogs.reviewed[0].toStdString();
  EXPECT_EQ(channels[1], before);
  EXPECT_FALSE(program.doc.CanUndo());

  dialogs.files = {QString::fromStdString(csv.string())};
  dialogs.answers = {true};
  program.Action("mnuImportChannels")->trigger();
  EXPECT_EQ(channels[1].field[1], 44650000);
  EXPECT_EQ(channels[1].txTone, "88.5");
  program.Action("mnuUndo")->trigger();
  EXPECT_EQ(channels[1], before);
}

}  // namespace
}  // namespace tq::ui
