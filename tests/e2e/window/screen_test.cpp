// The window's first size on the screen at hand, and every shipped page whole
// within reach: the page area scrolls to the last control of each.
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QTreeWidgetItemIterator>

#include "page_area.h"
#include "shipped_fixture.h"

namespace window_e2e {
namespace {

class Screen : public shipped_e2e::Shipped {};

TEST_F(Screen, FirstSizeHoldsTheDesignAndEveryPageScrollsToItsLastControl) {
  ASSERT_NO_FATAL_FAILURE(StartAndRead());
  QApplication::processEvents();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const QSize four_sixths(screen.width() * 4 / 6, screen.height() * 4 / 6);
  const QSize frame = form().frameGeometry().size() - form().size();
  EXPECT_EQ(form().frameGeometry().size(),
            QSize(std::max(779 + frame.width(), four_sixths.width()),
                  std::max(652 + frame.height(), four_sixths.height())))
      << screen.width() << "x" << screen.height();
  EXPECT_GE(form().width(), 779);
  EXPECT_GE(form().height(), 652);
  // The tool bar's buttons are whole.
  EXPECT_LE(form().Button17()->mapTo(&form(), QPoint(form().Button17()->width(), 0)).x(),
            form().width());

  ui::PageScrollArea* scroll = form().PageScroll();
  QList<QTreeWidgetItem*> nodes;
  for (QTreeWidgetItemIterator it(form().TreeView()); *it; ++it) nodes << *it;
  ASSERT_GE(nodes.size(), 5);
  int tallest = 0;
  for (QTreeWidgetItem* node : nodes) {
    const QByteArray caption = node->text(0).toUtf8();
    ASSERT_NO_FATAL_FAILURE(ClickNode(caption.constData()));
    QApplication::processEvents();
    QApplication::processEvents();
    // The control whose bottom edge is lowest, and the one reaching furthest right.
    QWidget* lowest = nullptr;
    QWidget* rightmost = nullptr;
    for (QObject* object : form().PanelSet()->children()) {
      auto* control = qobject_cast<QWidget*>(object);
      if (!control || control->isHidden()) continue;
      if (!lowest || control->geometry().bottom() > lowest->geometry().bottom()) lowest = control;
      if (!rightmost || control->geometry().right() > rightmost->geometry().right()) rightmost = control;
    }
    if (!lowest) continue;
    tallest = std::max(tallest, lowest->geometry().bottom());
    for (QWidget* last : {lowest, rightmost}) {
      scroll->ensureWidgetVisible(last, 0, 0);
      QApplication::processEvents();
      const QRect shown(QPoint(scroll->horizontalScrollBar()->value(), scroll->verticalScrollBar()->value()),
                        scroll->viewport()->size());
      EXPECT_TRUE(shown.contains(last->geometry()))
          << caption.constData() << ": " << last->objectName().toStdString() << " at "
          << last->geometry().bottom() << " not within " << shown.bottom();
    }
  }
  EXPECT_GT(tallest, 0);
}

}  // namespace
}  // namespace window_e2e
