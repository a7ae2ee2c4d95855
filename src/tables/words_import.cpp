// BDHEADER: what the import page offers as column names.
#include <string>
#include <vector>

#include "import_file.h"
#include "table_words.h"

namespace tables {

namespace {

using engine::Engine;
using engine::Frame;

void Header(TableSurface& t, Engine& e, Frame&) {
  const int32_t count = e.PopNumber();
  if (count < 0 || count > kImportColumns) throw engine::Fault{};
  std::vector<int32_t> columns;
  for (int32_t i = 0; i < count; ++i) columns.push_back(e.PopNumber());
  const std::optional<std::vector<std::string>> names = t.ImportHeader(columns);
  if (!names) {
    e.Push("0");
    return;
  }
  for (const std::string& name : *names) e.Push(name);
  e.Push(engine::NumberToText(count));
}

}  // namespace

constexpr engine::WordRow<TableSurface> kImportRows[] = {
    {"BDHEADER", "field... count -- name... count",
     "When the first row of the FILENAME file looks like column names (no digit in the listed "
     "fields, digits in a later row), pushes its listed fields and count as BDIMPORT would read "
     "them; else pushes 0 alone.",
     Header},
};

// Listed with the queries, after BDERROR.
const engine::WordList<TableSurface> kImportWords{"Tables: SQL queries", kImportRows};

}  // namespace tables
