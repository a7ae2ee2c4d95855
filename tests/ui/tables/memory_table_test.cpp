// The memory table RxMemoryData1 and DBGrid3 showing it.
#include <QItemSelectionModel>
#include <QTest>

#include "tables_fixture.h"

namespace tables_test {
namespace {

using MemoryTableTest = TablesTest;

TEST_F(MemoryTableTest, ClosedUntilMemData) {
  Run("MEMLEN1 `Tel` FIELD3 MEMDEL1");
  EXPECT_EQ(Depth(), 0);
  Run("1 2 3 MEMAPP1");  // pops its three values, stores nothing
  EXPECT_EQ(Depth(), 0);
  Run("FIRST3 NEXT3");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "0");
  Run("MEMDATA1 MEMLEN1 FIRST3");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "0");
}

TEST_F(MemoryTableTest, AppendReadAndCutTo20) {
  Run("MEMDATA1 101 2 x MEMAPP1 MEMLEN1");
  EXPECT_EQ(Pop(), "1");
  Run("`Tel` FIELD3 `S` FIELD3 `stat` FIELD3 `Name` FIELD3");
  EXPECT_EQ(Pop(), "2");
  EXPECT_EQ(Pop(), "x");
  EXPECT_EQ(Pop(), "101");
  EXPECT_EQ(Depth(), 0);

  // 25 characters, Cyrillic ones being one byte each.
  Run("`1234567890Абвгдежзий12345` `Статус` `s` MEMAPP1 `Tel` FIELD3");
  EXPECT_EQ(Pop(), "1234567890Абвгдежзий");
}

TEST_F(MemoryTableTest, WalkStopsOnTheLastRow) {
  Run("MEMDATA1 a 1 x MEMAPP1 b 2 y MEMAPP1");
  Run("FIRST3 NEXT3 NEXT3 `Tel` FIELD3");
  EXPECT_EQ(Pop(), "b");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "1");
  EXPECT_EQ(Pop(), "1");
}

TEST_F(MemoryTableTest, MemDataAgainEmptiesAndKeepsThreeFields) {
  Run("DBGRID3 MEMDATA1 a 1 x MEMAPP1 MEMDATA1 MEMLEN1 FIRST3");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "0");
  QAbstractItemModel* model = tables_->DBGrid(3)->model();
  EXPECT_EQ(model->columnCount(), 3);
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "Stat");
  EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(MemoryTableTest, DeleteMovesToTheNextRow) {
  Run("MEMDATA1 a 1 x MEMAPP1 b 2 y MEMAPP1 c 3 z MEMAPP1");
  Run("FIRST3 DROP NEXT3 DROP MEMDEL1 MEMLEN1 `Tel` FIELD3");
  EXPECT_EQ(Pop(), "c");
  EXPECT_EQ(Pop(), "2");
  Run("MEMDEL1 `Tel` FIELD3 MEMDEL1 MEMDEL1 MEMLEN1");  // the last row gone: the one before
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "a");
}

TEST_F(MemoryTableTest, Grid3HighlightsTheCurrentRowBothWays) {
  Run("\"`Tel` FIELD3 \" ONCHANGE 0 LEFT 0 TOP 300 WIDTH 200 HEIGHT DBGRID3");
  Run("MEMDATA1 a 1 x MEMAPP1 b 2 y MEMAPP1 c 3 z MEMAPP1");
  tables::DataGrid* grid = tables_->DBGrid(3);
  ASSERT_TRUE(grid->isVisible());
  EXPECT_EQ(grid->HighlightedRow(), 2);  // the appended row is current
  Run("FIRST3 DROP");
  EXPECT_EQ(grid->HighlightedRow(), 0);
  Run("NEXT3 DROP");
  EXPECT_EQ(grid->HighlightedRow(), 1);
  // Whole rows are highlighted.
  EXPECT_TRUE(grid->selectionModel()->isRowSelected(1, QModelIndex()));
  EXPECT_EQ(grid->indicator()->MarkedRow(), 1);

  // A click on a cell of the last row makes it current and runs the script.
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(grid->model()->index(2, 1)).center());
  Settle();
  EXPECT_EQ(tables_->RxMemoryData1().CurrentRow(), 2);
  EXPECT_EQ(Pop(), "c");
  EXPECT_EQ(form_.registers().last_event_tag, 1);
}

}  // namespace
}  // namespace tables_test
