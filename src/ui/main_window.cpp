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

#include "comm/port_control.h"
#include "files/data_file.h"
#include "image/stamp.h"
#include "options/option_codec.h"
#include "ui/about_box.h"
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
#include "ui/radio_info.h"
#include "ui/sys_set.h"
#include "ui/tree_view.h"

namespace tq::ui {
namespace {

constexpr int kMsgTitle = 16;
constexpr int kMsgNotice = 70;
constexpr int kMsgExit = 73;
constexpr int kMsgClearAll = 74;
constexpr int kMsgSaveChanged = 82;
constexpr int kMsgWrongFile = 83;
constexpr int kMsgFileName = 85;
constexpr int kMsgSaveFailed = 86;
constexpr int kMsgReady = 94;
constexpr int kMsgLocked = 116;
constexpr const char* kShowLock = "ShowLock";
constexpr const char* kShowNo = "ShowNo";
constexpr const char* kDataFilter = "Data File(*.dat)";

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
    {"sepPrintFile", 0, "", "", false, "mnuFile", MenuEntry::kSeparator},
    {"mnuPrintFile", 43, "", "Ctrl+P", false, "mnuFile", MenuEntry::kCommand},
    {"ListSeparator5", 0, "", "", true, "mnuFile", MenuEntry::kSeparator},
    {"mnuExit", 25, "", "", true, "mnuFile", MenuEntry::kCommand},
    {"mnuProgram", 26, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuReadFre", 27, "", "Ctrl+R", true, "mnuProgram", MenuEntry::kCommand},
    {"mnuWriteFre", 28, "", "Ctrl+W", true, "mnuProgram", MenuEntry::kCommand},
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
    {"mnuLangSel1", 57, "", "", false, "mnuLangSetting", MenuEntry::kCommand},
    {"mnuView", 0, "视图(&V)", "", false, nullptr, MenuEntry::kMenu},
    {"mnuTreeView", 0, "树视图(&R)", "", true, "mnuView", MenuEntry::kCommand},
    {"mnuShowErr", 0, "提示", "", true, "mnuView", MenuEntry::kCommand},
    {"mnuWindow", 0, "窗口(&W)", "", false, nullptr, MenuEntry::kMenu},
    {"mnuHelp", 36, "", "", true, nullptr, MenuEntry::kMenu},
    {"mnuHelpTopic", 37, "", "F1", false, "mnuHelp", MenuEntry::kCommand},
    {"sepHelpTopic", 0, "", "", false, "mnuHelp", MenuEntry::kSeparator},
    {"mnuAboutSoft", 38, "", "", true, "mnuHelp", MenuEntry::kCommand},
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

MainWindow::MainWindow(Document& doc, PortControl& port, Dialogs& dialogs,
                       std::function<int()> systemLocale, QWidget* parent)
    : QMainWindow(parent),
      doc_(doc),
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
  // report itself.
  doc_.report.SetListener([this](const std::string&, int) {
    if (!errorList_) mnuShowErr_Click();
  });
  // A port that fails to open during a transfer brings the port dialog over the window that
  // started the transfer, so that the user can pick another port.
  port_.onOpenFailed = [this] {
    QWidget* owner = QApplication::activeModalWidget();
    ShowPortDialog(owner != nullptr ? owner : this);
  };
}

MainWindow::~MainWindow() {
  doc_.report.SetListener({});
  port_.onOpenFailed = {};
}

ErrorListWindow* MainWindow::errorList() const {
  return errorList_.data();
}

QString MainWindow::Text(int number) const {
  return QString::fromStdString(doc_.softFace[number]);
}

QAction* MainWindow::Action(const char* name) const {
  return actions_.value(name, nullptr);
}

void MainWindow::Guarded(const char* label, const std::function<void()>& handler) {
  doc_.report.Guard(label, handler);
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
                             actions_.value(entry.parent, nullptr) == nullptr ||
                             actions_.value(entry.parent)->isVisible();
    action->setVisible(entry.shown && parentShown);
    actions_.insert(entry.name, action);
  }
  for (const char* name :
       {"mnuLangSel0", "mnuLangSel1", "mnuLangSel2", "mnuLockFace", "mnuChLock"}) {
    Action(name)->setCheckable(true);
  }

