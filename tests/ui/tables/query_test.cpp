// The query words over a real SQLite file, and what DBGrid1, DBNavigator1 and
// the data check boxes show of Query1.
#include <QCheckBox>
#include <QSqlQueryModel>
#include <QTest>
#include <QToolButton>

#include "db_check_box.h"
#include "tables_fixture.h"

namespace tables_test {
namespace {

class QueryTest : public TablesTest {
 protected:
  void MakePeople(int rows) {
    Sql("CREATE TABLE People (Name TEXT, Age INTEGER, Ok TEXT)");
    const char* names[] = {"Ann", "Bob", "Cid", "Dan"};
    const char* oks[] = {"YES", "NO", "maybe", "YES"};
    for (int i = 0; i < rows; ++i)
      Sql(std::string("INSERT INTO People VALUES ('") + names[i] + "', " +
          std::to_string(20 + i) + ", '" + oks[i] + "')");
  }
};

TEST_F(QueryTest, SelectFillsGridAndWalksTwoRows) {
  MakePeople(2);
  Run("10 LEFT 10 TOP 300 WIDTH 120 HEIGHT DBGRID1");
  Sql("SELECT * FROM People ORDER BY Name", "QUERY1");

  tables::DataGrid* grid = tables_->DBGrid(1);
  ASSERT_TRUE(grid->isVisible());
  EXPECT_EQ(grid->geometry(), QRect(10, 10, 300, 120));
  EXPECT_EQ(grid->model()->rowCount(), 2);
  EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), "Name");
  EXPECT_EQ(grid->HighlightedRow(), 0);

  Run("FIRST1 `Name` FIELD1");
  EXPECT_EQ(Pop(), "Ann");
  EXPECT_EQ(Pop(), "1");
  Run("NEXT1");
  EXPECT_EQ(Pop(), "1");
  EXPECT_EQ(grid->HighlightedRow(), 1);
  Run("NEXT1 `age` FIELD1");  // column names in any letter case
  EXPECT_EQ(Pop(), "21");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(grid->HighlightedRow(), 1);
  Run("`Nope` FIELD1");
  EXPECT_EQ(Depth(), 0);
}

TEST_F(QueryTest, SetStaysOnEqualAndRunsPastTheEnd) {
  MakePeople(2);
  Sql("SELECT * FROM People ORDER BY Name", "QUERY1");
  Run("`Ann` `Name` SET1");
  EXPECT_EQ(Pop(), "1");
  EXPECT_EQ(tables_->Query1().CurrentRow(), 0);
  Run("`ann` `Name` SET1");  // letter case counts: moves on
  EXPECT_EQ(Pop(), "1");
  EXPECT_EQ(tables_->Query1().CurrentRow(), 1);
  Run("`Zed` `Name` SET1");  // last row, different value: past the end
  EXPECT_EQ(Pop(), "0");
  Run("`Bob` `Nope` SET1");
  EXPECT_EQ(Depth(), 0);
}

TEST_F(QueryTest, ForQueryRunsALinePerRowAndNoneOnEmpty) {
  MakePeople(3);
  Sql("SELECT Name FROM People ORDER BY Name", "QUERY1");
  Run("\"`Name` FIELD1 \" FORQUERY1");
  ASSERT_EQ(Depth(), 3);
  EXPECT_EQ(Pop(), "Cid");
  EXPECT_EQ(Pop(), "Bob");
  EXPECT_EQ(Pop(), "Ann");

  // The nested line clears the busy flag when it ends; the outer line goes on.
  engine_.Register("BUSY?", [](engine::Engine& e, engine::Frame&) { e.Push(e.busy() ? "b" : "-"); });
  Sql("SELECT Name FROM People WHERE Name = 'Ann'", "QUERY1");
  Run("`NIL` FORQUERY1 BUSY?");
  EXPECT_EQ(Pop(), "-");

  Sql("SELECT Name FROM People WHERE Age > 99", "QUERY1");
  Run("`1` FORQUERY1 FIRST1");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Depth(), 0);
}

// A row's line that runs FORQUERY1 on itself starts the walk over at every
// level and would nest without end; the engine stops the nesting instead of
// running out of stack.
TEST_F(QueryTest, ForQueryInsideItsOwnLineEndsWithoutCrashing) {
  MakePeople(2);
  Sql("SELECT Name FROM People ORDER BY Name", "QUERY1");
  Run("`DUP FORQUERY1` DUP FORQUERY1 `after` ");
  EXPECT_EQ(Pop(), "after");
  EXPECT_EQ(form_.StatusText(), QString::fromUtf8("Ошибка:Слишком много вложенных строк скрипта"));
  Run("FIRST1 DROP `Name` FIELD1");
  EXPECT_EQ(Pop(), "Ann");
}

