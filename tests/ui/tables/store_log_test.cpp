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
  EXPECT_TRUE(QTest::qWaitFor([&] { return file_size() >= before + 80000; }, 10000))
      << file_size();
  EXPECT_GE(tables_->store().checkpoints(), 1);

  // Writing goes on through later checkpoints, and nothing is lost.
  for (int i = 0; i < 200; ++i) Sql("INSERT INTO journal VALUES ('" + row + "')");
  EXPECT_TRUE(QTest::qWaitFor([&] { return file_size() >= before + 160000; }, 10000))
      << file_size();
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n FROM journal"));
  EXPECT_EQ(*q.Field("n"), "400");
}

}  // namespace
}  // namespace tables_test
