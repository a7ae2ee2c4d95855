// Tab strips, placing, FILTR, ADDEV, CONCLEAR and READVCK on the real window.
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

#include "combo_box.h"
#include "tables_fixture.h"

namespace tables_test {
namespace {

using TabGridTest = TablesTest;

TEST_F(TabGridTest, TabControlPlacesTabsAndRoutesAClick) {
  Run("CLEARITEMS one ADDITEMS two ADDITEMS three ADDITEMS 1 INDEX");
  Run("\"TINDEX 7 ! \" ONCHANGE 10 LEFT 20 TOP 300 WIDTH 100 HEIGHT TABCONTROL");
  tables::TabStrip* strip = tables_->TabControl1();
  ASSERT_TRUE(strip->isVisible());
  EXPECT_EQ(strip->geometry(), QRect(10, 20, 300, 100));
  ASSERT_EQ(strip->count(), 3);
  EXPECT_EQ(strip->TabText(2), "three");
  EXPECT_EQ(ui::Tag(strip), 1);
  EXPECT_EQ(form_.registers().current_id, 2);
  Run("TINDEX");
  EXPECT_EQ(Pop(), "1");

  QTest::mouseClick(strip, Qt::LeftButton, {}, strip->TabRect(2).center());
  EXPECT_EQ(engine_.Cell(7), "2");
  EXPECT_EQ(form_.registers().last_event_tag, 1);
  Run("TINDEX");
  EXPECT_EQ(Pop(), "2");
  // A click on the selected tab changes nothing and runs nothing.
  engine_.Cell(7) = "";
  QTest::mouseClick(strip, Qt::LeftButton, {}, strip->TabRect(2).center());
  EXPECT_EQ(engine_.Cell(7), "");
}

TEST_F(TabGridTest, IndexMinusOneAndTheSecondStrip) {
  Run("CLEARITEMS a ADDITEMS b ADDITEMS -1 INDEX TABCONTROL TINDEX");
  EXPECT_EQ(Pop(), "-1");
  Run("5 INDEX TABCONTROL2 TINDEX2");  // beyond the last tab: none selected
  EXPECT_EQ(Pop(), "-1");
  Run("0 INDEX TABCONTROL2 TINDEX2");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(ui::Tag(tables_->TabControl2()), 3);
}

TEST_F(TabGridTest, NothingIsPlacedAtId100) {
  Run("CLEARITEMS a ADDITEMS 0 INDEX TABCONTROL DBGRID1 SCLEAR");
  Run("100 ID CLEARITEMS b ADDITEMS c ADDITEMS 50 LEFT TABCONTROL TABCONTROL2 DBGRID1 DBGRID2 DBGRID3");
  EXPECT_EQ(form_.registers().current_id, 100);
  EXPECT_FALSE(tables_->TabControl1()->isVisible());
  EXPECT_EQ(tables_->TabControl1()->count(), 1);
  EXPECT_EQ(tables_->TabControl1()->x(), 0);
  for (int i = 1; i <= 3; ++i) EXPECT_FALSE(tables_->DBGrid(i)->isVisible());
  EXPECT_EQ(ui::Tag(tables_->DBGrid(2)), 0);

  // Nor below 1: entry 0 stays the empty script of controls never placed.
  Run("0 ID `x` ONCHANGE DBGRID1 TABCONTROL2 ID%");
  EXPECT_EQ(Pop(), "0");
  EXPECT_FALSE(tables_->DBGrid(1)->isVisible());
  EXPECT_FALSE(tables_->TabControl2()->isVisible());
  EXPECT_EQ(form_.registers().event_scripts[0], "");
}

TEST_F(TabGridTest, ControlsPlacedOnATabStripLieAboveIt) {
  Run("CLEARITEMS a ADDITEMS 0 INDEX 0 LEFT 0 TOP 300 WIDTH 200 HEIGHT TABCONTROL DBGRID1");
  Run("20 LEFT 60 TOP 100 WIDTH 20 HEIGHT COMBO");
  QWidget* combo = form_.pool().ComboBox(1);
  QWidget* hit = form_.PanelSet()->childAt(combo->geometry().center());
  EXPECT_TRUE(hit == combo || combo->isAncestorOf(hit));
}

TEST_F(TabGridTest, SclearHidesStripsAndGrids) {
  Run("TABCONTROL TABCONTROL2 DBGRID1 DBGRID2 DBGRID3");
  EXPECT_TRUE(tables_->DBGrid(2)->isVisible());
  Run("SCLEAR");
  EXPECT_FALSE(tables_->TabControl1()->isVisible());
  EXPECT_FALSE(tables_->TabControl2()->isVisible());
  for (int i = 1; i <= 3; ++i) EXPECT_FALSE(tables_->DBGrid(i)->isVisible());
}

TEST_F(TabGridTest, FirstStripWrapsSecondKeepsOneRow) {
  Run("CLEARITEMS");
  for (int i = 1; i <= 12; ++i) Run("`Страница " + std::to_string(i) + "` ADDITEMS");
  Run("11 INDEX 0 LEFT 0 TOP 200 WIDTH 150 HEIGHT TABCONTROL 0 LEFT 200 TOP TABCONTROL2");
  tables::TabStrip* wrap = tables_->TabControl1();
  tables::TabStrip* one = tables_->TabControl2();
  EXPECT_GT(wrap->RowCount(), 2);
  for (int i = 0; i < 12; ++i) {
    EXPECT_FALSE(wrap->TabRect(i).isEmpty()) << i;
    EXPECT_LE(wrap->TabRect(i).right(), wrap->width()) << i;
  }
  // The selected tab's row lies next to the page.
  int lowest = 0;
  for (int i = 0; i < 12; ++i) lowest = std::max(lowest, wrap->TabRect(i).bottom());
  EXPECT_EQ(wrap->TabRect(11).bottom(), lowest);
  QTest::mouseClick(wrap, Qt::LeftButton, {}, wrap->TabRect(0).center());
  EXPECT_EQ(wrap->CurrentIndex(), 0);
  EXPECT_EQ(wrap->TabRect(0).bottom(), lowest);

  EXPECT_EQ(one->RowCount(), 1);
  const int top = one->TabRect(11).top();
  EXPECT_FALSE(one->TabRect(11).isEmpty());  // scrolled into sight when selected
  EXPECT_TRUE(one->TabRect(0).isEmpty());
  for (int i = 0; i < 12; ++i)
    if (!one->TabRect(i).isEmpty()) {
      EXPECT_EQ(one->TabRect(i).top(), top);
    }
}

TEST_F(TabGridTest, TabUnderTheMouseIsHighlighted) {
  Run("CLEARITEMS a ADDITEMS b ADDITEMS 0 INDEX 200 WIDTH 60 HEIGHT TABCONTROL");
  tables::TabStrip* strip = tables_->TabControl1();
  QTest::mouseMove(strip, strip->TabRect(1).center());
  EXPECT_EQ(strip->HoveredIndex(), 1);
  const QImage lit = strip->grab().toImage();
  QTest::mouseMove(strip, QPoint(150, 50));
  EXPECT_EQ(strip->HoveredIndex(), -1);
  const QImage plain = strip->grab().toImage();
  const QPoint probe = strip->TabRect(1).topLeft() + QPoint(4, 4);
  EXPECT_NE(lit.pixel(probe), plain.pixel(probe));
}

TEST_F(TabGridTest, ScriptRefillingItsOwnStripOnAClick) {
  Run("CLEARITEMS a ADDITEMS b ADDITEMS c ADDITEMS 0 INDEX");
  Run("\"1 ID 0 INDEX TABCONTROL \" ONCHANGE 200 WIDTH 60 HEIGHT TABCONTROL");
  tables::TabStrip* strip = tables_->TabControl1();
  QTest::mouseClick(strip, Qt::LeftButton, {}, strip->TabRect(2).center());
  EXPECT_EQ(strip->CurrentIndex(), 0);
  EXPECT_EQ(strip->count(), 3);
}

TEST_F(TabGridTest, FilterCaptions) {
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: Все");
  form_.MemoTerminal()->appendPlainText("in");
  form_.MemoTerminalOut()->appendPlainText("out");
  Run("9 12 0 FILTR");
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: Все");
  EXPECT_TRUE(form_.MemoTerminal()->toPlainText().isEmpty());
  EXPECT_TRUE(form_.MemoTerminalOut()->toPlainText().isEmpty());
  Run("7 0 5 FILTR");
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: СК-5");
  Run("9 12 3 FILTR");
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: СК-3 Адр.-12 Ном.-9");
  EXPECT_GE(form_.LabelFiltr()->width(),
            form_.LabelFiltr()->fontMetrics().horizontalAdvance(form_.LabelFiltr()->text()));
  Run("0 007 $10 FILTR");
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: СК-16 Адр.-7");

  form_.MemoTerminal()->appendPlainText("kept");
  Run("1 x 3 FILTR");  // m is no number: nothing changes
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: СК-16 Адр.-7");
  EXPECT_EQ(form_.MemoTerminal()->toPlainText(), "kept");
}

TEST_F(TabGridTest, FilterCaptionAloneKeepsTheTraffic) {
  form_.MemoTerminal()->appendPlainText("in");
  form_.MemoTerminalOut()->appendPlainText("out");
  Run("0 2 1 FILTRCAP");
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: СК-1 Адр.-2");
  EXPECT_EQ(form_.MemoTerminal()->toPlainText(), "in");
  EXPECT_EQ(form_.MemoTerminalOut()->toPlainText(), "out");
  Run("1 x 3 FILTRCAP");  // m is no number: nothing changes
  EXPECT_EQ(form_.LabelFiltr()->text(), "Фильтр: СК-1 Адр.-2");
}

TEST_F(TabGridTest, AddEvWritesAnEventLine) {
  Run("`Связь есть` ADDEV");
  const QString text = form_.MemoEV()->toPlainText();
  EXPECT_TRUE(QRegularExpression("^Связь есть \\d\\d\\.\\d\\d-\\d\\d:\\d\\d:\\d\\d$").match(text).hasMatch())
      << text.toStdString();
}

TEST_F(TabGridTest, ConClearAndReadVck) {
  device_.SetConnected(4, 1, true);
  device_.SetConnected(4, 255, true);
  device_.SetConnected(5, 1, true);
  Run("4 CONCLEAR 0 CONCLEAR 33 CONCLEAR x CONCLEAR");
  EXPECT_FALSE(device_.Connected(4, 1));
  EXPECT_FALSE(device_.Connected(4, 255));
  EXPECT_TRUE(device_.Connected(5, 1));
  EXPECT_EQ(Depth(), 0);

  device_.Pair(10)->link = 2;
  device_.Pair(10)->address = 0x0A;
  Run("10 1 READVCK 10 2 READVCK");
  EXPECT_EQ(Pop(), "10");
  EXPECT_EQ(Pop(), "2");
  Run("8 1 READVCK 33 1 READVCK 10 3 READVCK 10 x READVCK");
  EXPECT_EQ(Pop(), "10");  // j failed first: i stays
  EXPECT_EQ(Depth(), 0);
}

}  // namespace
}  // namespace tables_test
