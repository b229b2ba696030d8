#include "ui/tree_view.h"

#include <QHeaderView>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>

namespace tq::ui {
namespace {

constexpr int kIndentation = 20;  // 300 twips at 96 dpi
constexpr int kKeyRole = Qt::UserRole;

// A tree that joins its entries with dotted lines and marks expandable entries with a plus or
// minus box, whatever the widget style draws by default.
class LinedTree final : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override {
    const int indent = indentation();
    const int midY = rect.top() + rect.height() / 2;
    int cellLeft = rect.right() + 1 - indent;
    const int midX = cellLeft + indent / 2;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    QPen dotted(palette().color(QPalette::Mid));
    dotted.setStyle(Qt::DotLine);
    painter->setPen(dotted);

    // The entry's own connector: down from the entry above (or the parent), across to the text,
    // and on down when a sibling follows.
    const bool above = index.row() > 0 || index.parent().isValid();
    const bool below = index.siblingAtRow(index.row() + 1).isValid();
    painter->drawLine(midX, above ? rect.top() : midY, midX, below ? rect.bottom() : midY);
    painter->drawLine(midX, midY, cellLeft + indent - 2, midY);

    // The vertical lines of the ancestors that still have siblings below.
    for (QModelIndex ancestor = index.parent();
         ancestor.isValid() && cellLeft - indent >= rect.left(); ancestor = ancestor.parent()) {
      cellLeft -= indent;
      if (ancestor.siblingAtRow(ancestor.row() + 1).isValid()) {
        const int x = cellLeft + indent / 2;
        painter->drawLine(x, rect.top(), x, rect.bottom());
      }
    }

    if (model()->hasChildren(index)) {
      const QRect box(midX - 4, midY - 4, 8, 8);
      painter->setPen(palette().color(QPalette::Dark));
      painter->setBrush(palette().color(QPalette::Base));
      painter->drawRect(box);
      painter->setPen(palette().color(QPalette::Text));
      painter->drawLine(midX - 2, midY, midX + 2, midY);
      if (!isExpanded(index)) painter->drawLine(midX, midY - 2, midX, midY + 2);
    }
    painter->restore();
  }
};

}  // namespace

TreeViewWindow::TreeViewWindow(const tq::SoftFace& texts, QWidget* parent)
    : QDockWidget(parent), texts_(texts), treevMain_(new LinedTree(this)) {
  // The tree is the only way to Radio Info and the options: it may float, but not close.
  setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  setObjectName(QStringLiteral("frmTreeView"));
  setWindowTitle(QString::fromStdString(texts_[300]));
  treevMain_->setObjectName(QStringLiteral("treevMain"));
  treevMain_->setColumnCount(1);
  treevMain_->header()->hide();
  treevMain_->setIndentation(kIndentation);
  treevMain_->setRootIsDecorated(true);
  treevMain_->setItemsExpandable(true);
  treevMain_->setExpandsOnDoubleClick(true);
  treevMain_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  setWidget(treevMain_);
  connect(treevMain_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { treevMain_NodeClick(item); });
  InitRadioSetTreeView();
}

void TreeViewWindow::InitRadioSetTreeView() {
  treevMain_->clear();
  auto* root = new QTreeWidgetItem(treevMain_, {QString::fromStdString(texts_[300])});
  root->setData(0, kKeyRole, QStringLiteral("Radio"));
  const struct {
    const char* key;
    int message;
  } kEntries[] = {{"RadioInfo", 301}, {"ChInfo", 302}, {"SysSet", 303}};
  for (const auto& entry : kEntries) {
    auto* item = new QTreeWidgetItem(root, {QString::fromStdString(texts_[entry.message])});
    item->setData(0, kKeyRole, QLatin1String(entry.key));
  }
  root->setExpanded(true);
  // The tree is never narrower than its longest entry, so that no entry is cut.
  int widest = 0;
  for (int k = 0; k < root->childCount(); ++k) {
    widest = std::max(widest, treevMain_->fontMetrics().horizontalAdvance(root->child(k)->text(0)));
  }
  treevMain_->setMinimumWidth(2 * kIndentation + widest + 2 * treevMain_->frameWidth() + 8);
}

void TreeViewWindow::treevMain_NodeClick(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const QString key = item->data(0, kKeyRole).toString();
  // The root and any other key open nothing.
  if (key == QLatin1String("RadioInfo") || key == QLatin1String("ChInfo") ||
      key == QLatin1String("SysSet")) {
    emit nodeOpened(key);
  }
}

}  // namespace tq::ui
