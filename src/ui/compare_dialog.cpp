#include "ui/compare_dialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tq::ui {

CompareDialog::CompareDialog(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), list_(new QPlainTextEdit(this)) {
  setObjectName("frmCompare");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  list_->setObjectName("txtCompare");
  list_->setReadOnly(true);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  list_->setPlainText(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(1000, 420);
}

}  // namespace tq::ui
