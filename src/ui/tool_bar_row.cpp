#include "tool_bar_row.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace ui {

ToolBarRow::ToolBarRow(const QList<QWidget*>& row, QComboBox* port_box, QObject* parent)
    : QObject(parent), port_box_(port_box), port_box_width_(port_box->width()) {
  for (QWidget* widget : row) {
    row_ << widget;
    designed_x_ << widget->x();
    widget->installEventFilter(this);
  }
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
  const int wanted = port_box_->count() > 0 ? port_box_->sizeHint().width() : 0;
  port_box_->setFixedWidth(std::clamp(wanted, port_box_width_, kMaxPortBoxWidth));
  int right = 0;
  for (int i = 0; i < row_.size(); ++i) {
    QWidget* widget = row_[i];
    if (!widget) continue;
    if (auto* label = qobject_cast<QLabel*>(widget)) label->adjustSize();
    const int x = std::max(designed_x_[i], right == 0 ? 0 : right + kGap);
    if (widget->x() != x) widget->move(x, widget->y());
    right = x + widget->width();
  }
}

bool ToolBarRow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    QMetaObject::invokeMethod(this, &ToolBarRow::LayOut, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace ui
