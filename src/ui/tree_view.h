// The settings tree frmTreeView: a narrow dockable pane whose tree treevMain opens the views of
// the radio (radio information, channels, optional features).
#pragma once

#include <QDockWidget>

#include "base/text_table.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace tq::ui {

class TreeViewWindow : public QDockWidget {
  Q_OBJECT

 public:
  // Builds the tree from the interface texts 300 to 303 of `texts`.
  explicit TreeViewWindow(const tq::SoftFace& texts, QWidget* parent = nullptr);

  // Clears the tree and adds its four entries under the root "Radio", which is expanded. Each
  // entry keeps its key in Qt::UserRole.
  void InitRadioSetTreeView();

 signals:
  // An entry that opens a view was clicked: key "RadioInfo", "ChInfo" or "SysSet".
  void nodeOpened(const QString& key);

 private:
  void treevMain_NodeClick(QTreeWidgetItem* item);

  tq::SoftFace texts_;
  QTreeWidget* treevMain_;
};

}  // namespace tq::ui
