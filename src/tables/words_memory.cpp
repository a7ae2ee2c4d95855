// MEMDATA1 MEMAPP1 MEMDEL1 MEMLEN1 FIRST3 NEXT3 FIELD3: the memory table.
#include "engine.h"
#include "tables.h"

namespace tables {

void RegisterMemoryTableWords(engine::Engine& engine, Tables& tables) {
  MemoryTable* m = &tables.RxMemoryData1();
  engine.Register("MEMDATA1", [m](engine::Engine&, engine::Frame&) { m->Reset(); });
  engine.Register("MEMAPP1", [m](engine::Engine& e, engine::Frame&) {
    std::string s = e.Pop();
    std::string stat = e.Pop();
    std::string tel = e.Pop();
    m->Append(std::move(tel), std::move(stat), std::move(s));
  });
  engine.Register("MEMDEL1", [m](engine::Engine&, engine::Frame&) { m->DeleteCurrent(); });
  engine.Register("MEMLEN1", [m](engine::Engine& e, engine::Frame&) {
    if (!m->IsOpen()) throw engine::Fault{};
    e.Push(engine::NumberToText(m->Size()));
  });
  engine.Register("FIRST3", [m](engine::Engine& e, engine::Frame&) {
    e.Push(m->First() ? "1" : "0");
  });
  engine.Register("NEXT3", [m](engine::Engine& e, engine::Frame&) {
    e.Push(m->Next() ? "1" : "0");
  });
  engine.Register("FIELD3", [m](engine::Engine& e, engine::Frame&) {
    auto value = m->Field(e.Pop());
    if (!value) throw engine::Fault{};
    e.Push(std::move(*value));
  });
}

}  // namespace tables
