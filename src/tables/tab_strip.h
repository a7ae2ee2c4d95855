// The tab strips TabControl1 and TabControl2: a row of tabs above an empty
// page frame. In the wrapping mode tabs that do not fit go onto further rows
// (the row holding the selected tab lies next to the page, as on Windows);
// the single-row mode scrolls with two arrow buttons. The tab under the mouse
// is highlighted.
#pragma once

#include <QRect>
#include <QStringList>
#include <QWidget>
#include <vector>

class QToolButton;

namespace tables {

class TabStrip : public QWidget {
  Q_OBJECT

 public:
  enum class Rows { kOne, kWrap };

  explicit TabStrip(Rows rows, QWidget* parent = nullptr);

  // Removes every tab, then adds one per text, in order; nothing selected.
  void SetTabs(const QStringList& texts);
  int count() const { return static_cast<int>(texts_.size()); }
  QString TabText(int index) const;

  // -1 when no tab is selected.
  int CurrentIndex() const { return current_; }
  // Selects without telling: only the operator's changes are events. An
  // index outside the tabs selects none.
  void SetCurrentIndex(int index);
  int HoveredIndex() const { return hovered_; }

  int RowCount() const { return row_count_; }
  // Where the tab is drawn; empty when it is scrolled out of sight.
  QRect TabRect(int index) const;
  int TabAt(const QPoint& point) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // The operator selected another tab.
  void TabChanged(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int TabHeight() const;
  int NaturalWidth(int index) const;
  void Relayout();
  void SetHovered(int index);
  void SelectByOperator(int index);
  void Scroll(int step);

  Rows mode_;
  QStringList texts_;
  std::vector<QRect> rects_;
  int current_ = -1;
  int hovered_ = -1;
  int row_count_ = 1;
  int first_visible_ = 0;  // single row: the first tab drawn
  int tabs_bottom_ = 0;    // where the page frame starts
  QToolButton* left_ = nullptr;
  QToolButton* right_ = nullptr;
};

}  // namespace tables
