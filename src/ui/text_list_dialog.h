// A window with a list of lines to read: the differences of File > Compare With... (closed with
// Close), or the changes an import would make (answered with OK or Cancel).
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace tq::ui {

class TextListDialog final : public QDialog {
 public:
  // `name` is the window's object name; the list is "txtList". With `question` the dialog offers
  // OK and Cancel, else Close; a closed dialog that is no question deletes itself.
  TextListDialog(const char* name, const QString& title, const QString& text, bool question,
                 QWidget* parent);

 private:
  QPlainTextEdit* list_;
};

}  // namespace tq::ui
