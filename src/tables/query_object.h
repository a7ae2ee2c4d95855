// One of the three query objects. A result is read-only and fetched lazily in
// blocks, so a grid over a large table opens without reading every row; the
// current row and the end flag follow the data set rules of the words.
#pragma once

#include <QObject>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "table_store.h"

namespace tables {

class QueryObject : public QObject {
  Q_OBJECT

 public:
  QueryObject(TableStore& store, QObject* parent = nullptr);

  // The item list's lines as one statement text.
  static std::string JoinLines(const std::vector<std::string>& lines);

  // Closes the result, then runs the statement and opens its result with the
  // first row current. False (and closed) when the store rejects it or it
  // returns no rows to show.
  bool Open(const std::string& statement);
  // Closes, then executes a statement without result; one the store cannot
  // take now waits in the store and runs later (true).
  bool Exec(const std::string& statement);
  void Close();

  bool IsOpen() const { return open_; }
  QSqlQueryModel* model() { return &model_; }
  const std::string& statement() const { return statement_; }

  // -1 when there is no current row.
  int CurrentRow() const { return row_; }
  // Set by a move past the last row; cleared by any move onto a row.
  bool Eof() const { return !open_ || eof_; }
  bool Bof() const { return !open_ || row_ <= 0; }
  // True when the row exists (fetching more rows as needed).
  bool HasRow(int row);
  bool First();
  // True when it moved onto a further row; otherwise Eof() becomes true and
  // the last row stays current.
  bool Next();
  bool Prior();
  bool Last();
  // Reads the rest of the result, which ends its hold on the store's file;
  // the cursor stays. True when there was a rest to read.
  bool ReadToEnd();
  // A click in a grid or a navigator button; ignored for rows that do not exist.
  void SetCurrentRow(int row);

  // The named column (letter case ignored, as the store names columns) of the
  // current row as text; nothing for a closed result, no row or no such column.
  std::optional<std::string> Field(std::string_view name) const;

 signals:
  void CurrentRowChanged(int row);

 private:
  // Closes the result and runs the statement; nothing when it fails.
  std::optional<QSqlQuery> Run(const std::string& statement);
  void MoveTo(int row);

  TableStore& store_;
  QSqlQueryModel model_;
  std::string statement_;
  bool open_ = false;
  bool eof_ = true;
  int row_ = -1;
};

}  // namespace tables
