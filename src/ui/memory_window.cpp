#include "ui/memory_window.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QStyleOptionHeader>
#include <QStylePainter>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>

#include "comm/transfer.h"
#include "image/stamp.h"
#include "session/session.h"
#include "ui/part_fill_dialog.h"

namespace tq::ui {
namespace {

// A Windows colour number (red in the low byte) as a colour.
QColor Colour(int32_t number) {
  return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

}  // namespace

MemoryGridModel::MemoryGridModel(MemoryGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {}

int MemoryGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.RowCount();
}

int MemoryGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kMemDataColumns;
}

QVariant MemoryGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row() + 1;
  const int col = index.column() + 1;
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return QString::fromStdString(grid_.Text(row, col));
    case Qt::ForegroundRole:
      return Colour(grid_.Colour(row, col));
    case Qt::TextAlignmentRole:
      return int(Qt::AlignCenter);
    case Qt::ToolTipRole: {
      // The grid has one tip, rewritten for the cell under the mouse; an empty cell keeps it.
      grid_.CellTipHint(row, col);
      const QString tip = QString::fromStdString(grid_.ToolTip());
      return tip.isEmpty() ? QVariant() : QVariant(tip.trimmed());
    }
    default:
      return {};
  }
}

QVariant MemoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return QString::fromStdString(grid_.Text(0, section + 1));
  return QString::fromStdString(grid_.RowLabel(section + 1));
}

Qt::ItemFlags MemoryGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (grid_.HoldsAddress(index.row() + 1, index.column() + 1)) flags |= Qt::ItemIsEditable;
  return flags;
}

bool MemoryGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  emit aboutToEdit();
  grid_.vsfgGridMemDat_AfterEdit(index.row() + 1, index.column() + 1,
                                 value.toString().toStdString());
  Changed();
  return true;
}

void MemoryGridModel::Relaid() {
  beginResetModel();
  endResetModel();
}

void MemoryGridModel::Changed() {
  if (grid_.RowCount() == 0) return;
  emit dataChanged(index(0, 0), index(grid_.RowCount() - 1, kMemDataColumns - 1));
}

QModelIndex MemoryGridModel::IndexOf(MemCellPos cell) const {
  return index(cell.row - 1, cell.col - 1);
}

MemoryWindow::MemoryWindow(Session& session, QWidget* parent)
    : QWidget(parent),
      session_(session),
      grid_(session.EditableImage(), session.Report()),
      model_(new MemoryGridModel(grid_, this)),
      fraMemData_(new QGroupBox(QStringLiteral("Memory Data"), this)),
      vsfgGridMemDat_(new QTableView(fraMemData_)),
      cmdPartFill_(new QPushButton(QStringLiteral("Part Fill"), this)),
      cmdFillGrid_(new QPushButton(QStringLiteral("Fill Gird"), this)),
      cmdSetDefCol_(new QPushButton(QStringLiteral("Set Def Color"), this)) {
  setObjectName("frmMemDat");
  setWindowTitle(QStringLiteral("Memory Data"));
  fraMemData_->setObjectName("fraMemData");
  vsfgGridMemDat_->setObjectName("vsfgGridMemDat");
  cmdPartFill_->setObjectName("cmdPartFill");
  cmdFillGrid_->setObjectName("cmdFillGrid");
  cmdSetDefCol_->setObjectName("cmdSetDefCol");

  vsfgGridMemDat_->setModel(model_);
  QFont cells = vsfgGridMemDat_->font();
  cells.setPointSize(kMemFontPoints);
  vsfgGridMemDat_->setFont(cells);
  // Sizes in twips, scaled with the screen: 15 twips are one pixel at 96 dots an inch.
  const auto pixels = [this](int32_t twips) { return twips * logicalDpiY() / 1440; };
  QHeaderView* rows = vsfgGridMemDat_->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(pixels(kMemRowHeight));
  rows->setMinimumSectionSize(1);
  // The label column is as wide as its twips ask, or as its labels need in this font.
  const int labelWidth = std::max(pixels(MemoryGrid::ColumnWidth(0)),
                                  rows->fontMetrics().horizontalAdvance(QStringLiteral("0000H")) +
                                      2 * rows->style()->pixelMetric(QStyle::PM_HeaderMargin) + 4);
  rows->setFixedWidth(labelWidth);
  rows->setDefaultAlignment(Qt::AlignCenter);
  QHeaderView* columns = vsfgGridMemDat_->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Fixed);
  columns->setMinimumSectionSize(1);
  columns->setDefaultSectionSize(pixels(MemoryGrid::ColumnWidth(1)));
  columns->setFixedHeight(pixels(kMemRowHeight));
  vsfgGridMemDat_->setSelectionMode(QAbstractItemView::SingleSelection);
  vsfgGridMemDat_->setEditTriggers(QAbstractItemView::DoubleClicked |
                                   QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
  vsfgGridMemDat_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The corner above the row labels names the label column.
  if (auto* corner = vsfgGridMemDat_->findChild<QAbstractButton*>()) {
    corner->installEventFilter(this);
  }
  const int tableWidth = labelWidth + kMemDataColumns * pixels(MemoryGrid::ColumnWidth(1)) +
                         style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                         2 * vsfgGridMemDat_->frameWidth() + 8;
  vsfgGridMemDat_->setFixedWidth(tableWidth);
  vsfgGridMemDat_->setMinimumHeight(pixels(kMemRowHeight) * 12);

  auto* frame = new QVBoxLayout(fraMemData_);
  frame->addWidget(vsfgGridMemDat_);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdPartFill_);
  buttons->addWidget(cmdFillGrid_);
  buttons->addWidget(cmdSetDefCol_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraMemData_, 1);
  layout->addLayout(buttons);

  connect(model_, &MemoryGridModel::aboutToEdit, this, &MemoryWindow::RefreshIfStale);
  connect(cmdPartFill_, &QPushButton::clicked, this, [this] { cmdPartFill_Click(); });
  connect(cmdFillGrid_, &QPushButton::clicked, this, [this] { cmdFillGrid_Click(); });
  connect(cmdSetDefCol_, &QPushButton::clicked, this, [this] { cmdSetDefCol_Click(); });
}

