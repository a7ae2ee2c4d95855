// Image1: the drawing surface of the signal-level bar.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace ui {

// Column where the bar turns from blue to grey for a level (already reduced to
// 0..255): 0 for level 0, otherwise round-half-even(level * 0.7) - 1.
int LevelMark(int level);
// Height in pixels of bar column i: round(i * 0.2).
int LevelColumnHeight(int column);
bool IsLevelGapColumn(int column);

class LevelImage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLeft = 264;
  static constexpr int kTop = 8;
  static constexpr int kWidth = 185;
  static constexpr int kHeight = 57;
  static constexpr int kColumns = 68;

  explicit LevelImage(QWidget* parent = nullptr);

  // Paints the whole surface in the button-face colour.
  void FillSurface();
  // x, y: the bar's lowest left pixel on the surface. Nothing is erased first.
  void DrawLevelBar(int x, int y, int level);

  const QImage& surface() const { return surface_; }
  static QColor BarColor() { return QColor(0, 0, 255); }
  static QColor ShadowColor();
  static QColor FaceColor();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage surface_;
};

}  // namespace ui