  connect(Action("mnuFileNew"), &QAction::triggered, this, [this] { NewFile(); });
  connect(Action("mnuFileOpen"), &QAction::triggered, this, [this] { OpenFile(); });
  connect(Action("mnuFileSave"), &QAction::triggered, this, [this] { SaveFile(); });
  connect(Action("mnuFileSaveAs"), &QAction::triggered, this, [this] { SaveAsFile(); });
  connect(Action("mnuExit"), &QAction::triggered, this, [this] { close(); });
  connect(Action("mnuReadFre"), &QAction::triggered, this, [this] { mnuReadFre_Click(); });
  connect(Action("mnuWriteFre"), &QAction::triggered, this, [this] { mnuWriteFre_Click(); });
  connect(Action("mnuReadWriteFre"), &QAction::triggered, this,
          [this] { mnuReadWriteFre_Click(); });
  connect(Action("mnuCommunicate"), &QAction::triggered, this, [this] { mnuCommunicate_Click(); });
  connect(Action("mnuLockFace"), &QAction::triggered, this, [this] { mnuLockFace_Click(); });
  connect(Action("mnuChLock"), &QAction::triggered, this, [this] { mnuChLock_Click(); });
  connect(Action("mnuLangSel0"), &QAction::triggered, this, [this] { mnuLangSel_Click(1); });
  connect(Action("mnuLangSel1"), &QAction::triggered, this, [this] { mnuLangSel_Click(2); });
  connect(Action("mnuLangSel2"), &QAction::triggered, this, [this] { mnuLangSel_Click(3); });
  connect(Action("mnuHelpTopic"), &QAction::triggered, this, [this] { Help(); });
  connect(Action("mnuAboutSoft"), &QAction::triggered, this, [this] { mnuAboutSoft_Click(); });
  connect(Action("mnuTreeView"), &QAction::triggered, this, [this] { mnuTreeView_Click(); });
  connect(Action("mnuShowErr"), &QAction::triggered, this, [this] { mnuShowErr_Click(); });
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
    actions_.insert(QString("tlb") + button.key, action);
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
  StartUpHooks hooks;
  hooks.firstRunDetection = true;
  hooks.systemLocale = systemLocale_;
  hooks.testComPort = [this](int16_t n) {
    port_.TestComPort(n);
    return port_.PortFlag[static_cast<std::size_t>(n - 1)] == 1;
  };
  hooks.autoSetPort = [this]() -> int16_t {
    const int16_t before = port_.ComPort;
    port_.ComPort = 0;
    port_.AutoSetPort();
    const int16_t chosen = port_.ComPort;
    if (chosen == 0) port_.ComPort = before;
    return chosen;
  };
  hooks.checkLanguageMenu = [this](int16_t language) {
    Action("mnuLangSel0")->setChecked(language == kLangSimplifiedChinese);
    Action("mnuLangSel1")->setChecked(language == kLangTraditionalChinese);
    Action("mnuLangSel2")->setChecked(language == kLangEnglish);
  };
  hooks.setSoftFace = [this] {
    port_.ComPort = doc_.ComPort;
    ApplyFont();
    SetSoftFace();
  };
  hooks.initChannelWindow = [this] {
    channelWindow_ = new ChannelWindow(doc_, closing_, dialogs_);
    channelWindow_->newDataSet = [this] {
      ShowFileName();
      doc_.NewFileSol();
      ShowNewData();
    };
    channelWindow_->statusNotice = [this](const QString& text) { SetStatusNotice(text); };
    channelWindow_->memoryWindow = [this](bool shown) { ShowMemoryWindow(shown); };
    channelWindow_->gridView()->lockEntry = [this] {
      const QAction* lock = findChild<QAction*>("mnuChLock");
      return ChannelGridView::LockEntry{lock->isVisible(), lock->isChecked()};
    };
    channelWindow_->gridView()->popChLock = [this] { mnuPopChLock_Click(); };
    channelSub_ = mdiArea_->addSubWindow(channelWindow_);
    channelSub_->setWindowFlags(Qt::FramelessWindowHint);
    channelWindow_->InitFace();
    channelWindow_->ChInfoModel();
  };
  hooks.showNewData = [this] { ShowNewData(); };
  hooks.setGridMemDat = [this] {
    memory_ = new MemoryWindow(doc_);
    memorySub_ = mdiArea_->addSubWindow(memory_);
    // Closing the memory window only hides it.
    memorySub_->setAttribute(Qt::WA_DeleteOnClose, false);
    memorySub_->hide();
    memory_->SetGridMemDat();
    // The cells show the image from the start, so that the first byte typed into them is
    // copied back over the image it belongs to.
    memory_->TableFreDat();
  };
  hooks.showChannelWindow = [this] {
    channelSub_->showMaximized();
    // The tree window loads the stored option values when it loads.
    Guarded("frmTreeView->Form_Load",
            [this] { OptNowDefSol(0, doc_.language, doc_.options, doc_.settings); });
    treeView_ = new TreeViewWindow(doc_.softFace, this);
    addDockWidget(Qt::LeftDockWidgetArea, treeView_);
    resizeDocks({treeView_}, {190}, Qt::Horizontal);
    treeView_->InitRadioSetTreeView();
    connect(treeView_, &TreeViewWindow::nodeOpened, this, [this](const QString& key) {
      Guarded("frmTreeView->treevMain_NodeClick", [&] { OpenView(key); });
    });
  };
  hooks.applyLock = [this](bool locked) {
    Action("mnuChLock")->setChecked(locked);
    Action("mnuLockFace")->setChecked(locked);
    LockFaceOperate(locked);
  };
  return doc_.StartUp(hooks);
}

void MainWindow::ApplyFont() {
  setFont(InterfaceFont(doc_.fontName, font()));
}

void MainWindow::SetSoftFace() {
  setWindowTitle(Text(kMsgTitle));
  for (auto it = captions_.cbegin(); it != captions_.cend(); ++it) {
    if (QAction* action = actions_.value(it.key(), nullptr)) action->setText(Text(it.value()));
  }
  statusNotice_->setText(Text(kMsgReady));
  statusCom_->setText(QString("COM%1").arg(port_.ComPort));
  ShowFileName();
}

void MainWindow::ShowFileName() {
  statusAddress_->setText(Text(kMsgFileName) + Native(doc_.currentDataPath));
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

void MainWindow::ShowNewData() {
  if (channelWindow_ == nullptr) return;
  channelWindow_->ShowModelAndBand();
  channelWindow_->InitOpt();
  channelWindow_->ShowChannels();
}

void MainWindow::NewFile() {
  Guarded("mdifrmMain->NewFile", [this] {
    if (!dialogs_.Ask(this, Text(kMsgNotice), Text(kMsgClearAll))) return;
    doc_.currentDataPath = doc_.defaultDataPath;
    ShowFileName();
    doc_.NewFileSol();
    ShowNewData();
  });
}

void MainWindow::OpenFile() {
  Guarded("mdifrmMain->OpenFile", [this] {
    const QString chosen = dialogs_.OpenFileName(this, Native(doc_.currentDataPath), kDataFilter);
    if (chosen.isEmpty()) return;
    if (!doc_.OpenDataFile(chosen.toStdString())) {
      dialogs_.Tell(this, Text(kMsgNotice), Text(kMsgWrongFile), QMessageBox::Critical);
      return;
    }
    ShowNewData();
    ShowFileName();
  });
}

void MainWindow::SaveFile() {
  Guarded("mdifrmMain->SaveFile", [this] {
    if (dialogs_.Ask(this, Text(kMsgNotice), Text(kMsgSaveChanged))) SaveAsFile();
  });
}

void MainWindow::SaveAsFile() {
  const QString chosen =
      dialogs_.SaveFileName(this, Native(doc_.currentDataPath), kDataFilter, "dat");
  if (chosen.isEmpty()) return;
  // The dialog's error state: a name that cannot be written (a folder, or a folder that is
  // missing or not writable) is refused before anything changes.
  const QFileInfo file(chosen);
  const QFileInfo folder(file.absolutePath());
  if (file.isDir() || !folder.isDir() ||
      ::access(folder.absoluteFilePath().toLocal8Bit().constData(), W_OK) != 0) {
    doc_.report.ShowErrLine("mdifrmMain->SaveAsFile", err::kPathFileAccess,
                            chosen.toStdString() + ": cannot be written");
    dialogs_.Tell(this, Text(kMsgNotice), Text(kMsgSaveFailed), QMessageBox::Critical);
    return;
  }
  doc_.currentDataPath = chosen.toStdString();
  doc_.SaveDatFile();
  ShowFileName();
}

void MainWindow::Help() {
  Guarded("mdifrmMain->Help", [this] {
    doc_.language = NormaliseLanguage(doc_.language);
    const QString base =
        QString::fromStdString(doc_.programFolder.string()) + "/" + HelpFileName(doc_.language);
    // The manual ships as HTML beside the name the program knows, for desktops that cannot
    // open compiled help.
    const QString chm = base + ".CHM";
    dialogs_.OpenWithDesktop(QFileInfo::exists(chm) ? chm : base + ".html");
  });
}

void MainWindow::mnuAboutSoft_Click() {
  Guarded("mdifrmMain->mnuAboutSoft_Click", [this] {
    AboutBox box(doc_.language, QString::fromStdString(doc_.fontName), this);
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
    commun_ = new CommunWindow(doc_, port_, dialogs_, closing_, this);
    commun_->softDisplay = [this] {
      doc_.SoftDisplay();
      ShowNewData();
    };
    commun_->refreshMemoryGrid = [this] {
      if (memory_) memory_->TableFreDat();
    };
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
  Guarded("mdifrmMain->mnuReadFre_Click", [this] {
    communWindow()->ShowButtons(true, false);
    ShowCommun();
  });
}

void MainWindow::mnuWriteFre_Click() {
  Guarded("mdifrmMain->mnuWriteFre_Click", [this] {
    communWindow()->ShowButtons(false, true);
    ShowCommun();
  });
}

void MainWindow::mnuReadWriteFre_Click() {
  Guarded("mdifrmMain->mnuReadWriteFre_Click", [this] { ShowCommun(); });
}

void MainWindow::ShowPortDialog(QWidget* owner) {
  PortDialog dialog(doc_, port_, owner);
  dialog.exec();
  statusCom_->setText(QString("COM%1").arg(port_.ComPort));
}

void MainWindow::mnuCommunicate_Click() {
  Guarded("mdifrmMain->mnuCommunicate_Click", [this] { ShowPortDialog(this); });
}

void MainWindow::mnuLangSel_Click(int16_t language) {
  if (language == doc_.language) return;
  Action("mnuLangSel0")->setChecked(language == kLangSimplifiedChinese);
  Action("mnuLangSel1")->setChecked(language == kLangTraditionalChinese);
  Action("mnuLangSel2")->setChecked(language == kLangEnglish);
  doc_.language = language;
  SwiLangFace(language);
}

void MainWindow::SwiLangFace(int16_t language) {
  // The result of the write is not examined: the message and the close follow in any case.
  doc_.report.Guard("mdifrmMain->SwiLangFace", [&] {
    doc_.settings.WriteSetting("Setting", "Language", std::to_string(language));
  });
  dialogs_.Tell(this, "Message", QString::fromStdString(SoftFace::Build(kLangEnglish)[68]),
                QMessageBox::Question);
  close();
}

void MainWindow::LockFaceOperate(bool locked) {
  Guarded("mdifrmMain->LockFaceOperate", [&] {
    doc_.channelLock = locked ? kShowLock : kShowNo;
    if (locked) {
      statusNotice_->setText(Text(kMsgLocked));
    } else {
      statusNotice_->setText(Text(kMsgReady));
      tmrChLockBlink_->stop();
    }
    if (channelWindow_ != nullptr) channelWindow_->SetLocked(locked);
  });
}

void MainWindow::mnuLockFace_Click() {
  Guarded("mdifrmMain->mnuLockFace_Click", [this] {
    // The entry's own check mark has already toggled when the menu ran it.
    const bool locked = Action("mnuLockFace")->isChecked();
    Action("mnuChLock")->setChecked(locked);
    LockFaceOperate(locked);
    doc_.report.Guard("mdifrmMain->mnuLockFace_Click", [&] {
      doc_.settings.WriteSetting("Setting", "ChannelLock", doc_.channelLock);
    });
  });
}

void MainWindow::mnuChLock_Click() {
  Guarded("mdifrmMain->mnuChLock_Click", [this] {
    const bool locked = Action("mnuChLock")->isChecked();
    Action("mnuLockFace")->setChecked(locked);
    LockFaceOperate(locked);
    doc_.report.Guard("mdifrmMain->mnuChLock_Click", [&] {
      doc_.settings.WriteSetting("Setting", "ChannelLock", doc_.channelLock);
    });
  });
}

void MainWindow::mnuPopChLock_Click() {
  Guarded("mdifrmMain->mnuPopChLock_Click", [this] {
    QAction* lock = Action("mnuChLock");
    lock->setChecked(!lock->isChecked());
    mnuChLock_Click();
  });
}

void MainWindow::tmrChLock_Timer() {
  if (doc_.channelLock == kShowLock && statusNotice_->text() == Text(kMsgReady)) {
    statusNotice_->setText(Text(kMsgLocked));
    tmrChLockBlink_->start();
  }
}

void MainWindow::tmrChLockBlink_Timer() {
  if (doc_.channelLock != kShowLock) return;
  blinkPhase_ = blinkPhase_ == 0 ? 1 : 0;
  const QString notice = statusNotice_->text();
  if (notice == Text(kMsgReady) || notice == Text(kMsgLocked) || notice.isEmpty()) {
    statusNotice_->setText(Text(blinkPhase_ == 1 ? kMsgLocked : kMsgReady));
  }
}

void MainWindow::tmrNoteStatus_Timer() {
  tmrNoteStatus_->stop();
  statusNotice_->setText(Text(kMsgReady));
}

void MainWindow::mnuTreeView_Click() {
  if (treeView_ != nullptr) treeView_->show();
}

void MainWindow::mnuShowErr_Click() {
  if (!errorList_) {
    errorList_ = new ErrorListWindow(doc_.report, Text(kMsgNotice), this);
    addDockWidget(Qt::BottomDockWidgetArea, errorList_);
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
      radioInfo_ = new RadioInfoWindow(doc_.softFace);
      mdiArea_->addSubWindow(radioInfo_)->setAttribute(Qt::WA_DeleteOnClose, false);
      connect(radioInfo_, &RadioInfoWindow::memoryWindowRequested, this,
              [this] { ShowMemoryWindow(true); });
    }
    radioInfo_->ShowRadio(Text(356), RadioInfoWindow::RangeText(doc_.band.lower, doc_.band.upper),
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
  const std::optional<std::string> stamp = StampText(doc_.IicDat);
  return stamp ? QString::fromStdString(*stamp) : Text(179);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  doc_.report.Guard("mdifrmMain->MDIForm_QueryUnload", [&] {
    if (!closing_ && !dialogs_.Ask(this, Text(kMsgNotice), Text(kMsgExit))) {
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
