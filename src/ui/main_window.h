// The main window mdifrmMain: the multi-document frame with the menu bar, the toolbar, the
// three-panel status bar, the timers, the docked settings tree and error list, and the channel
// window maximised inside. It runs the start-up sequence and the shut-down question, the file
// commands, the language switch and the interface lock.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QPointer>

#include "session/session.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

namespace tq {
class PortControl;
}

namespace tq::ui {

class AboutBox;
class ChannelWindow;
class ChannelCommands;
class CommunWindow;
class MemoryWindow;
class Dialogs;
class ErrorListWindow;
class RadioInfoWindow;
class SysSetWindow;
class TreeViewWindow;

class SessionSignals;

class MainWindow : public QMainWindow, private SessionWindows {
  Q_OBJECT

 public:
  // `systemLocale` answers the first-run detection (0x0804 for Chinese, PRC).
  MainWindow(Session& session, PortControl& port, Dialogs& dialogs,
             std::function<int()> systemLocale, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The start-up sequence (Form_Load); false when a step failed and the rest were skipped.
  bool Form_Load();

  // File commands.
  void NewFile();
  void OpenFile();
  // Opens `file` as File > Open does with the file chosen (also the program's FILE argument).
  void OpenNamedFile(const QString& file);
  void SaveFile();
  void SaveAsFile();
  // File > Compare With...: the differences between the data here and a chosen file.
  void CompareWith();
  // Help of the running language, the about box, the toolbar dispatch by key.
  void Help();
  void mnuAboutSoft_Click();
  void tlbmdifrmMain_ButtonClick(const QString& key);
  // The communication window for reading, for writing, or with both buttons as they are; it is
  // created on first use and shown modally.
  void mnuReadFre_Click();
  void mnuWriteFre_Click();
  void mnuReadWriteFre_Click();
  // The port dialog; the status panel shows the port chosen when it closes.
  void mnuCommunicate_Click();
  // The language menu and the switch to another language.
  void mnuLangSel_Click(int16_t language);
  void SwiLangFace(int16_t language);
  // The interface lock.
  void LockFaceOperate(bool locked);
  void mnuLockFace_Click();
  void mnuChLock_Click();
  void mnuPopChLock_Click();
  void tmrChLock_Timer();
  void tmrChLockBlink_Timer();
  void tmrNoteStatus_Timer();
  // Shows the settings tree or the error list.
  void mnuTreeView_Click();
  void mnuShowErr_Click();

  // Set once the exit question was answered Yes: every child window may close then.
  bool Closing() const { return closing_; }
  ChannelWindow* channelWindow() const { return channelWindow_; }
  // The communication window, created hidden on first use.
  CommunWindow* communWindow();
  // The memory window, created hidden at start-up; shown or hidden by the service gestures.
  MemoryWindow* memoryWindow() const;
  void ShowMemoryWindow(bool shown);
  ErrorListWindow* errorList() const;
  TreeViewWindow* treeView() const { return treeView_; }
  QString StatusText(int panel) const;
  // The session's notices as signals, for every window of the program.
  SessionSignals& sessionSignals() const { return *signals_; }
  void SetStatusNotice(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void BuildTimers();
  void ShowFileName();
  void ApplyFont();
  // Start-up steps that belong to the windows and the port.
  int SystemLocale() override;
  bool TestComPort(int16_t port) override;
  int16_t AutoSetPort() override;
  void CheckLanguageMenu(int16_t language) override;
  void SetSoftFace() override;
  void InitChannelWindow() override;
  void SetGridMemDat() override;
  void ShowChannelWindow() override;
  void OpenCustomRange() override;
  // Session notices.
  void OnLockChanged(bool locked);
  void OnReportAdded();
  void ShowCommun();
  void ShowPortDialog(QWidget* owner);
  void OpenView(const QString& key);
  QString LastWriteText() const;
  QString Text(int number) const;
  // Runs a command handler under its position label; nothing escapes to the event loop.
  void Guarded(const char* label, const std::function<void()>& handler);

  Session& session_;
  SessionSignals* signals_;
  PortControl& port_;
  Dialogs& dialogs_;
  std::function<int()> systemLocale_;
  bool closing_ = false;
  // False after a failed start-up: the data are not read, written or saved then.
  bool dataSound_ = true;
  int16_t blinkPhase_ = 0;

  QMdiArea* mdiArea_;
  QToolBar* toolBar_ = nullptr;
  QLabel* statusNotice_ = nullptr;
  QLabel* statusCom_ = nullptr;
  QLabel* statusAddress_ = nullptr;
  QTimer* tmrNoteStatus_ = nullptr;
  QTimer* tmrChLock_ = nullptr;
  QTimer* tmrChLockBlink_ = nullptr;
  QTimer* tmrTabDockErr_ = nullptr;
  // The menu entries the program acts on.
  struct Actions {
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuReadFre = nullptr;
    QAction* mnuWriteFre = nullptr;
    QAction* mnuReadWriteFre = nullptr;
    QAction* mnuChLock = nullptr;
    QAction* mnuCommunicate = nullptr;
    QAction* mnuLockFace = nullptr;
    QAction* mnuLangSel0 = nullptr;
    QAction* mnuLangSel1 = nullptr;
    QAction* mnuLangSel2 = nullptr;
    QAction* mnuTreeView = nullptr;
    QAction* mnuShowErr = nullptr;
    QAction* mnuHelpTopic = nullptr;
    QAction* mnuAboutSoft = nullptr;
    QAction* mnuBackupBeforeWrite = nullptr;
    QAction* mnuVerifyAfterWrite = nullptr;
    QAction* mnuShowBackups = nullptr;
    QAction* mnuCompareWith = nullptr;
    QAction* mnuImportChannels = nullptr;
    QAction* mnuExportChannels = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QAction* mnuMoveUp = nullptr;
    QAction* mnuMoveDown = nullptr;
  } actions_;
  QMap<QString, QAction*> entries_;  // every entry by object name, for the captions
  QMap<QString, QMenu*> menus_;
  QMap<QString, int> captions_;  // object name -> message number

  ChannelWindow* channelWindow_ = nullptr;
  ChannelCommands* channelCommands_ = nullptr;
  QMdiSubWindow* channelSub_ = nullptr;
  QPointer<ErrorListWindow> errorList_;
  TreeViewWindow* treeView_ = nullptr;
  QPointer<RadioInfoWindow> radioInfo_;
  QPointer<SysSetWindow> sysSet_;
  QPointer<CommunWindow> commun_;
  QPointer<MemoryWindow> memory_;
  QMdiSubWindow* memorySub_ = nullptr;
};

}  // namespace tq::ui
