#include "tables.h"

#include <QCoreApplication>

#include "control_factory.h"
#include "control_pool.h"
#include "control_registers.h"
#include "cp1251.h"
#include "data_grid.h"
#include "db_check_box.h"
#include "event_router.h"
#include "grid_keys.h"
#include "guarded.h"
#include "record_navigator.h"
#include "tab_strip.h"

namespace tables {

Tables::Tables(engine::Engine& engine, TablesWindow window, QObject* parent,
               const QString& store_path)
    : QObject(parent),
      engine_(engine),
      window_(window),
      store_(store_path),
      query1_(std::make_unique<QueryObject>(store_)),
      query2_(std::make_unique<QueryObject>(store_)),
      query3_(std::make_unique<QueryObject>(store_)),
      memory_(std::make_unique<MemoryTable>()) {
  store_.SetReporter([this](const std::string& text) { engine_.ShowStatus(text); });
  store_.SetBeforeReopen([this] {
    query1_->Close();
    query2_->Close();
    query3_->Close();
  });
  store_.SetReadResultsToEnd([this] {
    const bool first = query1_->ReadToEnd();
    return query2_->ReadToEnd() || first;
  });
  // Rows held in memory are stored, or kept in a file, while the window can
  // still say so.
  if (QCoreApplication::instance())
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
            [this] { store_.Flush(); });
  BuildWidgets();
}

Tables::~Tables() {
  // The engine may be gone by now: what the store says at exit goes to the log only.
  store_.SetReporter(nullptr);
  store_.Flush();
  // The grids belong to the page area and may outlive us: cut them off the
  // models before the models go.
  for (const QPointer<DataGrid>& grid : grids_)
    if (grid) grid->setModel(nullptr);
}

DataGrid* Tables::DBGrid(int number) const {
  return number >= 1 && number <= 3 ? grids_[number - 1] : nullptr;
}

std::vector<std::string> Tables::Items() const {
  std::vector<std::string> items;
  if (!window_.registers) return items;
  const int count = window_.registers->ItemsInForce();
  for (int i = 1; i <= count; ++i) items.push_back(window_.registers->items[static_cast<size_t>(i)]);
  return items;
}

namespace {

using ui::ControlFactory;
using ui::ControlKind;

void FillTabStrip(QWidget& control, ui::ControlRegisters& r) {
  auto& strip = static_cast<TabStrip&>(control);
  QStringList texts;
  for (int i = 1; i <= r.ItemsInForce(); ++i)
    texts << engine::FromCp1251(r.items[static_cast<size_t>(i)]);
  strip.SetTabs(texts);
  strip.SetCurrentIndex(r.index);
}

// DBGrid2 gets a tag and a script too, although it fires no event.
const ControlFactory::Kind kTabStripKind{
    {ui::Numbering::kUnmapped, ui::PoolKind::kLabel, true}, ControlFactory::Extent::kRect,
    FillTabStrip};
const ControlFactory::Kind kGridKind{
    {ui::Numbering::kUnmapped, ui::PoolKind::kLabel, true}, ControlFactory::Extent::kRect};
// Shown by no word; SCLEAR hides it with the rest.
const ControlFactory::Kind kNavigatorKind{
    {ui::Numbering::kUnmapped, ui::PoolKind::kLabel, false}, ControlFactory::Extent::kRect};

}  // namespace

void Tables::BuildWidgets() {
  ControlFactory* controls = window_.controls;
  if (!controls) return;
  BuildTabStrips(*controls);
  BuildGrids(*controls);
  navigator_ = new RecordNavigator(*query1_);
  controls->Register(ControlKind::kNavigator, kNavigatorKind, "DBNavigator", {navigator_});
  BindDataChecks(*controls);
}

void Tables::BuildTabStrips(ControlFactory& controls) {
  tab_control1_ = new TabStrip(TabStrip::Rows::kWrap);
  tab_control2_ = new TabStrip(TabStrip::Rows::kOne);
  controls.Register(ControlKind::kTabStrip, kTabStripKind, "TabControl",
                    {tab_control1_, tab_control2_});
  for (TabStrip* strip : {tab_control1_, tab_control2_})
    connect(strip, &TabStrip::TabChanged, this, [this, strip] { RouteEvent(strip); });
}

