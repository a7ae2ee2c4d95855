#include "page_area.h"

#include <QChildEvent>
#include <QEvent>
#include <QTimer>
#include <algorithm>

namespace ui {

namespace {

// The controls of a shown page control that Tab stops at: the control itself,
// or for a composite (a folder field) its own focusable parts.
QList<QWidget*> TabStops(QWidget* control) {
  if (control->focusPolicy() & Qt::TabFocus) return {control};
  QList<QWidget*> stops;
  for (QWidget* part : control->findChildren<QWidget*>()) {
    if (part->focusPolicy() & Qt::TabFocus) stops << part;
  }
  return stops;
}

}  // namespace

PageScrollArea::PageScrollArea(QWidget* page, QWidget* before, QWidget* after, QWidget* parent)
    : QScrollArea(parent), page_(page), before_(before), after_(after) {
  setObjectName(QStringLiteral("PageScrollArea"));
  setFrameStyle(QFrame::NoFrame);
  setWidgetResizable(true);
  setWidget(page);
  page->installEventFilter(this);
  for (QObject* child : page->children()) Watch(child);
}

void PageScrollArea::Watch(QObject* child) {
  if (child->isWidgetType()) child->installEventFilter(this);
}

bool PageScrollArea::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_) {
    if (event->type() == QEvent::ChildAdded) {
      Watch(static_cast<QChildEvent*>(event)->child());
      FitLater();
    } else if (event->type() == QEvent::ChildRemoved) {
      FitLater();
    }
    return false;
  }
  switch (event->type()) {
    case QEvent::ShowToParent:
      JoinTabChain(static_cast<QWidget*>(watched));
      FitLater();
      break;
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
      FitLater();
      break;
    default:
      break;
  }
  return false;
}

QSize PageScrollArea::ContentExtent() const {
  int right = 0;
  int bottom = 0;
  for (QObject* object : page_->children()) {
    auto* control = qobject_cast<QWidget*>(object);
    if (!control || control->isHidden() || control->isWindow()) continue;
    right = std::max(right, control->geometry().right() + 1);
    bottom = std::max(bottom, control->geometry().bottom() + 1);
  }
  return {right, bottom};
}

void PageScrollArea::FitLater() {
  if (fit_posted_) return;
  fit_posted_ = true;
  QTimer::singleShot(0, this, [this] { Fit(); });
}

void PageScrollArea::Fit() {
  fit_posted_ = false;
  // A margin as wide as the page's frame keeps the last control off the edge.
  const int margin = page_->contentsRect().left() + 4;
  const QSize extent = ContentExtent();
  page_->setMinimumSize(extent.width() > 0 ? extent.width() + margin : 0,
                        extent.height() > 0 ? extent.height() + margin : 0);
}

void PageScrollArea::JoinTabChain(QWidget* control) {
  const QList<QWidget*> stops = TabStops(control);
  if (stops.isEmpty()) return;
  // A page starts again after the tree once its earlier controls are gone.
  QWidget* previous =
      last_placed_ && last_placed_->isVisibleTo(page_) ? last_placed_.data() : before_;
  for (QWidget* stop : stops) {
    QWidget::setTabOrder(previous, stop);
    previous = stop;
  }
  if (after_) QWidget::setTabOrder(previous, after_);
  last_placed_ = previous;
}

}  // namespace ui
