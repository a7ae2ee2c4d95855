// DBGrid1 to DBGrid3: a read-only grid over a data set with column titles,
// resizable columns, cell lines and a row indicator that marks the current
// row. The highlighted row follows the data set's current row and a click
// makes the clicked row current.
#pragma once

#include <QHeaderView>
#include <QTableView>

namespace tables {

// The narrow column left of the cells with a triangle at the current row.
class RowIndicator : public QHeaderView {
  Q_OBJECT

 public:
  explicit RowIndicator(QWidget* parent = nullptr);
  void SetMarkedRow(int row);
  int MarkedRow() const { return marked_; }

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logical_index) const override;
  QSize sizeHint() const override;

 private:
  int marked_ = -1;
};

class DataGrid : public QTableView {
  Q_OBJECT

 public:
  // `whole_rows`: the highlight covers the current row instead of one cell.
  DataGrid(bool whole_rows, QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;

  // The data set moved: highlight that row (-1: none) and scroll it into view.
  void ShowCurrentRow(int row);
  int HighlightedRow() const;
  RowIndicator* indicator() const { return indicator_; }

 signals:
  // The operator made this row current (click or keys).
  void RowChosen(int row);
  // A left click on a cell, after its row became current.
  void CellClicked(int row, int column);

 private:
  void OnCurrentChanged(const QModelIndex& current, const QModelIndex& previous);

  RowIndicator* indicator_;
  bool following_ = false;  // true while the grid follows the data set
};

}  // namespace tables
