// The custom range dialog frmCustomFre: the user types a lower and an upper band limit in
// megahertz for a band that the band list does not offer.
#pragma once

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {
class Session;
}

namespace tq::ui {

class Dialogs;

// The last accepted texts of the dialog, kept by its owner for the whole run; empty until a
// custom band has been accepted, and shown as "120" and "520" then.
struct CustomRangeTexts {
  QString lower;
  QString upper;
};

class CustomRangeDialog : public QDialog {
  Q_OBJECT

 public:
  // The band the dialog settles on goes to the session; when the user agrees to clear the data,
  // the session starts a new data set that keeps the "Custom" band position.
  CustomRangeDialog(Session& session, Dialogs& dialogs, CustomRangeTexts& remembered,
                    QWidget* parent = nullptr);

  // OK: asks whether to clear the data (Yes starts a new data set), then applies the typed band
  // or, when it is not acceptable, the fallback band 120 to 520 MHz; then closes.
  void cmdOk_Click();
  // Cancel: closes and leaves the band limits as they were.
  void cmdCancel_Click();

 private:
  void Form_Load();
  void InitFace();
  void ApplyFallback();

  Session& session_;
  Dialogs& dialogs_;
  CustomRangeTexts& remembered_;
  QGroupBox* fraCustomFre_;
  QLabel* lblFreMin_;
  QLineEdit* txtFreMin_;
  QLabel* lblFreMax_;
  QLineEdit* txtFreMax_;
  QPushButton* cmdOk_;
  QPushButton* cmdCancel_;
};

}  // namespace tq::ui
