// The page area as the operator sees it: PanelSet inside a scroll area. The
// scripts place controls with absolute positions; PanelSet grows to hold every
// shown control, so a page larger than the window scrolls instead of being
// cut. Controls join the Tab chain in the order the page shows them, between
// the tree and the tool bar.
#pragma once

#include <QPointer>
#include <QScrollArea>

namespace ui {

class PageScrollArea : public QScrollArea {
 public:
  // `page` becomes the scrolled widget; `before` and `after` are the Tab chain's
  // neighbours of the page's controls (the tree and the tool bar's first
  // control).
  PageScrollArea(QWidget* page, QWidget* before, QWidget* after, QWidget* parent);

  // The size PanelSet needs for its shown controls (their right and bottom
  // edges).
  QSize ContentExtent() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Watch(QObject* child);
  void FitLater();
  void Fit();
  void JoinTabChain(QWidget* control);

  QWidget* page_;
  QWidget* before_;
  QWidget* after_;
  QPointer<QWidget> last_placed_;
  bool fit_posted_ = false;
};

}  // namespace ui
