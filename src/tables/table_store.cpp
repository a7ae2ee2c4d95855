#include "table_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <atomic>

namespace tables {

namespace {
std::atomic<int> next_connection{0};
}

TableStore::TableStore(QString path)
    : path_(std::move(path)),
      connection_(QStringLiteral("zelt-tables-%1").arg(next_connection++)) {}

TableStore::~TableStore() {
  if (QSqlDatabase::contains(connection_)) {
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
  }
}

QSqlDatabase TableStore::Database() {
  if (!QSqlDatabase::contains(connection_)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(QFileInfo(path_).absoluteFilePath());
  }
  QSqlDatabase db = QSqlDatabase::database(connection_, false);
  if (!db.isOpen() && db.open()) {
    // Another program holding the file briefly should not fail a statement.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = 2000"));
  }
  return db;
}

}  // namespace tables
