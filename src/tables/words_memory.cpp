// MEMDATA1 MEMAPP1 MEMDEL1 MEMLEN1 FIRST3 NEXT3 FIELD3: the memory table.
#include "table_words.h"

namespace tables {

namespace {

using engine::Engine;
using engine::Frame;

}  // namespace

constexpr engine::WordRow<TableSurface> kMemoryTableRows[] = {
    {"MEMDATA1", "--", "Empties and opens the memory table (fields Tel, Stat, S).",
     [](TableSurface& t, Engine&, Frame&) { t.MemoryReset(); }},
    {"MEMAPP1", "tel stat s --", "Appends a row to the memory table.",
     [](TableSurface& t, Engine& e, Frame&) {
       std::string s = e.Pop();
       std::string stat = e.Pop();
       std::string tel = e.Pop();
       t.MemoryAppend(std::move(tel), std::move(stat), std::move(s));
     }},
    {"MEMDEL1", "--", "Deletes the current row of the memory table.",
     [](TableSurface& t, Engine&, Frame&) { t.MemoryDeleteCurrent(); }},
    {"MEMLEN1", "-- ?", "Number of rows of the memory table (nothing when it is closed).",
     [](TableSurface& t, Engine& e, Frame&) {
       const std::optional<int> size = t.MemorySize();
       if (!size) throw engine::Fault{};
       e.Push(engine::NumberToText(*size));
     }},
    {"FIRST3", "-- flag", "Moves to the memory table's first row; 1 when there is one, else 0.",
     [](TableSurface& t, Engine& e, Frame&) { e.Push(t.MemoryFirst() ? "1" : "0"); }},
    {"NEXT3", "-- flag", "Moves to the memory table's next row; 1 when there is one, else 0.",
     [](TableSurface& t, Engine& e, Frame&) { e.Push(t.MemoryNext() ? "1" : "0"); }},
    {"FIELD3", "name -- ?", "Field Tel, Stat or S of the memory table's current row.",
     [](TableSurface& t, Engine& e, Frame&) {
       auto value = t.MemoryField(e.Pop());
       if (!value) throw engine::Fault{};
       e.Push(std::move(*value));
     }},
};

const engine::WordList<TableSurface> kMemoryTableWords{"Tables: memory table", kMemoryTableRows};

}  // namespace tables
