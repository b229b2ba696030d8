#include "ui/main_window.h"

#include <unistd.h>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <array>

#include "base/message_numbers.h"
#include "comm/port_control.h"
#include "files/data_file.h"
#include "image/stamp.h"
#include "options/option_codec.h"
#include "session/image_diff.h"
#include "ui/about_box.h"
#include "ui/channel_commands.h"
#include "ui/channel_grid_view.h"
#include "ui/channel_window.h"
#include "ui/commun_window.h"
#include "ui/dialogs.h"
#include "ui/error_list.h"
#include "ui/icons.h"
#include "ui/interface_font.h"
#include "ui/memory_window.h"
#include "ui/part_fill_dialog.h"
#include "ui/port_dialog.h"
#include "ui/qt_texts.h"
#include "ui/radio_info.h"
#include "ui/session_signals.h"
#include "ui/sys_set.h"
#include "ui/text_list_dialog.h"
#include "ui/tree_view.h"

namespace tq::ui {
namespace {

// Data files first, as they have always been offered; radio images beside them.
constexpr const char* kDataFilter = "Data File(*.dat);;Radio Image (*.bin)";

// One entry of the menu bar: its object name, its caption (a message number, or a fixed text
// where the number is 0), its shortcut, whether it is shown, and the menu it belongs to.
struct MenuEntry {
  const char* name;
  int caption;
  const char* fixedText;
  const char* shortcut;
  bool shown;
  const char* parent;  // nullptr: the menu bar
  enum Kind { kCommand, kMenu, kSeparator } kind;
};

constexpr MenuEntry kMenus[] = {
    {"mnuFile", 20, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuFileNew", 21, "", "Ctrl+N", true, "mnuFile", MenuEntry::kCommand},
    {"mnuFileOpen", 22, "", "Ctrl+O", true, "mnuFile", MenuEntry::kCommand},
    {"mnuFileSave", 23, "", "Ctrl+S", true, "mnuFile", MenuEntry::kCommand},
    {"mnuFileSaveAs", 24, "", "", true, "mnuFile", MenuEntry::kCommand},
    {"mnuCompareWith", 0, "", "", true, "mnuFile", MenuEntry::kCommand},
    {"sepChannelList", 0, "", "", true, "mnuFile", MenuEntry::kSeparator},
    {"mnuImportChannels", 0, "", "", true, "mnuFile", MenuEntry::kCommand},
    {"mnuExportChannels", 0, "", "", true, "mnuFile", MenuEntry::kCommand},
    {"sepPrintFile", 0, "", "", false, "mnuFile", MenuEntry::kSeparator},
    {"mnuPrintFile", 43, "", "Ctrl+P", false, "mnuFile", MenuEntry::kCommand},
    {"ListSeparator5", 0, "", "", true, "mnuFile", MenuEntry::kSeparator},
    {"mnuExit", 25, "", "", true, "mnuFile", MenuEntry::kCommand},
    {"mnuEdit", 0, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuUndo", 0, "", "Ctrl+Z", true, "mnuEdit", MenuEntry::kCommand},
    {"mnuRedo", 0, "", "Ctrl+Y", true, "mnuEdit", MenuEntry::kCommand},
    {"sepEditClipboard", 0, "", "", true, "mnuEdit", MenuEntry::kSeparator},
    {"mnuCut", 0, "", "Ctrl+X", true, "mnuEdit", MenuEntry::kCommand},
    {"mnuCopy", 0, "", "Ctrl+C", true, "mnuEdit", MenuEntry::kCommand},
    {"mnuPaste", 0, "", "Ctrl+V", true, "mnuEdit", MenuEntry::kCommand},
    {"sepEditMove", 0, "", "", true, "mnuEdit", MenuEntry::kSeparator},
    {"mnuMoveUp", 0, "", "Alt+Up", true, "mnuEdit", MenuEntry::kCommand},
    {"mnuMoveDown", 0, "", "Alt+Down", true, "mnuEdit", MenuEntry::kCommand},
    {"mnuProgram", 26, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuReadFre", 27, "", "Ctrl+R", true, "mnuProgram", MenuEntry::kCommand},
    {"mnuWriteFre", 28, "", "Ctrl+W", true, "mnuProgram", MenuEntry::kCommand},
    {"sepBackup", 0, "", "", true, "mnuProgram", MenuEntry::kSeparator},
    {"mnuBackupBeforeWrite", 0, "", "", true, "mnuProgram", MenuEntry::kCommand},
    {"mnuVerifyAfterWrite", 0, "", "", true, "mnuProgram", MenuEntry::kCommand},
    {"sepBatchRw", 0, "", "", false, "mnuProgram", MenuEntry::kSeparator},
    {"mnuReadWriteFre", 48, "", "F2", false, "mnuProgram", MenuEntry::kCommand},
    {"sepAddFre", 0, "", "", false, "mnuProgram", MenuEntry::kSeparator},
    {"mnuAddFre", 44, "", "F7", false, "mnuProgram", MenuEntry::kCommand},
    {"sepTestMode", 0, "", "", false, "mnuProgram", MenuEntry::kSeparator},
    {"mnuTestMode", 40, "", "Ctrl+T", false, "mnuProgram", MenuEntry::kCommand},
    {"mnuTestFre", 41, "", "", false, "mnuProgram", MenuEntry::kCommand},
    {"sepBatchTestVal", 0, "", "", false, "mnuProgram", MenuEntry::kSeparator},
    {"mnuBatchTestVal", 42, "", "Ctrl+B", false, "mnuProgram", MenuEntry::kCommand},
    {"mnuOption", 29, "", "", false, nullptr, MenuEntry::kMenu},
    {"mnuModel", 39, "", "Ctrl+M", true, "mnuOption", MenuEntry::kCommand},
    {"sepOptFunc", 0, "", "", false, "mnuOption", MenuEntry::kSeparator},
    {"mnuFunc", 30, "", "Ctrl+F", true, "mnuOption", MenuEntry::kCommand},
    {"sepOptOthers", 0, "", "", true, "mnuOption", MenuEntry::kSeparator},
    {"mnuDtmf", 45, "", "", true, "mnuOption", MenuEntry::kCommand},
    {"mnuKeySet", 46, "", "", true, "mnuOption", MenuEntry::kCommand},
    {"sepMcuVer", 0, "", "", false, "mnuOption", MenuEntry::kSeparator},
    {"mnuMcuVer", 49, "", "", false, "mnuOption", MenuEntry::kCommand},
    {"sepLockCh", 0, "", "", false, "mnuOption", MenuEntry::kSeparator},
    {"mnuChLock", 47, "", "Ctrl+L", true, "mnuOption", MenuEntry::kCommand},
    {"mnuSet", 31, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuCommunicate", 32, "", "", true, "mnuSet", MenuEntry::kCommand},
    {"ListSeparator55", 0, "", "", true, "mnuSet", MenuEntry::kSeparator},
    {"mnuLockFace", 58, "", "", true, "mnuSet", MenuEntry::kCommand},
    {"ListSeparator15", 0, "", "", true, "mnuSet", MenuEntry::kSeparator},
    {"mnuLangSetting", 33, "", "", true, "mnuSet", MenuEntry::kMenu},
    {"mnuLangSel0", 34, "", "", true, "mnuLangSetting", MenuEntry::kCommand},
    {"mnuLangSel2", 35, "", "", true, "mnuLangSetting", MenuEntry::kCommand},
    {"mnuLangSel1", 57, "", "", true, "mnuLangSetting", MenuEntry::kCommand},
    {"mnuView", 0, "视图(&V)", "", false, nullptr, MenuEntry::kMenu},
    {"mnuTreeView", 0, "树视图(&R)", "", true, "mnuView", MenuEntry::kCommand},
    {"mnuShowErr", 0, "提示", "", true, "mnuView", MenuEntry::kCommand},
    {"mnuWindow", 0, "窗口(&W)", "", false, nullptr, MenuEntry::kMenu},
    {"mnuHelp", 36, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuHelpTopic", 37, "", "F1", false, "mnuHelp", MenuEntry::kCommand},
    {"sepHelpTopic", 0, "", "", false, "mnuHelp", MenuEntry::kSeparator},
    {"mnuShowBackups", 0, "", "", true, "mnuHelp", MenuEntry::kCommand},
    {"mnuAboutSoft", 38, "", "", true, "mnuHelp", MenuEntry::kCommand},
};

// The captions of the entries that the text table has no message for, per language.
struct OwnCaption {
  const char* name;
  const char* simplified;
  const char* traditional;
  const char* english;
};
constexpr OwnCaption kOwnCaptions[] = {
    {"mnuBackupBeforeWrite", "写入前备份", "寫入前備份", "Back up before writing"},
    {"mnuVerifyAfterWrite", "写入后校验", "寫入後校驗", "Verify after writing"},
    {"mnuShowBackups", "打开备份文件夹", "開啟備份資料夾", "Show Backup Folder"},
    {"mnuCompareWith", "与文件比较...", "與檔案比較...", "Compare With..."},
    {"mnuImportChannels", "导入信道...", "匯入頻道...", "Import Channels..."},
    {"mnuExportChannels", "导出信道...", "匯出頻道...", "Export Channels..."},
    {"mnuEdit", "编辑(&E)", "編輯(&E)", "&Edit"},
    {"mnuUndo", "撤销(&U)", "復原(&U)", "&Undo"},
    {"mnuRedo", "重做(&R)", "重做(&R)", "&Redo"},
    {"mnuCut", "剪切信道(&T)", "剪下頻道(&T)", "Cu&t Channel"},
    {"mnuCopy", "复制信道(&C)", "複製頻道(&C)", "&Copy Channel"},
    {"mnuPaste", "粘贴信道(&P)", "貼上頻道(&P)", "&Paste Channels"},
    {"mnuMoveUp", "信道上移", "頻道上移", "Move Channel Up"},
    {"mnuMoveDown", "信道下移", "頻道下移", "Move Channel Down"},
};

// The toolbar: sixteen positions, nine working buttons with their keys and captions.
struct ToolButton {
  int position;
  const char* key;
  int caption;
};
constexpr ToolButton kToolButtons[] = {
    {2, "FileNew", 0}, {4, "FileOpen", 1}, {5, "FileSave", 2}, {7, "Read", 3},  {8, "Write", 4},
    {10, "Com", 5},    {12, "Print", 8},   {14, "Help", 6},    {16, "Exit", 7},
};

const char* HelpFileName(int16_t language) {
  switch (language) {
    case kLangSimplifiedChinese:
      return "ChsHelp";
    case kLangTraditionalChinese:
      return "ChtHelp";
    default:
      return "EngHelp";
  }
}

QString Native(const std::filesystem::path& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path.string()));
}

}  // namespace

MainWindow::MainWindow(Session& session, PortControl& port, Dialogs& dialogs,
                       std::function<int()> systemLocale, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      signals_(new SessionSignals(session, this)),
      port_(port),
      dialogs_(dialogs),
      systemLocale_(std::move(systemLocale)),
      mdiArea_(new QMdiArea(this)) {
  setObjectName("mdifrmMain");
  setWindowIcon(ApplicationIcon());
  mdiArea_->setObjectName("mdiArea");
  setCentralWidget(mdiArea_);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildTimers();
  resize(1100, 760);

  // The first report creates the error list and shows it; from then on the list follows the
  // reports itself.
  connect(signals_, &SessionSignals::reportAdded, this, &MainWindow::OnReportAdded);
  connect(signals_, &SessionSignals::lockChanged, this, &MainWindow::OnLockChanged);
  connect(signals_, &SessionSignals::dataPathChanged, this, &MainWindow::ShowFileName);
  connect(signals_, &SessionSignals::portChanged, this,
          [this](int number) { statusCom_->setText(QString("COM%1").arg(number)); });
}

MainWindow::~MainWindow() = default;

void MainWindow::OnReportAdded() {
  if (!errorList_) mnuShowErr_Click();
}

ErrorListWindow* MainWindow::errorList() const {
  return errorList_.data();
}

QString MainWindow::Text(int number) const {
  return QString::fromStdString(session_.Texts()[number]);
}

void MainWindow::Guarded(const char* label, const std::function<void()>& handler) {
  session_.Report().Guard(label, handler);
}

void MainWindow::BuildMenus() {
  for (const MenuEntry& entry : kMenus) {
    QWidget* owner = entry.parent == nullptr ? static_cast<QWidget*>(menuBar())
                                             : static_cast<QWidget*>(menus_.value(entry.parent));
    QAction* action = nullptr;
    if (entry.kind == MenuEntry::kMenu) {
      auto* menu = new QMenu(QString::fromUtf8(entry.fixedText), owner);
      menu->setObjectName(entry.name);
      menus_.insert(entry.name, menu);
      action = menu->menuAction();
      owner->addAction(action);
    } else {
      action = new QAction(QString::fromUtf8(entry.fixedText), owner);
      action->setSeparator(entry.kind == MenuEntry::kSeparator);
      owner->addAction(action);
    }
    action->setObjectName(entry.name);
    if (entry.shortcut[0] != '\0') action->setShortcut(QKeySequence(entry.shortcut));
    if (entry.caption != 0) captions_.insert(entry.name, entry.caption);
    // A hidden entry, and everything under a hidden menu, is never offered: its shortcut must
    // not act either, so the entries below a hidden menu are hidden too.
    const bool parentShown = entry.parent == nullptr ||
                             entries_.value(entry.parent, nullptr) == nullptr ||
                             entries_.value(entry.parent)->isVisible();
    action->setVisible(entry.shown && parentShown);
    // The entry's own shown flag, whatever its menu: the right-button menu of the channel grid
    // offers its lock item as the main menu's channel-lock entry is shown.
    action->setProperty(kShownProperty, entry.shown);
    entries_.insert(entry.name, action);
  }

  // The entries the program acts on, each in its member; a name missing from the table above
  // stops the program at its first start rather than at the first use of the entry.
  const std::pair<const char*, QAction * Actions::*> members[] = {
      {"mnuFileNew", &Actions::mnuFileNew},
      {"mnuFileOpen", &Actions::mnuFileOpen},
      {"mnuFileSave", &Actions::mnuFileSave},
      {"mnuFileSaveAs", &Actions::mnuFileSaveAs},
      {"mnuExit", &Actions::mnuExit},
      {"mnuReadFre", &Actions::mnuReadFre},
      {"mnuWriteFre", &Actions::mnuWriteFre},
      {"mnuReadWriteFre", &Actions::mnuReadWriteFre},
      {"mnuChLock", &Actions::mnuChLock},
      {"mnuCommunicate", &Actions::mnuCommunicate},
      {"mnuLockFace", &Actions::mnuLockFace},
      {"mnuLangSel0", &Actions::mnuLangSel0},
      {"mnuLangSel1", &Actions::mnuLangSel1},
      {"mnuLangSel2", &Actions::mnuLangSel2},
      {"mnuTreeView", &Actions::mnuTreeView},
      {"mnuShowErr", &Actions::mnuShowErr},
      {"mnuHelpTopic", &Actions::mnuHelpTopic},
      {"mnuAboutSoft", &Actions::mnuAboutSoft},
      {"mnuBackupBeforeWrite", &Actions::mnuBackupBeforeWrite},
      {"mnuVerifyAfterWrite", &Actions::mnuVerifyAfterWrite},
      {"mnuShowBackups", &Actions::mnuShowBackups},
      {"mnuCompareWith", &Actions::mnuCompareWith},
      {"mnuImportChannels", &Actions::mnuImportChannels},
      {"mnuExportChannels", &Actions::mnuExportChannels},
      {"mnuUndo", &Actions::mnuUndo},
      {"mnuRedo", &Actions::mnuRedo},
      {"mnuCut", &Actions::mnuCut},
      {"mnuCopy", &Actions::mnuCopy},
      {"mnuPaste", &Actions::mnuPaste},
      {"mnuMoveUp", &Actions::mnuMoveUp},
      {"mnuMoveDown", &Actions::mnuMoveDown},
  };
  for (const auto& [name, member] : members) {
    actions_.*member = entries_.value(name, nullptr);
    if (actions_.*member == nullptr) qFatal("menu entry %s is missing", name);
  }
  const Actions& a = actions_;
  for (QAction* checkable : {a.mnuLangSel0, a.mnuLangSel1, a.mnuLangSel2, a.mnuLockFace,
                             a.mnuChLock, a.mnuBackupBeforeWrite, a.mnuVerifyAfterWrite}) {
    checkable->setCheckable(true);
  }
  // One language is in force: picking it again keeps its mark.
  auto* languages = new QActionGroup(this);
  languages->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
  for (QAction* language : {a.mnuLangSel0, a.mnuLangSel1, a.mnuLangSel2}) {
    languages->addAction(language);
  }

  connect(a.mnuBackupBeforeWrite, &QAction::triggered, this,
          [this](bool on) { session_.SetBackupBeforeWrite(on); });
  connect(a.mnuVerifyAfterWrite, &QAction::triggered, this,
          [this](bool on) { session_.SetVerifyAfterWrite(on); });
  connect(a.mnuShowBackups, &QAction::triggered, this, [this] {
    const std::filesystem::path backups = session_.DataFolder() / kBackupFolderName;
    std::error_code ignored;
    std::filesystem::create_directories(backups, ignored);
    dialogs_.OpenWithDesktop(Native(backups));
  });
  connect(a.mnuFileNew, &QAction::triggered, this, &MainWindow::NewFile);
  connect(a.mnuFileOpen, &QAction::triggered, this, &MainWindow::OpenFile);
  connect(a.mnuFileSave, &QAction::triggered, this, &MainWindow::SaveFile);
  connect(a.mnuFileSaveAs, &QAction::triggered, this, &MainWindow::SaveAsFile);
  connect(a.mnuCompareWith, &QAction::triggered, this, &MainWindow::CompareWith);
  connect(a.mnuExit, &QAction::triggered, this, &MainWindow::close);
  connect(a.mnuReadFre, &QAction::triggered, this, &MainWindow::mnuReadFre_Click);
  connect(a.mnuWriteFre, &QAction::triggered, this, &MainWindow::mnuWriteFre_Click);
  connect(a.mnuReadWriteFre, &QAction::triggered, this, &MainWindow::mnuReadWriteFre_Click);
  connect(a.mnuCommunicate, &QAction::triggered, this, &MainWindow::mnuCommunicate_Click);
  connect(a.mnuLockFace, &QAction::triggered, this, &MainWindow::mnuLockFace_Click);
  connect(a.mnuChLock, &QAction::triggered, this, &MainWindow::mnuChLock_Click);
  connect(a.mnuLangSel0, &QAction::triggered, this, [this] { mnuLangSel_Click(1); });
  connect(a.mnuLangSel1, &QAction::triggered, this, [this] { mnuLangSel_Click(2); });
  connect(a.mnuLangSel2, &QAction::triggered, this, [this] { mnuLangSel_Click(3); });
  connect(a.mnuHelpTopic, &QAction::triggered, this, &MainWindow::Help);
  connect(a.mnuAboutSoft, &QAction::triggered, this, &MainWindow::mnuAboutSoft_Click);
  connect(a.mnuTreeView, &QAction::triggered, this, &MainWindow::mnuTreeView_Click);
  connect(a.mnuShowErr, &QAction::triggered, this, &MainWindow::mnuShowErr_Click);
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar(QString());
  toolBar_->setObjectName("tlbMdiFrmMain");
  toolBar_->setMovable(false);
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  toolBar_->setIconSize(QSize(32, 32));
  int position = 1;
  for (const ToolButton& button : kToolButtons) {
    // Positions without a working button are spacers.
    for (; position < button.position; ++position) toolBar_->addSeparator();
    QAction* action = toolBar_->addAction(ToolbarIcon(button.key), QString());
    action->setObjectName(button.key);
    action->setData(QString(button.key));
    captions_.insert(QString("tlb") + button.key, button.caption);
    entries_.insert(QString("tlb") + button.key, action);
    connect(action, &QAction::triggered, this,
            [this, key = QString(button.key)] { tlbmdifrmMain_ButtonClick(key); });
    ++position;
  }
}

void MainWindow::BuildStatusBar() {
  statusNotice_ = new QLabel(this);
  statusCom_ = new QLabel(this);
  statusAddress_ = new QLabel(this);
  statusNotice_->setObjectName("statusNotice");
  statusCom_->setObjectName("statusCom");
  statusAddress_->setObjectName("statusAddress");
  statusNotice_->setMinimumWidth(180);
  statusCom_->setMinimumWidth(80);
  QStatusBar* bar = statusBar();
  bar->setObjectName("sbrStatus");
  bar->addWidget(statusNotice_);
  bar->addWidget(statusCom_);
  bar->addWidget(statusAddress_, 1);
}

void MainWindow::BuildTimers() {
  const auto timer = [this](const char* name, int interval, bool running) {
    auto* t = new QTimer(this);
    t->setObjectName(name);
    t->setInterval(interval);
    if (running) t->start();
    return t;
  };
  tmrNoteStatus_ = timer("tmrNoteStatus", 6000, false);
  tmrChLock_ = timer("tmrChLock", 30000, true);
  tmrChLockBlink_ = timer("tmrChLockBlink", 5000, false);
  tmrTabDockErr_ = timer("tmrTabDockErr", 50, false);
  connect(tmrNoteStatus_, &QTimer::timeout, this, [this] { tmrNoteStatus_Timer(); });
  connect(tmrChLock_, &QTimer::timeout, this, [this] { tmrChLock_Timer(); });
  connect(tmrChLockBlink_, &QTimer::timeout, this, [this] { tmrChLockBlink_Timer(); });
}

bool MainWindow::Form_Load() {
  dataSound_ = session_.StartUp(this);
  // After a failed start-up the data are not what the settings describe: nothing is read into
  // them or written from them, and the report says why.
  for (QAction* command : {actions_.mnuReadFre, actions_.mnuWriteFre, actions_.mnuReadWriteFre,
                           actions_.mnuFileSave, actions_.mnuFileSaveAs, entries_.value("tlbRead"),
                           entries_.value("tlbWrite"), entries_.value("tlbFileSave")}) {
    if (command != nullptr) command->setEnabled(dataSound_);
  }
  if (!dataSound_) mnuShowErr_Click();
  actions_.mnuBackupBeforeWrite->setChecked(session_.BackupBeforeWrite());
  actions_.mnuVerifyAfterWrite->setChecked(session_.VerifyAfterWrite());
  return dataSound_;
}

int MainWindow::SystemLocale() {
  return systemLocale_ ? systemLocale_() : 0;
}

bool MainWindow::TestComPort(int16_t port) {
  port_.TestComPort(port);
  return port_.PortFlag[static_cast<std::size_t>(port - 1)] == 1;
}

int16_t MainWindow::AutoSetPort() {
  return port_.AutoSetPort();
}

void MainWindow::CheckLanguageMenu(int16_t language) {
  actions_.mnuLangSel0->setChecked(language == kLangSimplifiedChinese);
  actions_.mnuLangSel1->setChecked(language == kLangTraditionalChinese);
  actions_.mnuLangSel2->setChecked(language == kLangEnglish);
}

void MainWindow::InitChannelWindow() {
  channelWindow_ = new ChannelWindow(session_, *signals_, closing_, dialogs_);
  connect(channelWindow_, &ChannelWindow::statusNotice, this, &MainWindow::SetStatusNotice);
  connect(channelWindow_, &ChannelWindow::memoryWindowRequested, this,
          &MainWindow::ShowMemoryWindow);
  channelWindow_->gridView()->SetLockEntry(actions_.mnuChLock);
  connect(channelWindow_->gridView(), &ChannelGridView::popChLockClicked, this,
          &MainWindow::mnuPopChLock_Click);
  channelSub_ = mdiArea_->addSubWindow(channelWindow_);
  channelSub_->setWindowFlags(Qt::FramelessWindowHint);
  // The channel window is the program's desk: whatever restores it, it fills the area again.
  channelSub_->installEventFilter(this);
  channelWindow_->InitFace();
  channelWindow_->ChInfoModel();
  const Actions& a = actions_;
  channelCommands_ =
      new ChannelCommands(session_, *signals_, *channelWindow_->gridView(), dialogs_, this,
                          {a.mnuUndo, a.mnuRedo, a.mnuCut, a.mnuCopy, a.mnuPaste, a.mnuMoveUp,
                           a.mnuMoveDown, a.mnuImportChannels, a.mnuExportChannels});
}

void MainWindow::OpenCustomRange() {
  if (channelWindow_ != nullptr) channelWindow_->OpenCustomRange();
}

void MainWindow::SetGridMemDat() {
  memory_ = new MemoryWindow(session_);
  memorySub_ = mdiArea_->addSubWindow(memory_);
  // Closing the memory window only hides it.
  memorySub_->setAttribute(Qt::WA_DeleteOnClose, false);
  memorySub_->hide();
  memory_->SetGridMemDat();
  // The cells show the image from the start, so that the first byte typed into them is
  // copied back over the image it belongs to.
  memory_->TableFreDat();
}

void MainWindow::ShowChannelWindow() {
  channelSub_->showMaximized();
  // The grid shows a selected cell from the start; it takes the first keys too.
  channelWindow_->gridView()->setFocus(Qt::OtherFocusReason);
  // The tree window loads the stored option values when it loads.
  Guarded("frmTreeView->Form_Load", [this] { session_.LoadStoredOptions(); });
  treeView_ = new TreeViewWindow(session_.Texts(), this);
  addDockWidget(Qt::LeftDockWidgetArea, treeView_);
  resizeDocks({treeView_}, {190}, Qt::Horizontal);
  treeView_->InitRadioSetTreeView();
  connect(treeView_, &TreeViewWindow::nodeOpened, this, [this](const QString& key) {
    Guarded("frmTreeView->treevMain_NodeClick", [&] { OpenView(key); });
  });
}

void MainWindow::OnLockChanged(bool locked) {
  actions_.mnuChLock->setChecked(locked);
  actions_.mnuLockFace->setChecked(locked);
  LockFaceOperate(locked);
}

void MainWindow::ApplyFont() {
  setFont(InterfaceFont(session_.FontName(), font()));
}

void MainWindow::SetSoftFace() {
  InstallQtTexts(session_.Language());
  ApplyFont();
  // The toolbar's name in the menu that shows or hides it.
  const int16_t language = session_.Language();
  toolBar_->setWindowTitle(language == kLangSimplifiedChinese    ? QStringLiteral("工具栏")
                           : language == kLangTraditionalChinese ? QStringLiteral("工具列")
                                                                 : QStringLiteral("Toolbar"));
  setWindowTitle(Text(msg::kTitle));
  for (auto it = captions_.cbegin(); it != captions_.cend(); ++it) {
    if (QAction* action = entries_.value(it.key(), nullptr)) action->setText(Text(it.value()));
  }
  for (const OwnCaption& own : kOwnCaptions) {
    if (QAction* action = entries_.value(own.name, nullptr)) {
      action->setText(QString::fromUtf8(language == kLangSimplifiedChinese    ? own.simplified
                                        : language == kLangTraditionalChinese ? own.traditional
                                                                              : own.english));
    }
  }
  statusNotice_->setText(Text(msg::kReady));
  statusCom_->setText(QString("COM%1").arg(session_.ComPort()));
  ShowFileName();
}

void MainWindow::ShowFileName() {
  statusAddress_->setText(Text(msg::kFileName) + Native(session_.CurrentDataPath()));
}

QString MainWindow::StatusText(int panel) const {
  switch (panel) {
    case 1:
      return statusNotice_->text();
    case 2:
      return statusCom_->text();
    default:
      return statusAddress_->text();
  }
}

void MainWindow::SetStatusNotice(const QString& text) {
  statusNotice_->setText(text);
}

void MainWindow::NewFile() {
  Guarded("mdifrmMain->NewFile", [this] {
    if (!dialogs_.Ask(this, Text(msg::kNotice), Text(msg::kClearAll))) return;
    session_.NewDataSet();
  });
}

void MainWindow::OpenFile() {
  Guarded("mdifrmMain->OpenFile", [this] {
    const QString chosen =
        dialogs_.OpenFileName(this, Native(session_.CurrentDataPath().parent_path()), kDataFilter);
    if (chosen.isEmpty()) return;
    OpenNamedFile(chosen);
  });
}

void MainWindow::OpenNamedFile(const QString& file) {
  if (!session_.OpenDataFile(file.toStdString())) {
    dialogs_.Tell(this, Text(msg::kNotice), Text(msg::kWrongFile), QMessageBox::Critical);
  }
}

void MainWindow::CompareWith() {
  Guarded("mdifrmMain->CompareWith", [this] {
    const QString chosen =
        dialogs_.OpenFileName(this, Native(session_.CurrentDataPath().parent_path()), kDataFilter);
    if (chosen.isEmpty()) return;
    // The file is opened as a data set of its own, started from the same settings.
    ErrorReport otherReport;
    Session other(session_.Where(), otherReport);
    if (!other.StartUp() || !other.OpenDataFile(chosen.toStdString())) {
      session_.Report().ShowNoteLine("mdifrmMain->CompareWith",
                                     chosen.toStdString() + ": " + otherReport.LastDetail());
      dialogs_.Tell(this, Text(msg::kNotice), Text(msg::kWrongFile), QMessageBox::Critical);
      return;
    }
    const ImageDiff diff = CompareSides(SideOf(session_, session_.ImageAsSaved()),
                                        SideOf(other, other.HeldImage()), session_);
    const QString text =
        QString::fromStdString(diff.Equal() ? NoDifferencesText(session_.Language())
                                            : DiffText(diff, session_.Language()));
    auto* dialog = new TextListDialog(
        "frmCompare",
        actions_.mnuCompareWith->text().remove("...") + " - " + QFileInfo(chosen).fileName(), text,
        false, this);
    dialog->show();
  });
}

void MainWindow::SaveFile() {
  if (!dataSound_) return;
  Guarded("mdifrmMain->SaveFile", [this] {
    if (dialogs_.Ask(this, Text(msg::kNotice), Text(msg::kSaveChanged))) SaveAsFile();
  });
}

void MainWindow::SaveAsFile() {
  if (!dataSound_) return;
  const QString chosen =
      dialogs_.SaveFileName(this, Native(session_.CurrentDataPath()), kDataFilter, "dat");
  if (chosen.isEmpty()) return;
  // The dialog's error state: a name that cannot be written (a folder, or a folder that is
  // missing or not writable) is refused before anything changes.
  const QFileInfo file(chosen);
  const QFileInfo folder(file.absolutePath());
  if (file.isDir() || !folder.isDir() ||
      ::access(folder.absoluteFilePath().toLocal8Bit().constData(), W_OK) != 0) {
    session_.Report().ShowErrLine("mdifrmMain->SaveAsFile", err::kPathFileAccess,
                                  chosen.toStdString() + ": cannot be written");
    dialogs_.Tell(this, Text(msg::kNotice), Text(msg::kSaveFailed), QMessageBox::Critical);
    return;
  }
  session_.SaveAs(chosen.toStdString());
}

void MainWindow::Help() {
  Guarded("mdifrmMain->Help", [this] {
    const QString base = QString::fromStdString(session_.ProgramFolder().string()) + "/" +
                         HelpFileName(NormaliseLanguage(session_.Language()));
    // The manual ships as HTML beside the name the program knows, for desktops that cannot
    // open compiled help.
    const QString chm = base + ".CHM";
    dialogs_.OpenWithDesktop(QFileInfo::exists(chm) ? chm : base + ".html");
  });
}

void MainWindow::mnuAboutSoft_Click() {
  Guarded("mdifrmMain->mnuAboutSoft_Click", [this] {
    AboutBox box(session_.Language(), QString::fromStdString(session_.FontName()), this);
    box.ShowFolders(QString::fromStdString(FoldersText(session_.Where())).trimmed());
    box.exec();
  });
}

void MainWindow::tlbmdifrmMain_ButtonClick(const QString& key) {
  Guarded("mdifrmMain->tlbmdifrmMain_ButtonClick", [&] {
    if (key == "FileNew") {
      NewFile();
    } else if (key == "FileOpen") {
      OpenFile();
    } else if (key == "FileSave") {
      SaveFile();
    } else if (key == "Read") {
      mnuReadFre_Click();
    } else if (key == "Write") {
      mnuWriteFre_Click();
    } else if (key == "Com") {
      mnuCommunicate_Click();
    } else if (key == "Help") {
      Help();
    } else if (key == "Exit") {
      close();
    }
    // "Print" has no action.
  });
}

CommunWindow* MainWindow::communWindow() {
  if (!commun_) {
    commun_ = new CommunWindow(session_, port_, dialogs_, closing_, this);
    connect(commun_, &CommunWindow::refreshMemoryGrid, this, [this] {
      if (memory_) memory_->TableFreDat();
    });
    // A port that fails to open brings the port dialog over the window that started the transfer,
    // so that the user can pick another port.
    connect(commun_, &CommunWindow::portOpenFailed, this, [this] {
      QWidget* owner = QApplication::activeModalWidget();
      ShowPortDialog(owner != nullptr ? owner : this);
    });
  }
  return commun_;
}

MemoryWindow* MainWindow::memoryWindow() const {
  return memory_.data();
}

void MainWindow::ShowMemoryWindow(bool shown) {
  if (memorySub_ == nullptr) return;
  if (!shown) {
    memorySub_->hide();
    return;
  }
  memorySub_->show();
  memory_->show();
  mdiArea_->setActiveSubWindow(memorySub_);
}

void MainWindow::ShowCommun() {
  CommunWindow* window = communWindow();
  window->exec();
}

void MainWindow::mnuReadFre_Click() {
  if (!dataSound_) return;
  Guarded("mdifrmMain->mnuReadFre_Click", [this] {
    communWindow()->ShowButtons(true, false);
    ShowCommun();
  });
}

void MainWindow::mnuWriteFre_Click() {
  if (!dataSound_) return;
  Guarded("mdifrmMain->mnuWriteFre_Click", [this] {
    communWindow()->ShowButtons(false, true);
    ShowCommun();
  });
}

void MainWindow::mnuReadWriteFre_Click() {
  if (!dataSound_) return;
  Guarded("mdifrmMain->mnuReadWriteFre_Click", [this] { ShowCommun(); });
}

void MainWindow::ShowPortDialog(QWidget* owner) {
  PortDialog dialog(session_, port_, owner);
  dialog.exec();
  statusCom_->setText(QString("COM%1").arg(session_.ComPort()));
}

void MainWindow::mnuCommunicate_Click() {
  Guarded("mdifrmMain->mnuCommunicate_Click", [this] { ShowPortDialog(this); });
}

void MainWindow::mnuLangSel_Click(int16_t language) {
  if (language == session_.Language()) return;
  CheckLanguageMenu(language);
  SwiLangFace(language);
}

void MainWindow::SwiLangFace(int16_t language) {
  session_.ChooseLanguage(language);
  dialogs_.Tell(this, "Message",
                QString::fromStdString(SoftFace::Build(kLangEnglish)[msg::kLanguageSwitched]),
                QMessageBox::Question);
  close();
}

void MainWindow::LockFaceOperate(bool locked) {
  Guarded("mdifrmMain->LockFaceOperate", [&] {
    if (locked) {
      statusNotice_->setText(Text(msg::kLocked));
    } else {
      statusNotice_->setText(Text(msg::kReady));
      tmrChLockBlink_->stop();
    }
    if (channelWindow_ != nullptr) channelWindow_->SetLocked(locked);
  });
}

void MainWindow::mnuLockFace_Click() {
  Guarded("mdifrmMain->mnuLockFace_Click", [this] {
    // The entry's own check mark has already toggled when the menu ran it.
    session_.SetLock(actions_.mnuLockFace->isChecked());
    session_.StoreLock("mdifrmMain->mnuLockFace_Click");
  });
}

void MainWindow::mnuChLock_Click() {
  Guarded("mdifrmMain->mnuChLock_Click", [this] {
    session_.SetLock(actions_.mnuChLock->isChecked());
    session_.StoreLock("mdifrmMain->mnuChLock_Click");
  });
}

void MainWindow::mnuPopChLock_Click() {
  Guarded("mdifrmMain->mnuPopChLock_Click", [this] {
    QAction* lock = actions_.mnuChLock;
    lock->setChecked(!lock->isChecked());
    mnuChLock_Click();
  });
}

void MainWindow::tmrChLock_Timer() {
  if (session_.Locked() && statusNotice_->text() == Text(msg::kReady)) {
    statusNotice_->setText(Text(msg::kLocked));
    tmrChLockBlink_->start();
  }
}

void MainWindow::tmrChLockBlink_Timer() {
  if (!session_.Locked()) return;
  blinkPhase_ = blinkPhase_ == 0 ? 1 : 0;
  const QString notice = statusNotice_->text();
  if (notice == Text(msg::kReady) || notice == Text(msg::kLocked) || notice.isEmpty()) {
    statusNotice_->setText(Text(blinkPhase_ == 1 ? msg::kLocked : msg::kReady));
  }
}

void MainWindow::tmrNoteStatus_Timer() {
  tmrNoteStatus_->stop();
  statusNotice_->setText(Text(msg::kReady));
}

void MainWindow::mnuTreeView_Click() {
  if (treeView_ != nullptr) treeView_->show();
}

void MainWindow::mnuShowErr_Click() {
  if (!errorList_) {
    errorList_ = new ErrorListWindow(session_.Report(), *signals_, Text(msg::kNotice), this);
    addDockWidget(Qt::BottomDockWidgetArea, errorList_);
    // The list opens about six lines high, leaving the channel grid its rows.
    resizeDocks({errorList_}, {errorList_->ModestHeight()}, Qt::Vertical);
  }
  errorList_->show();
}

void MainWindow::OpenView(const QString& key) {
  QWidget* view = nullptr;
  if (key == "ChInfo") {
    channelSub_->showMaximized();
    mdiArea_->setActiveSubWindow(channelSub_);
    return;
  }
  if (key == "RadioInfo") {
    if (!radioInfo_) {
      radioInfo_ = new RadioInfoWindow(session_.Texts());
      mdiArea_->addSubWindow(radioInfo_)->setAttribute(Qt::WA_DeleteOnClose, false);
      connect(radioInfo_, &RadioInfoWindow::memoryWindowRequested, this,
              [this] { ShowMemoryWindow(true); });
    }
    radioInfo_->ShowRadio(Text(msg::kModelName),
                          RadioInfoWindow::RangeText(session_.Band().lower, session_.Band().upper),
                          LastWriteText());
    view = radioInfo_;
  } else if (key == "SysSet") {
    if (!sysSet_) {
      sysSet_ = new SysSetWindow();
      // Closing these views only hides them until the program closes.
      mdiArea_->addSubWindow(sysSet_)->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    view = sysSet_;
  }
  if (view == nullptr) return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget())) {
    sub->showMaximized();
    mdiArea_->setActiveSubWindow(sub);
  }
}

QString MainWindow::LastWriteText() const {
  const std::optional<std::string> stamp = StampText(session_.Image());
  return stamp ? QString::fromStdString(*stamp) : Text(msg::kNeverWritten);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == channelSub_ && event->type() == QEvent::WindowStateChange && !closing_ &&
      !channelSub_->isMaximized() && !channelSub_->isHidden()) {
    QTimer::singleShot(0, channelSub_, [this] {
      if (!closing_ && !channelSub_->isMaximized()) channelSub_->showMaximized();
    });
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  session_.Report().Guard("mdifrmMain->MDIForm_QueryUnload", [&] {
    if (!closing_ && !dialogs_.Ask(this, Text(msg::kNotice), Text(msg::kExit))) {
      event->ignore();
      return;
    }
    closing_ = true;
    // Child windows close in a fixed order: settings tree, print selection, radio information,
    // channel window, communication window, error list, partial fill, memory window.
    if (treeView_ != nullptr) treeView_->close();
    if (sysSet_) sysSet_->close();
    if (radioInfo_) radioInfo_->close();
    if (channelWindow_ != nullptr) channelWindow_->close();
    if (commun_) commun_->close();
    if (errorList_) errorList_->close();
    if (memory_ && memory_->partFill() != nullptr) memory_->partFill()->close();
    if (memory_) memory_->close();
    mdiArea_->closeAllSubWindows();
    event->accept();
  });
}

}  // namespace tq::ui
