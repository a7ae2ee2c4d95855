#include "tool_bar_row.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace ui {

ToolBarRow::ToolBarRow(const QList<QWidget*>& row, QComboBox* port_box, QWidget* bar)
    : QObject(bar), bar_(bar), port_box_(port_box), port_box_width_(port_box->width()) {
  for (QWidget* widget : row) {
    row_ << widget;
    designed_x_ << widget->x();
    widget->installEventFilter(this);
  }
  // A resize, and a label whose text changed, reach the bar.
  bar_->installEventFilter(this);
  port_box_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  QAbstractItemModel* model = port_box_->model();
  for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved}) {
    connect(model, signal, this, &ToolBarRow::LayOut);
  }
  connect(model, &QAbstractItemModel::modelReset, this, &ToolBarRow::LayOut);
  connect(model, &QAbstractItemModel::dataChanged, this, &ToolBarRow::LayOut);
  LayOut();
}

void ToolBarRow::LayOut() {
  for (QWidget* widget : row_) {
    if (auto* label = qobject_cast<QLabel*>(widget)) label->adjustSize();
  }
  const int wanted = port_box_->count() > 0 ? port_box_->sizeHint().width() : 0;
  const int width = std::clamp(wanted, port_box_width_, kMaxPortBoxWidth);
  // The row keeps the margin on the right that it has on the left.
  const int limit = bar_->width() - (designed_x_.isEmpty() ? 0 : designed_x_.front());
  const int over = Place(width, false) - limit;
  Place(over > 0 ? std::max(port_box_width_, width - over) : width, true);
}

int ToolBarRow::Place(int port_width, bool move) {
  // Widths are set only once per lay-out: each change asks the bar for another.
  if (move) port_box_->setFixedWidth(port_width);
  int right = 0;
  for (int i = 0; i < row_.size(); ++i) {
    QWidget* widget = row_[i];
    if (!widget) continue;
    const int x = std::max(designed_x_[i], right == 0 ? 0 : right + kGap);
    if (move && widget->x() != x) widget->move(x, widget->y());
    right = x + (widget == port_box_ ? port_width : widget->width());
  }
  return right;
}

bool ToolBarRow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == bar_) {
    if (type == QEvent::Resize || type == QEvent::LayoutRequest) LayOut();
  } else if (type == QEvent::FontChange || type == QEvent::StyleChange) {
    QMetaObject::invokeMethod(this, &ToolBarRow::LayOut, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
