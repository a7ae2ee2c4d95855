// QUERY1 QUERY2 QUERYEXEC FIELD1 FIELD2 FIRST1 NEXT1 SET1 FORQUERY1 BDIMPORT BDIMPORTDATA
// BDIMPORTED BDERROR.
#include <string>
#include <vector>

#include "bd_import.h"
#include "file_words.h"
#include "import_file.h"
#include "os_path.h"
#include "tables.h"
#include "text_codec.h"
#include "value.h"

namespace tables {

namespace {

const char* Flag(bool on) { return on ? "1" : "0"; }

void PushField(engine::Engine& e, QueryObject& query) {
  auto value = query.Field(e.Pop());
  if (!value) throw engine::Fault{};
  e.Push(std::move(*value));
}

void Import(engine::Engine& e, Tables& tables, bool past_header) {
  ImportResult& result = tables.last_import();
  result = ImportResult{};
  const int32_t count = e.PopNumber();
  // The column list holds at most 13 entries; a longer one is refused whole.
  if (count < 0 || count > kImportColumns) throw engine::Fault{};
  std::vector<int32_t> columns;
  for (int32_t i = 0; i < count; ++i) columns.push_back(e.PopNumber());
  const std::string table = e.Pop();

  tables.Query3().Close();
  const files::FileWordsState* files = tables.window().files;
  if (!files) return;
  const auto path = files::OsPath(files->file_name);
  std::string text;
  if (!path || !ReadImportFile(*path, text)) {
    result.failed_line = -1;
    return;
  }
  ImportScan scan = ScanImport(text, columns);
  if (past_header && !scan.rows.empty()) scan.rows.erase(scan.rows.begin());
  result.rows = InsertImportRows(tables.store(), table, scan.rows, columns.size());
  for (int i = 0; i < result.rows; ++i)
    if (scan.rows[static_cast<size_t>(i)].short_of_fields) ++result.short_rows;
  if (static_cast<size_t>(result.rows) < scan.rows.size())
    result.failed_line = scan.rows[static_cast<size_t>(result.rows)].line;
  else
    result.failed_line = scan.bad_line;
}

}  // namespace

void RegisterQueryWords(engine::Engine& engine, Tables& tables) {
  engine::WordGroup group(engine, "Tables: SQL queries");
  Tables* t = &tables;
  engine.Document("QUERY1", "--", "Runs the item list as an SQL query into Query1 (DBGRID1).");
  engine.Register("QUERY1", [t](engine::Engine&, engine::Frame&) {
    t->Query1().Open(QueryObject::JoinLines(t->Items()));
  });
  engine.Document("QUERY2", "--", "Runs the item list as an SQL query into Query2 (DBGRID2).");
  engine.Register("QUERY2", [t](engine::Engine&, engine::Frame&) {
    t->Query2().Open(QueryObject::JoinLines(t->Items()));
  });
  engine.Document("QUERYEXEC", "--", "Executes the item list as an SQL statement without result.");
  engine.Register("QUERYEXEC", [t](engine::Engine&, engine::Frame&) {
    t->Query3().Exec(QueryObject::JoinLines(t->Items()));
  });
  engine.Document("FIELD1", "name -- ?",
                  "Field of Query1's current row (nothing when there is no such field).");
  engine.Register("FIELD1", [t](engine::Engine& e, engine::Frame&) { PushField(e, t->Query1()); });
  engine.Document("FIELD2", "name -- ?",
                  "Field of Query2's current row (nothing when there is no such field).");
  engine.Register("FIELD2", [t](engine::Engine& e, engine::Frame&) { PushField(e, t->Query2()); });
  engine.Document("FIRST1", "-- flag", "Moves to Query1's first row; 1 when there is one, else 0.");
  engine.Register("FIRST1", [t](engine::Engine& e, engine::Frame&) {
    e.Push(Flag(t->Query1().First()));
  });
  engine.Document("NEXT1", "-- flag", "Moves to Query1's next row; 1 when there is one, else 0.");
  engine.Register("NEXT1", [t](engine::Engine& e, engine::Frame&) {
    e.Push(Flag(t->Query1().Next()));
  });
  engine.Document("SET1", "value name -- flag",
                  "Moves Query1 on unless field name equals value; 1 while on a row.");
  engine.Register("SET1", [t](engine::Engine& e, engine::Frame&) {
    QueryObject& query = t->Query1();
    const std::string name = e.Pop();
    const std::string value = e.Pop();
    auto field = query.Field(name);
    if (!field) throw engine::Fault{};
    if (*field != value) query.Next();
    e.Push(Flag(!query.Eof()));
  });
  engine.Document("FORQUERY1", "line -- ?", "Runs line once for every row of Query1.");
  engine.Register("FORQUERY1", [t](engine::Engine& e, engine::Frame&) {
    const std::string script = e.Pop();
    QueryObject& query = t->Query1();
    query.First();
    // The script may move the cursor or run QUERY1 again: the cursor as it
    // then stands decides the next pass.
    while (!query.Eof()) {
      e.ExecuteLine(script);
      query.Next();
    }
  });
  engine.Document("BDIMPORT", "table field... count --",
                  "Imports the FILENAME comma-separated file into the table, taking the listed "
                  "field numbers.");
  engine.Register("BDIMPORT", [t](engine::Engine& e, engine::Frame&) { Import(e, *t, false); });
  engine.Document("BDIMPORTDATA", "table field... count --",
                  "As BDIMPORT, but the file's first row, taken as column names, is not "
                  "imported.");
  engine.Register("BDIMPORTDATA",
                  [t](engine::Engine& e, engine::Frame&) { Import(e, *t, true); });
  engine.Document("BDIMPORTED", "-- rows line short",
                  "Pushes the rows the last BDIMPORT inserted, the first line of its file "
                  "that did not go in (0 when every line did, -1 when the file could not be "
                  "read), and how many rows inserted lacked a wanted field.");
  engine.Register("BDIMPORTED", [t](engine::Engine& e, engine::Frame&) {
    e.Push(engine::NumberToText(t->last_import().rows));
    e.Push(engine::NumberToText(t->last_import().failed_line));
    e.Push(engine::NumberToText(t->last_import().short_rows));
  });
  engine.Document("BDERROR", "-- text",
                  "What keeps Tables.db from taking statements, as the status bar said it; the "
                  "empty text while it takes them.");
  engine.Register("BDERROR", [t](engine::Engine& e, engine::Frame&) {
    e.Push(ToValue(t->store().trouble()));
  });
}

}  // namespace tables