TEST_F(QueryTest, FailingStatementLeavesQueryClosed) {
  MakePeople(2);
  Run("DBGRID1");
  Sql("SELECT * FROM People", "QUERY1");
  ASSERT_EQ(tables_->DBGrid(1)->model()->rowCount(), 2);
  Sql("SELECT * FROM NoSuchTable", "QUERY1");
  EXPECT_FALSE(tables_->Query1().IsOpen());
  EXPECT_EQ(tables_->DBGrid(1)->model()->rowCount(), 0);
  Run("FIRST1 NEXT1 `Name` FIELD1");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Depth(), 0);
  Run("CLEARITEMS QUERY1 FIRST1");  // an empty statement fails too
  EXPECT_EQ(Pop(), "0");
}

TEST_F(QueryTest, StatementIsTheItemListLinesAndQuery2IsSeparate) {
  MakePeople(3);
  Run("CLEARITEMS `SELECT Name` ADDITEMS `FROM People` ADDITEMS `WHERE Age = 21` ADDITEMS QUERY2");
  Run("`Name` FIELD2");
  EXPECT_EQ(Pop(), "Bob");
  Run("FIRST1");  // Query1 untouched
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(tables_->Query2().statement(), "SELECT Name\nFROM People\nWHERE Age = 21");
}

TEST_F(QueryTest, TablesPersistInTheWorkingFolder) {
  Sql("CREATE TABLE Kept (A TEXT)");
  Sql("INSERT INTO Kept VALUES ('\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82')");  // Привет
  delete tables_;
  tables_ = nullptr;
  ASSERT_TRUE(QFile::exists(dir_.filePath("Tables.db")));

  engine::Engine again(&form_);
  tables::Tables next(again, tables::TablesWindow{});
  ASSERT_TRUE(next.Query1().Open("SELECT A FROM Kept"));
  EXPECT_EQ(next.Query1().Field("A").value(), engine::Cp1251("Привет"));
}

TEST_F(QueryTest, GridClickMakesRowCurrentAndRunsScript) {
  MakePeople(3);
  Run("\"`Name` FIELD1 \" ONCHANGE 5 ID 0 LEFT 0 TOP 300 WIDTH 150 HEIGHT DBGRID1");
  Sql("SELECT Name, Age FROM People ORDER BY Name", "QUERY1");
  tables::DataGrid* grid = tables_->DBGrid(1);
  const QRect cell = grid->visualRect(grid->model()->index(2, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  Settle();
  EXPECT_EQ(tables_->Query1().CurrentRow(), 2);
  EXPECT_EQ(grid->indicator()->MarkedRow(), 2);
  EXPECT_EQ(form_.registers().last_event_tag, 5);
  EXPECT_EQ(Pop(), "Cid");
}

TEST_F(QueryTest, NavigatorAndDataChecksFollowQuery1) {
  MakePeople(4);
  Run("DBGRID1 `Ok` FIELD `OK?` TEXT DBCHECK");
  ui::DbCheckBox* box = form_.pool().DBCheckBox(1);
  ASSERT_TRUE(box->isVisible());
  EXPECT_EQ(box->checkState(), Qt::Unchecked);  // no result yet

  Sql("SELECT * FROM People ORDER BY Name", "QUERY1");
  EXPECT_EQ(box->checkState(), Qt::Checked);  // Ann: YES
  tables::RecordNavigator* nav = tables_->DBNavigator1();
  EXPECT_FALSE(nav->PriorButton()->isEnabled());
  nav->NextButton()->click();
  EXPECT_EQ(tables_->Query1().CurrentRow(), 1);
  EXPECT_EQ(tables_->DBGrid(1)->HighlightedRow(), 1);
  EXPECT_EQ(box->checkState(), Qt::Unchecked);  // Bob: NO
  Run("NEXT1 DROP");
  EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);  // Cid: neither
  nav->LastButton()->click();
  EXPECT_EQ(tables_->Query1().CurrentRow(), 3);
  EXPECT_FALSE(nav->NextButton()->isEnabled());
  EXPECT_EQ(box->checkState(), Qt::Checked);

  // The operator cannot change what the row holds.
  QTest::mouseClick(box, Qt::LeftButton);
  EXPECT_EQ(box->checkState(), Qt::Checked);
  nav->FirstButton()->click();
  EXPECT_EQ(tables_->Query1().CurrentRow(), 0);

  Run("SCLEAR");  // unbinds the box
  EXPECT_FALSE(box->isVisible());
  EXPECT_EQ(box->checkState(), Qt::Unchecked);
}

TEST_F(QueryTest, LargeResultIsFetchedLazily) {
  Sql("CREATE TABLE Big (N INTEGER)");
  Sql("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000) "
      "INSERT INTO Big SELECT x FROM c");
  Run("DBGRID1");
  Sql("SELECT N FROM Big ORDER BY N", "QUERY1");
  QSqlQueryModel* model = tables_->Query1().model();
  EXPECT_LT(model->rowCount(), 1000);
  EXPECT_TRUE(model->canFetchMore());
  // Walking on fetches as it goes; the last row is reached.
  tables_->DBNavigator1()->LastButton()->click();
  EXPECT_EQ(model->rowCount(), 100000);
  Run("`N` FIELD1");
  EXPECT_EQ(Pop(), "100000");
}

}  // namespace
}  // namespace tables_test
