// The custom range dialog frmCustomFre: the user types a lower and an upper band limit in
// megahertz for a band that the band list does not offer.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {
struct Document;
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
  // `newDataSet` starts a new data set when the user agrees to clear the data (it runs
  // NewFileSol and shows the result); the dialog sets the current data file path to the
  // default one before calling it.
  CustomRangeDialog(Document& doc, Dialogs& dialogs, CustomRangeTexts& remembered,
                    std::function<void()> newDataSet, QWidget* parent = nullptr);

  // OK: asks whether to clear the data (Yes starts a new data set), then applies the typed band
  // or, when it is not acceptable, the fallback band 120 to 520 MHz; then closes.
  void cmdOk_Click();
  // Cancel: closes and leaves the band limits as they were.
  void cmdCancel_Click();

 private:
  void Form_Load();
  void InitFace();
  void ApplyFallback();

  Document& doc_;
  Dialogs& dialogs_;
  CustomRangeTexts& remembered_;
  std::function<void()> newDataSet_;
  QGroupBox* fraCustomFre_;
  QLabel* lblFreMin_;
  QLineEdit* txtFreMin_;
  QLabel* lblFreMax_;
  QLineEdit* txtFreMax_;
  QPushButton* cmdOk_;
  QPushButton* cmdCancel_;
};

}  // namespace tq::ui
