#include "ui/error_list.h"

#include <QListWidget>
#include <QStyle>

#include "base/error_report.h"
#include "ui/session_signals.h"

namespace tq::ui {

ErrorListWindow::ErrorListWindow(const tq::ErrorReport& report, SessionSignals& notices,
                                 const QString& title, QWidget* parent)
    : QDockWidget(title, parent), listShowErr_(new QListWidget(this)) {
  setObjectName(QStringLiteral("frmShowErr"));
  listShowErr_->setObjectName(QStringLiteral("listShowErr"));
  listShowErr_->setSelectionMode(QAbstractItemView::SingleSelection);
  listShowErr_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  listShowErr_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  listShowErr_->setUniformItemSizes(true);
  setWidget(listShowErr_);

  // The report keeps every line since start-up, including the failures reported before this
  // window existed, and its own line index goes on from there; the window shows them all, so
  // loading it does not set the report's line index back to 0.
  const std::vector<std::string>& lines = report.lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    AddLine(QString::fromStdString(lines[i]), static_cast<int>(i));
  }
  connect(&notices, &SessionSignals::reportAdded, this, &ErrorListWindow::AddLine);
  // The list is a log for reading: a click on a line selects it and nothing more.
}

int ErrorListWindow::ModestHeight() const {
  constexpr int kLines = 5;  // with the title, about six lines
  const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
  return kLines * listShowErr_->fontMetrics().lineSpacing() + 2 * listShowErr_->frameWidth() +
         title;
}

void ErrorListWindow::AddLine(const QString& line, int index) {
  // An index the list does not have yet (the report's index wraps after 32767 lines) appends,
  // as the report itself does.
  const int count = listShowErr_->count();
  const int row = index >= 0 && index <= count ? index : count;
  listShowErr_->insertItem(row, line);
  listShowErr_->setCurrentRow(row);
  listShowErr_->scrollToItem(listShowErr_->item(row));
}

}  // namespace tq::ui
