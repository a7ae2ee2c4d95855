// The tool bar's row of widgets. Each keeps its designed place unless the one
// before it has grown past it (a larger font, a longer port name): then it
// moves right, so that none covers another. The port box grows to show the
// longest port name it offers, up to kMaxPortBoxWidth.
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

  // `row` from left to right; `port_box` is one of them.
  ToolBarRow(const QList<QWidget*>& row, QComboBox* port_box, QObject* parent);

  void LayOut();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QList<QPointer<QWidget>> row_;
  QList<int> designed_x_;
  QComboBox* port_box_;
  int port_box_width_;
};

}  // namespace ui
