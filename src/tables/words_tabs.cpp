// TABCONTROL TABCONTROL2 TINDEX TINDEX2 DBGRID1 DBGRID2 DBGRID3.
#include "table_words.h"

namespace tables {

namespace {

using engine::Engine;
using engine::Frame;

template <int number>
void PlaceTabControl(TableSurface& t, Engine&, Frame&) {
  t.PlaceTabControl(number);
}

template <int number>
void PushTabIndex(TableSurface& t, Engine& e, Frame&) {
  e.Push(engine::NumberToText(t.TabIndex(number)));
}

template <int number>
void PlaceGrid(TableSurface& t, Engine&, Frame&) {
  t.PlaceGrid(number);
}

}  // namespace

constexpr engine::WordRow<TableSurface> kTabAndGridRows[] = {
    {"TABCONTROL", "--", "Places the first tab strip with the items as tabs.", PlaceTabControl<1>},
    {"TABCONTROL2", "--", "Places the second tab strip with the items as tabs.",
     PlaceTabControl<2>},
    {"TINDEX", "-- n", "Selected tab of the first tab strip, from 0; -1 for none.",
     PushTabIndex<1>},
    {"TINDEX2", "-- n", "Selected tab of the second tab strip, from 0; -1 for none.",
     PushTabIndex<2>},
    {"DBGRID1", "--", "Places the grid showing Query1.", PlaceGrid<1>},
    {"DBGRID2", "--", "Places the grid showing Query2.", PlaceGrid<2>},
    {"DBGRID3", "--", "Places the grid showing the memory table.", PlaceGrid<3>},
};

const engine::WordList<TableSurface> kTabAndGridWords{"Tables: tabs and grids", kTabAndGridRows};

}  // namespace tables
