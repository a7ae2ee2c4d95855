#include "page_area.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <algorithm>

namespace ui {

namespace {

constexpr char kPlacedProperty[] = "placed_order";

}  // namespace

PageScrollArea::PageScrollArea(QWidget* page, QWidget* parent) : QScrollArea(parent), page_(page) {
  setObjectName(QStringLiteral("PageScrollArea"));
  setFrameStyle(QFrame::NoFrame);
  // Tab goes to the page's controls, not to the area around them.
  setFocusPolicy(Qt::NoFocus);
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
      watched->setProperty(kPlacedProperty, ++placed_count_);
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
  // The scroll area sizes PanelSet and its scroll bars anew now, not at the
  // next layout pass.
  QEvent request(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(this, &request);
}

QList<QWidget*> PageScrollArea::TabStops() const {
  QList<QWidget*> placed;
  for (QObject* object : page_->children()) {
    auto* control = qobject_cast<QWidget*>(object);
    if (control && !control->isHidden() && !control->isWindow()) placed << control;
  }
  std::stable_sort(placed.begin(), placed.end(), [](const QWidget* a, const QWidget* b) {
    return a->property(kPlacedProperty).toLongLong() < b->property(kPlacedProperty).toLongLong();
  });
  QList<QWidget*> stops;
  for (QWidget* control : placed) {
    if (FocusTarget(control)) stops << control;
  }
  return stops;
}

QWidget* FocusTarget(QWidget* control) {
  if (control->focusPolicy() & Qt::TabFocus) return control;
  for (QWidget* part : control->findChildren<QWidget*>()) {
    if ((part->focusPolicy() & Qt::TabFocus) && part->isVisibleTo(control)) return part;
  }
  return nullptr;
}

}  // namespace ui
