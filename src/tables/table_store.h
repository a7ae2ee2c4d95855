// The SQL table store: one SQLite file that the scripts' statements address by
// table name. It is opened the first time a statement needs it and created if
// missing, so the tables a script made are there at the next start.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace tables {

class TableStore {
 public:
  // A relative path is taken against the working directory at first use.
  explicit TableStore(QString path = QStringLiteral("Tables.db"));
  ~TableStore();
  TableStore(const TableStore&) = delete;
  TableStore& operator=(const TableStore&) = delete;

  // The open database; not open when the file cannot be opened or created.
  QSqlDatabase Database();
  const QString& path() const { return path_; }

 private:
  QString path_;
  QString connection_;
};

}  // namespace tables
