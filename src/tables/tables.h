// The tables subsystem as the window owns it: the table store, the three query
// objects, the memory table, and the tab strips, grids, navigator and data
// check boxes that show them.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "bd_import.h"
#include "data_grid.h"
#include "engine.h"
#include "memory_table.h"
#include "query_object.h"
#include "record_navigator.h"
#include "tab_strip.h"
#include "table_store.h"
#include "table_words.h"

class QWidget;

namespace device {
class DeviceStores;
}
namespace files {
struct FileWordsState;
}
namespace ui {
class ControlFactory;
struct ControlRegisters;
class EventRouter;
class TMainForm;
}

namespace tables {

// What the table words reach outside their own subsystem. Any part may be
// missing (tests, the headless runner): the words that need it then do nothing.
struct TablesWindow {
  ui::ControlRegisters* registers = nullptr;  // the item list
  ui::ControlFactory* controls = nullptr;     // takes the tables' kinds of page control
  ui::EventRouter* router = nullptr;
  device::DeviceStores* device = nullptr;
  files::FileWordsState* files = nullptr;  // FILENAME names BDIMPORT's file
  ui::TMainForm* monitor = nullptr;  // the filter caption and the traffic memos
};

class Tables : public QObject, public TableSurface, public Monitor {
  Q_OBJECT

 public:
  // `store_path` relative to the working directory at first use.
  Tables(engine::Engine& engine, TablesWindow window, QObject* parent = nullptr,
         const QString& store_path = QStringLiteral("Tables.db"));
  ~Tables() override;

  engine::Engine& engine() { return engine_; }
  const TablesWindow& window() const { return window_; }
  // The device stores may come up after the tables (CONCLEAR, READVCK).
  void SetDeviceStores(device::DeviceStores* stores) { window_.device = stores; }
  device::DeviceStores* device_stores() override { return window_.device; }
  TableStore& store() { return store_; }
  QueryObject& Query1() { return *query1_; }
  QueryObject& Query2() { return *query2_; }
  QueryObject& Query3() { return *query3_; }
  MemoryTable& RxMemoryData1() { return *memory_; }

  // The widgets; nullptr without a control factory.
  TabStrip* TabControl1() const { return tab_control1_; }
  TabStrip* TabControl2() const { return tab_control2_; }
  DataGrid* DBGrid(int number) const;  // 1..3
  RecordNavigator* DBNavigator1() const { return navigator_; }

  // Items 1 to the item count (at most 100) of the item list.
  std::vector<std::string> Items() const;

  // Placing of the tab strips (number 1, 2) and grids (1..3) by the factory.
  void PlaceTabControl(int number) override;
  void PlaceGrid(int number) override;
  int TabIndex(int number) const override;

  // TableSurface
  void RunItems(int query) override;
  std::optional<std::string> QueryField(int query, const std::string& name) override;
  bool QueryFirst() override;
  bool QueryNext() override;
  bool QueryEof() override;
  void Import(const std::string& table, const std::vector<int32_t>& columns,
              bool past_header) override;
  ImportResult& last_import() override { return last_import_; }
  std::optional<std::vector<std::string>> ImportHeader(
      const std::vector<int32_t>& columns) override;
  std::string StoreTrouble() const override;
  void MemoryReset() override;
  void MemoryAppend(std::string tel, std::string stat, std::string s) override;
  void MemoryDeleteCurrent() override;
  std::optional<int> MemorySize() const override;
  bool MemoryFirst() override;
  bool MemoryNext() override;
  std::optional<std::string> MemoryField(const std::string& name) const override;

  // Monitor
  void ShowFilter(int32_t k, int32_t m, int32_t n, bool clear_traffic) override;

  // Shows the current row of Query1 in the data check boxes.
  void RefreshDataChecks();

 private:
  QueryObject& Query(int number);
  void BuildWidgets();
  void BuildTabStrips(ui::ControlFactory& controls);
  void BuildGrids(ui::ControlFactory& controls);
  void BindDataChecks(ui::ControlFactory& controls);
  void RouteEvent(QWidget* control);

  engine::Engine& engine_;
  TablesWindow window_;
  TableStore store_;
  std::unique_ptr<QueryObject> query1_;
  std::unique_ptr<QueryObject> query2_;
  std::unique_ptr<QueryObject> query3_;
  std::unique_ptr<MemoryTable> memory_;
  ImportResult last_import_;
  QPointer<TabStrip> tab_control1_;
  QPointer<TabStrip> tab_control2_;
  QPointer<DataGrid> grids_[3];
  QPointer<RecordNavigator> navigator_;
};

// LabelFiltr's caption for FILTR k m n.
QString FilterCaption(int32_t k, int32_t m, int32_t n);

// Builds the subsystem for the window and registers its words. The window
// owns the returned object.
Tables* RegisterTableWords(engine::Engine& engine, const TablesWindow& window,
                           QObject* owner);
// The words over an existing subsystem.
void RegisterTableWords(engine::Engine& engine, Tables& tables);

}  // namespace tables
