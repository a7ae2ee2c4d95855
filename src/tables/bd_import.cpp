#include "bd_import.h"

#include <QSqlQuery>
#include <algorithm>
#include <string_view>

#include "table_store.h"
#include "text_codec.h"

namespace tables {

namespace {

// Rows per INSERT of literal values: one statement costs SQLite far less than
// as many bound rows cost Qt.
constexpr size_t kRowsPerStatement = 256;

// The rows [first, last) as one INSERT of text literals. Empty when a value
// holds a NUL, which a literal cannot carry.
std::string LiteralInsert(const std::string& table, const std::vector<ImportRow>& rows,
                          size_t first, size_t last, size_t values) {
  std::string text = "INSERT INTO " + table + "\nVALUES ";
  for (size_t r = first; r < last; ++r) {
    text += r == first ? "(" : ",(";
    for (size_t i = 0; i < values; ++i) {
      const std::string_view value = rows[r].values[i];
      if (value.find('\0') != std::string_view::npos) return {};
      text += i ? ",'" : "'";
      // Windows-1251 is one byte a character: a quote byte is a quote.
      for (size_t from = 0;;) {
        const size_t quote = value.find('\'', from);
        text.append(value.substr(from, quote - from));
        if (quote == std::string_view::npos) break;
        text += "''";
        from = quote + 1;
      }
      text += '\'';
    }
    text += ')';
  }
  return text;
}

// The rows [first, last) one bound INSERT each, up to the first the store
// refuses. Returns the number inserted.
size_t InsertBound(TableStore& store, QSqlDatabase& db, const std::string& table,
                   const std::vector<ImportRow>& rows, size_t first, size_t last, size_t values) {
  QSqlQuery query(db);
  if (!query.prepare(ToQt(ImportStatement(table, values)))) {
    store.Note(query.lastError());
    return 0;
  }
  size_t inserted = 0;
  for (size_t r = first; r < last; ++r) {
    for (size_t i = 0; i < values; ++i) query.bindValue(static_cast<int>(i), ToQt(rows[r].values[i]));
    if (!query.exec()) {
      store.Note(query.lastError());
      break;
    }
    ++inserted;
  }
  return inserted;
}

}  // namespace

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
  for (size_t first = 0; first < rows.size();) {
    const size_t last = std::min(rows.size(), first + kRowsPerStatement);
    const std::string literal = values ? LiteralInsert(table, rows, first, last, values) : "";
    // A statement is all or nothing: when SQLite refuses the batch, its rows
    // go again one by one, which finds the row that fails and keeps those
    // before it.
    QSqlQuery batch(db);
    if (!literal.empty() && batch.exec(ToQt(literal))) {
      inserted += last - first;
      first = last;
      continue;
    }
    batch.finish();
    const size_t done = InsertBound(store, db, table, rows, first, last, values);
    inserted += done;
    if (done < last - first) break;
    first = last;
  }
  if (own_transaction && !db.commit()) db.rollback();
  if (inserted) store.Written();
  return static_cast<int>(inserted);
}

}  // namespace tables
