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
  Tables* t = &tables;
  engine.Register("TABCONTROL", [t](engine::Engine&, engine::Frame&) { t->PlaceTabControl(1); });
  engine.Register("TABCONTROL2", [t](engine::Engine&, engine::Frame&) { t->PlaceTabControl(2); });
  engine.Register("TINDEX", [t](engine::Engine& e, engine::Frame&) { PushIndex(e, t->TabControl1()); });
  engine.Register("TINDEX2", [t](engine::Engine& e, engine::Frame&) { PushIndex(e, t->TabControl2()); });
  engine.Register("DBGRID1", [t](engine::Engine&, engine::Frame&) { t->PlaceGrid(1); });
  engine.Register("DBGRID2", [t](engine::Engine&, engine::Frame&) { t->PlaceGrid(2); });
  engine.Register("DBGRID3", [t](engine::Engine&, engine::Frame&) { t->PlaceGrid(3); });
}

}  // namespace tables
