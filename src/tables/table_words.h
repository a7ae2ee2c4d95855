// What the table words ask of the tables subsystem and of the monitor, with
// no widget or SQL type in sight. Texts are Windows-1251.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bd_import.h"
#include "engine.h"

namespace device {
class DeviceStores;
}

namespace tables {

class TableSurface {
 public:
  virtual ~TableSurface() = default;
  // Queries 1 and 2 (shown by DBGRID1 and DBGRID2) open the item list as a
  // query; query 3 executes it.
  virtual void RunItems(int query) = 0;
  // Query 1 or 2; nothing when the current row has no such field.
  virtual std::optional<std::string> QueryField(int query, const std::string& name) = 0;
  virtual bool QueryFirst() = 0;
  virtual bool QueryNext() = 0;
  virtual bool QueryEof() = 0;
  // The FILENAME file into the table, taking the listed field numbers;
  // past_header leaves out its first row.
  virtual void Import(const std::string& table, const std::vector<int32_t>& columns,
                      bool past_header) = 0;
  virtual ImportResult& last_import() = 0;
  // The first row of the FILENAME file as column names, when it looks like them.
  virtual std::optional<std::vector<std::string>> ImportHeader(
      const std::vector<int32_t>& columns) = 0;
  // What keeps Tables.db from taking statements; empty while it takes them.
  virtual std::string StoreTrouble() const = 0;

  // The memory table; its size is nothing while it is closed.
  virtual void MemoryReset() = 0;
  virtual void MemoryAppend(std::string tel, std::string stat, std::string s) = 0;
  virtual void MemoryDeleteCurrent() = 0;
  virtual std::optional<int> MemorySize() const = 0;
  virtual bool MemoryFirst() = 0;
  virtual bool MemoryNext() = 0;
  virtual std::optional<std::string> MemoryField(const std::string& name) const = 0;

  // Tab strips 1 and 2, grids 1..3.
  virtual void PlaceTabControl(int number) = 0;
  // -1 for none.
  virtual int TabIndex(int number) const = 0;
  virtual void PlaceGrid(int number) = 0;
};

class Monitor {
 public:
  virtual ~Monitor() = default;
  // The filter caption for k m n; clear_traffic empties the traffic memos too.
  virtual void ShowFilter(int32_t k, int32_t m, int32_t n, bool clear_traffic) = 0;
  // Null where there are none.
  virtual device::DeviceStores* device_stores() = 0;
};

extern const engine::WordList<TableSurface> kQueryWords;
extern const engine::WordList<TableSurface> kImportWords;
extern const engine::WordList<TableSurface> kMemoryTableWords;
extern const engine::WordList<TableSurface> kTabAndGridWords;
extern const engine::WordList<Monitor> kMonitorWords;

}  // namespace tables
