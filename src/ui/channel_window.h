// The channel window frmChMem, maximised inside the main window: the model and band boxes, the
// channel grid with its print button and the optional-features frame. It refuses to close until the
// program closes. It shows the session's data again whenever the data are replaced, and follows
// the interface lock.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "ui/custom_range_dialog.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace tq {
class ChannelGrid;
class Session;
}  // namespace tq

namespace tq::ui {

class ChannelGridView;
class Dialogs;
class OptionsFrame;
class SessionSignals;

class ChannelWindow : public QWidget {
  Q_OBJECT

 public:
  ChannelWindow(Session& session, SessionSignals& notices, const bool& programClosing,
                Dialogs& dialogs, QWidget* parent = nullptr);
  ~ChannelWindow() override;

  // Captions from the text table (InitFace, the option captions included) and the model and
  // band lists (ChInfoModel).
  void InitFace();
  void ChInfoModel();
  // Shows the model and band the session holds, without running the band selection.
  void ShowModelAndBand();
  // Shows replaced data: model and band, option controls, channel grid.
  void ShowNewData();
  // Fills the option controls from OptSel.
  void InitOpt();
  // The interface lock: the model and option frames take no input while locked, and the grid
  // ends a running edit, hides its selection and refuses edits.
  void SetLocked(bool locked);
  // Shows the channel table in the grid after the data changed (ShowChTblGrid).
  void ShowChannels();
  // Prints the channel table on the printer the user chooses (cmdPrintChannel).
  void cmdPrintChannel_Click();

  QGroupBox* fraModel() const { return fraModel_; }
  QGroupBox* fraCommonSet() const { return fraCommonSet_; }
  OptionsFrame* options() const { return options_; }
  ChannelGrid& grid() const { return *grid_; }
  ChannelGridView* gridView() const { return gridView_; }

  // Opens the custom range dialog modally (the band list's "Custom" entry). While it is
  // open, OpeningCustom() is true and a second request does nothing: the new data set that the
  // dialog may start runs the band step for "Custom" again, and that step must keep "Custom"
  // without opening the dialog once more.
  void OpenCustomRange();
  bool OpeningCustom() const { return openingCustom_; }

  // Lets the user choose and set up the printer; false when printing is cancelled. The
  // default shows the print dialog ("Print to File" there gives a PDF).
  std::function<bool(QPrinter&)> choosePrinter;
  // The service gesture on the model frame: every click counts, and the memory window is shown
  // on the 6th, 16th, 26th ... click and hidden on every other one.
  void fraModel_Click();

 signals:
  // A notice for the main window's status panel 1.
  void statusNotice(const QString& text);
  void memoryWindowRequested(bool shown);

 public:
 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void cboModel_Click();
  void cboFrequency_Click();

  Session& session_;
  const bool& programClosing_;
  Dialogs& dialogs_;
  QGroupBox* fraModel_;
  QGroupBox* fraMain_;
  QGroupBox* fraCommonSet_;
  QLabel* lblModel_;
  QLabel* lblFrequency_;
  QComboBox* cboModel_;
  QComboBox* cboFrequency_;
  std::unique_ptr<ChannelGrid> grid_;
  ChannelGridView* gridView_;
  QPushButton* cmdPrintChannel_;
  OptionsFrame* options_;
  CustomRangeTexts customTexts_;
  bool openingCustom_ = false;
  bool filling_ = false;
  int16_t modelClicks_ = 0;
  bool bandJustChanged_ = false;
};

}  // namespace tq::ui
