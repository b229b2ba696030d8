// The error list window frmShowErr: a dockable pane with the list listShowErr, showing the
// running error report line by line.
#pragma once

#include <QDockWidget>

class QListWidget;

namespace tq {
class ErrorReport;
}

namespace tq::ui {

class ErrorListWindow : public QDockWidget {
  Q_OBJECT

 public:
  // Shows every line that `report` already holds and then follows its new lines; `title` is
  // the caption (message 70 of the running language: "提示" / "Notice"). The window becomes the
  // report's listener until it is destroyed; `report` must outlive it.
  ErrorListWindow(tq::ErrorReport& report, const QString& title, QWidget* parent = nullptr);
  ~ErrorListWindow() override;

  ErrorListWindow(const ErrorListWindow&) = delete;
  ErrorListWindow& operator=(const ErrorListWindow&) = delete;

 private:
  // Adds `line` at `index` (the report's line index), selects it and scrolls to it.
  void AddLine(const QString& line, int index);

  tq::ErrorReport& report_;
  QListWidget* listShowErr_;
};

}  // namespace tq::ui
