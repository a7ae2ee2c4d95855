#include "link_table.h"

#include <array>

namespace zlink {
namespace {

std::array<RSThread*, kLinkSlots + 1> links_by_slot{};  // index 0 unused
RSThread* current = nullptr;

}  // namespace

RSThread* LinkInSlot(int n) { return n >= 1 && n <= kLinkSlots ? links_by_slot[n] : nullptr; }

void SetLinkInSlot(int n, RSThread* link) {
  if (n >= 1 && n <= kLinkSlots) links_by_slot[n] = link;
}

RSThread* CurrentLink() { return current; }
void SetCurrentLink(RSThread* link) { current = link; }

void ForgetLink(RSThread* link) {
  if (link == nullptr) return;
  for (auto& slot : links_by_slot)
    if (slot == link) slot = nullptr;
  if (current == link) current = nullptr;
}

}  // namespace zlink
