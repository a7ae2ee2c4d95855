// QUERY1 QUERY2 QUERYEXEC FIELD1 FIELD2 FIRST1 NEXT1 SET1 FORQUERY1 BDIMPORT BDIMPORTDATA
// BDIMPORTED BDERROR.
#include <string>
#include <vector>

#include "import_file.h"
#include "table_words.h"

namespace tables {

namespace {

using engine::Engine;
using engine::Frame;

const char* Flag(bool on) { return on ? "1" : "0"; }

template <int query>
void PushField(TableSurface& t, Engine& e, Frame&) {
  auto value = t.QueryField(query, e.Pop());
  if (!value) throw engine::Fault{};
  e.Push(std::move(*value));
}

template <bool past_header>
void Import(TableSurface& t, Engine& e, Frame&) {
  t.last_import() = ImportResult{};
  const int32_t count = e.PopNumber();
  // The column list holds at most 13 entries; a longer one is refused whole.
  if (count < 0 || count > kImportColumns) throw engine::Fault{};
  std::vector<int32_t> columns;
  for (int32_t i = 0; i < count; ++i) columns.push_back(e.PopNumber());
  const std::string table = e.Pop();
  t.Import(table, columns, past_header);
}

}  // namespace

constexpr engine::WordRow<TableSurface> kQueryRows[] = {
    {"QUERY1", "--", "Runs the item list as an SQL query into Query1 (DBGRID1).",
     [](TableSurface& t, Engine&, Frame&) { t.RunItems(1); }},
    {"QUERY2", "--", "Runs the item list as an SQL query into Query2 (DBGRID2).",
     [](TableSurface& t, Engine&, Frame&) { t.RunItems(2); }},
    {"QUERYEXEC", "--", "Executes the item list as an SQL statement without result.",
     [](TableSurface& t, Engine&, Frame&) { t.RunItems(3); }},
    {"FIELD1", "name -- ?", "Field of Query1's current row (nothing when there is no such field).",
     PushField<1>},
    {"FIELD2", "name -- ?", "Field of Query2's current row (nothing when there is no such field).",
     PushField<2>},
    {"FIRST1", "-- flag", "Moves to Query1's first row; 1 when there is one, else 0.",
     [](TableSurface& t, Engine& e, Frame&) { e.Push(Flag(t.QueryFirst())); }},
    {"NEXT1", "-- flag", "Moves to Query1's next row; 1 when there is one, else 0.",
     [](TableSurface& t, Engine& e, Frame&) { e.Push(Flag(t.QueryNext())); }},
    {"SET1", "value name -- flag",
     "Moves Query1 on unless field name equals value; 1 while on a row.",
     [](TableSurface& t, Engine& e, Frame&) {
       const std::string name = e.Pop();
       const std::string value = e.Pop();
       auto field = t.QueryField(1, name);
       if (!field) throw engine::Fault{};
       if (*field != value) t.QueryNext();
       e.Push(Flag(!t.QueryEof()));
     }},
    {"FORQUERY1", "line -- ?", "Runs line once for every row of Query1.",
     [](TableSurface& t, Engine& e, Frame&) {
       const std::string script = e.Pop();
       t.QueryFirst();
       // The script may move the cursor or run QUERY1 again: the cursor as it
       // then stands decides the next pass.
       while (!t.QueryEof()) {
         e.ExecuteLine(script);
         t.QueryNext();
       }
     }},
    {"BDIMPORT", "table field... count --",
     "Imports the FILENAME comma-separated file into the table, taking the listed field numbers.",
     Import<false>},
    {"BDIMPORTDATA", "table field... count --",
     "As BDIMPORT, but the file's first row, taken as column names, is not imported.",
     Import<true>},
    {"BDIMPORTED", "-- rows line short",
     "Pushes the rows the last BDIMPORT inserted, the first line of its file that did not go in "
     "(0 when every line did, -1 when the file could not be read), and how many rows inserted "
     "lacked a wanted field.",
     [](TableSurface& t, Engine& e, Frame&) {
       e.Push(engine::NumberToText(t.last_import().rows));
       e.Push(engine::NumberToText(t.last_import().failed_line));
       e.Push(engine::NumberToText(t.last_import().short_rows));
     }},
    {"BDERROR", "-- text",
     "What keeps Tables.db from taking statements, as the status bar said it; the empty text while "
     "it takes them.",
     [](TableSurface& t, Engine& e, Frame&) { e.Push(t.StoreTrouble()); }},
};

const engine::WordList<TableSurface> kQueryWords{"Tables: SQL queries", kQueryRows};

}  // namespace tables
