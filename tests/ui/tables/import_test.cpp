// BDIMPORT: the import file's rules, and every field arriving as it stands.
#include <QSqlQueryModel>

#include "import_file.h"
#include "tables_fixture.h"

namespace tables_test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(ImportRowsTest, LinesFieldsAndTheirEnds) {
  // CR with an optional LF; the first empty line ends the file.
  EXPECT_EQ(tables::ImportRows("p,q,r\r\ns,t,u\rv,w,x\r\n\r\ny,z,0\r\n", {1, 3}),
            (Rows{{"p", "r"}, {"s", "u"}, {"v", "x"}}));
  // The last line needs no CR; a lone LF line end is no line end.
  EXPECT_EQ(tables::ImportRows("a,b\r\nc,d", {2}), (Rows{{"b"}, {"d"}}));
  EXPECT_EQ(tables::ImportRows("a,b\nc,d", {2}), (Rows{{"b\nc"}}));
  // Fields end at the first empty one; an unreached column keeps the value
  // of the line before.
  EXPECT_EQ(tables::ImportRows("1,2,3\rp,,r\r", {1, 3}), (Rows{{"1", "3"}, {"p", "3"}}));
  EXPECT_EQ(tables::ImportRows("p,,r", {1, 3}), (Rows{{"p", ""}}));
  // Taken as they stand: blanks and quotes kept.
  EXPECT_EQ(tables::ImportRows(" a ,\"b\"", {1, 2}), (Rows{{" a ", "\"b\""}}));
  EXPECT_TRUE(tables::ImportRows("", {1}).empty());
  EXPECT_TRUE(tables::ImportRows("\r\nx", {1}).empty());
}

class ImportTest : public TablesTest {
 protected:
  void SetUp() override {
    TablesTest::SetUp();
    Sql("CREATE TABLE Phones (Tel TEXT, Who TEXT)");
  }
  // Pushes Phones, 3, 1, 2 and imports the named file.
  void Import(const char* file) { Run(std::string("`") + Path(file) + "` FILENAME Phones 3 1 2 BDIMPORT"); }
  std::string Table() {
    tables::QueryObject& q = tables_->Query2();
    std::string text;
    if (!q.Open("SELECT Tel, Who FROM Phones ORDER BY rowid")) return "closed";
    for (bool on = q.First(); on; on = q.Next()) text += *q.Field("Tel") + "|" + *q.Field("Who") + ";";
    return text;
  }
};

TEST_F(ImportTest, ColumnsOneAndThree) {
  WriteFile("a.csv", "p,q,r\r\ns,t,u\r\n");
  Import("a.csv");
  EXPECT_EQ(Table(), "p|r;s|u;");
  EXPECT_EQ(Depth(), 0);
}

TEST_F(ImportTest, StopsAtTheFirstEmptyLineAndAtEmptyFields) {
  WriteFile("b.csv", "1,x,2\r\np,,r\r\n\r\ns,t,u\r\n");
  Import("b.csv");
  EXPECT_EQ(Table(), "1|2;p|2;");
}

TEST_F(ImportTest, MissingOrEmptyFileImportsNothing) {
  Import("none.csv");
  EXPECT_EQ(Table(), "");
  WriteFile("empty.csv", "");
  Import("empty.csv");
  EXPECT_EQ(Table(), "");
  EXPECT_EQ(Depth(), 0);
}

TEST_F(ImportTest, QuotesAndStatementTextArriveAsData) {
  WriteFile("c.csv", "say \"hi\",x,\"quoted\"\r\n1\",y,\"2\"); DROP TABLE Phones; --\r\n");
  Import("c.csv");
  EXPECT_EQ(Table(), "say \"hi\"|\"quoted\";1\"|\"2\"); DROP TABLE Phones; --;");
}

TEST_F(ImportTest, FailingRowKeepsTheRowsBeforeIt) {
  Sql("CREATE TABLE Strict (A TEXT UNIQUE, B TEXT)");
  WriteFile("d.csv", "a,1\rb,2\ra,3\rc,4\r");
  Run(std::string("`") + Path("d.csv") + "` FILENAME Strict 2 1 2 BDIMPORT");
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n FROM Strict"));
  EXPECT_EQ(*q.Field("n"), "2");
  // A table that does not exist imports nothing and leaves the stack alone.
  Run(std::string("`") + Path("d.csv") + "` FILENAME Nowhere 2 1 2 BDIMPORT");
  EXPECT_EQ(Depth(), 0);
}

TEST_F(ImportTest, LimitsOnColumnsAndFileSize) {
  // A count above 13 is more than the column list holds: refused.
  WriteFile("e.csv", "a,b\r");
  Run(std::string("`") + Path("e.csv") + "` FILENAME Phones 2 1 14 BDIMPORT");
  EXPECT_EQ(Table(), "");
  Run("CLEARSTEK");

  // Only the first 300000 bytes are read: the line cut there is the last.
  std::string text;
  int lines = 0;
  while (text.size() < 300000 + 50) {
    text += std::to_string(lines) + ",row\r\n";
    ++lines;
  }
  WriteFile("f.csv", text);
  Import("f.csv");
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n, max(rowid) AS m FROM Phones"));
  const std::string kept = text.substr(0, 300000);
  const size_t full_lines = std::count(kept.begin(), kept.end(), '\r');
  const bool tail = kept.back() != '\r' && kept.back() != '\n';
  EXPECT_EQ(*q.Field("n"), std::to_string(full_lines + (tail ? 1 : 0)));
}

}  // namespace
}  // namespace tables_test

namespace tables_test {
namespace {

// A grid showing a large result keeps its statement open while the script
// goes on writing to the same table.
TEST_F(ImportTest, WritesWhileAResultIsOpen) {
  Sql("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 2000) "
      "INSERT INTO Phones SELECT x, 'n' FROM c");
  Run("DBGRID1");
  Sql("SELECT * FROM Phones", "QUERY1");
  ASSERT_TRUE(tables_->Query1().model()->canFetchMore());
  Sql("INSERT INTO Phones VALUES ('a', 'b')");
  WriteFile("g.csv", "p,q,r\r\n");
  Import("g.csv");
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n FROM Phones"));
  EXPECT_EQ(*q.Field("n"), "2002");
  Run("`Tel` FIELD1");
  EXPECT_EQ(Pop(), "1");
}

}  // namespace
}  // namespace tables_test
