#include "data_grid.h"

#include <QPainter>
#include <QPolygon>

namespace tables {

RowIndicator::RowIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
  setSectionResizeMode(QHeaderView::Fixed);
  setSectionsClickable(false);
  setHighlightSections(false);
}

void RowIndicator::SetMarkedRow(int row) {
  if (row == marked_) return;
  marked_ = row;
  viewport()->update();
}

QSize RowIndicator::sizeHint() const { return {12, QHeaderView::sizeHint().height()}; }

void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logical_index) const {
  const QPalette& pal = palette();
  painter->fillRect(rect, pal.color(QPalette::Button));
  painter->setPen(pal.color(QPalette::Light));
  painter->drawLine(rect.topLeft(), rect.bottomLeft());
  painter->drawLine(rect.topLeft(), rect.topRight());
  painter->setPen(pal.color(QPalette::Dark));
  painter->drawLine(rect.topRight(), rect.bottomRight());
  painter->drawLine(rect.bottomLeft(), rect.bottomRight());
  if (logical_index != marked_) return;
  const QPoint c = rect.center();
  QPolygon triangle;
  triangle << QPoint(c.x() - 2, c.y() - 4) << QPoint(c.x() + 2, c.y()) << QPoint(c.x() - 2, c.y() + 4);
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->setPen(pal.color(QPalette::ButtonText));
  painter->setBrush(pal.color(QPalette::ButtonText));
  painter->drawPolygon(triangle);
}

DataGrid::DataGrid(bool whole_rows, QWidget* parent)
    : QTableView(parent), indicator_(new RowIndicator(this)) {
  setVerticalHeader(indicator_);
  indicator_->setFixedWidth(12);
  indicator_->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  setShowGrid(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(whole_rows ? QAbstractItemView::SelectRows
                                  : QAbstractItemView::SelectItems);
  setWordWrap(false);
  setAlternatingRowColors(false);
  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit CellClicked(index.row(), index.column());
  });
}

void DataGrid::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  if (selectionModel())
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DataGrid::OnCurrentChanged);
}

void DataGrid::OnCurrentChanged(const QModelIndex& current, const QModelIndex&) {
  const int row = current.isValid() ? current.row() : -1;
  indicator_->SetMarkedRow(row);
  if (!following_ && row >= 0) emit RowChosen(row);
}

void DataGrid::ShowCurrentRow(int row) {
  if (!model() || !selectionModel()) return;
  following_ = true;
  if (row < 0 || row >= model()->rowCount()) {
    selectionModel()->clear();
    indicator_->SetMarkedRow(-1);
  } else {
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = model()->index(row, std::max(0, column));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 (selectionBehavior() == SelectRows
                                                      ? QItemSelectionModel::Rows
                                                      : QItemSelectionModel::NoUpdate));
    indicator_->SetMarkedRow(row);
    scrollTo(index);
  }
  following_ = false;
}

int DataGrid::HighlightedRow() const {
  return currentIndex().isValid() ? currentIndex().row() : -1;
}

}  // namespace tables
