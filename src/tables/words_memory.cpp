// MEMDATA1 MEMAPP1 MEMDEL1 MEMLEN1 FIRST3 NEXT3 FIELD3: the memory table.
#include "engine.h"
#include "tables.h"

namespace tables {

void RegisterMemoryTableWords(engine::Engine& engine, Tables& tables) {
  engine::WordGroup group(engine, "Tables: memory table");
  MemoryTable* m = &tables.RxMemoryData1();
  engine.Document("MEMDATA1", "--", "Empties and opens the memory table (fields Tel, Stat, S).");
  engine.Register("MEMDATA1", [m](engine::Engine&, engine::Frame&) { m->Reset(); });
  engine.Document("MEMAPP1", "tel stat s --", "Appends a row to the memory table.");
  engine.Register("MEMAPP1", [m](engine::Engine& e, engine::Frame&) {
    std::string s = e.Pop();
    std::string stat = e.Pop();
    std::string tel = e.Pop();
    m->Append(std::move(tel), std::move(stat), std::move(s));
  });
  engine.Document("MEMDEL1", "--", "Deletes the current row of the memory table.");
  engine.Register("MEMDEL1", [m](engine::Engine&, engine::Frame&) { m->DeleteCurrent(); });
  engine.Document("MEMLEN1", "-- ?",
                  "Number of rows of the memory table (nothing when it is closed).");
  engine.Register("MEMLEN1", [m](engine::Engine& e, engine::Frame&) {
    if (!m->IsOpen()) throw engine::Fault{};
    e.Push(engine::NumberToText(m->Size()));
  });
  engine.Document("FIRST3", "-- flag",
                  "Moves to the memory table's first row; 1 when there is one, else 0.");
  engine.Register("FIRST3", [m](engine::Engine& e, engine::Frame&) {
    e.Push(m->First() ? "1" : "0");
  });
  engine.Document("NEXT3", "-- flag",
                  "Moves to the memory table's next row; 1 when there is one, else 0.");
  engine.Register("NEXT3", [m](engine::Engine& e, engine::Frame&) {
    e.Push(m->Next() ? "1" : "0");
  });
  engine.Document("FIELD3", "name -- ?", "Field Tel, Stat or S of the memory table's current row.");
  engine.Register("FIELD3", [m](engine::Engine& e, engine::Frame&) {
    auto value = m->Field(e.Pop());
    if (!value) throw engine::Fault{};
    e.Push(std::move(*value));
  });
}

}  // namespace tables
