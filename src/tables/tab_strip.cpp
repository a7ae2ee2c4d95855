#include "tab_strip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <algorithm>

namespace tables {

namespace {

constexpr int kMargin = 2;     // left of the first tab, above the top row
constexpr int kPadding = 8;    // text to tab edge
constexpr int kRaise = 2;      // the selected tab stands out by this much
constexpr int kArrowWidth = 16;

QColor Blend(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                          a.greenF() + (b.greenF() - a.greenF()) * t,
                          a.blueF() + (b.blueF() - a.blueF()) * t);
}

}  // namespace

TabStrip::TabStrip(Rows rows, QWidget* parent) : QWidget(parent), mode_(rows) {
  setMouseTracking(true);
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::StrongFocus);
  if (mode_ == Rows::kOne) {
    left_ = new QToolButton(this);
    right_ = new QToolButton(this);
    left_->setArrowType(Qt::LeftArrow);
    right_->setArrowType(Qt::RightArrow);
    for (QToolButton* b : {left_, right_}) {
      b->setFocusPolicy(Qt::NoFocus);
      b->setAutoRepeat(true);
      b->hide();
    }
    connect(left_, &QToolButton::clicked, this, [this] { Scroll(-1); });
    connect(right_, &QToolButton::clicked, this, [this] { Scroll(1); });
  }
  Relayout();
}

void TabStrip::SetTabs(const QStringList& texts) {
  texts_ = texts;
  current_ = -1;
  hovered_ = -1;
  first_visible_ = 0;
  Relayout();
  update();
}

QString TabStrip::TabText(int index) const {
  return index >= 0 && index < count() ? texts_[index] : QString();
}

void TabStrip::SetCurrentIndex(int index) {
  current_ = index >= 0 && index < count() ? index : -1;
  if (mode_ == Rows::kOne && current_ >= 0 && current_ < first_visible_) first_visible_ = current_;
  Relayout();
  if (mode_ == Rows::kOne && current_ >= 0) {
    const int limit = !right_->isHidden() ? left_->x() : width();
    while (first_visible_ < current_ && rects_[current_].right() >= limit) {
      ++first_visible_;
      Relayout();
    }
  }
  update();
}

QRect TabStrip::TabRect(int index) const {
  if (index < 0 || index >= count()) return {};
  QRect r = rects_[index];
  if (mode_ == Rows::kOne && !right_->isHidden()) r = r.intersected(QRect(0, 0, left_->x(), height()));
  return r;
}

int TabStrip::TabAt(const QPoint& point) const {
  // The selected tab stands out over its neighbours, so it wins.
  if (current_ >= 0 && TabRect(current_).adjusted(-kRaise, -kRaise, kRaise, 0).contains(point))
    return current_;
  for (int i = 0; i < count(); ++i)
    if (TabRect(i).contains(point)) return i;
  return -1;
}

int TabStrip::TabHeight() const { return fontMetrics().height() + 8; }

int TabStrip::NaturalWidth(int index) const {
  return std::max(24, fontMetrics().horizontalAdvance(texts_[index]) + 2 * kPadding);
}

void TabStrip::Relayout() {
  const int h = TabHeight();
  rects_.assign(texts_.size(), QRect());
  const int top = kMargin + kRaise;
  if (mode_ == Rows::kWrap) {
    const int available = std::max(1, width() - 2 * kMargin);
    std::vector<std::vector<int>> rows(1);
    int used = 0;
    for (int i = 0; i < count(); ++i) {
      const int w = NaturalWidth(i);
      if (!rows.back().empty() && used + w > available) {
        rows.emplace_back();
        used = 0;
      }
      rows.back().push_back(i);
      used += w;
    }
    row_count_ = static_cast<int>(rows.size());
    int selected_row = row_count_ - 1;
    for (int r = 0; r < row_count_; ++r)
      if (std::find(rows[r].begin(), rows[r].end(), current_) != rows[r].end()) selected_row = r;
    for (int r = 0; r < row_count_; ++r) {
      // Rows after the selected one come first, so the selected row ends next to the page.
      const int place = (r - selected_row - 1 + 2 * row_count_) % row_count_;
      int natural = 0;
      for (int i : rows[r]) natural += NaturalWidth(i);
      const int extra = row_count_ > 1 ? std::max(0, available - natural) : 0;
      const int n = static_cast<int>(rows[r].size());
      int x = kMargin;
      for (int k = 0; k < n; ++k) {
        const int i = rows[r][k];
        const int w = NaturalWidth(i) + extra / n + (k < extra % n ? 1 : 0);
        rects_[i] = QRect(x, top + place * h, w, h);
        x += w;
      }
    }
  } else {
    row_count_ = 1;
    int total = 0;
    for (int i = 0; i < count(); ++i) total += NaturalWidth(i);
    const bool overflow = total + 2 * kMargin > width();
    if (!overflow) first_visible_ = 0;
    first_visible_ = std::clamp(first_visible_, 0, std::max(0, count() - 1));
    int x = kMargin;
    for (int i = first_visible_; i < count(); ++i) {
      const int w = NaturalWidth(i);
      rects_[i] = QRect(x, top, w, h);
      x += w;
    }
    left_->setVisible(overflow);
    right_->setVisible(overflow);
    if (overflow) {
      left_->setGeometry(width() - 2 * kArrowWidth, top, kArrowWidth, h - 2);
      right_->setGeometry(width() - kArrowWidth, top, kArrowWidth, h - 2);
      left_->setEnabled(first_visible_ > 0);
      right_->setEnabled(x > width() - 2 * kArrowWidth && first_visible_ < count() - 1);
    }
  }
  tabs_bottom_ = top + row_count_ * h;
}

