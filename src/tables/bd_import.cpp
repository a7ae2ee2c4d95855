#include "bd_import.h"

#include <QSqlQuery>

#include "table_store.h"
#include "text_codec.h"

namespace tables {

std::string ImportStatement(const std::string& table, size_t values) {
  std::string text = "INSERT INTO " + table + "\nVALUES (";
  for (size_t i = 0; i < values; ++i) text += i ? ",?" : "?";
  return text + ")";
}

int InsertImportRows(TableStore& store, const std::string& table,
                     const std::vector<ImportRow>& rows, size_t values) {
  if (rows.empty()) return 0;
  store.RunKept();
  QSqlDatabase db = store.Database();
  if (!db.isOpen()) {
    store.Note(db.lastError());
    return 0;
  }
  // A script may hold a transaction of its own; the rows then join it.
  const bool own_transaction = db.transaction();
  int inserted = 0;
  QSqlQuery query(db);
  if (!query.prepare(ToQt(ImportStatement(table, values)))) {
    store.Note(query.lastError());
  } else {
    for (const auto& row : rows) {
      for (size_t i = 0; i < values; ++i) query.bindValue(static_cast<int>(i), ToQt(row.values[i]));
      if (!query.exec()) {
        store.Note(query.lastError());
        break;
      }
      ++inserted;
    }
  }
  query.finish();
  if (own_transaction && !db.commit()) db.rollback();
  return inserted;
}

}  // namespace tables
