#include "ui/radio_info.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace tq::ui {
namespace {

// The range list, in its fixed order; the last entry stands for any other band.
constexpr const char* kRanges[] = {"134.00000 - 174.00000MHz",
                                   "245.00000 - 246.00000MHz",
                                   "200.00000 - 260.00000MHz",
                                   "400.00000 - 470.00000MHz",
                                   "400.00000 - 520.00000MHz",
                                   "134.00000 - 520.00000MHz",
                                   "Custom"};
constexpr int kStartRange = 3;  // "400.00000 - 470.00000MHz"
constexpr const char* kSoftVersion = "V1.0";

QLineEdit* ValueField(QWidget* parent, const char* name, const QString& text = {}) {
  auto* field = new QLineEdit(text, parent);
  field->setObjectName(QLatin1String(name));
  field->setReadOnly(true);
  field->setMinimumWidth(200);
  return field;
}

QLabel* Caption(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

QString Megahertz(int32_t tenHertz) {
  const bool negative = tenHertz < 0;
  const long long value = negative ? -static_cast<long long>(tenHertz) : tenHertz;
  return QStringLiteral("%1%2.%3")
      .arg(negative ? QStringLiteral("-") : QString())
      .arg(value / 100000)
      .arg(value % 100000, 5, 10, QLatin1Char('0'));
}

}  // namespace

RadioInfoWindow::RadioInfoWindow(const tq::SoftFace& texts, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmRadioInfo"));

  fraMain_ = new QGroupBox(this);
  fraMain_->setObjectName(QStringLiteral("fraMain"));
  lblModel_ = Caption(fraMain_, "lblModel");
  txtModel_ = ValueField(fraMain_, "txtModel");
  lblRange_ = Caption(fraMain_, "lblRange");
  txtRange_ = ValueField(fraMain_, "txtRange", QString::fromLatin1(kRanges[kStartRange]));
  cboRange_ = new QComboBox(fraMain_);
  cboRange_->setObjectName(QStringLiteral("cboRange"));
  for (const char* range : kRanges) cboRange_->addItem(QString::fromLatin1(range));
  cboRange_->setCurrentIndex(kStartRange);
  lblSoftVer_ = Caption(fraMain_, "lblSoftVer");
  txtSoftVer_ = ValueField(fraMain_, "txtSoftVer", QString::fromLatin1(kSoftVersion));
  lblLastPc_ = Caption(fraMain_, "lblLastPc");
  txtLastPc_ = ValueField(fraMain_, "txtLastPc");
  // The switch has no text and no look: a small spot in the frame's corner.
  lblDebug_ = Caption(fraMain_, "lblDebug");
  lblDebug_->setFixedSize(24, 16);

  auto* grid = new QGridLayout(fraMain_);
  grid->setContentsMargins(14, 14, 14, 8);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(10);
  grid->addWidget(lblModel_, 0, 0);
  grid->addWidget(txtModel_, 0, 1);
  grid->addWidget(lblRange_, 1, 0);
  grid->addWidget(txtRange_, 1, 1);
  grid->addWidget(cboRange_, 2, 1);
  grid->addWidget(lblSoftVer_, 3, 0);
  grid->addWidget(txtSoftVer_, 3, 1);
  grid->addWidget(lblLastPc_, 4, 0);
  grid->addWidget(txtLastPc_, 4, 1);
  grid->addWidget(lblDebug_, 5, 1, Qt::AlignRight | Qt::AlignBottom);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(6, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(fraMain_);

  lblDebug_->installEventFilter(this);
  fraMain_->installEventFilter(this);
  InitOpt(texts);
}

void RadioInfoWindow::InitOpt(const tq::SoftFace& texts) {
  setWindowTitle(QString::fromStdString(texts[300]));
  fraMain_->setTitle(QString::fromStdString(texts[183]));
  lblModel_->setText(QString::fromStdString(texts[184]));
  lblRange_->setText(QString::fromStdString(texts[185]));
  lblSoftVer_->setText(QString::fromStdString(texts[186]));
  lblLastPc_->setText(QString::fromStdString(texts[187]));
}

void RadioInfoWindow::ShowRadio(const QString& model, const QString& range,
                                const QString& lastWrite) {
  txtModel_->setText(model);
  txtRange_->setText(range);
  const int position = cboRange_->findText(range, Qt::MatchExactly);
  cboRange_->setCurrentIndex(position >= 0 ? position : cboRange_->count() - 1);
  txtLastPc_->setText(lastWrite);
}

QString RadioInfoWindow::RangeText(int32_t lower, int32_t upper) {
  return Megahertz(lower) + QStringLiteral(" - ") + Megahertz(upper) + QStringLiteral("MHz");
}

bool RadioInfoWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == lblDebug_) {
      lblDebug_DblClick();
      return true;  // the frame underneath must not see this double click
    }
    if (watched == fraMain_) {
      // A double click that lands on the switch belongs to the switch, however the platform
      // delivers it.
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (!lblDebug_->geometry().contains(mouse->position().toPoint())) fraMain_DblClick();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void RadioInfoWindow::lblDebug_DblClick() {
  debugFlag_ = debugFlag_ == 0 ? int16_t{-1} : int16_t{0};
}

void RadioInfoWindow::fraMain_DblClick() {
  if (debugFlag_ == -1) emit memoryWindowRequested();
}

}  // namespace tq::ui
