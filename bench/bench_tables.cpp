// Tables: BDIMPORT of a full 300000-byte file (bound values, one transaction)
// and Query1 over a 100000-row table shown in DBGrid1. The grid's model reads
// the result in blocks as the grid needs them, so opening and scrolling cost
// the rows in sight, not the table; BM_OpenAndFetchEveryRow is what reading
// every row first would cost.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "control_words.h"
#include "engine.h"
#include "file_words.h"
#include "main_form.h"
#include "tables.h"

namespace {

constexpr int kBigRows = 100000;

// The window with the control, file and table words, in a scratch folder
// that holds Tables.db and the import file.
struct Setup {
  Setup() {
    QDir::setCurrent(dir.path());
    engine::RegisterCoreWords(engine);
    ui::RegisterControlWords(engine, form);
    files::RegisterFileWords(engine, files);
    tables::TablesWindow window;
    window.registers = &form.registers();
    window.pool = &form.pool();
    window.files = &files;
    tables = tables::RegisterTableWords(engine, window, &form);
    form.show();
    engine.ExecuteLine("SCLEAR 0 LEFT 0 TOP 500 WIDTH 300 HEIGHT DBGRID1");
    Sql("CREATE TABLE Phones (Tel TEXT, Name TEXT, Stat TEXT, Note TEXT)");
    Sql("CREATE TABLE Big (N INTEGER PRIMARY KEY, Tel TEXT, Name TEXT)");
    Sql("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 100000) "
        "INSERT INTO Big SELECT x, '+7900' || x, 'Name ' || x FROM c");
    // An import file of exactly 300000 bytes.
    std::string text;
    for (int i = 0; text.size() < 300000; ++i)
      text += "+7900" + std::to_string(1000000 + i) + ",Subscriber " + std::to_string(i) +
              ",on,note " + std::to_string(i % 97) + "\r\n";
    text.resize(300000);
    import_path = dir.filePath("phones.csv").toStdString();
    std::ofstream(import_path, std::ios::binary) << text;
    import_lines = 0;
    for (char c : text) import_lines += c == '\r';
  }
  void Sql(const std::string& statement, const char* word = "QUERYEXEC") {
    engine.ExecuteLine("CLEARITEMS `" + statement + "` ADDITEMS " + word);
  }

  QTemporaryDir dir;
  ui::TMainForm form;
  engine::Engine engine{&form};
  files::FileWordsState files;
  tables::Tables* tables = nullptr;
  std::string import_path;
  int import_lines = 0;
};

Setup& S() {
  static Setup* setup = new Setup;  // lives to the end, with the application
  return *setup;
}

void BM_Import300000Bytes(benchmark::State& state) {
  Setup& s = S();
  const std::string line =
      "`" + s.import_path + "` FILENAME Phones 4 3 2 1 4 BDIMPORT";
  for (auto _ : state) {
    state.PauseTiming();
    s.Sql("DELETE FROM Phones");
    state.ResumeTiming();
    s.engine.ExecuteLine(line);
  }
  tables::QueryObject& q = s.tables->Query2();
  q.Open("SELECT count(*) AS n FROM Phones");
  state.counters["rows"] = std::stod(q.Field("n").value_or("0"));
  state.counters["lines_in_file"] = s.import_lines;
  state.SetBytesProcessed(state.iterations() * 300000);
}
BENCHMARK(BM_Import300000Bytes)->Unit(benchmark::kMillisecond);

// QUERY1 over 100000 rows with DBGrid1 showing it, painted once.
void BM_OpenLargeTableInGrid(benchmark::State& state) {
  Setup& s = S();
  tables::DataGrid* grid = s.tables->DBGrid(1);
  for (auto _ : state) {
    s.Sql("SELECT * FROM Big ORDER BY N", "QUERY1");
    grid->repaint();
  }
  state.counters["rows_read"] = s.tables->Query1().model()->rowCount();
  state.counters["table_rows"] = kBigRows;
}
BENCHMARK(BM_OpenLargeTableInGrid)->Unit(benchmark::kMillisecond);

// One page down at the end of what has been read: the grid reads the next block.
void BM_ScrollLargeTable(benchmark::State& state) {
  Setup& s = S();
  tables::DataGrid* grid = s.tables->DBGrid(1);
  s.Sql("SELECT * FROM Big ORDER BY N", "QUERY1");
  QScrollBar* bar = grid->verticalScrollBar();
  for (auto _ : state) {
    if (!s.tables->Query1().model()->canFetchMore()) {
      state.PauseTiming();
      s.Sql("SELECT * FROM Big ORDER BY N", "QUERY1");
      state.ResumeTiming();
    }
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    grid->repaint();
  }
  state.counters["rows_read"] = s.tables->Query1().model()->rowCount();
}
BENCHMARK(BM_ScrollLargeTable)->Unit(benchmark::kMicrosecond);

// FIRST1 then NEXT1 over every row: the cost of walking the whole result.
void BM_OpenAndFetchEveryRow(benchmark::State& state) {
  Setup& s = S();
  for (auto _ : state) {
    s.Sql("SELECT * FROM Big ORDER BY N", "QUERY1");
    s.tables->Query1().Last();
  }
  state.counters["rows_read"] = s.tables->Query1().model()->rowCount();
}
BENCHMARK(BM_OpenAndFetchEveryRow)->Unit(benchmark::kMillisecond);

// FORQUERY1 over every row with DBGrid1 and a data check box following the
// cursor: per-row cost of the walk itself.
void BM_ForQueryOverLargeTable(benchmark::State& state) {
  Setup& s = S();
  s.engine.ExecuteLine("`Name` FIELD DBCHECK");
  for (auto _ : state) {
    s.Sql("SELECT * FROM Big ORDER BY N", "QUERY1");
    s.engine.ExecuteLine("`NIL` FORQUERY1");
  }
  state.SetItemsProcessed(state.iterations() * kBigRows);
}
BENCHMARK(BM_ForQueryOverLargeTable)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
