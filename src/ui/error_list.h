// The error list window frmShowErr: a dockable pane with the list listShowErr, showing the
// running error report line by line.
#pragma once

#include <QDockWidget>

class QListWidget;

namespace tq {
class ErrorReport;
}

namespace tq::ui {

class SessionSignals;

class ErrorListWindow : public QDockWidget {
  Q_OBJECT

 public:
  // Shows every line that `report` already holds and then follows the new lines the session
  // announces; `title` is the caption (message 70 of the running language: "提示" / "Notice").
  ErrorListWindow(const tq::ErrorReport& report, SessionSignals& notices, const QString& title,
                  QWidget* parent = nullptr);

  ErrorListWindow(const ErrorListWindow&) = delete;
  ErrorListWindow& operator=(const ErrorListWindow&) = delete;

  // The height the dock opens at: five lines of the list under its title.
  int ModestHeight() const;

 private:
  // Adds `line` at `index` (the report's line index), selects it and scrolls to it.
  void AddLine(const QString& line, int index);

  QListWidget* listShowErr_;
};

}  // namespace tq::ui
