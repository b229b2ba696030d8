#include "ui/channel_grid_view.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

namespace tq::ui {
namespace {

// The back colour of the label column, as the grid's fixed cells show it.
const QColor kFixedBack(247, 247, 247);

QString Text(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

QColor WindowsColour(int32_t colour) {
  const auto value = static_cast<uint32_t>(colour);
  return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                static_cast<int>((value >> 16) & 0xFFu));
}

// ---- model --------------------------------------------------------------------------------

ChannelGridModel::ChannelGridModel(ChannelGrid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid) {
  grid_.SetObserver(this);
}

ChannelGridModel::~ChannelGridModel() {
  grid_.SetObserver(nullptr);
}

int ChannelGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(0, grid_.rows() - 1);
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : grid_.columns();
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const GridCell& cell = grid_.cell(GridRow(index), index.column());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return Text(cell.text);
    case Qt::BackgroundRole:
      return index.column() == 0 ? kFixedBack : WindowsColour(cell.back);
    case Qt::ForegroundRole:
      return QColor(Qt::black);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    default:
      return {};
  }
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= grid_.columns() ||
      grid_.rows() < 1) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (role == Qt::DisplayRole) return Text(grid_.cell(0, section).text);
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  return {};
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == 0) return Qt::ItemIsEnabled;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!locked_) flags |= Qt::ItemIsEditable;
  return flags;
}

bool ChannelGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() < 1) return false;
  const int r = GridRow(index);
  const int c = index.column();
  grid_.vsfgGridCh_AfterEdit(r, c, value.toString().toStdString());
  emit edited(r, c);
  return true;
}

QModelIndex ChannelGridModel::GridIndex(int r, int c) const {
  return r >= 1 ? index(r - 1, c) : QModelIndex();
}

void ChannelGridModel::SetChGrid() {
  beginResetModel();
  resetting_ = true;
  grid_.SetChGrid();
  resetting_ = false;
  endResetModel();
}

void ChannelGridModel::RefreshAll() {
  if (rowCount() > 0 && columnCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
  if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void ChannelGridModel::CellChanged(int r, int c) {
  if (resetting_) return;
  if (r == 0) {
    emit headerDataChanged(Qt::Horizontal, c, c);
  } else {
    const QModelIndex changed = GridIndex(r, c);
    emit dataChanged(changed, changed);
  }
}

// ---- delegate -----------------------------------------------------------------------------

ChannelGridDelegate::ChannelGridDelegate(ChannelGrid& grid, QObject* parent)
    : QStyledItemDelegate(parent), grid_(grid) {}

QWidget* ChannelGridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex&) const {
  QWidget* editor = nullptr;
  // The grid's edit permission decided before the editor opened whether the cell takes a
  // typed text or one of the column's items.
  if (!grid_.editList().empty()) {
    auto* box = new QComboBox(parent);
    box->addItems(Text(grid_.editList()).split('|'));
    editor = box;
  } else {
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    line->setAlignment(Qt::AlignCenter);
    editor = line;
  }
  editor->setObjectName("vsfgGridChEditor");
  editor_ = editor;
  if (editorCreated) editorCreated(editor);
  return editor;
}

void ChannelGridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString text = index.data(Qt::EditRole).toString();
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    box->setCurrentIndex(box->findText(text));
  } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    line->setText(text);
    line->selectAll();
  }
}

void ChannelGridDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
  QString text;
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    text = box->currentText();
  } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
    text = line->text();
  }
  model->setData(index, text, Qt::EditRole);
}

void ChannelGridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex&) const {
  editor->setGeometry(option.rect);
}

// ---- view ---------------------------------------------------------------------------------

