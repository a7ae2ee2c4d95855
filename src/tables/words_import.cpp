// BDHEADER: what the import page offers as column names.
#include <string>
#include <vector>

#include "file_words.h"
#include "import_file.h"
#include "os_path.h"
#include "tables.h"
#include "value.h"

namespace tables {

void RegisterImportWords(engine::Engine& engine, Tables& tables) {
  engine::WordGroup group(engine, "Tables: SQL queries");
  Tables* t = &tables;
  engine.Document("BDHEADER", "field... count -- name... count",
                  "When the first row of the FILENAME file looks like column names (no digit in "
                  "the listed fields, digits in a later row), pushes its listed fields and count "
                  "as BDIMPORT would read them; else pushes 0 alone.");
  engine.Register("BDHEADER", [t](engine::Engine& e, engine::Frame&) {
    const int32_t count = e.PopNumber();
    if (count < 0 || count > kImportColumns) throw engine::Fault{};
    std::vector<int32_t> columns;
    for (int32_t i = 0; i < count; ++i) columns.push_back(e.PopNumber());
    const files::FileWordsState* files = t->window().files;
    const auto path = files ? files::OsPath(files->file_name) : std::nullopt;
    std::string text;
    if (!path || !ReadImportFile(*path, text)) {
      e.Push("0");
      return;
    }
    const ImportScan scan = ScanImport(text, columns);
    if (!LooksLikeHeader(scan)) {
      e.Push("0");
      return;
    }
    for (const std::string& name : scan.rows.front().values) e.Push(name);
    e.Push(engine::NumberToText(count));
  });
}

}  // namespace tables
