// What the device wait asks of the link table: whether slot n holds a link,
// whether that link is idle and whether its port is still open. The program answers from the real link table;
// tests answer with a fake.
#pragma once

namespace ui {

class LinkSlots {
 public:
  static constexpr int kSlots = 8;

  virtual ~LinkSlots() = default;
  // Whether slot 1..8 holds a link; false for any other number.
  virtual bool HasLink(int slot) const = 0;
  // The link in the slot has answered the device and its send queue is empty.
  // False for an empty slot. May throw; callers take that as not idle.
  virtual bool LinkIdle(int slot) const = 0;
  // The link in the slot has its port open.
  virtual bool LinkOpen(int slot) const { return HasLink(slot); }
};

// The link table of the device link (zlink::LinkInSlot).
class LinkTableSlots : public LinkSlots {
 public:
  bool HasLink(int slot) const override;
  bool LinkIdle(int slot) const override;
  bool LinkOpen(int slot) const override;
};

}  // namespace ui