ChannelGridView::ChannelGridView(ChannelGrid& grid, QWidget* parent)
    : QTableView(parent),
      grid_(grid),
      model_(new ChannelGridModel(grid, this)),
      delegate_(new ChannelGridDelegate(grid, this)),
      toneBox_(new QComboBox(viewport())) {
  setObjectName("vsfgGridCh");
  setModel(model_);
  setItemDelegate(delegate_);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  // Clicks open editors through the grid's click rule; keys open them on the current cell.
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(false);
  setWordWrap(false);

  toneBox_->setObjectName("cboGridChCtdcs");
  toneBox_->setEditable(true);
  toneBox_->setInsertPolicy(QComboBox::NoInsert);
  toneBox_->setMaxVisibleItems(16);
  toneBox_->hide();
  toneBox_->installEventFilter(this);
  toneBox_->lineEdit()->installEventFilter(this);
  connect(toneBox_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!syncing_) grid_.SetToneBoxText(text.toStdString());
  });

  delegate_->editorCreated = [this](QWidget* editor) {
    editor->installEventFilter(this);
    for (QWidget* child : editor->findChildren<QWidget*>()) child->installEventFilter(this);
  };
  // A commit runs inside the closing editor; what the grid selected afterwards is shown once
  // the editor has gone, so that moving the current cell cannot commit it a second time.
  connect(model_, &ChannelGridModel::edited, this,
          [this] { QTimer::singleShot(0, this, [this] { Sync(); }); });
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { PlaceToneBox(); });
}

ChannelGridView::~ChannelGridView() {
  toneBox_->removeEventFilter(this);
  toneBox_->lineEdit()->removeEventFilter(this);
}

void ChannelGridView::SetChGrid(const std::vector<std::string>& tones) {
  EndEdit();
  model_->SetChGrid();
  syncing_ = true;
  toneBox_->clear();
  for (const std::string& tone : tones) toneBox_->addItem(Text(tone));
  syncing_ = false;
  SizeColumns();
  Sync();
}

void ChannelGridView::SizeColumns() {
  if (model_->columnCount() == 0) return;
  // Widths and heights come in twips; 1440 twips are an inch at the screen's logical DPI. A
  // column is never narrower than its title, nor a row lower than the font needs.
  const QFontMetrics metrics(font());
  const QFontMetrics headerMetrics(horizontalHeader()->font());
  for (int c = 0; c < model_->columnCount(); ++c) {
    const int twips = grid_.columnWidth(c);
    const int fromTwips = twips * logicalDpiX() / 1440;
    const int title = headerMetrics.horizontalAdvance(Text(grid_.cell(0, c).text)) + 14;
    setColumnWidth(c, std::max(fromTwips, title));
  }
  const int fromTwips = grid_.rowHeight() * logicalDpiY() / 1440;
  const int height = std::max(fromTwips, metrics.height() + 8);
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(height);
  horizontalHeader()->setMinimumHeight(headerMetrics.height() + 10);
  // However small the window, four channel rows stay readable (the window scrolls instead).
  constexpr int kReadableRows = 4;
  setMinimumHeight(horizontalHeader()->minimumHeight() + kReadableRows * height + 2 * frameWidth());
  PlaceToneBox();
}

void ChannelGridView::Sync() {
  syncing_ = true;
  const CellPos current = grid_.current();
  const QModelIndex index = model_->GridIndex(current.row, current.col);
  if (index.isValid()) {
    selectionModel()->setCurrentIndex(
        index, locked_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
  }
  if (locked_) clearSelection();
  syncing_ = false;
  PlaceToneBox();
}

void ChannelGridView::PlaceToneBox() {
  const ToneBox& box = grid_.toneBox();
  const QModelIndex index = model_->GridIndex(box.row, box.col);
  if (!box.visible || locked_ || !index.isValid()) {
    toneBox_->hide();
    return;
  }
  syncing_ = true;
  toneBox_->setGeometry(visualRect(index));
  const QString text = Text(box.text);
  if (toneBox_->currentText() != text) toneBox_->setEditText(text);
  QPalette palette = toneBox_->palette();
  palette.setColor(QPalette::Base, WindowsColour(box.back));
  palette.setColor(QPalette::Button, WindowsColour(box.back));
  toneBox_->setPalette(palette);
  toneBox_->lineEdit()->setPalette(palette);
  toneBox_->show();
  toneBox_->raise();
  syncing_ = false;
}

QWidget* ChannelGridView::openEditor() const {
  return state() == EditingState ? delegate_->openEditor() : nullptr;
}

void ChannelGridView::EndEdit() {
  if (QWidget* editor = delegate_->openEditor(); editor != nullptr && state() == EditingState) {
    closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  }
}

bool ChannelGridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  const bool starting = trigger == AllEditTriggers || (editTriggers() & trigger) != 0;
  if (!index.isValid() || !starting || state() == EditingState) {
    return QTableView::edit(index, trigger, event);
  }
  if (locked_ || index.column() < 1) return false;
  const bool allowed =
      grid_.vsfgGridCh_BeforeEdit(ChannelGridModel::GridRow(index), index.column());
  PlaceToneBox();
  return allowed && QTableView::edit(index, trigger, event);
}

