#include "ui/custom_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "base/message_numbers.h"
#include "image/band.h"
#include "image/custom_range.h"
#include "session/session.h"
#include "ui/dialogs.h"

namespace tq::ui {
namespace {

const QString kFallbackLower = QStringLiteral("120");
const QString kFallbackUpper = QStringLiteral("520");

}  // namespace

CustomRangeDialog::CustomRangeDialog(Session& session, Dialogs& dialogs,
                                     CustomRangeTexts& remembered, QWidget* parent)
    : QDialog(parent),
      session_(session),
      dialogs_(dialogs),
      remembered_(remembered),
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
  session_.Report().Guard("frmCustomFre->Form_Load", [this] { InitFace(); });
}

void CustomRangeDialog::InitFace() {
  session_.Report().Guard("frmCustomFre->InitFace", [this] {
    const SoftFace& t = session_.Texts();
    setWindowTitle(QString::fromStdString(t[msg::kCustomCaption]));
    lblFreMin_->setText(QString::fromStdString(t[msg::kCustomMin]));
    lblFreMax_->setText(QString::fromStdString(t[msg::kCustomMax]));
    cmdOk_->setText(QString::fromStdString(t[msg::kCustomOk]));
    cmdCancel_->setText(QString::fromStdString(t[msg::kCustomCancel]));
    if (remembered_.lower.isEmpty()) remembered_.lower = kFallbackLower;
    if (remembered_.upper.isEmpty()) remembered_.upper = kFallbackUpper;
    txtFreMin_->setText(remembered_.lower);
    txtFreMax_->setText(remembered_.upper);
  });
}

void CustomRangeDialog::cmdOk_Click() {
  // Whatever goes wrong here ends like a rejected band, without a report.
  try {
    const QString notice = QString::fromStdString(session_.Texts()[msg::kNotice]);
    const QString question = QString::fromStdString(session_.Texts()[msg::kClearAll]);
    if (dialogs_.Ask(this, notice, question)) {
      // The new data set's band step runs for "Custom" and, the dialog being open, keeps the
      // limits; the dialog sets them afterwards.
      session_.KeepCustomBandPosition();
      session_.NewDataSet();
    }
    const QString lower = txtFreMin_->text();
    const QString upper = txtFreMax_->text();
    const CustomRangeResult result = JudgeCustomRange(lower.toStdString(), upper.toStdString());
    if (result.accepted) {
      session_.SetCustomBand(
          BandLimits{result.lower, result.upper, kAbsoluteLower, kAbsoluteUpper});
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
  session_.SetCustomBand(BandLimits{kCustomLowest, kCustomHighest, kAbsoluteLower, kAbsoluteUpper});
  txtFreMin_->setText(kFallbackLower);
  txtFreMax_->setText(kFallbackUpper);
  remembered_ = {kFallbackLower, kFallbackUpper};
}

void CustomRangeDialog::cmdCancel_Click() {
  session_.Report().Guard("frmCustomFre->cmdCancel_Click", [this] { reject(); });
}

}  // namespace tq::ui
