// BDIMPORT: the import file's rules, and every field arriving as it stands.
#include <QSqlQueryModel>

#include "bd_import.h"
#include "import_file.h"
#include "tables_fixture.h"

namespace tables_test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows ImportRows(std::string_view text, const std::vector<int32_t>& columns) {
  Rows rows;
  for (const tables::ImportRow& row : tables::ScanImport(text, columns).rows)
    rows.push_back(row.values);
  return rows;
}

TEST(ImportRowsTest, LinesFieldsAndTheirEnds) {
  // CR, CR LF or LF; the first empty line ends the file.
  EXPECT_EQ(ImportRows("p,q,r\r\ns,t,u\rv,w,x\r\n\r\ny,z,0\r\n", {1, 3}),
            (Rows{{"p", "r"}, {"s", "u"}, {"v", "x"}}));
  EXPECT_EQ(ImportRows("a,b\r\nc,d", {2}), (Rows{{"b"}, {"d"}}));
  EXPECT_EQ(ImportRows("u1,u2,u3\nv1,v2,v3\nw1,w2,w3\n", {1, 3}),
            (Rows{{"u1", "u3"}, {"v1", "v3"}, {"w1", "w3"}}));
  EXPECT_EQ(ImportRows("a,b\nc,d\n\ne,f", {2}), (Rows{{"b"}, {"d"}}));
  // A missing or empty field is empty, never another line's value, and the
  // fields after an empty one are read.
  EXPECT_EQ(ImportRows("r1,x1,y1\nr2,,\nr3\nr4,x4\nr5,,y5\n", {1, 2, 3}),
            (Rows{{"r1", "x1", "y1"}, {"r2", "", ""}, {"r3", "", ""}, {"r4", "x4", ""},
                  {"r5", "", "y5"}}));
  EXPECT_EQ(ImportRows("1,2,3\rp,,r\r", {1, 3}), (Rows{{"1", "3"}, {"p", "r"}}));
  // Unquoted fields are taken as they stand, blanks and inner quotes kept.
  EXPECT_EQ(ImportRows(" a ,b\"c\"", {1, 2}), (Rows{{" a ", "b\"c\""}}));
  EXPECT_TRUE(ImportRows("", {1}).empty());
  EXPECT_TRUE(ImportRows("\r\nx", {1}).empty());
  // The first line decides between "," and ";"; the other then is data.
  EXPECT_EQ(ImportRows("a;b,c;d\r\ne,f;g;h\r\n", {1, 3}), (Rows{{"a", "d"}, {"e,f", "h"}}));
  EXPECT_EQ(ImportRows("a, b;c, d\nx;y\n", {1, 2}), (Rows{{"a, b", "c, d"}, {"x", "y"}}));
  EXPECT_EQ(ImportRows("\"a;b\",\"c;d\"\ne;f,g\n", {1, 2}), (Rows{{"a;b", "c;d"}, {"e;f", "g"}}));
  EXPECT_EQ(ImportRows("\"a,b\";\"c,d\"\n", {1, 2}), (Rows{{"a,b", "c,d"}}));
  EXPECT_EQ(ImportRows("a,b\nc;d,e\n", {1, 2}), (Rows{{"a", "b"}, {"c;d", "e"}}));
}

TEST(ImportRowsTest, QuotedFieldsAsRfc4180WritesThem) {
  EXPECT_EQ(ImportRows("\"x,y\",2\r\n", {1, 2}), (Rows{{"x,y", "2"}}));
  EXPECT_EQ(ImportRows("\"say \"\"hi\"\"\",\"\"\"\"\n", {1, 2}), (Rows{{"say \"hi\"", "\""}}));
  // Line breaks inside quotes are data; "" is an empty value that does not
  // end the walk.
  EXPECT_EQ(ImportRows("\"a\r\nb\",\"\",c\r\nd,e,f", {1, 2, 3}),
            (Rows{{"a\r\nb", "", "c"}, {"d", "e", "f"}}));
  // Text after a closing quote is kept as it stands.
  EXPECT_EQ(ImportRows("a,b\n\"2\"); --,x", {1, 2}), (Rows{{"a", "b"}, {"2); --", "x"}}));
}

TEST(ImportRowsTest, RowsKnowTheirLinesAndAnOpenQuoteStopsTheScan) {
  const tables::ImportScan scan =
      tables::ScanImport("a,1\r\n\"b\nb\",2\nc,3\r\"d,4\r\ne,5\r\n", {1, 2});
  ASSERT_EQ(scan.rows.size(), 3u);
  EXPECT_EQ(scan.rows[0].line, 1);
  EXPECT_EQ(scan.rows[1].line, 2);
  EXPECT_EQ(scan.rows[2].line, 4);
  EXPECT_EQ(scan.rows[2].values, (std::vector<std::string>{"c", "3"}));
  EXPECT_EQ(scan.bad_line, 5);
  EXPECT_EQ(tables::ScanImport("a\r\nb", {1}).bad_line, 0);
}

