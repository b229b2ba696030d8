// The channel window frmChMem, maximised inside the main window: the model and band boxes, the
// channel area and the optional-features frame. It refuses to close until the program closes.
// The band list's "Custom" entry opens the custom range dialog through Document::openCustomRange.
#pragma once

#include <QWidget>
#include <functional>

#include "ui/custom_range_dialog.h"

class QComboBox;
class QGroupBox;
class QLabel;

namespace tq {
struct Document;
}

namespace tq::ui {

class Dialogs;
class OptionsFrame;

class ChannelWindow : public QWidget {
  Q_OBJECT

 public:
  ChannelWindow(Document& doc, const bool& programClosing, Dialogs& dialogs,
                QWidget* parent = nullptr);
  ~ChannelWindow() override;

  // Captions from the text table (InitFace, the option captions included) and the model and
  // band lists (ChInfoModel).
  void InitFace();
  void ChInfoModel();
  // Shows the model and band the document holds, without running the band selection.
  void ShowModelAndBand();
  // Fills the option controls from OptSel.
  void InitOpt();
  // The interface lock: the model and option frames take no input while locked.
  void SetLocked(bool locked);

  QGroupBox* fraModel() const { return fraModel_; }
  QGroupBox* fraCommonSet() const { return fraCommonSet_; }
  OptionsFrame* options() const { return options_; }

  // Opens the custom range dialog modally (what Document::openCustomRange runs). While it is
  // open, OpeningCustom() is true and a second request does nothing: the new data set that the
  // dialog may start runs the band step for "Custom" again, and that step must keep "Custom"
  // without opening the dialog once more.
  void OpenCustomRange();
  bool OpeningCustom() const { return openingCustom_; }

  // Starts a new data set for the custom range dialog after its question was answered Yes: the
  // main window runs NewFileSol, shows the file name and refreshes the windows. Unset, the
  // channel window runs NewFileSol and refreshes itself.
  std::function<void()> newDataSet;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void cboModel_Click();
  void cboFrequency_Click();

  void StartNewDataSet();

  Document& doc_;
  const bool& programClosing_;
  Dialogs& dialogs_;
  QGroupBox* fraModel_;
  QGroupBox* fraMain_;
  QGroupBox* fraCommonSet_;
  QLabel* lblModel_;
  QLabel* lblFrequency_;
  QComboBox* cboModel_;
  QComboBox* cboFrequency_;
  OptionsFrame* options_;
  CustomRangeTexts customTexts_;
  bool openingCustom_ = false;
  bool filling_ = false;
};

}  // namespace tq::ui
