#include "ui/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "ui/text_list_dialog.h"

namespace tq::ui {

bool QtDialogs::Ask(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtDialogs::Tell(QWidget* parent, const QString& title, const QString& text,
                     QMessageBox::Icon icon) {
  QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
  box.exec();
}

QString QtDialogs::OpenFileName(QWidget* parent, const QString& start, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, QString(), start, filter);
}

QString QtDialogs::SaveFileName(QWidget* parent, const QString& start, const QString& filter,
                                const QString& defaultSuffix) {
  QFileDialog dialog(parent, QString(), start, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(defaultSuffix);
  // A name typed without an extension takes the one of the chosen file type ("(*.bin)"), and the
  // dialog starts on the type of the file it proposes.
  const auto suffixOf = [](const QString& nameFilter) {
    const qsizetype star = nameFilter.indexOf("(*.");
    return star < 0 ? QString() : nameFilter.mid(star + 3).section(')', 0, 0);
  };
  for (const QString& nameFilter : filter.split(";;")) {
    if (!suffixOf(nameFilter).isEmpty() && start.endsWith('.' + suffixOf(nameFilter))) {
      dialog.selectNameFilter(nameFilter);
      dialog.setDefaultSuffix(suffixOf(nameFilter));
    }
  }
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, suffixOf](const QString& nameFilter) {
                     if (!suffixOf(nameFilter).isEmpty()) {
                       dialog.setDefaultSuffix(suffixOf(nameFilter));
                     }
                   });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

void QtDialogs::OpenWithDesktop(const QString& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtDialogs::Review(QWidget* parent, const QString& title, const QString& text) {
  TextListDialog dialog("frmImportPreview", title, text, true, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace tq::ui