TEST(ImportRowsTest, AHeaderHasNoDigitsAndDataBelowItHas) {
  const struct {
    const char* text;
    bool header;
  } cases[] = {
      {"Имя;Телефон\nИванов;+7 900\n", true},
      {"Имя,,Заметка\nx,1,y\nz,2,w\n", true},
      {"Имя;Телефон\n", false},                  // nothing below it
      {"Иванов;112\nПетров;113\n", false},       // data from the first row
      {"Имя;Телефон\nИванов;нет\n", false},      // nothing tells it apart
      {";\n1;2\n", false},                       // no names at all
      {"Имя;Тел\n\"x\n1\";y\n", true},          // quoted line breaks are one row
  };
  for (const auto& c : cases)
    EXPECT_EQ(tables::LooksLikeHeader(tables::ScanImport(c.text, {1, 2})), c.header) << c.text;
}

// Rows go to SQLite many at a time as a JSON text: every byte a value may
// hold comes back out of it as it went in.
TEST_F(TablesTest, ImportRowsAsJsonComeBackAsTheyWere) {
  const std::vector<std::string> odd = {
      "say \"hi\"", "back\\slash\\", "tab\tand\r\nbreak", std::string("\x01\x1f\x7f"),
      engine::Cp1251("Иванов, Пётр №5"), "it's", "", "\\u0041"};
  std::vector<tables::ImportRow> rows;
  for (const std::string& value : odd) rows.push_back({1, {value, "x"}});
  std::string json = tables::ImportJson(rows, 1, rows.size(), 2);
  std::string quoted;
  for (const char c : json) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT value ->> 0 AS v, value ->> 1 AS w FROM json_each('" + quoted + "')"));
  size_t row = 1;
  for (bool on = q.First(); on; on = q.Next(), ++row) {
    ASSERT_LT(row, odd.size());
    EXPECT_EQ(*q.Field("v"), odd[row]);
    EXPECT_EQ(*q.Field("w"), "x");
  }
  EXPECT_EQ(row, odd.size());
  rows[3].values[1] = std::string("a\0b", 3);
  EXPECT_NE(tables::ImportJson(rows, 0, 3, 2), "");
  EXPECT_EQ(tables::ImportJson(rows, 0, 4, 2), "") << "a NUL goes row by row";
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

TEST_F(ImportTest, StopsAtTheFirstEmptyLine) {
  WriteFile("b.csv", "1,x,2\r\np,,r\r\n\r\ns,t,u\r\n");
  Import("b.csv");
  EXPECT_EQ(Table(), "1|2;p|r;");
}

// Rows that lack a wanted field go in with it empty, and are counted.
TEST_F(ImportTest, ShortRowsAreCounted) {
  WriteFile("s.csv", "r1,x1,y1\nr2,,\nr3\nr4,x4\nr5,,y5\n");
  Import("s.csv");
  EXPECT_EQ(Table(), "r1|y1;r2|;r3|;r4|;r5|y5;");
  Run("BDIMPORTED");
  EXPECT_EQ(Pop(), "2") << "r3 and r4 have no third field";
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "5");
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
  EXPECT_EQ(Table(), "say \"hi\"|quoted;1\"|2); DROP TABLE Phones; --;");
}

// An export with LF line ends and quoted commas, as spreadsheets write it.
TEST_F(ImportTest, LineFeedFilesAndQuotedCommas) {
  WriteFile("lf.csv", "u1,u2,u3\nv1,\"x,y\",\"Ivanov, Petr\"\nw1,w2,w3\n");
  Import("lf.csv");
  EXPECT_EQ(Table(), "u1|u3;v1|Ivanov, Petr;w1|w3;");
  Run("BDIMPORTED DROP");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "3");
}

// Spreadsheets write UTF-8, with or without a byte order mark, and in a
// Russian locale separate fields by ";".
TEST_F(ImportTest, Utf8AndSemicolonFilesArriveAsWindows1251) {
  const std::string row = "Иванов, Пётр;+7 900;дом, кв. 5\r\nЖ;2;Ё\r\n";
  for (const std::string& bytes : {engine::Cp1251(row), row, "\xEF\xBB\xBF" + row}) {
    Sql("DELETE FROM Phones");
    WriteFile("ru.csv", bytes);
    Import("ru.csv");
    EXPECT_EQ(Table(), engine::Cp1251("Иванов, Пётр|дом, кв. 5;Ж|Ё;"));
  }
}

