#include "page_model.h"

namespace ui {

namespace {
const std::string kNoScript;
}

std::optional<Slot> PageModel::Allocate(const KindRule& rule, int pool_size, int member) {
  ControlRegisters& r = registers_;
  const int32_t n = r.current_id;
  if (n < 1 || n >= ControlRegisters::kIdLimit) return std::nullopt;
  // Stored even when the pool is used up.
  if (rule.routed) r.SetEventScript(n, r.on_change);
  int32_t& entry = *r.IdMapEntry(n);
  switch (rule.numbering) {
    case Numbering::kReused:
      if (entry == 0) {
        const int64_t count = ++r.FillCount(rule.pool);
        if (count >= 1 && count <= pool_size) entry = static_cast<int32_t>(count);
      }
      return Slot{n, entry};
    case Numbering::kTaken: {
      const int64_t count = ++r.FillCount(rule.pool);
      if (count < 1 || count > pool_size) return Slot{n, 0};
      entry = static_cast<int32_t>(count);
      return Slot{n, entry};
    }
    case Numbering::kOnce:
      return Slot{n, 1};
    case Numbering::kUnmapped:
      return Slot{n, member};
  }
  return std::nullopt;
}

void PageModel::Placed(const KindRule& rule, const Slot& slot) {
  if (rule.numbering == Numbering::kOnce) {
    // A second MEMO under the same number keeps the number for the next word.
    int32_t& entry = *registers_.IdMapEntry(slot.number);
    if (entry != 0) return;
    entry = 1;
  }
  registers_.current_id = slot.number + 1;
}

void PageModel::Clear() {
  registers_.current_id = 1;
  registers_.id_map.fill(0);
  registers_.fill_counts.fill(0);
}

const std::string& PageModel::EventScript(int tag) const {
  if (tag < 0 || tag >= ControlRegisters::kEventScripts) return kNoScript;
  return registers_.event_scripts[static_cast<size_t>(tag)];
}

int32_t PageModel::LastEventPosition() const {
  const int32_t* entry = registers_.IdMapEntry(registers_.last_event_tag);
  return entry ? *entry : 0;
}

std::vector<std::string> PageModel::Items() const {
  std::vector<std::string> items;
  for (int i = 1; i <= registers_.ItemsInForce(); ++i)
    items.push_back(registers_.items[static_cast<size_t>(i)]);
  return items;
}

}  // namespace ui
