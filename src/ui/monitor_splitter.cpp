#include "monitor_splitter.h"

#include <QFrame>
#include <QSplitterHandle>
#include <QVBoxLayout>

namespace ui {

MonitorSplitter::MonitorSplitter(QFrame* title_row, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), title_row_(title_row) {
  setObjectName(QStringLiteral("MonitorSplitter"));
  setChildrenCollapsible(false);
  setHandleWidth(title_row->height() > 0 ? title_row->height() : 17);
}

QSplitterHandle* MonitorSplitter::createHandle() {
  auto* handle = new QSplitterHandle(orientation(), this);
  // The first widget's handle is never shown; the title row goes between the
  // page area and the monitor.
  if (title_row_ && count() == 1) {
    auto* layout = new QVBoxLayout(handle);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(title_row_);
  }
  return handle;
}

}  // namespace ui