// The page offers the first row as column names where it looks like them.
TEST_F(ImportTest, HeaderNamesTheWantedFields) {
  WriteFile("h.csv", "\xEF\xBB\xBFИмя;Улица;Телефон\r\nИванов;Ленина;112\r\n");
  Run(std::string("`") + Path("h.csv") + "` FILENAME 3 1 2 BDHEADER");
  EXPECT_EQ(Pop(), "2");
  EXPECT_EQ(Pop(), "Телефон");
  EXPECT_EQ(Pop(), "Имя");
  Run("2 1 2 BDHEADER `none.csv` FILENAME 1 1 BDHEADER");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "0") << "no digits below in the fields asked for";
  // Taken as names, the row is not data: neither inserted nor counted short.
  WriteFile("s.csv", "Имя;Улица\r\nИванов;Ленина;112\r\n");
  Run(std::string("`") + Path("s.csv") + "` FILENAME Phones 3 1 2 BDIMPORTDATA BDIMPORTED");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Pop(), "1");
  EXPECT_EQ(Table(), engine::Cp1251("Иванов|112;"));
  EXPECT_EQ(Depth(), 0);
}

// Scripts can tell how far an import came.
TEST_F(ImportTest, ImportedRowsAndTheFirstFailingLine) {
  Sql("CREATE TABLE Strict (A TEXT UNIQUE, B TEXT)");
  WriteFile("u.csv", "a,1\r\n\"b\r\nb\",2\r\na,3\r\nc,4\r\n");
  Run(std::string("`") + Path("u.csv") + "` FILENAME Strict 2 1 2 BDIMPORT BDIMPORTED DROP");
  EXPECT_EQ(Pop(), "4") << "the duplicate a starts on line 4";
  EXPECT_EQ(Pop(), "2");

  WriteFile("q.csv", "p,1\r\n\"open,2\r\nr,3\r\n");
  Import("q.csv");
  Run("BDIMPORTED DROP");
  EXPECT_EQ(Pop(), "2") << "a quote never closed";
  EXPECT_EQ(Pop(), "1");

  Import("none.csv");
  Run("BDIMPORTED DROP");
  EXPECT_EQ(Pop(), "-1");
  EXPECT_EQ(Pop(), "0");
  EXPECT_EQ(Depth(), 0);
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

// Rows go in as statements of many rows; a refused one goes again row by row.
TEST_F(ImportTest, ManyRowsStopAtTheFailingOneWhereverItIs) {
  Sql("CREATE TABLE Strict (A TEXT UNIQUE, B TEXT)");
  std::string text;
  for (int i = 0; i < 700; ++i) text += "k" + std::to_string(i) + ",it's " + std::to_string(i) + "\r\n";
  text += "k300,again\r\nlast,one\r\n";
  WriteFile("m.csv", text);
  Run(std::string("`") + Path("m.csv") + "` FILENAME Strict 2 1 2 BDIMPORT BDIMPORTED DROP");
  EXPECT_EQ(Pop(), "701") << "the repeated k300 is on line 701";
  EXPECT_EQ(Pop(), "700");
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n, max(B) AS b FROM Strict WHERE B LIKE 'it''s %'"));
  EXPECT_EQ(*q.Field("n"), "700");
  EXPECT_EQ(*q.Field("b"), "it's 99");

  // A NUL byte arrives as data too.
  WriteFile("z.csv", std::string("a\0b,x,c\r\nd,y,e\r\n", 16));
  Import("z.csv");
  EXPECT_EQ(Table(), std::string("a\0b|c;d|e;", 10));
}

TEST_F(ImportTest, LimitsOnColumnsAndFileSize) {
  // A count above 13 is more than the column list holds: refused.
  WriteFile("e.csv", "a,b\r");
  Run(std::string("`") + Path("e.csv") + "` FILENAME Phones 2 1 14 BDIMPORT");
  EXPECT_EQ(Table(), "");
  Run("CLEARSTEK");

  // Files are read whole: rows past the first 300000 bytes are not lost.
  std::string text;
  int lines = 0;
  while (text.size() < 600000) {
    text += std::to_string(lines) + ",row\r\n";
    ++lines;
  }
  WriteFile("f.csv", text);
  Import("f.csv");
  tables::QueryObject& q = tables_->Query2();
  ASSERT_TRUE(q.Open("SELECT count(*) AS n, max(Tel + 0) AS m FROM Phones"));
  EXPECT_EQ(*q.Field("n"), std::to_string(lines));
  EXPECT_EQ(*q.Field("m"), std::to_string(lines - 1));
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
