#include "ui/text_list_dialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace tq::ui {

TextListDialog::TextListDialog(const char* name, const QString& title, const QString& text,
                               bool question, QWidget* parent)
    : QDialog(parent), list_(new QPlainTextEdit(this)) {
  setObjectName(name);
  if (!question) setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  list_->setObjectName("txtList");
  list_->setReadOnly(true);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  list_->setPlainText(text);
  auto* buttons = new QDialogButtonBox(
      question ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel : QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  // A question answers Cancel; a list to read just closes (and goes away).
  connect(buttons, &QDialogButtonBox::rejected, this, [this, question] {
    if (question) {
      reject();
    } else {
      close();
    }
  });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(1000, 420);
}

}  // namespace tq::ui
