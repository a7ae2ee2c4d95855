// Tables: BDIMPORT of a full 300000-byte file (bound values, one transaction)
// and Query1 over a 100000-row table shown in DBGrid1. The grid's model reads
// the result in blocks as the grid needs them, so opening and scrolling cost
// the rows in sight, not the table; BM_OpenAndFetchEveryRow is what reading
// every row first would cost.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScrollBar>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <QThread>
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
    window.controls = &form.controls();
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

// A loop of single-row inserts, QUERYEXEC each, for a fixed time: the largest
// the write-ahead log grew, and how long after the loop's end its file was
// cut back. arg 1: DBGrid1 shows the journal meanwhile (its result holds a
// reader open on the file).
void BM_InsertLoopLog(benchmark::State& state) {
  Setup& s = S();
  const QString wal = QDir(s.dir.path()).filePath(QStringLiteral("Tables.db-wal"));
  const auto wal_size = [&] { return QFileInfo(wal).size(); };
  s.Sql("CREATE TABLE IF NOT EXISTS Loop (N INTEGER, Body TEXT)");
  s.Sql("DELETE FROM Loop");
  s.Sql("WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000) "
        "INSERT INTO Loop SELECT x, 'seed' FROM c");
  if (state.range(0)) s.Sql("SELECT * FROM Loop ORDER BY N", "QUERY1");
  const std::string body(1000, 'b');
  const int seconds = 20;
  qint64 largest = 0, rows = 0, longest_ns = 0;
  size_t waiting = 0;
  double idle_ms = -1;
  for (auto _ : state) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000) {
      for (int i = 0; i < 200; ++i, ++rows) {
        const qint64 before = clock.nsecsElapsed();
        s.Sql("INSERT INTO Loop VALUES (" + std::to_string(rows) + ", '" + body + "')");
        longest_ns = std::max(longest_ns, clock.nsecsElapsed() - before);
        waiting = std::max(waiting, s.tables->store().kept());
      }
      largest = std::max(largest, wal_size());
      QCoreApplication::processEvents();
    }
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 30000 && wal_size() > 0) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      QThread::msleep(10);
    }
    idle_ms = wal_size() > 0 ? -1 : idle.elapsed();
  }
  state.counters["rows"] = static_cast<double>(rows);
  state.counters["data_MB"] = rows * 1000.0 / 1e6;
  state.counters["log_max_MB"] = largest / 1e6;
  state.counters["log_after_MB"] = wal_size() / 1e6;
  state.counters["cut_after_ms"] = idle_ms;
  state.counters["longest_insert_ms"] = longest_ns / 1e6;
  state.counters["rows_held"] = static_cast<double>(waiting);
  if (state.range(0)) s.Sql("SELECT 1", "QUERY1");
}
BENCHMARK(BM_InsertLoopLog)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
