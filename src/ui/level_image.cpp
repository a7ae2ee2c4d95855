#include "level_image.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <cstdint>

namespace ui {

int LevelMark(int level) {
  if (level == 0) return 0;
  // level * 0.7 in exact tenths, halves to the even neighbour.
  const int tenths = level * 7;
  int rounded = tenths / 10;
  const int rest = tenths % 10;
  if (rest > 5 || (rest == 5 && rounded % 2 == 1)) ++rounded;
  return rounded - 1;
}

int LevelColumnHeight(int column) {
  // column * 0.2 never lands on a half, so plain rounding is exact.
  return (column * 2 + 5) / 10;
}

bool IsLevelGapColumn(int column) {
  return column % 7 == 5 || column % 7 == 6;
}

LevelImage::LevelImage(QWidget* parent)
    : QWidget(parent), surface_(kWidth, kHeight, QImage::Format_RGB32) {
  setGeometry(kLeft, kTop, kWidth, kHeight);
  FillSurface();
}

QColor LevelImage::ShadowColor() { return QApplication::palette().color(QPalette::Dark); }

QColor LevelImage::FaceColor() { return QApplication::palette().color(QPalette::Button); }

void LevelImage::FillSurface() {
  surface_.fill(FaceColor());
  update();
}

void LevelImage::DrawLevelBar(int x, int y, int level) {
  const int mark = LevelMark(static_cast<uint8_t>(level));
  const QRgb blue = BarColor().rgb();
  const QRgb grey = ShadowColor().rgb();
  QRgb pen = blue;
  for (int i = 0; i < kColumns; ++i) {
    if (i == mark) pen = grey;
    if (IsLevelGapColumn(i)) continue;
    const int64_t column_x = int64_t{x} + i;
    if (column_x < 0 || column_x >= surface_.width()) continue;
    for (int h = 0; h < LevelColumnHeight(i); ++h) {
      const int64_t row = int64_t{y} - h;
      if (row >= 0 && row < surface_.height()) {
        surface_.setPixel(static_cast<int>(column_x), static_cast<int>(row), pen);
      }
    }
  }
  update();
}

void LevelImage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, surface_);
}

}  // namespace ui
