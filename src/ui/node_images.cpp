#include "node_images.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace ui {

namespace {

// Every picture is drawn on a 16 x 16 grid scaled to the target rectangle.
void DrawPage(QPainter& p) {
  QPainterPath sheet;
  sheet.moveTo(3, 1.5);
  sheet.lineTo(10, 1.5);
  sheet.lineTo(13.5, 5);
  sheet.lineTo(13.5, 14.5);
  sheet.lineTo(3, 14.5);
  sheet.closeSubpath();
  p.setPen(QPen(QColor(90, 90, 90), 1));
  p.setBrush(Qt::white);
  p.drawPath(sheet);
  p.setBrush(QColor(210, 210, 210));
  QPainterPath fold;
  fold.moveTo(10, 1.5);
  fold.lineTo(10, 5);
  fold.lineTo(13.5, 5);
  fold.closeSubpath();
  p.drawPath(fold);
  p.setPen(QPen(QColor(70, 110, 190), 1));
  for (double y : {6.5, 8.5, 10.5, 12.5}) p.drawLine(QPointF(5, y), QPointF(y < 7 ? 9 : 11.5, y));
}

void Lamp(QPainter& p, QPointF centre, double radius, QColor colour) {
  p.setPen(QPen(colour.darker(170), 0.6));
  p.setBrush(colour);
  p.drawEllipse(centre, radius, radius);
}

void DrawBoard(QPainter& p) {
  p.setPen(QPen(QColor(20, 70, 30), 1));
  p.setBrush(QColor(40, 130, 60));
  p.drawRoundedRect(QRectF(1.5, 3.5, 13, 9), 1, 1);
  const QColor lamps[] = {QColor(255, 60, 40), QColor(250, 220, 40), QColor(80, 240, 80),
                          QColor(250, 220, 40)};
  for (int i = 0; i < 4; ++i) Lamp(p, QPointF(4 + i * 2.7, 6.5), 0.9, lamps[i]);
  p.setPen(QPen(QColor(220, 200, 120), 0.8));
  for (int i = 0; i < 4; ++i) p.drawLine(QPointF(3.5 + i * 2.7, 10), QPointF(5 + i * 2.7, 10));
}

void DrawFrameLamps(QPainter& p) {
  p.setPen(QPen(QColor(80, 80, 80), 1));
  p.setBrush(QColor(225, 225, 225));
  p.drawRect(QRectF(1.5, 2.5, 13, 11));
  p.setBrush(QColor(170, 170, 170));
  p.drawRect(QRectF(3.5, 4.5, 9, 7));
  Lamp(p, QPointF(6, 8), 1.9, QColor(40, 220, 40));
  Lamp(p, QPointF(10, 8), 1.9, QColor(230, 30, 30));
}

void DrawModule(QPainter& p) {
  p.setPen(QPen(QColor(170, 150, 60), 1));
  for (int i = 0; i < 5; ++i) {
    double x = 3.5 + i * 2.25;
    p.drawLine(QPointF(x, 12.5), QPointF(x, 15));
  }
  p.setPen(QPen(QColor(10, 90, 20), 1));
  p.setBrush(QColor(30, 170, 50));
  p.drawRect(QRectF(1.5, 1.5, 13, 11));
  p.setBrush(QColor(20, 20, 20));
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(5, 4, 6, 5));
}

void DrawGear(QPainter& p) {
  const QPointF c(8, 8);
  const int teeth = 8;
  QPainterPath gear;
  for (int i = 0; i < teeth * 4; ++i) {
    double angle = (i - 0.5) * M_PI / (teeth * 2);
    double r = (i % 4 == 0 || i % 4 == 1) ? 7.2 : 5.4;
    QPointF point(c.x() + r * qCos(angle), c.y() + r * qSin(angle));
    if (i == 0) gear.moveTo(point); else gear.lineTo(point);
  }
  gear.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(c, 2.2, 2.2);
  p.setPen(QPen(QColor(60, 60, 70), 0.8));
  p.setBrush(QColor(150, 155, 165));
  p.drawPath(gear.subtracted(hole));
}

void DrawChip(QPainter& p) {
  p.setPen(QPen(QColor(160, 160, 160), 1));
  for (int i = 0; i < 4; ++i) {
    double v = 4.5 + i * 2.3;
    p.drawLine(QPointF(0.5, v), QPointF(3, v));
    p.drawLine(QPointF(13, v), QPointF(15.5, v));
    p.drawLine(QPointF(v, 0.5), QPointF(v, 3));
    p.drawLine(QPointF(v, 13), QPointF(v, 15.5));
  }
  p.setPen(QPen(QColor(10, 10, 10), 1));
  p.setBrush(QColor(45, 45, 50));
  p.drawRect(QRectF(3, 3, 10, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(200, 200, 200));
  p.drawEllipse(QPointF(5.2, 5.2), 0.9, 0.9);
}

class NodeIconEngine : public QIconEngine {
 public:
  explicit NodeIconEngine(int index) : index_(index) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.topLeft());
    painter->scale(rect.width() / 16.0, rect.height() / 16.0);
    if (mode == QIcon::Disabled) painter->setOpacity(0.45);
    switch (index_) {
      case 0: DrawPage(*painter); break;
      case 1: DrawBoard(*painter); break;
      case 2: DrawFrameLamps(*painter); break;
      case 3: DrawModule(*painter); break;
      case 4: DrawGear(*painter); break;
      default: DrawChip(*painter); break;
    }
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return scaledPixmap(size, mode, state, 1.0);
  }

  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    QPixmap pixmap(size * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return pixmap;
  }

  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
  QIconEngine* clone() const override { return new NodeIconEngine(index_); }
  QString key() const override { return QStringLiteral("zelt-node"); }

 private:
  int index_;
};

}  // namespace

QIcon NodeImage(int index) {
  if (index < 0 || index >= kNodeImageCount) return QIcon();
  return QIcon(new NodeIconEngine(index));
}

}  // namespace ui
