// The channel grid vsfgGridCh on screen: a table model that shows tq::ChannelGrid's cells and a
// table view that forwards the user's clicks, edits, double-clicks, right-button presses and the
// tone box's focus changes to the grid's handlers, then shows what they changed.
//
// Model columns are the grid's columns (0 holds the row labels and is never edited); model row
// i is channel i + 1, and the grid's title row is the horizontal header.
#pragma once

#include <QAbstractTableModel>
#include <QAction>
#include <QElapsedTimer>
#include <QPoint>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/channel_grid.h"

class QComboBox;
class QMenu;

namespace tq::ui {

// The dynamic property of a menu entry that holds its own shown flag.
inline constexpr const char* kShownProperty = "shown";

// A Windows colour number (red in the low byte) as a QColor.
QColor WindowsColour(int32_t colour);

class ChannelGridModel : public QAbstractTableModel, private CellObserver {
  Q_OBJECT

 public:
  explicit ChannelGridModel(ChannelGrid& grid, QObject* parent = nullptr);
  ~ChannelGridModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Commits an edited text: the grid's vsfgGridCh_AfterEdit, then `edited`.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

  // The model index of grid cell (r, c), r >= 1; invalid for the title row.
  QModelIndex GridIndex(int r, int c) const;
  static int GridRow(const QModelIndex& index) { return index.row() + 1; }

  // Rebuilds the layout from the document (SetChGrid) and resets the views.
  void SetChGrid();
  // Every cell may have changed: the views re-read all of them.
  void RefreshAll();
  // While locked, no cell offers an editor.
  void SetLocked(bool locked) { locked_ = locked; }

  ChannelGrid& grid() { return grid_; }

 signals:
  void edited(int r, int c);

 private:
  void CellChanged(int r, int c) override;

  ChannelGrid& grid_;
  bool locked_ = false;
  bool resetting_ = false;
};

// Opens a line edit for frequency and text columns and a drop-down of the grid's edit list for
// parameter columns; commits the text the user leaves in it.
class ChannelGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit ChannelGridDelegate(ChannelGrid& grid, QObject* parent = nullptr);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;

  // The editor open at the moment, if any.
  QWidget* openEditor() const { return editor_.data(); }
  // Called with every editor the delegate creates (the view watches it for double-clicks).
  std::function<void(QWidget*)> editorCreated;

 private:
  ChannelGrid& grid_;
  mutable QPointer<QWidget> editor_;
};

class ChannelGridView : public QTableView {
  Q_OBJECT

 public:
  ChannelGridView(ChannelGrid& grid, QWidget* parent = nullptr);
  ~ChannelGridView() override;

  ChannelGridModel* gridModel() const { return model_; }
  QComboBox* toneBox() const { return toneBox_; }
  ChannelGrid& grid() { return grid_; }
  // The cell editor open at the moment; nullptr when no cell is being edited.
  QWidget* openEditor() const;

  // Builds the grid (SetChGrid), fills the tone box with the tone list and sizes the columns.
  void SetChGrid(const std::vector<std::string>& tones);
  // Shows what the grid now holds: cells, current cell and tone box.
  void Sync();

  // The right-button menu mnuPopMenuOne for cell (r, c) as vsfgGridCh_MouseDown prepares it;
  // nullptr when the press was on a label or title. The caller pops it up (or, in a test,
  // triggers its actions).
  std::unique_ptr<QMenu> BuildChannelMenu(int r, int c);

  // Stores what the user left open, the cell editor and the tone box, exactly as leaving it
  // would; the grid is about to be folded into the image or printed.
  void CommitOpenEdits();

  // The interface lock: a running edit ends, the selection is hidden and no editor opens.
  void SetLocked(bool locked);
  bool Locked() const { return locked_; }

  // The main window's channel-lock entry mnuChLock: the right-button menu offers its lock item
  // as the entry's own shown flag (the property kShownProperty, true even under a hidden menu)
  // and check mark say. Without one the menu offers no lock item.
  void SetLockEntry(QAction* entry) { lockEntry_ = entry; }
  // The Edit menu's entries, which the right-button menu offers below its own (nullptr for a
  // separator).
  void SetEditActions(QList<QAction*> actions) { editActions_ = std::move(actions); }
  // The channel the Edit menu's commands act on: the one under the right-button menu while it
  // is open, else the current one.
  int CommandChannel() const;

 signals:
  // The menu's lock item was chosen (mnuPopChLock_Click).
  void popChLockClicked();

 public:
 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QPointer<QAction> lockEntry_;
  QList<QAction*> editActions_;
  int popupChannel_ = 0;
  void Click(int r, int c, const QPoint& globalPos);
  void DoubleClick();
  void OpenRequestedEditor();
  void PlaceToneBox();
  void EndEdit();
  void SizeColumns();
  // Whether a press at `globalPos` is the second click of a double-click that began on the
  // cell where an editor or the tone box has just opened.
  bool IsSecondClick(const QPoint& globalPos) const;

  ChannelGrid& grid_;
  ChannelGridModel* model_;
  ChannelGridDelegate* delegate_;
  QComboBox* toneBox_;
  bool locked_ = false;
  bool syncing_ = false;
  QElapsedTimer lastClick_;
  QPoint lastClickPos_;
};

}  // namespace tq::ui
