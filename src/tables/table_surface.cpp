// Tables as the table words and the monitor words see it.
#include "cp1251.h"
#include "file_words.h"
#include "main_form.h"
#include "os_path.h"
#include "tables.h"

namespace tables {

// "Фильтр: Все", "Фильтр: СК-3", "Фильтр: СК-3 Адр.-12 Ном.-9".
QString FilterCaption(int32_t k, int32_t m, int32_t n) {
  QString caption = QStringLiteral("Фильтр: ");
  if (k == 0) return caption + QStringLiteral("Все");
  caption += QStringLiteral("СК-") + QString::number(k);
  if (m != 0) {
    caption += QStringLiteral(" Адр.-") + QString::number(m);
    if (n != 0) caption += QStringLiteral(" Ном.-") + QString::number(n);
  }
  return caption;
}

QueryObject& Tables::Query(int number) {
  return number == 1 ? *query1_ : number == 2 ? *query2_ : *query3_;
}

void Tables::RunItems(int query) {
  const std::string sql = QueryObject::JoinLines(Items());
  if (query == 3)
    query3_->Exec(sql);
  else
    Query(query).Open(sql);
}

std::optional<std::string> Tables::QueryField(int query, const std::string& name) {
  return Query(query).Field(name);
}

std::string Tables::StoreTrouble() const { return engine::ToCp1251(store_.trouble()); }

bool Tables::QueryFirst() { return query1_->First(); }

bool Tables::QueryNext() { return query1_->Next(); }

bool Tables::QueryEof() { return query1_->Eof(); }

void Tables::Import(const std::string& table, const std::vector<int32_t>& columns,
                    bool past_header) {
  ImportResult& result = last_import_;
  query3_->Close();
  const files::FileWordsState* files = window_.files;
  if (!files) return;
  const auto path = files::OsPath(files->file_name);
  std::string text;
  if (!path || !ReadImportFile(*path, text)) {
    result.failed_line = -1;
    return;
  }
  ImportScan scan = ScanImport(text, columns);
  if (past_header && !scan.rows.empty()) scan.rows.erase(scan.rows.begin());
  result.rows = InsertImportRows(store_, table, scan.rows, columns.size());
  for (int i = 0; i < result.rows; ++i)
    if (scan.rows[static_cast<size_t>(i)].short_of_fields) ++result.short_rows;
  if (static_cast<size_t>(result.rows) < scan.rows.size())
    result.failed_line = scan.rows[static_cast<size_t>(result.rows)].line;
  else
    result.failed_line = scan.bad_line;
}

std::optional<std::vector<std::string>> Tables::ImportHeader(
    const std::vector<int32_t>& columns) {
  const files::FileWordsState* files = window_.files;
  const auto path = files ? files::OsPath(files->file_name) : std::nullopt;
  std::string text;
  if (!path || !ReadImportFile(*path, text)) return std::nullopt;
  ImportScan scan = ScanImport(text, columns);
  if (!LooksLikeHeader(scan)) return std::nullopt;
  return std::move(scan.rows.front().values);
}

void Tables::MemoryReset() { memory_->Reset(); }

void Tables::MemoryAppend(std::string tel, std::string stat, std::string s) {
  memory_->Append(std::move(tel), std::move(stat), std::move(s));
}

void Tables::MemoryDeleteCurrent() { memory_->DeleteCurrent(); }

std::optional<int> Tables::MemorySize() const {
  if (!memory_->IsOpen()) return std::nullopt;
  return static_cast<int>(memory_->Size());
}

bool Tables::MemoryFirst() { return memory_->First(); }

bool Tables::MemoryNext() { return memory_->Next(); }

std::optional<std::string> Tables::MemoryField(const std::string& name) const {
  return memory_->Field(name);
}

int Tables::TabIndex(int number) const {
  const TabStrip* strip = number == 1 ? TabControl1() : TabControl2();
  return strip ? strip->CurrentIndex() : -1;
}

void Tables::ShowFilter(int32_t k, int32_t m, int32_t n, bool clear_traffic) {
  if (!window_.monitor) return;
  window_.monitor->ShowFilterCaption(FilterCaption(k, m, n));
  if (clear_traffic) window_.monitor->ClearTraffic();
}

}  // namespace tables
