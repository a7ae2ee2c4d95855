#include "headless_tables.h"

#include "cp1251.h"
#include "engine.h"

namespace provision {

namespace {

using engine::Engine;
using engine::Frame;

// The item list as the window keeps it: at most 100 items, the rest ignored.
constexpr size_t kItems = 100;

constexpr engine::WordRow<HeadlessTables> kItemRows[] = {
    {"CLEARITEMS", "--", "Empties the item list (combo items, SQL statement lines).",
     [](HeadlessTables& t, Engine&, Frame&) { t.items().clear(); }},
    {"ADDITEMS", "text --", "Adds text to the item list (at most 100 items).",
     [](HeadlessTables& t, Engine& e, Frame&) {
       std::string item = e.Pop();
       if (t.items().size() < kItems) t.items().push_back(std::move(item));
     }},
};
const engine::WordList<HeadlessTables> kItemWords{"Window: properties of the next control",
                                                  kItemRows};

}  // namespace

HeadlessTables::HeadlessTables(engine::Engine& engine, const QString& store_path)
    : engine_(engine), store_(store_path) {
  for (auto& query : queries_) query = std::make_unique<tables::QueryObject>(store_);
  store_.SetReporter([this](const std::string& text) { engine_.ShowStatus(text); });
  store_.SetBeforeReopen([this] {
    for (auto& query : queries_) query->Close();
  });
  store_.SetReadResultsToEnd([this] {
    const bool first = queries_[0]->ReadToEnd();
    return queries_[1]->ReadToEnd() || first;
  });
}

HeadlessTables::~HeadlessTables() {
  store_.SetReporter(nullptr);
  for (auto& query : queries_) query->Close();
  store_.Flush();
}

void HeadlessTables::RegisterWords() {
  engine::AddWords(engine_, kItemWords, *this);
  engine::AddWords<tables::TableSurface>(engine_, tables::kQueryWords, *this);
  engine::AddWords<tables::Monitor>(engine_, tables::kMonitorWords, *this);
}

tables::QueryObject& HeadlessTables::Query(int number) { return *queries_[number - 1]; }

void HeadlessTables::RunItems(int query) {
  const std::string sql = tables::QueryObject::JoinLines(items_);
  if (query == 3)
    Query(3).Exec(sql);
  else
    Query(query).Open(sql);
}

std::optional<std::string> HeadlessTables::QueryField(int query, const std::string& name) {
  return Query(query).Field(name);
}

bool HeadlessTables::QueryFirst() { return Query(1).First(); }
bool HeadlessTables::QueryNext() { return Query(1).Next(); }
bool HeadlessTables::QueryEof() { return Query(1).Eof(); }

std::string HeadlessTables::StoreTrouble() const { return engine::ToCp1251(store_.trouble()); }

}  // namespace provision
