// The questions, messages, file choices and desktop requests of the windows, behind one small
// interface: the program uses Qt's message boxes and file dialogs, and widget tests answer them.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace tq::ui {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A Yes/No question; true for Yes.
  virtual bool Ask(QWidget* parent, const QString& title, const QString& text) = 0;
  // A message with one OK button and the given icon.
  virtual void Tell(QWidget* parent, const QString& title, const QString& text,
                    QMessageBox::Icon icon) = 0;
  // A file to open or a name to save under; empty when cancelled.
  virtual QString OpenFileName(QWidget* parent, const QString& start, const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& start, const QString& filter,
                               const QString& defaultSuffix) = 0;
  // Asks the desktop to open a file with its usual program; the result is not examined.
  virtual void OpenWithDesktop(const QString& path) = 0;
  // Shows a list of lines (what an import will change) with OK and Cancel; true for OK.
  virtual bool Review(QWidget* parent, const QString& title, const QString& text) = 0;
};

// Qt's own message boxes and file dialogs, and the desktop's "open".
class QtDialogs final : public Dialogs {
 public:
  bool Ask(QWidget* parent, const QString& title, const QString& text) override;
  void Tell(QWidget* parent, const QString& title, const QString& text,
            QMessageBox::Icon icon) override;
  QString OpenFileName(QWidget* parent, const QString& start, const QString& filter) override;
  QString SaveFileName(QWidget* parent, const QString& start, const QString& filter,
                       const QString& defaultSuffix) override;
  void OpenWithDesktop(const QString& path) override;
  bool Review(QWidget* parent, const QString& title, const QString& text) override;
};

}  // namespace tq::ui
