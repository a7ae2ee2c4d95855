// Tables.db locked by another program, corrupt or read-only: the status bar
// says so once, rows wait in memory and go in, in order, once the file takes
// them again.
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>
#include <cstdio>

#include "../../support/small_disk.h"
#include "tables_fixture.h"

namespace tables_test {
namespace {

class StoreFailureTest : public TablesTest {
 protected:
  std::string Status() const { return form_.StatusText().toStdString(); }
  bool StatusSays(const char* words) const { return Status().find(words) != std::string::npos; }
  size_t Kept() { return tables_->store().kept(); }
  // The journal's values in order, read through the program's own store.
  std::string Journal() {
    tables::QueryObject& q = tables_->Query2();
    if (!q.Open("SELECT group_concat(n, ',') AS v FROM (SELECT n FROM journal ORDER BY rowid)"))
      return "closed";
    return *q.Field("v");
  }
  void Insert(const std::string& value) { Sql("INSERT INTO journal VALUES ('" + value + "')"); }
  // A second connection to Tables.db, as another program holds it.
  QSqlDatabase OtherProgram() {
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-program");
    other.setDatabaseName(QString::fromStdString(Path("Tables.db")));
    other.open();
    return other;
  }
};

TEST_F(StoreFailureTest, LockedStoreKeepsRowsAndStoresThemWhenFree) {
  Sql("CREATE TABLE journal (n TEXT)");
  Insert("0");
  {
    QSqlDatabase other = OtherProgram();
    ASSERT_TRUE(other.isOpen());
    QSqlQuery lock(other);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));

    Insert("1");
    EXPECT_TRUE(StatusSays("Tables.db занята другой программой")) << Status();
    engine_.ShowStatus("other");
    Insert("2");
    Insert("3");
    EXPECT_EQ(Status(), "other") << "said once";
    EXPECT_EQ(Kept(), 3u);
    // A lock costs a statement at most this long.
    Sql("PRAGMA busy_timeout", "QUERY1");
    Run("`timeout` FIELD1");
    EXPECT_EQ(Pop(), "50");

    ASSERT_TRUE(lock.exec("COMMIT"));
    lock.finish();
    other.close();
  }
  QSqlDatabase::removeDatabase("other-program");
  // The retry stores them without waiting for another statement.
  EXPECT_TRUE(QTest::qWaitFor([this] { return Kept() == 0; }, 10000)) << Status();
  EXPECT_EQ(Journal(), "0,1,2,3");
  EXPECT_TRUE(StatusSays("сохранены записи, ждавшие в памяти: 3")) << Status();
}

TEST_F(StoreFailureTest, CorruptStoreKeepsRowsUntilTheFileIsReplaced) {
  WriteFile("Tables.db", std::string(8192, 'x'));
  Sql("CREATE TABLE IF NOT EXISTS journal (n TEXT)");
  Insert("a");
  EXPECT_TRUE(StatusSays("Tables.db повреждена")) << Status();
  EXPECT_EQ(Kept(), 2u);
  Run("BDERROR");
  EXPECT_EQ(Pop(), "Tables.db повреждена: записи, которые не удалось сохранить, ждут в памяти");
  engine_.ShowStatus("other");
  Insert("b");
  Sql("SELECT * FROM journal", "QUERY1");
  Run("FIRST1");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Status(), "other");
  EXPECT_EQ(Kept(), 3u);

  // The operator moves the broken file away (the store has let go of it by the
  // next turn of the event loop, as Windows needs): the kept statements make
  // the table and its rows in the new one, ahead of the next.
  QCoreApplication::processEvents();
  ASSERT_EQ(std::rename(Path("Tables.db").c_str(), Path("broken.db").c_str()), 0);
  Insert("c");
  EXPECT_EQ(Kept(), 0u);
  EXPECT_EQ(Journal(), "a,b,c");
  Run("BDERROR");
  EXPECT_EQ(Pop(), "");
  // A statement the store refuses as such is still refused, not kept.
  Sql("INSERT INTO nowhere VALUES (1)");
  EXPECT_EQ(Kept(), 0u);
}

