// The differences between the data in the program and a chosen file, as the list the command
// line's diff prints: model and band, channels field by field, options, other bytes.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tq::ui {

class CompareDialog final : public QDialog {
 public:
  // A window of its own (frmCompare) that closes itself away; `text` goes in txtCompare.
  CompareDialog(const QString& title, const QString& text, QWidget* parent);

 private:
  QPlainTextEdit* list_;
};

}  // namespace tq::ui