void TabStrip::Scroll(int step) {
  first_visible_ = std::clamp(first_visible_ + step, 0, std::max(0, count() - 1));
  SetHovered(-1);
  Relayout();
  update();
}

void TabStrip::SetHovered(int index) {
  if (index == hovered_) return;
  hovered_ = index;
  update();
}

void TabStrip::SelectByOperator(int index) {
  if (index < 0 || index >= count() || index == current_) return;
  SetCurrentIndex(index);
  hovered_ = TabAt(mapFromGlobal(QCursor::pos()));
  emit TabChanged(index);  // may run a script that refills the strip: nothing after this
}

QSize TabStrip::sizeHint() const {
  int total = 2 * kMargin;
  for (int i = 0; i < count(); ++i) total += NaturalWidth(i);
  return {std::max(total, 100), TabHeight() + kMargin + kRaise + 40};
}

QSize TabStrip::minimumSizeHint() const { return {40, TabHeight() + kMargin + kRaise}; }

void TabStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPalette& pal = palette();
  const QColor light = pal.color(QPalette::Light);
  const QColor dark = pal.color(QPalette::Dark);
  const QColor shadow = pal.color(QPalette::Shadow);

  // The page frame under the tabs.
  const QRect page(0, tabs_bottom_, width(), height() - tabs_bottom_);
  if (page.height() > 0) {
    p.fillRect(page, pal.color(QPalette::Window));
    p.setPen(light);
    p.drawLine(page.topLeft(), page.topRight());
    p.drawLine(page.topLeft(), page.bottomLeft());
    p.setPen(shadow);
    p.drawLine(page.bottomLeft(), page.bottomRight());
    p.drawLine(page.topRight(), page.bottomRight());
    p.setPen(dark);
    p.drawLine(page.bottomLeft() + QPoint(1, -1), page.bottomRight() + QPoint(-1, -1));
    p.drawLine(page.topRight() + QPoint(-1, 1), page.bottomRight() + QPoint(-1, -1));
  }

  if (mode_ == Rows::kOne && !right_->isHidden()) p.setClipRect(0, 0, left_->x(), height());

  auto draw_tab = [&](int i) {
    QRect r = rects_[i];
    if (r.isEmpty()) return;
    const bool selected = i == current_;
    const bool hot = i == hovered_ && isEnabled();
    if (selected) r.adjust(-kRaise, -kRaise, kRaise, 1);
    QColor fill = selected ? pal.color(QPalette::Window) : pal.color(QPalette::Button);
    if (hot) fill = Blend(fill, pal.color(QPalette::Highlight), 0.25);
    p.fillRect(r.adjusted(1, 1, -1, selected ? 0 : -1), fill);
    p.setPen(light);
    p.drawLine(r.left(), r.bottom() - (selected ? 0 : 1), r.left(), r.top() + 2);
    p.drawLine(r.left() + 2, r.top(), r.right() - 2, r.top());
    p.drawPoint(r.left() + 1, r.top() + 1);
    p.setPen(shadow);
    p.drawLine(r.right(), r.top() + 2, r.right(), r.bottom() - (selected ? 0 : 1));
    p.drawPoint(r.right() - 1, r.top() + 1);
    p.setPen(dark);
    p.drawLine(r.right() - 1, r.top() + 2, r.right() - 1, r.bottom() - (selected ? 0 : 1));
    p.setPen(hot ? pal.color(QPalette::Highlight)
                 : pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                             QPalette::ButtonText));
    p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, texts_[i]);
    if (selected && hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = r.adjusted(3, 3, -3, -2);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
  };
  for (int i = 0; i < count(); ++i)
    if (i != current_) draw_tab(i);
  if (current_ >= 0) draw_tab(current_);
}

void TabStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  SelectByOperator(TabAt(event->position().toPoint()));
}

void TabStrip::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(TabAt(event->position().toPoint()));
  QWidget::mouseMoveEvent(event);
}

void TabStrip::leaveEvent(QEvent* event) {
  SetHovered(-1);
  QWidget::leaveEvent(event);
}

void TabStrip::keyPressEvent(QKeyEvent* event) {
  if (count() == 0) return QWidget::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Left:
      SelectByOperator(current_ < 0 ? 0 : std::max(0, current_ - 1));
      break;
    case Qt::Key_Right:
      SelectByOperator(current_ < 0 ? 0 : std::min(count() - 1, current_ + 1));
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void TabStrip::resizeEvent(QResizeEvent* event) {
  Relayout();
  QWidget::resizeEvent(event);
}

void TabStrip::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) Relayout();
  QWidget::changeEvent(event);
}

}  // namespace tables
