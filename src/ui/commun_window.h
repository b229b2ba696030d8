// The communication window frmCommun: the read and write buttons, the progress bar with its
// percentage, the transfer light and the data list that logs every byte on the line. A hidden
// panel, opened by a double-click gesture on the top frame, holds the address boxes of the
// transfers and the memory grid, and the choice to refresh the memory grid after a transfer.
// The main window shows it modally; closing it only hides it until the program closes.
#pragma once

#include <QDialog>
#include <functional>

#include "comm/data_list.h"
#include "comm/transfer.h"
#include "comm/wait.h"
#include "session/session.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tq {
class PortControl;
}

namespace tq::ui {

class Dialogs;

class CommunWindow : public QDialog, private TransferObserver, private DataListObserver {
  Q_OBJECT

 public:
  // `programClosing` is the main window's flag: once it is set the window may really close.
  CommunWindow(Session& session, PortControl& port, Dialogs& dialogs, const bool& programClosing,
               QWidget* parent = nullptr);
  ~CommunWindow() override;

  // Captions from the text table, the interface font, the percentage in red and empty.
  void InitFace();
  // Which of the two buttons the window offers: the read command shows only cmdRead, the write
  // command only cmdWrite.
  void ShowButtons(bool read, bool write);
  // Progress bar at `percent` and the percentage text ("50 %").
  void ShowComPercent(int16_t percent) override;

  // The read and the write transfer over the program's port, with the wait that keeps the
  // windows alive. Nothing happens while a transfer runs.
  void cmdRead_Click();
  void cmdWrite_Click();
  // The hidden panel gesture: the 6th, 16th, 26th ... double-click shows or hides the panel.
  void fraOne_DblClick();
  void tmrLigGrint_Timer();

  bool Running() const { return running_; }
  DataList& dataList() { return list_; }
  Wait& wait() { return wait_; }

 signals:
  // TableFreDat of the memory window; after a transfer when "Show Memory Data" is ticked.
  void refreshMemoryGrid();
  // The port did not open: the user may pick another one.
  void portOpenFailed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 public slots:
  void reject() override;

 private:
  void Transfer(bool reading);
  // Hides the frames that the window's height leaves out.
  void ShowFramesInside();
  void SetRunning(bool running, bool reading);
  // TransferObserver
  void MessageBox(int number) override;
  void WriteStopped(const WriteStop& stop) override;
  void TellUser(const std::string& text) override;
  void Running(bool running, bool reading) override { SetRunning(running, reading); }
  void PortOpenFailed() override { emit portOpenFailed(); }
  void RefreshMemoryGrid() override { emit refreshMemoryGrid(); }
  // DataListObserver
  void LineAdded(const std::string&, int, bool cleared) override { ShowDataListLines(cleared); }
  void HideWindow();
  void ShowDataListLines(bool cleared);
  void FlushDataList();
  int Twips(int twips) const;
  QString Text(int number) const;

  Session& session_;
  PortControl& port_;
  Dialogs& dialogs_;
  const bool& programClosing_;
  SteadyClock clock_;
  LinkWait wait_;
  DataList list_;
  bool running_ = false;
  bool linesPending_ = false;
  int16_t dblClickCount_ = 0;

  QGroupBox* fraOne_;
  QPushButton* cmdRead_;
  QPushButton* cmdWrite_;
  QProgressBar* prgCommunicate_;
  QLabel* lblComStatus_;
  QLabel* imgGreen_;
  QLabel* imgRed_;
  QTimer* tmrLigGrint_;
  QGroupBox* fraTwo_;
  QListWidget* listRtData_;
  QGroupBox* fraRdWrDat_;
  QCheckBox* chkShowMemDat_;
  QCheckBox* chkNotShowProg_;
  QCheckBox* chkStopCom_;
};

}  // namespace tq::ui
