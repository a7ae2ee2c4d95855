// The tool bar's row of widgets. Each keeps its designed place unless the one
// before it has grown past it (a larger font, a longer port name): then it
// moves right, so that none covers another. The port box grows to show the
// longest port name it offers, up to kMaxPortBoxWidth, but only as far as the
// bar leaves room for the rest of the row: a long name never pushes the last
// button out of a narrow window (the box's tool tip shows the name whole).
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QComboBox;

namespace ui {

class ToolBarRow : public QObject {
 public:
  static constexpr int kGap = 4;
  static constexpr int kMaxPortBoxWidth = 240;

  // `row` from left to right inside `bar`; `port_box` is one of them.
  ToolBarRow(const QList<QWidget*>& row, QComboBox* port_box, QWidget* bar);

  void LayOut();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The row's right edge with the port box `port_width` wide; `move` places it so.
  int Place(int port_width, bool move);

  QWidget* bar_;
  QList<QPointer<QWidget>> row_;
  QList<int> designed_x_;
  QComboBox* port_box_;
  int port_box_width_;
};

}  // namespace ui
