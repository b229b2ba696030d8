#include "ui/custom_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "files/document.h"
#include "image/band.h"
#include "image/custom_range.h"
#include "ui/dialogs.h"

namespace tq::ui {
namespace {

constexpr int kMsgNotice = 70;
constexpr int kMsgClearChannels = 74;
constexpr int kMsgCaption = 374;
constexpr int kMsgMin = 375;
constexpr int kMsgMax = 376;
constexpr int kMsgOk = 377;
constexpr int kMsgCancel = 378;
const QString kFallbackLower = QStringLiteral("120");
const QString kFallbackUpper = QStringLiteral("520");

}  // namespace

CustomRangeDialog::CustomRangeDialog(Document& doc, Dialogs& dialogs, CustomRangeTexts& remembered,
                                     std::function<void()> newDataSet, QWidget* parent)
    : QDialog(parent),
      doc_(doc),
      dialogs_(dialogs),
      remembered_(remembered),
      newDataSet_(std::move(newDataSet)),
      fraCustomFre_(new QGroupBox(this)),
      lblFreMin_(new QLabel(fraCustomFre_)),
      txtFreMin_(new QLineEdit(fraCustomFre_)),
      lblFreMax_(new QLabel(fraCustomFre_)),
      txtFreMax_(new QLineEdit(fraCustomFre_)),
      cmdOk_(new QPushButton(this)),
      cmdCancel_(new QPushButton(this)) {
  setObjectName("frmCustomFre");
  setModal(true);
  fraCustomFre_->setObjectName("fraCustomFre");
  lblFreMin_->setObjectName("lblFreMin");
  txtFreMin_->setObjectName("txtFreMin");
  lblFreMax_->setObjectName("lblFreMax");
  txtFreMax_->setObjectName("txtFreMax");
  cmdOk_->setObjectName("cmdOk");
  cmdCancel_->setObjectName("cmdCancel");
  lblFreMin_->setBuddy(txtFreMin_);
  lblFreMax_->setBuddy(txtFreMax_);
  cmdOk_->setDefault(true);

  auto* inputs = new QGridLayout(fraCustomFre_);
  inputs->addWidget(lblFreMin_, 0, 0);
  inputs->addWidget(txtFreMin_, 0, 1);
  inputs->addWidget(lblFreMax_, 1, 0);
  inputs->addWidget(txtFreMax_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk_);
  buttons->addWidget(cmdCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraCustomFre_);
  layout->addLayout(buttons);

  connect(cmdOk_, &QPushButton::clicked, this, &CustomRangeDialog::cmdOk_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &CustomRangeDialog::cmdCancel_Click);
  Form_Load();
}

void CustomRangeDialog::Form_Load() {
  doc_.report.Guard("frmCustomFre->Form_Load", [this] { InitFace(); });
}

void CustomRangeDialog::InitFace() {
  doc_.report.Guard("frmCustomFre->InitFace", [this] {
    const SoftFace& t = doc_.softFace;
    setWindowTitle(QString::fromStdString(t[kMsgCaption]));
    lblFreMin_->setText(QString::fromStdString(t[kMsgMin]));
    lblFreMax_->setText(QString::fromStdString(t[kMsgMax]));
    cmdOk_->setText(QString::fromStdString(t[kMsgOk]));
    cmdCancel_->setText(QString::fromStdString(t[kMsgCancel]));
    if (remembered_.lower.isEmpty()) remembered_.lower = kFallbackLower;
    if (remembered_.upper.isEmpty()) remembered_.upper = kFallbackUpper;
    txtFreMin_->setText(remembered_.lower);
    txtFreMax_->setText(remembered_.upper);
  });
}

void CustomRangeDialog::cmdOk_Click() {
  // Whatever goes wrong here ends like a rejected band, without a report.
  try {
    const QString notice = QString::fromStdString(doc_.softFace[kMsgNotice]);
    const QString question = QString::fromStdString(doc_.softFace[kMsgClearChannels]);
    if (dialogs_.Ask(this, notice, question)) {
      doc_.currentDataPath = doc_.defaultDataPath;
      if (newDataSet_) newDataSet_();
    }
    const QString lower = txtFreMin_->text();
    const QString upper = txtFreMax_->text();
    const CustomRangeResult result = JudgeCustomRange(lower.toStdString(), upper.toStdString());
    if (result.accepted) {
      doc_.band = BandLimits{result.lower, result.upper, kAbsoluteLower, kAbsoluteUpper};
      remembered_ = {lower, upper};
    } else {
      ApplyFallback();
    }
  } catch (const std::exception&) {
    ApplyFallback();
  }
  accept();
}

void CustomRangeDialog::ApplyFallback() {
  doc_.band = BandLimits{kCustomLowest, kCustomHighest, kAbsoluteLower, kAbsoluteUpper};
  txtFreMin_->setText(kFallbackLower);
  txtFreMax_->setText(kFallbackUpper);
  remembered_ = {kFallbackLower, kFallbackUpper};
}

void CustomRangeDialog::cmdCancel_Click() {
  doc_.report.Guard("frmCustomFre->cmdCancel_Click", [this] { reject(); });
}

}  // namespace tq::ui
