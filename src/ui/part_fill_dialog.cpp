#include "ui/part_fill_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "editor/memory_grid.h"

namespace tq::ui {

PartFillDialog::PartFillDialog(MemoryGrid& grid, PartFillAddresses& remembered, QWidget* parent)
    : QDialog(parent),
      grid_(grid),
      remembered_(remembered),
      lblFillData_(new QLabel(QStringLiteral("Fill Data"), this)),
      txtFillData_(new QLineEdit(QStringLiteral("FF"), this)),
      cboFillData_(new QComboBox(this)),
      lblStartAddr_(new QLabel(QStringLiteral("Start Addr"), this)),
      txtStartAddr_(new QLineEdit(this)),
      lblSaH_(new QLabel(QStringLiteral("H"), this)),
      lblEndAddr_(new QLabel(QStringLiteral("End Addr"), this)),
      txtEndAddr_(new QLineEdit(this)),
      lblEaH_(new QLabel(QStringLiteral("H"), this)),
      cmdFillData_(new QPushButton(QStringLiteral("Fill"), this)) {
  setObjectName("frmPartFill");
  setWindowTitle(QStringLiteral("Part Fill"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  lblFillData_->setObjectName("lblFillData");
  txtFillData_->setObjectName("txtFillData");
  cboFillData_->setObjectName("cboFillData");
  lblStartAddr_->setObjectName("lblStartAddr");
  txtStartAddr_->setObjectName("txtStartAddr");
  lblSaH_->setObjectName("lblSaH");
  lblEndAddr_->setObjectName("lblEndAddr");
  txtEndAddr_->setObjectName("txtEndAddr");
  lblEaH_->setObjectName("lblEaH");
  cmdFillData_->setObjectName("cmdFillData");
  cboFillData_->addItems({QStringLiteral("H"), QStringLiteral("D"), QStringLiteral("B")});
  lblFillData_->setBuddy(txtFillData_);
  lblStartAddr_->setBuddy(txtStartAddr_);
  lblEndAddr_->setBuddy(txtEndAddr_);
  cmdFillData_->setDefault(true);

  auto* layout = new QGridLayout(this);
  layout->addWidget(lblFillData_, 0, 0);
  layout->addWidget(txtFillData_, 0, 1);
  layout->addWidget(cboFillData_, 0, 2);
  layout->addWidget(lblStartAddr_, 1, 0);
  layout->addWidget(txtStartAddr_, 1, 1);
  layout->addWidget(lblSaH_, 1, 2);
  layout->addWidget(lblEndAddr_, 2, 0);
  layout->addWidget(txtEndAddr_, 2, 1);
  layout->addWidget(lblEaH_, 2, 2);
  layout->addWidget(cmdFillData_, 3, 1, 1, 2, Qt::AlignRight);
  setFixedSize(sizeHint());

  connect(txtStartAddr_, &QLineEdit::textChanged, this,
          [this](const QString& text) { remembered_.txtStartAddr_Change(text.toStdString()); });
  connect(txtEndAddr_, &QLineEdit::textChanged, this,
          [this](const QString& text) { remembered_.txtEndAddr_Change(text.toStdString()); });
  connect(cmdFillData_, &QPushButton::clicked, this, [this] { cmdFillData_Click(); });
  Form_Load();
}

void PartFillDialog::Form_Load() {
  PartFillFields fields = Fields();
  remembered_.Form_Load(fields);
  cboFillData_->setCurrentIndex(0);
  txtStartAddr_->setText(QString::fromStdString(fields.startAddr));
  txtEndAddr_->setText(QString::fromStdString(fields.endAddr));
}

PartFillFields PartFillDialog::Fields() const {
  PartFillFields fields;
  fields.fillData = txtFillData_->text().toStdString();
  const int mode = cboFillData_->currentIndex();
  fields.mode = mode == 1 ? FillMode::Decimal : mode == 2 ? FillMode::Binary : FillMode::Hex;
  fields.startAddr = txtStartAddr_->text().toStdString();
  fields.endAddr = txtEndAddr_->text().toStdString();
  return fields;
}

FillOutcome PartFillDialog::cmdFillData_Click() {
  emit aboutToFill();
  const FillOutcome outcome = PartFill(grid_, Fields());
  emit filled();
  return outcome;
}

void PartFillDialog::showEvent(QShowEvent* event) {
  // Every opening after the first one starts like the first.
  if (!event->spontaneous()) Form_Load();
  QDialog::showEvent(event);
}

}  // namespace tq::ui
