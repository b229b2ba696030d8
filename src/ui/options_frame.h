// The optional-features controls of the channel window, built inside its frame fraCommonSet:
// twelve drop-down lists with their labels and four check boxes, one per option slot. The
// lists show OptSel and every change of a control goes into OptSel at once.
#pragma once

#include <QList>
#include <QObject>
#include <array>

#include "options/option_codec.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;

namespace tq {
class Session;
}

namespace tq::ui {

class OptionsFrame : public QObject {
  Q_OBJECT

 public:
  // Builds the controls inside `frame`, which owns them (and this object).
  OptionsFrame(Session& session, QGroupBox* frame);

  // Captions of the labels and check boxes from the text table.
  void InitFace();
  // The frame's controls in the order of the layout, row by row: the order Tab takes.
  QList<QWidget*> TabChain() const;
  // Clears and refills every list, then shows the OptSel value of each slot; an out-of-range
  // value is noted in the error list and its default shown instead. Each control's change
  // handler runs after it has been set, so OptSel holds what is shown (a check box slot holding
  // 5 becomes 1, a list shown with no entry holds -1). A failure, such as a default outside
  // its list, is reported as "frmChMem->InitOpt" and ends the fill at that control.
  void InitOpt();

  // The change handlers: each stores its control's list index or check value into its slot.
  void cboTot_Click();
  void cboSql_Click();
  void cboVolume_Click();
  void cboAnVoice_Click();
  void cboRadioSql_Click();
  void cboRadioVolume_Click();
  void chkBatSave_Click();
  void chkBeep_Click();
  void chkEmergencyAlarm_Click();
  void cboAnChipSel_Click();
  void cboCrystal_Click();
  void cboPreTot_Click();
  void cboVoxLevel_Click();
  void cboVoxDly_Click();
  void cboVoxRxForbid_Click();
  void chkLowBatTx_Click();

 private:
  QStringList Entries(int slot) const;
  void StoreIndex(int slot);
  void StoreCheck(int slot);
  void RunHandler(int slot);

  Session& session_;
  QGroupBox* frame_;
  // One control per slot: a list with its label, or a check box.
  std::array<QLabel*, kOptionCount> labels_{};
  std::array<QComboBox*, kOptionCount> lists_{};
  std::array<QCheckBox*, kOptionCount> checks_{};
};

}  // namespace tq::ui
