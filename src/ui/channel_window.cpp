#include "ui/channel_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "files/document.h"
#include "image/band.h"
#include "ui/dialogs.h"
#include "ui/options_frame.h"

namespace tq::ui {

ChannelWindow::ChannelWindow(Document& doc, const bool& programClosing, Dialogs& dialogs,
                             QWidget* parent)
    : QWidget(parent),
      doc_(doc),
      programClosing_(programClosing),
      dialogs_(dialogs),
      fraModel_(new QGroupBox(this)),
      fraMain_(new QGroupBox(this)),
      fraCommonSet_(new QGroupBox(this)),
      lblModel_(new QLabel(fraModel_)),
      lblFrequency_(new QLabel(fraModel_)),
      cboModel_(new QComboBox(fraModel_)),
      cboFrequency_(new QComboBox(fraModel_)),
      options_(new OptionsFrame(doc, fraCommonSet_)) {
  setObjectName("frmChMem");
  fraModel_->setObjectName("fraModel");
  fraMain_->setObjectName("fraMain");
  fraCommonSet_->setObjectName("fraCommonSet");
  lblModel_->setObjectName("lblModel");
  lblFrequency_->setObjectName("lblFrequency");
  cboModel_->setObjectName("cboModel");
  cboFrequency_->setObjectName("cboFrequency");
  cboFrequency_->setMinimumContentsLength(14);

  auto* model = new QHBoxLayout(fraModel_);
  model->addWidget(lblModel_);
  model->addWidget(cboModel_);
  model->addSpacing(24);
  model->addWidget(lblFrequency_);
  model->addWidget(cboFrequency_);
  model->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraModel_);
  layout->addWidget(fraMain_, 3);
  layout->addWidget(fraCommonSet_, 2);

  connect(cboModel_, &QComboBox::currentIndexChanged, this, [this] { cboModel_Click(); });
  connect(cboFrequency_, &QComboBox::currentIndexChanged, this, [this] { cboFrequency_Click(); });
  doc_.openCustomRange = [this] { OpenCustomRange(); };
}

ChannelWindow::~ChannelWindow() {
  doc_.openCustomRange = nullptr;
}

void ChannelWindow::InitFace() {
  const SoftFace& t = doc_.softFace;
  const QString title = QString::fromStdString(t[302]);
  setWindowTitle(title);
  fraMain_->setTitle(title);
  fraModel_->setTitle(QString::fromStdString(t[370]));
  lblModel_->setText(QString::fromStdString(t[371]));
  lblFrequency_->setText(QString::fromStdString(t[372]));
  fraCommonSet_->setTitle(QString::fromStdString(t[200]));
  options_->InitFace();
}

void ChannelWindow::InitOpt() {
  options_->InitOpt();
}

void ChannelWindow::OpenCustomRange() {
  if (openingCustom_) return;
  openingCustom_ = true;
  CustomRangeDialog dialog(
      doc_, dialogs_, customTexts_, [this] { StartNewDataSet(); }, this);
  dialog.exec();
  openingCustom_ = false;
}

void ChannelWindow::StartNewDataSet() {
  // The new data set's band step runs for "Custom" and, the dialog being open, keeps the
  // limits; the dialog sets them afterwards.
  doc_.bandPosition = kCustomBand;
  if (newDataSet) {
    newDataSet();
    return;
  }
  doc_.NewFileSol();
  ShowModelAndBand();
  InitOpt();
}

void ChannelWindow::ChInfoModel() {
  filling_ = true;
  cboModel_->clear();
  cboModel_->addItem(QString::fromStdString(doc_.softFace[356]));
  cboModel_->setCurrentIndex(0);
  cboFrequency_->clear();
  for (const BandEntry& entry : kBandList) cboFrequency_->addItem(entry.text);
  cboFrequency_->addItem(QString::fromStdString(doc_.softFace[373]));
  filling_ = false;
  cboFrequency_->setCurrentIndex(kDefaultBand);
}

void ChannelWindow::ShowModelAndBand() {
  filling_ = true;
  cboModel_->setCurrentIndex(doc_.modelPosition);
  cboFrequency_->setCurrentIndex(doc_.bandPosition);
  filling_ = false;
}

void ChannelWindow::SetLocked(bool locked) {
  fraModel_->setEnabled(!locked);
  fraCommonSet_->setEnabled(!locked);
}

void ChannelWindow::closeEvent(QCloseEvent* event) {
  if (programClosing_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void ChannelWindow::cboModel_Click() {
  if (filling_) return;
  doc_.cboModel_Click(cboModel_->currentIndex());
}

void ChannelWindow::cboFrequency_Click() {
  if (filling_ || cboFrequency_->currentIndex() < 0) return;
  doc_.cboFrequency_Click(cboFrequency_->currentIndex());
}

}  // namespace tq::ui
