// The divider between the page area and the monitor: the title row itself
// (PanelTit, the memos' captions) is the splitter's handle, so dragging it
// gives the memos or the pages more room while the designed layout keeps its
// sizes.
#pragma once

#include <QSplitter>

class QFrame;

namespace ui {

class MonitorSplitter : public QSplitter {
 public:
  // `title_row` is laid into the handle between the first and second widget.
  MonitorSplitter(QFrame* title_row, QWidget* parent);

 protected:
  QSplitterHandle* createHandle() override;

 private:
  QFrame* title_row_;
};

}  // namespace ui
