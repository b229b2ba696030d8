// The port dialog frmToolCom: sixteen option buttons COM1 to COM16, each with the device it
// stands for beside it; only the ports that open when the dialog opens can be chosen. OK stores
// the chosen port under "COM" of section "Setting"; Cancel gives back the port of the opening.
#pragma once

#include <QDialog>
#include <QList>
#include <cstdint>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace tq {
class Session;
class PortControl;
}  // namespace tq

namespace tq::ui {

class PortDialog : public QDialog {
  Q_OBJECT

 public:
  // Applies the captions and the font, probes the sixteen ports (EnableCOM) and selects the
  // button of the current port.
  PortDialog(Session& session, PortControl& port, QWidget* parent = nullptr);

  // Probes ports 1 to 16 in order and makes the button of every port that fails unavailable.
  void EnableCOM();
  // Probes port `n` (1 to 16): true when it opens and closes again.
  bool VerdictCom(int n);

  // OK: the first selected button (from COM1 up) becomes the port, stored as decimal text under
  // "COM"; with none selected the port stays (and is stored as it is). Then the dialog closes.
  void cmdOk_Click();
  // Cancel: the port of the opening is restored, nothing is written, the dialog closes.
  void cmdCancel_Click();

  // The buttons COM1..COM16 (all with the object name "COM1", as one control array) in order.
  const QList<QRadioButton*>& buttons() const { return buttons_; }

 private:
  void Form_Load();
  void InitFace();
  // Gives back the port of the opening; runs on Cancel, Escape and the close button.
  void RestoreOpeningPort();

  Session& session_;
  PortControl& port_;
  int16_t openingPort_ = 1;
  QGroupBox* fraToolCom_;
  QLabel* lblToolCom_;
  QLabel* lblNoPort_;  // why no port is usable, shown only then
  QList<QRadioButton*> buttons_;
  QList<QLabel*> devices_;
  QButtonGroup* group_;
  QPushButton* cmdOk_;
  QPushButton* cmdCancel_;
};

}  // namespace tq::ui
