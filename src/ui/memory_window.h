// The memory window frmMemDat ("Memory Data"): the whole image as a hexadecimal table, sixteen
// bytes a row, the bytes that changed at the last refresh in red, a tool tip per byte, typed
// bytes copied back into the image, and the buttons "Part Fill", "Fill Gird" and
// "Set Def Color". The table is a model over the core's memory grid. It lives in the main
// window's document area, where closing it only hides it.
#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "editor/memory_grid.h"

class QGroupBox;
class QPushButton;
class QTableView;

namespace tq {
class Session;
}

namespace tq::ui {

class PartFillDialog;

// The cells of the memory grid for a table view: rows 1.. and columns 1..16 of the grid as rows
// 0.. and columns 0..15, the row labels and "0".."F" as headers.
class MemoryGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit MemoryGridModel(MemoryGrid& grid, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The grid was laid out afresh, or its texts and colours changed.
  void Relaid();
  void Changed();
  QModelIndex IndexOf(MemCellPos cell) const;

 signals:
  // Before a typed byte is copied back (the window refreshes a stale grid there).
  void aboutToEdit();

 public:
 private:
  MemoryGrid& grid_;
};

class MemoryWindow : public QWidget {
  Q_OBJECT

 public:
  explicit MemoryWindow(Session& session, QWidget* parent = nullptr);
  ~MemoryWindow() override;

  // Lays the table out for the addresses 0 to TableMaxAddr (SetGridMemDat).
  void SetGridMemDat();
  // Refreshes every cell from the image, marks the changed bytes red and brings the last of
  // them into view (TableFreDat).
  void TableFreDat();

  void cmdPartFill_Click();
  void cmdFillGrid_Click();
  void cmdSetDefCol_Click();

  MemoryGrid& grid() { return grid_; }
  QTableView* table() const { return vsfgGridMemDat_; }
  // The partial fill dialog once it was opened.
  PartFillDialog* partFill() const;

  // The local date and time that "Fill Gird" stamps; the machine's clock when not given.
  std::function<std::tm()> localTime;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RefreshIfStale();
  // Shows the cells after a refresh and brings the last changed byte into view.
  void ShowMarks();

  Session& session_;
  MemoryGrid grid_;
  MemoryGridModel* model_;
  QGroupBox* fraMemData_;
  QTableView* vsfgGridMemDat_;
  QPushButton* cmdPartFill_;
  QPushButton* cmdFillGrid_;
  QPushButton* cmdSetDefCol_;
  QPointer<PartFillDialog> partFill_;
};

}  // namespace tq::ui
