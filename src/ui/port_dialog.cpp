#include "ui/port_dialog.h"

#include <QButtonGroup>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <string>

#include "base/message_numbers.h"
#include "comm/port_control.h"
#include "session/session.h"
#include "ui/interface_font.h"

namespace tq::ui {
namespace {

// COM1-COM8 fill the left column, COM9-COM16 the right one.
constexpr int kRowsPerColumn = 8;
// Grid columns of one half: the button, its device, then a gap before the next half.
constexpr int kColumnsPerHalf = 3;
constexpr int kColumnGap = 24;

}  // namespace

PortDialog::PortDialog(Session& session, PortControl& port, QWidget* parent)
    : QDialog(parent),
      session_(session),
      port_(port),
      openingPort_(session.ComPort()),
      fraToolCom_(new QGroupBox(this)),
      lblToolCom_(new QLabel(fraToolCom_)),
      lblNoPort_(new QLabel(this)),
      group_(new QButtonGroup(this)),
      cmdOk_(new QPushButton(this)),
      cmdCancel_(new QPushButton(this)) {
  setObjectName(QStringLiteral("frmToolCom"));
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  fraToolCom_->setObjectName(QStringLiteral("fraToolCom"));
  lblToolCom_->setObjectName(QStringLiteral("lblToolCom"));
  lblNoPort_->setObjectName(QStringLiteral("lblNoPort"));
  lblNoPort_->setWordWrap(true);
  lblNoPort_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblNoPort_->hide();
  cmdOk_->setObjectName(QStringLiteral("cmdOk"));
  cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
  cmdOk_->setDefault(true);
  group_->setExclusive(true);

  auto* ports = new QGridLayout;
  ports->setHorizontalSpacing(8);
  for (int index = 0; index < kPortCount; ++index) {
    const int n = index + 1;
    // One control array: every button carries the name of the first.
    auto* button = new QRadioButton(QStringLiteral("COM%1").arg(n), fraToolCom_);
    button->setObjectName(QStringLiteral("COM1"));
    const QString device = QString::fromStdString(port_.DeviceOf(n));
    button->setToolTip(device);
    auto* deviceLabel = new QLabel(device, fraToolCom_);
    deviceLabel->setObjectName(QStringLiteral("lblDevice"));
    group_->addButton(button, index);
    const int row = index % kRowsPerColumn;
    const int column = (index / kRowsPerColumn) * kColumnsPerHalf;
    ports->addWidget(button, row, column);
    ports->addWidget(deviceLabel, row, column + 1);
    buttons_.append(button);
    devices_.append(deviceLabel);
  }
  ports->setColumnMinimumWidth(kColumnsPerHalf - 1, kColumnGap);
  ports->setColumnStretch(1, 1);
  ports->setColumnStretch(kColumnsPerHalf + 1, 1);

  auto* frame = new QVBoxLayout(fraToolCom_);
  frame->addWidget(lblToolCom_);
  frame->addLayout(ports);

  auto* commands = new QHBoxLayout;
  commands->addStretch(1);
  commands->addWidget(cmdOk_);
  commands->addWidget(cmdCancel_);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraToolCom_);
  layout->addWidget(lblNoPort_);
  layout->addLayout(commands);
  // The dialog takes the size its texts need, in every language, and keeps it.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(cmdOk_, &QPushButton::clicked, this, &PortDialog::cmdOk_Click);
  connect(cmdCancel_, &QPushButton::clicked, this, &PortDialog::cmdCancel_Click);
  // Escape and the window's close button end like Cancel.
  connect(this, &QDialog::rejected, this, &PortDialog::RestoreOpeningPort);

  Form_Load();
}

void PortDialog::Form_Load() {
  session_.Report().Guard("frmToolCom->Form_Load", [this] {
    InitFace();
    EnableCOM();
    openingPort_ = session_.ComPort();
    if (openingPort_ >= 1 && openingPort_ <= kPortCount) {
      // Selected even when its port did not open, so that OK keeps it.
      QRadioButton* current = buttons_[openingPort_ - 1];
      current->setChecked(true);
      if (current->isEnabled()) {
        current->setFocus();
        return;
      }
    }
    cmdOk_->setFocus();
  });
}

void PortDialog::InitFace() {
  const SoftFace& texts = session_.Texts();
  setWindowTitle(QString::fromStdString(texts[msg::kPortCaption]));
  fraToolCom_->setTitle(QString::fromStdString(texts[msg::kPortFrame]));
  lblToolCom_->setText(QString::fromStdString(texts[msg::kPortLabel]));
  cmdOk_->setText(QString::fromStdString(texts[msg::kPortOk]));
  cmdCancel_->setText(QString::fromStdString(texts[msg::kPortCancel]));

  // Every control inherits the interface font from the dialog.
  setFont(InterfaceFont(session_.FontName(), font()));
}

void PortDialog::EnableCOM() {
  for (int n = 1; n <= kPortCount; ++n) {
    const bool usable = VerdictCom(n);
    buttons_[n - 1]->setEnabled(usable);
    devices_[n - 1]->setEnabled(usable);
  }
  // With no usable port the dialog says why, so that the user knows what to change.
  const QString why = QString::fromStdString(port_.NoPortText(session_.Language()));
  lblNoPort_->setText(why);
  lblNoPort_->setMaximumWidth(fraToolCom_->sizeHint().width());
  lblNoPort_->setVisible(!why.isEmpty());
}

bool PortDialog::VerdictCom(int n) {
  if (n < 1 || n > kPortCount) return false;
  port_.TestComPort(n);
  return port_.PortFlag[static_cast<std::size_t>(n - 1)] == 1;
}

void PortDialog::cmdOk_Click() {
  session_.Report().Guard("frmToolCom->cmdOk_Click", [this] {
    int16_t chosen = session_.ComPort();
    for (qsizetype index = 0; index < buttons_.size(); ++index) {
      if (buttons_[index]->isChecked()) {
        chosen = static_cast<int16_t>(index + 1);
        break;
      }
    }
    session_.ChoosePort(chosen);
    accept();
  });
}

void PortDialog::cmdCancel_Click() {
  session_.Report().Guard("frmToolCom->cmdCancel_Click", [this] {
    RestoreOpeningPort();
    reject();
  });
}

void PortDialog::RestoreOpeningPort() {
  session_.SetPort(openingPort_);
}

}  // namespace tq::ui