void ChannelGridView::OpenRequestedEditor() {
  const std::optional<CellPos> request = grid_.editRequest();
  if (!request) return;
  const QModelIndex index = model_->GridIndex(request->row, request->col);
  if (!index.isValid()) return;
  edit(index, AllEditTriggers, nullptr);
}

void ChannelGridView::Click(int r, int c, const QPoint& globalPos) {
  lastClick_.start();
  lastClickPos_ = globalPos;
  grid_.vsfgGridCh_Click(r, c);
  Sync();
  OpenRequestedEditor();
  if (toneBox_->isVisible()) toneBox_->setFocus(Qt::MouseFocusReason);
}

void ChannelGridView::DoubleClick() {
  const CellPos current = grid_.current();
  grid_.vsfgGridCh_DblClick(current.row, current.col);
  // A double-click on an open tone cell may have copied a tone into it: the box shows it.
  if (grid_.toneBox().visible) grid_.cboGridChCtdcs_GotFocus();
  Sync();
}

bool ChannelGridView::IsSecondClick(const QPoint& globalPos) const {
  return lastClick_.isValid() && lastClick_.elapsed() <= QApplication::doubleClickInterval() &&
         (globalPos - lastClickPos_).manhattanLength() <= 2 * QApplication::startDragDistance();
}

std::unique_ptr<QMenu> ChannelGridView::BuildChannelMenu(int r, int c) {
  const bool lockShown = lockEntry_ != nullptr && lockEntry_->property(kShownProperty).toBool();
  const bool lockChecked = lockEntry_ != nullptr && lockEntry_->isChecked();
  const ChannelMenu menu = grid_.vsfgGridCh_MouseDown(r, c, lockShown, lockChecked);
  Sync();
  if (!menu.popUp) return nullptr;
  auto popup = std::make_unique<QMenu>(this);
  popup->setObjectName("mnuPopMenuOne");
  const auto add = [&](const char* name, const MenuItem& item, std::function<void()> command) {
    QAction* action = popup->addAction(Text(item.caption));
    action->setObjectName(name);
    action->setVisible(item.visible);
    action->setEnabled(item.enabled);
    connect(action, &QAction::triggered, this, [this, command = std::move(command)] {
      command();
      Sync();
    });
    return action;
  };
  const auto separator = [&](const char* name, bool visible) {
    QAction* action = popup->addSeparator();
    action->setObjectName(name);
    action->setVisible(visible);
  };
  add("mnuOpenCh", menu.openCh, [this] { grid_.mnuOpenCh_Click(); });
  add("mnuSaveDef", menu.saveDef, [this] { grid_.mnuSaveDef_Click(); });
  separator("ListSeparator8", menu.openCh.visible || menu.saveDef.visible);
  add("mnuDelOne", menu.delOne, [this] { grid_.mnuDelOne_Click(); });
  add("mnuDelAll", menu.delAll, [this] { grid_.mnuDelAll_Click(); });
  separator("sepPopChLock", menu.lockSeparator);
  QAction* lock = add("mnuPopChLock", menu.popChLock, [this] { emit popChLockClicked(); });
  lock->setCheckable(true);
  lock->setChecked(menu.popChLock.checked);
  // The Edit menu's entries act on this channel while the menu is open.
  if (!editActions_.isEmpty()) {
    separator("sepPopEdit", true);
    for (QAction* action : editActions_) {
      if (action == nullptr) {
        popup->addSeparator();
      } else {
        popup->addAction(action);
      }
    }
    popupChannel_ = r;
    connect(popup.get(), &QObject::destroyed, this, [this] { popupChannel_ = 0; });
  }
  return popup;
}

