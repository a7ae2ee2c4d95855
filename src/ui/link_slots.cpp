#include "link_slots.h"

#include "link_table.h"
#include "rs.h"

namespace ui {

bool LinkTableSlots::HasLink(int slot) const { return zlink::LinkInSlot(slot) != nullptr; }

bool LinkTableSlots::LinkIdle(int slot) const {
  zlink::RSThread* link = zlink::LinkInSlot(slot);
  return link != nullptr && !link->Stopped() && link->Answered() && link->SendQueue().empty();
}

bool LinkTableSlots::LinkOpen(int slot) const {
  zlink::RSThread* link = zlink::LinkInSlot(slot);
  TCommPortDriver* driver = link ? link->Driver() : nullptr;
  return driver != nullptr && driver->Connected();
}

}  // namespace ui
