// Tables.db's write-ahead log goes back into the file on a thread of its own,
// while the window's connection stays open and goes on writing.
#include <QFileInfo>
#include <QTest>

#include "tables_fixture.h"

namespace tables_test {
namespace {

using StoreLogTest = TablesTest;

TEST_F(StoreLogTest, RowsReachTheFileWhileTheWindowWrites) {
  Sql("CREATE TABLE journal (n TEXT)");
  const auto file_size = [this] { return QFileInfo(QString::fromStdString(Path("Tables.db"))).size(); };
  const qint64 before = file_size();
  const std::string row(400, 'r');
  for (int i = 0; i < 200; ++i) Sql("INSERT INTO journal VALUES ('" + row + "')");
  // 80 kB of rows: the file itself holds them soon after, though the
  // window's connection never checkpoints.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return file_size() >= before + 80000 && tables_->store().checkpoints() >= 1; }, 10000))
      << file_size();

  // Writing goes on through later checkpoints, and nothing is lost.
  for (int i = 0; i < 200; ++i) Sql("INSERT INTO journal VALUES ('" + row + "')");
  EXPECT_TRUE(QTest::qWaitFor([&] { return file_size() >= before + 160000; }, 10000))
      << file_size();
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n FROM journal"));
  EXPECT_EQ(*q.Field("n"), "400");
}

// A loop of inserts while DBGrid1 shows a result it reads in blocks (which
// holds a reader open on the file): the log stays small, and is emptied once
// the loop ends.
TEST_F(StoreLogTest, TheLogStaysSmallUnderALoopOfInsertsAndIsEmptiedAfter) {
  Sql("CREATE TABLE journal (n TEXT)");
  Sql("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000) "
      "INSERT INTO journal SELECT x FROM c");
  Run("DBGRID1");
  Sql("SELECT * FROM journal", "QUERY1");
  ASSERT_TRUE(tables_->Query1().model()->canFetchMore());
  const QFileInfo log(QString::fromStdString(Path("Tables.db-wal")));
  const auto log_size = [&] { return QFileInfo(log.filePath()).size(); };
  const std::string row(2000, 'r');
  qint64 largest = 0;
  for (int i = 0; i < 20000; ++i) {
    Sql("INSERT INTO journal VALUES ('" + row + "')");
    if (i % 100 == 0) largest = std::max(largest, log_size());
  }
  EXPECT_LT(largest, qint64{64} << 20);
  EXPECT_TRUE(QTest::qWaitFor([&] { return log_size() == 0; }, 10000)) << log_size();
  // The grid's result is whole, where it was.
  Run("`n` FIELD1");
  EXPECT_EQ(Pop(), "1");
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n FROM journal"));
  EXPECT_EQ(*q.Field("n"), "21000");
}

}  // namespace
}  // namespace tables_test
