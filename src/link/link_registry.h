// The program's links: slots 1 to 8 of the link table and the current link.
// A link that stops leaves every place it held. Window thread only.
#pragma once

#include <QObject>
#include <array>

#include "device_link.h"
#include "link_texts.h"
#include "rs.h"

namespace zlink {

inline constexpr int kLinkSlots = 8;

// A link as the device words and the device wait reach it.
class RsLinkEnd : public device::LinkEndOf<RSThread> {
 public:
  bool Idle() const override;
  bool Open() const override;
};

class LinkRegistry : public QObject, public device::LinkTable {
  Q_OBJECT

 public:
  LinkRegistry() = default;
  // The links outlive nothing they report to.
  ~LinkRegistry() override { StopAll(); }

  // Null for an empty slot or n outside 1..8.
  RSThread* InSlot(int n) const { return n >= 1 && n <= kLinkSlots ? slots_[n] : nullptr; }
  // Ignored for n outside 1..8.
  void Put(int n, RSThread* link);
  RSThread* Current() const { return current_; }
  void SetCurrent(RSThread* link);

  bool Any() const;
  // Some link still has records queued or a write session open: closing now
  // would leave the device's memory half written.
  bool WriteUnfinished() const;
  void StopAll();

  device::LinkEnd* Slot(int number) override;

  // What the links last said: contact, or the link timer ran out.
  LinkState state() const { return state_; }
  void Report(LinkState state);

 signals:
  void StateChanged(zlink::LinkState state);

 private:
  void Watch(RSThread* link);
  void Forget(RSThread* link);

  std::array<RSThread*, kLinkSlots + 1> slots_{};  // index 0 unused
  RSThread* current_ = nullptr;
  LinkState state_ = LinkState::kNotConnected;
  std::array<RsLinkEnd, kLinkSlots + 1> ends_;
};

}  // namespace zlink
