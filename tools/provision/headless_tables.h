// The SQL query words, the item list they run and the event memo, with no
// window: what the shipped phone book needs on a device without pages.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "query_object.h"
#include "table_store.h"
#include "table_words.h"

namespace engine {
class Engine;
}

namespace provision {

class HeadlessTables : public tables::TableSurface, public tables::Monitor {
 public:
  HeadlessTables(engine::Engine& engine, const QString& store_path);
  ~HeadlessTables() override;

  // CLEARITEMS, ADDITEMS, the query words and ADDEV.
  void RegisterWords();

  std::vector<std::string>& items() { return items_; }

  // TableSurface: the queries. Import, the memory table, tabs and grids are
  // the window's and have no words here.
  void RunItems(int query) override;
  std::optional<std::string> QueryField(int query, const std::string& name) override;
  bool QueryFirst() override;
  bool QueryNext() override;
  bool QueryEof() override;
  std::string StoreTrouble() const override;
  // No import here: BDIMPORTED says the file could not be read.
  void Import(const std::string&, const std::vector<int32_t>&, bool) override {
    last_import_.failed_line = -1;
  }
  tables::ImportResult& last_import() override { return last_import_; }
  std::optional<std::vector<std::string>> ImportHeader(const std::vector<int32_t>&) override {
    return std::nullopt;
  }
  void MemoryReset() override {}
  void MemoryAppend(std::string, std::string, std::string) override {}
  void MemoryDeleteCurrent() override {}
  std::optional<int> MemorySize() const override { return std::nullopt; }
  bool MemoryFirst() override { return false; }
  bool MemoryNext() override { return false; }
  std::optional<std::string> MemoryField(const std::string&) const override {
    return std::nullopt;
  }
  void PlaceTabControl(int) override {}
  int TabIndex(int) const override { return -1; }
  void PlaceGrid(int) override {}

  // Monitor: no traffic memos to filter.
  void ShowFilter(int32_t, int32_t, int32_t, bool) override {}
  device::DeviceStores* device_stores() override { return nullptr; }

 private:
  tables::QueryObject& Query(int number);

  engine::Engine& engine_;
  tables::TableStore store_;
  std::unique_ptr<tables::QueryObject> queries_[3];
  std::vector<std::string> items_;
  tables::ImportResult last_import_;
};

}  // namespace provision