MemoryWindow::~MemoryWindow() = default;

PartFillDialog* MemoryWindow::partFill() const {
  return partFill_.data();
}

void MemoryWindow::SetGridMemDat() {
  grid_.SetGridMemDat(session_.AddressValue(AddressBox::TableMax));
  model_->Relaid();
  if (grid_.RowCount() > 0) vsfgGridMemDat_->setCurrentIndex(model_->IndexOf(grid_.Current()));
}

void MemoryWindow::TableFreDat() {
  grid_.TableFreDat();
  ShowMarks();
}

void MemoryWindow::ShowMarks() {
  model_->Changed();
  if (const std::optional<MemCellPos> marked = grid_.LastMarked()) {
    const QModelIndex cell = model_->IndexOf(*marked);
    vsfgGridMemDat_->setCurrentIndex(cell);
    vsfgGridMemDat_->scrollTo(cell);
  }
}

void MemoryWindow::RefreshIfStale() {
  // The cells are copied back as a whole: a grid that no longer shows the image (the image was
  // read, opened or written meanwhile) is refreshed first, so that old bytes never overwrite
  // newer ones; the refresh marks what changed.
  if (!grid_.ShowsImage()) TableFreDat();
}

void MemoryWindow::cmdPartFill_Click() {
  session_.Report().Guard("frmMemDat->cmdPartFill_Click", [this] {
    if (!partFill_) {
      partFill_ = new PartFillDialog(grid_, session_.FillAddresses(), this);
      connect(partFill_, &PartFillDialog::aboutToFill, this, &MemoryWindow::RefreshIfStale);
      connect(partFill_, &PartFillDialog::filled, model_, &MemoryGridModel::Changed);
    }
    partFill_->exec();
  });
}

void MemoryWindow::cmdFillGrid_Click() {
  session_.Report().Guard("frmMemDat->cmdFillGrid_Click", [this] {
    session_.StampImage(localTime ? localTime() : LocalNow());
    grid_.TableFreDat();
    ShowMarks();
  });
}

void MemoryWindow::cmdSetDefCol_Click() {
  grid_.SetDefCol();
  model_->Changed();
}

void MemoryWindow::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) RefreshIfStale();
  QWidget::showEvent(event);
}

bool MemoryWindow::eventFilter(QObject* watched, QEvent* event) {
  auto* corner = qobject_cast<QAbstractButton*>(watched);
  if (corner != nullptr && event->type() == QEvent::Paint) {
    QStyleOptionHeader option;
    option.initFrom(corner);
    option.rect = corner->rect();
    option.text = QString::fromStdString(grid_.Text(0, 0));
    option.textAlignment = Qt::AlignCenter;
    option.position = QStyleOptionHeader::OnlyOneSection;
    QStylePainter painter(corner);
    painter.drawControl(QStyle::CE_Header, option);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tq::ui
