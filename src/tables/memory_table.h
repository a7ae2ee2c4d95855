// RxMemoryData1: the in-memory table of three text fields Tel, Stat and S, at
// most 20 characters each, with a current-row cursor. DBGrid3 shows it.
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tables {

class MemoryTable : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kFields = 3;
  static constexpr size_t kFieldSize = 20;
  using Row = std::array<std::string, kFields>;

  explicit MemoryTable(QObject* parent = nullptr);

  // MEMDATA1: drops every row and opens the table empty.
  void Reset();
  bool IsOpen() const { return open_; }
  int Size() const { return static_cast<int>(rows_.size()); }

  // Appends at the end and makes the new row current. False when closed.
  bool Append(std::string tel, std::string stat, std::string s);
  // Deletes the current row; the next row (or the new last one) becomes current.
  bool DeleteCurrent();

  int CurrentRow() const { return row_; }
  bool First();
  bool Next();
  void SetCurrentRow(int row);

  // Tel, Stat or S in any letter case.
  std::optional<std::string> Field(std::string_view name) const;
  static int FieldIndex(std::string_view name);

  // QAbstractTableModel, read-only.
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 signals:
  void CurrentRowChanged(int row);

 private:
  void MoveTo(int row);

  bool defined_ = false;
  bool open_ = false;
  std::vector<Row> rows_;
  int row_ = -1;
};

}  // namespace tables
