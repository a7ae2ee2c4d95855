// The page area as the operator sees it: PanelSet inside a scroll area. The
// scripts place controls with absolute positions; PanelSet grows to hold every
// shown control, so a page larger than the window scrolls instead of being
// cut. Tab goes through the page's controls in the order the page placed
// them.
#pragma once

#include <QScrollArea>

namespace ui {

class PageScrollArea : public QScrollArea {
 public:
  // `page` becomes the scrolled widget.
  PageScrollArea(QWidget* page, QWidget* parent);

  // The size PanelSet needs for its shown controls (their right and bottom
  // edges).
  QSize ContentExtent() const;
  // The shown controls that can take the focus, in the order the page showed
  // them.
  QList<QWidget*> TabStops() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Watch(QObject* child);
  void FitLater();
  void Fit();

  QWidget* page_;
  qint64 placed_count_ = 0;
  bool fit_posted_ = false;
};

// What takes the focus when Tab reaches the control: the control itself, or
// the first focusable part of a composite (a combo box, the folder field);
// null when nothing in it can.
QWidget* FocusTarget(QWidget* control);

}  // namespace ui