void Tables::BuildGrids(ControlFactory& controls) {
  struct GridSpec {
    bool whole_rows;
    QAbstractItemModel* model;
    bool routes;
  };
  const GridSpec specs[3] = {{false, query1_->model(), true},
                             {false, query2_->model(), false},
                             {true, memory_.get(), true}};
  for (int i = 0; i < 3; ++i) {
    auto* grid = new DataGrid(specs[i].whole_rows);
    grid->setModel(specs[i].model);
    grids_[i] = grid;
    if (!specs[i].routes) continue;
    // Queued: the script runs after the view has finished with the click,
    // since it may replace the very rows the view is handling.
    const QPointer<DataGrid> guarded(grid);
    connect(
        grid, &DataGrid::CellClicked, this, [this, guarded] { if (guarded) RouteEvent(guarded); },
        Qt::QueuedConnection);
    ui::WatchKeyMoves(grid, [this, guarded] {
      if (guarded) RouteEvent(guarded);
    });
  }
  controls.Register(ControlKind::kGrid, kGridKind, "DBGrid", {grids_[0], grids_[1], grids_[2]});
  // Each grid shows its data set's current row and makes a chosen row current.
  connect(query1_.get(), &QueryObject::CurrentRowChanged, grids_[0], &DataGrid::ShowCurrentRow);
  connect(grids_[0], &DataGrid::RowChosen, query1_.get(), &QueryObject::SetCurrentRow);
  connect(query2_.get(), &QueryObject::CurrentRowChanged, grids_[1], &DataGrid::ShowCurrentRow);
  connect(grids_[1], &DataGrid::RowChosen, query2_.get(), &QueryObject::SetCurrentRow);
  connect(memory_.get(), &MemoryTable::CurrentRowChanged, grids_[2], &DataGrid::ShowCurrentRow);
  connect(grids_[2], &DataGrid::RowChosen, memory_.get(), &MemoryTable::SetCurrentRow);
}

void Tables::BindDataChecks(ControlFactory& controls) {
  connect(query1_.get(), &QueryObject::CurrentRowChanged, this, &Tables::RefreshDataChecks);
  for (int i = 1; i <= controls.Count(ControlKind::kDbCheck); ++i) {
    auto* box = static_cast<ui::DbCheckBox*>(controls.Member(ControlKind::kDbCheck, i));
    connect(box, &ui::DbCheckBox::DataFieldChanged, this, &Tables::RefreshDataChecks);
    // The result is read-only: a click must not leave the box showing
    // something the row does not hold.
    connect(box, &QCheckBox::clicked, this, &Tables::RefreshDataChecks);
  }
  RefreshDataChecks();
}

void Tables::RefreshDataChecks() {
  ControlFactory* controls = window_.controls;
  if (!controls) return;
  for (int i = 1; i <= controls->Count(ControlKind::kDbCheck); ++i) {
    auto* box = static_cast<ui::DbCheckBox*>(controls->Member(ControlKind::kDbCheck, i));
    Qt::CheckState state = Qt::Unchecked;
    if (!box->DataField().isEmpty()) {
      if (auto value = query1_->Field(engine::ToCp1251(box->DataField()))) {
        const QString text = engine::FromCp1251(*value);
        if (text.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0)
          state = Qt::Checked;
        else if (text.compare(QLatin1String("NO"), Qt::CaseInsensitive) != 0)
          state = Qt::PartiallyChecked;  // neither answer: shown greyed
      }
    }
    const QSignalBlocker quiet(box);
    box->setTristate(state == Qt::PartiallyChecked);
    box->setCheckState(state);
  }
}

void Tables::PlaceTabControl(int number) {
  if (window_.controls) window_.controls->Place(ControlKind::kTabStrip, number);
}

void Tables::PlaceGrid(int number) {
  if (window_.controls) window_.controls->Place(ControlKind::kGrid, number);
}

void Tables::RouteEvent(QWidget* control) {
  if (!window_.router) return;
  const ui::RouteRule route =
      control == tab_control1_ || control == tab_control2_ ? ui::kTabRoute : ui::kGridRoute;
  Guarded([&] { window_.router->Route(ui::Tag(control), route); });
}

Tables* RegisterTableWords(engine::Engine& engine, const TablesWindow& window, QObject* owner) {
  auto* tables = new Tables(engine, window, owner);
  RegisterTableWords(engine, *tables);
  return tables;
}

void RegisterTableWords(engine::Engine& engine, Tables& tables) {
  engine::AddWords(engine, kQueryWords, tables);
  engine::AddWords(engine, kImportWords, tables);
  engine::AddWords(engine, kMemoryTableWords, tables);
  engine::AddWords(engine, kTabAndGridWords, tables);
  engine::AddWords(engine, kMonitorWords, tables);
}

}  // namespace tables