int ChannelGridView::CommandChannel() const {
  if (popupChannel_ >= 1) return popupChannel_;
  const int current = grid_.current().row;
  return current >= 1 ? current : 1;
}

void ChannelGridView::SetLocked(bool locked) {
  locked_ = locked;
  model_->SetLocked(locked);
  if (locked) {
    EndEdit();
    grid_.EndEditing();
    clearSelection();
    setSelectionMode(QAbstractItemView::NoSelection);
  } else {
    setSelectionMode(QAbstractItemView::SingleSelection);
  }
  Sync();
}

void ChannelGridView::CommitOpenEdits() {
  if (locked_) return;
  if (QWidget* editor = delegate_->openEditor(); editor != nullptr && state() == EditingState) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  // A message box or a file dialog takes the focus without the box losing it for the grid.
  if (toneBox_->isVisible()) {
    grid_.cboGridChCtdcs_LostFocus(toneBox_->currentText().toStdString());
  }
  Sync();
}

void ChannelGridView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  // A running edit ends before the grid hears of the click, and the tone box loses its focus
  // (storing its tone) before the click moves on.
  if (QWidget* editor = delegate_->openEditor(); editor != nullptr && state() == EditingState) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  setFocus(Qt::MouseFocusReason);
  if (!index.isValid()) return;
  const int r = ChannelGridModel::GridRow(index);
  const int c = index.column();
  if (event->button() == Qt::LeftButton) {
    Click(r, c, event->globalPosition().toPoint());
  } else if (event->button() == Qt::RightButton) {
    if (std::unique_ptr<QMenu> menu = BuildChannelMenu(r, c)) {
      menu->exec(event->globalPosition().toPoint());
    }
  }
  event->accept();
}

void ChannelGridView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}

void ChannelGridView::mouseMoveEvent(QMouseEvent* event) {
  // No drag selection: the grid has one current cell.
  event->accept();
}

void ChannelGridView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid()) {
    // The editor the first click opened would store its old text over the new value.
    EndEdit();
    DoubleClick();
  }
  event->accept();
}

bool ChannelGridView::eventFilter(QObject* watched, QEvent* event) {
  const bool onToneBox = watched == toneBox_ || watched == toneBox_->lineEdit();
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
    // The second click of a double-click lands on the editor or tone box that the first one
    // opened: it is the grid's double-click, not a click into the editor.
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton && IsSecondClick(mouse->globalPosition().toPoint())) {
      lastClick_.invalidate();
      // On a frequency whose double-click copies nothing, the open editor stays and the second
      // click places the caret; elsewhere the editor would store its old text over the result.
      const CellPos current = grid_.current();
      auto* line = qobject_cast<QLineEdit*>(watched);
      const bool keepEditor =
          line != nullptr && !onToneBox &&
          (current.col == 1 || (current.col == 2 && !grid_.cell(current.row, 2).text.empty()));
      if (!onToneBox && !keepEditor) EndEdit();
      DoubleClick();
      if (keepEditor) line->setCursorPosition(line->cursorPositionAt(mouse->position().toPoint()));
      return true;
    }
  }
  if (watched == toneBox_ && (type == QEvent::FocusIn || type == QEvent::FocusOut)) {
    const auto* focus = static_cast<QFocusEvent*>(event);
    // Opening its own list or switching windows does not take the focus from the box.
    const bool ownMove =
        focus->reason() == Qt::PopupFocusReason || focus->reason() == Qt::ActiveWindowFocusReason;
    if (type == QEvent::FocusIn && !ownMove && !locked_) {
      grid_.cboGridChCtdcs_GotFocus();
      Sync();
    } else if (type == QEvent::FocusOut && !ownMove && !locked_ && toneBox_->isVisible()) {
      grid_.cboGridChCtdcs_LostFocus(toneBox_->currentText().toStdString());
      Sync();
    }
  }
  return QTableView::eventFilter(watched, event);
}

void ChannelGridView::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  PlaceToneBox();
}

void ChannelGridView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  PlaceToneBox();
}

void ChannelGridView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange) SizeColumns();
}

}  // namespace tq::ui
