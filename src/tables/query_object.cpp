#include "query_object.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "cp1251.h"

namespace tables {

QueryObject::QueryObject(TableStore& store, QObject* parent)
    : QObject(parent), store_(store) {}

std::string QueryObject::JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) text += '\n';
    text += lines[i];
  }
  return text;
}

namespace {

bool Blank(const QString& text) { return text.trimmed().isEmpty(); }

}  // namespace

void QueryObject::Close() {
  const bool had_row = row_ >= 0;
  open_ = false;
  eof_ = true;
  row_ = -1;
  model_.clear();
  if (had_row) emit CurrentRowChanged(-1);
}

std::optional<QSqlQuery> QueryObject::Run(const std::string& statement) {
  Close();
  statement_ = statement;
  const QString text = engine::FromCp1251(statement);
  if (Blank(text)) return std::nullopt;
  // Statements kept while the store could not take them come first.
  store_.RunKept();
  QSqlDatabase db = store_.Database();
  if (!db.isOpen()) {
    store_.Note(db.lastError());
    return std::nullopt;
  }
  QSqlQuery query(db);
  if (!query.exec(text)) {
    store_.Note(query.lastError());
    return std::nullopt;
  }
  if (!query.isSelect()) store_.Written();
  store_.Worked();
  return query;
}

bool QueryObject::Open(const std::string& statement) {
  std::optional<QSqlQuery> query = Run(statement);
  if (!query || !query->isSelect()) return false;
  model_.setQuery(std::move(*query));
  if (model_.lastError().isValid()) {
    model_.clear();
    return false;
  }
  open_ = true;
  if (HasRow(0)) {
    MoveTo(0);
  } else {
    eof_ = true;
    emit CurrentRowChanged(-1);
  }
  return true;
}

bool QueryObject::Exec(const std::string& statement) {
  Close();
  statement_ = statement;
  const QString text = engine::FromCp1251(statement);
  return !Blank(text) && store_.Execute(text);
}

bool QueryObject::HasRow(int row) {
  if (!open_ || row < 0) return false;
  while (row >= model_.rowCount() && model_.canFetchMore()) model_.fetchMore();
  return row < model_.rowCount();
}

void QueryObject::MoveTo(int row) {
  eof_ = false;
  if (row_ == row) return;
  row_ = row;
  emit CurrentRowChanged(row_);
}

bool QueryObject::First() {
  if (!HasRow(0)) {
    eof_ = true;
    return false;
  }
  MoveTo(0);
  return true;
}

bool QueryObject::Next() {
  if (!open_ || row_ < 0) return false;
  if (!HasRow(row_ + 1)) {
    eof_ = true;
    return false;
  }
  MoveTo(row_ + 1);
  return true;
}

bool QueryObject::Prior() {
  if (!open_ || row_ <= 0) return false;
  MoveTo(row_ - 1);
  return true;
}

bool QueryObject::Last() {
  if (!HasRow(0)) return false;
  while (model_.canFetchMore()) model_.fetchMore();
  MoveTo(model_.rowCount() - 1);
  return true;
}

bool QueryObject::ReadToEnd() {
  if (!open_ || !model_.canFetchMore()) return false;
  while (model_.canFetchMore()) model_.fetchMore();
  return true;
}

void QueryObject::SetCurrentRow(int row) {
  if (HasRow(row)) MoveTo(row);
}

std::optional<std::string> QueryObject::Field(std::string_view name) const {
  if (!open_ || row_ < 0 || row_ >= model_.rowCount()) return std::nullopt;
  const QSqlRecord record = model_.record(row_);
  const int column = record.indexOf(engine::FromCp1251(name));
  if (column < 0) return std::nullopt;
  return engine::ToCp1251(record.value(column).toString());
}

}  // namespace tables
