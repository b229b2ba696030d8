// The partial fill dialog frmPartFill ("Part Fill"): one byte value, written in hexadecimal,
// decimal or binary, filled into a range of the image and shown in the memory grid. It is
// created on first use and then only shown and hidden; its fields stay as the user left them,
// except that each opening selects "H" and shows the remembered addresses.
#pragma once

#include <QDialog>
#include <functional>

#include "editor/part_fill.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tq {
class MemoryGrid;
}

namespace tq::ui {

class PartFillDialog : public QDialog {
  Q_OBJECT

 public:
  PartFillDialog(MemoryGrid& grid, PartFillAddresses& remembered, QWidget* parent = nullptr);

  // The opening: "H" selected, the remembered addresses in the address fields.
  void Form_Load();
  // "Fill": fills the range and copies the grid back into the image.
  FillOutcome cmdFillData_Click();

 signals:
  // Before the fill writes (the memory window refreshes a stale grid there) and after it (the
  // window shows the new cells).
  void aboutToFill();
  void filled();

 public:
 protected:
  void showEvent(QShowEvent* event) override;

 private:
  PartFillFields Fields() const;

  MemoryGrid& grid_;
  PartFillAddresses& remembered_;
  QLabel* lblFillData_;
  QLineEdit* txtFillData_;
  QComboBox* cboFillData_;
  QLabel* lblStartAddr_;
  QLineEdit* txtStartAddr_;
  QLabel* lblSaH_;
  QLabel* lblEndAddr_;
  QLineEdit* txtEndAddr_;
  QLabel* lblEaH_;
  QPushButton* cmdFillData_;
};

}  // namespace tq::ui
