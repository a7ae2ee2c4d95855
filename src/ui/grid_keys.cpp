#include "grid_keys.h"

#include <QEvent>
#include <QPointer>
#include <QTableView>
#include <QTimer>

namespace ui {

namespace {

class GridKeys : public QObject {
 public:
  GridKeys(QTableView* grid, std::function<void()> moved)
      : QObject(grid), grid_(grid), moved_(std::move(moved)) {
    grid->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int before = grid_->currentIndex().row();
    // Looked at after the grid has moved, outside its key handling: the
    // page may replace the rows.
    QTimer::singleShot(0, this, [this, before] {
      if (grid_ && grid_->isVisible() && grid_->currentIndex().row() != before) moved_();
    });
    return false;
  }

 private:
  QPointer<QTableView> grid_;
  std::function<void()> moved_;
};

}  // namespace

void WatchKeyMoves(QTableView* grid, std::function<void()> moved) {
  new GridKeys(grid, std::move(moved));
}

}  // namespace ui
