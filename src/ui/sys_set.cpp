#include "ui/sys_set.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace tq::ui {

SysSetWindow::SysSetWindow(QWidget* parent)
    : QWidget(parent), cmdSysSetPrint_(new QPushButton(QStringLiteral("打印可选项的设置"), this)) {
  setObjectName(QStringLiteral("frmSysSet"));
  setWindowTitle(QStringLiteral("整机设置"));
  // Printing the option settings is not offered: the button is shown and does nothing.
  cmdSysSetPrint_->setObjectName(QStringLiteral("cmdSysSetPrint"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 12, 12, 12);
  layout->addWidget(cmdSysSetPrint_, 0, Qt::AlignLeft | Qt::AlignTop);
  layout->addStretch(1);
  setMinimumSize(260, 120);
  InitPara();
}

void SysSetWindow::InitPara() {}

}  // namespace tq::ui