#ifndef _WIN32
// As an ordinary user (root writes every file): a child process that has
// become nobody opens a Tables.db it may only read.
TEST_F(StoreFailureTest, ReadOnlyStoreIsSaidAndRowsAreKept) {
  {
    QSqlDatabase owner = QSqlDatabase::addDatabase("QSQLITE", "owner");
    owner.setDatabaseName(QString::fromStdString(Path("Tables.db")));
    ASSERT_TRUE(owner.open());
    ASSERT_TRUE(QSqlQuery(owner).exec("CREATE TABLE journal (n TEXT)"));
    owner.close();
  }
  QSqlDatabase::removeDatabase("owner");
  QFile::setPermissions(QString::fromStdString(Path("Tables.db")),
                        QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadOther | QFile::ExeOther);
  const bool as_root = geteuid() == 0;
  const pid_t child = as_root ? fork() : 0;
  if (child == 0) {
    bool ok = true;
    if (as_root) {
      alarm(30);
      ok = setgid(65534) == 0 && setuid(65534) == 0;
    }
    Insert("r");
    ok = ok && Kept() == 1 && StatusSays("Tables.db только для чтения");
    Insert("s");
    ok = ok && Kept() == 2 && Journal() == "";
    if (!as_root) {
      EXPECT_TRUE(ok) << Status();
      return;
    }
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
#endif

// Rows kept at exit go to a file beside Tables.db, which the next start stores.
TEST_F(StoreFailureTest, RowsKeptAtExitAreStoredAtTheNextStart) {
  Sql("CREATE TABLE journal (n TEXT)");
  Insert("0");
  QSqlDatabase other = OtherProgram();
  ASSERT_TRUE(other.isOpen());
  {
    QSqlQuery lock(other);
    ASSERT_TRUE(lock.exec("BEGIN EXCLUSIVE"));
    Insert("1");
    Insert("2");
    tables_->store().Flush();
    EXPECT_TRUE(StatusSays("не сохранено записей: 2; они оставлены в файле Tables.db-held")) << Status();
    EXPECT_TRUE(QFile::exists(tables_->store().HeldPath()));
    ASSERT_TRUE(lock.exec("COMMIT"));
  }
  other.close();
  QSqlDatabase::removeDatabase("other-program");
  delete tables_;
  tables::TablesWindow window;
  window.registers = &form_.registers();
  tables_ = tables::RegisterTableWords(engine_, window, &form_);
  EXPECT_EQ(Journal(), "0,1,2");
  EXPECT_FALSE(QFile::exists(tables_->store().HeldPath()));
}

#ifndef _WIN32
// Rows held while the disk was full go in once there is room again.
TEST_F(StoreFailureTest, RowsHeldOnAFullDiskGoInOnceThereIsRoom) {
  const std::string answer = test_support::OnSmallDisk(Path(""), [this](test_support::SmallDisk& disk) {
    QDir::setCurrent(dir_.path());  // onto the small disk mounted over it
    Sql("CREATE TABLE journal (n TEXT)");
    Insert("0");
    // The log has gone back into the file: nothing changes Tables.db from here.
    QTest::qWaitFor([this] { return QFileInfo(QString::fromStdString(Path("Tables.db-wal"))).size() == 0; }, 5000);
    disk.Fill(8192);
    const std::string big(40000, 'b');
    for (int i = 0; i < 20 && Kept() == 0; ++i) Insert(big);
    std::string findings;
    if (Kept() == 0) return std::string("the disk never filled");
    if (!StatusSays("Нет места на диске для Tables.db")) findings += "not said: " + Status() + "; ";
    if (disk.tmpfs()) {
      std::remove((Path("") + "/.filler").c_str());
    } else {
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = limit.rlim_max;
      setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (!QTest::qWaitFor([&] { return Kept() == 0; }, 10000)) findings += "rows still held; ";
    return findings;
  });
  EXPECT_EQ(answer.substr(answer.find(':')), ": ok") << answer;
}
#endif

}  // namespace
}  // namespace tables_test
