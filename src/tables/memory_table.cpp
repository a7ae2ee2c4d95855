#include "memory_table.h"

#include "cp1251.h"

namespace tables {

namespace {

constexpr const char* kNames[MemoryTable::kFields] = {"Tel", "Stat", "S"};

std::string Cut(std::string text) {
  if (text.size() > MemoryTable::kFieldSize) text.resize(MemoryTable::kFieldSize);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

MemoryTable::MemoryTable(QObject* parent) : QAbstractTableModel(parent) {}

void MemoryTable::Reset() {
  beginResetModel();
  defined_ = true;
  open_ = true;
  rows_.clear();
  endResetModel();
  MoveTo(-1);
}

bool MemoryTable::Append(std::string tel, std::string stat, std::string s) {
  if (!open_) return false;
  const int at = Size();
  beginInsertRows(QModelIndex(), at, at);
  rows_.push_back({Cut(std::move(tel)), Cut(std::move(stat)), Cut(std::move(s))});
  endInsertRows();
  MoveTo(at);
  return true;
}

bool MemoryTable::DeleteCurrent() {
  if (!open_ || row_ < 0 || row_ >= Size()) return false;
  const int at = row_;
  beginRemoveRows(QModelIndex(), at, at);
  rows_.erase(rows_.begin() + at);
  endRemoveRows();
  row_ = -1;
  MoveTo(rows_.empty() ? -1 : std::min(at, Size() - 1));
  return true;
}

void MemoryTable::MoveTo(int row) {
  if (row_ == row) return;
  row_ = row;
  emit CurrentRowChanged(row_);
}

bool MemoryTable::First() {
  if (!open_ || rows_.empty()) return false;
  MoveTo(0);
  return true;
}

bool MemoryTable::Next() {
  if (!open_ || row_ < 0 || row_ + 1 >= Size()) return false;
  MoveTo(row_ + 1);
  return true;
}

void MemoryTable::SetCurrentRow(int row) {
  if (open_ && row >= 0 && row < Size()) MoveTo(row);
}

int MemoryTable::FieldIndex(std::string_view name) {
  for (int i = 0; i < kFields; ++i)
    if (SameName(name, kNames[i])) return i;
  return -1;
}

std::optional<std::string> MemoryTable::Field(std::string_view name) const {
  const int field = FieldIndex(name);
  if (!open_ || field < 0 || row_ < 0 || row_ >= Size()) return std::nullopt;
  return rows_[row_][field];
}

int MemoryTable::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !open_ ? 0 : Size();
}

int MemoryTable::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !defined_ || !open_ ? 0 : kFields;
}

QVariant MemoryTable::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Size() ||
      index.column() >= kFields)
    return {};
  return engine::FromCp1251(rows_[index.row()][index.column()]);
}

QVariant MemoryTable::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= kFields)
    return QAbstractTableModel::headerData(section, orientation, role);
  return QString::fromLatin1(kNames[section]);
}

}  // namespace tables
