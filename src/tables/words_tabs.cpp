// TABCONTROL TABCONTROL2 TINDEX TINDEX2 DBGRID1 DBGRID2 DBGRID3.
#include "engine.h"
#include "tables.h"

namespace tables {

namespace {

void PushIndex(engine::Engine& e, const TabStrip* strip) {
  e.Push(engine::NumberToText(strip ? strip->CurrentIndex() : -1));
}

}  // namespace

void RegisterTabAndGridWords(engine::Engine& engine, Tables& tables) {
  engine::WordGroup group(engine, "Tables: tabs and grids");
  Tables* t = &tables;
  engine.Document("TABCONTROL", "--", "Places the first tab strip with the items as tabs.");
  engine.Register("TABCONTROL", [t](engine::Engine&, engine::Frame&) { t->PlaceTabControl(1); });
  engine.Document("TABCONTROL2", "--", "Places the second tab strip with the items as tabs.");
  engine.Register("TABCONTROL2", [t](engine::Engine&, engine::Frame&) { t->PlaceTabControl(2); });
  engine.Document("TINDEX", "-- n", "Selected tab of the first tab strip, from 0; -1 for none.");
  engine.Register("TINDEX", [t](engine::Engine& e, engine::Frame&) { PushIndex(e, t->TabControl1()); });
  engine.Document("TINDEX2", "-- n", "Selected tab of the second tab strip, from 0; -1 for none.");
  engine.Register("TINDEX2", [t](engine::Engine& e, engine::Frame&) { PushIndex(e, t->TabControl2()); });
  engine.Document("DBGRID1", "--", "Places the grid showing Query1.");
  engine.Register("DBGRID1", [t](engine::Engine&, engine::Frame&) { t->PlaceGrid(1); });
  engine.Document("DBGRID2", "--", "Places the grid showing Query2.");
  engine.Register("DBGRID2", [t](engine::Engine&, engine::Frame&) { t->PlaceGrid(2); });
  engine.Document("DBGRID3", "--", "Places the grid showing the memory table.");
  engine.Register("DBGRID3", [t](engine::Engine&, engine::Frame&) { t->PlaceGrid(3); });
}

}  // namespace tables
