#include "bd_import.h"

#include <QByteArray>
#include <QSqlQuery>
#include <algorithm>

#include "UHex.h"
#include "cp1251.h"
#include "table_store.h"

namespace tables {

namespace {

// Rows per INSERT: a batch goes to SQLite as one JSON array bound to one
// parameter, which costs far less than binding each value through Qt.
constexpr size_t kRowsPerBatch = 256;

std::string JsonStatement(const std::string& table, size_t values) {
  std::string text = "INSERT INTO " + table + "\nSELECT ";
  for (size_t i = 0; i < values; ++i) text += (i ? ", value ->> " : "value ->> ") + std::to_string(i);
  // Bound as UTF-8 bytes and read as text: no conversion to UTF-16 and back.
  return text + " FROM json_each(CAST(? AS TEXT))";
}

// The rows [first, last) one bound INSERT each, up to the first the store
// refuses. Returns the number inserted.
size_t InsertOneByOne(TableStore& store, QSqlDatabase& db, const std::string& table,
                      const std::vector<ImportRow>& rows, size_t first, size_t last, size_t values) {
  QSqlQuery query(db);
  if (!query.prepare(engine::FromCp1251(ImportStatement(table, values)))) {
    store.Note(query.lastError());
    return 0;
  }
  size_t inserted = 0;
  for (size_t r = first; r < last; ++r) {
    for (size_t i = 0; i < values; ++i)
      query.bindValue(static_cast<int>(i), engine::FromCp1251(rows[r].values[i]));
    if (!query.exec()) {
      store.Note(query.lastError());
      break;
    }
    ++inserted;
  }
  return inserted;
}

}  // namespace

std::string ImportJson(const std::vector<ImportRow>& rows, size_t first, size_t last, size_t values) {
  std::string json = "[";
  for (size_t r = first; r < last; ++r) {
    json += r == first ? "[" : ",[";
    for (size_t i = 0; i < values; ++i) {
      json += i ? ",\"" : "\"";
      const std::string& value = rows[r].values[i];
      size_t plain = 0;  // the start of the characters not written yet
      for (size_t k = 0; k < value.size(); ++k) {
        const auto byte = static_cast<unsigned char>(value[k]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') continue;
        if (byte == 0) return {};
        json.append(value, plain, k - plain);
        plain = k + 1;
        if (byte >= 0x20) {
          json += '\\';
          json += value[k];
        } else {
          json += "\\u00" + uhex::ByteToHex(byte);
        }
      }
      json.append(value, plain, value.size() - plain);
      json += '"';
    }
    json += ']';
  }
  return json + "]";
}

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
  size_t inserted = 0;
  {
    QSqlQuery batch(db);
    const bool batches =
        values > 0 && batch.prepare(engine::FromCp1251(JsonStatement(table, values)));
    for (size_t first = 0; first < rows.size();) {
      const size_t last = std::min(rows.size(), first + kRowsPerBatch);
      // A statement is all or nothing: when SQLite refuses a batch, its rows
      // go again one by one, which finds the row that fails and keeps those
      // before it.
      const std::string json = batches ? ImportJson(rows, first, last, values) : "";
      if (!json.empty()) {
        batch.bindValue(0, QByteArray::fromStdString(engine::Utf8FromCp1251(json)));
        if (batch.exec()) {
          inserted += last - first;
          first = last;
          continue;
        }
      }
      const size_t done = InsertOneByOne(store, db, table, rows, first, last, values);
      inserted += done;
      if (done < last - first) break;
      first = last;
    }
  }
  if (own_transaction && !db.commit()) db.rollback();
  if (inserted) store.Written();
  return static_cast<int>(inserted);
}

}  // namespace tables
