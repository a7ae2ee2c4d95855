#include "link_registry.h"

#include "rs.h"

namespace zlink {

bool RsLinkEnd::Idle() const {
  const RSThread* link = get();
  return link != nullptr && !link->Stopped() && link->Answered() && link->SendQueue().empty();
}

bool RsLinkEnd::Open() const {
  TCommPortDriver* driver = get() ? get()->Driver() : nullptr;
  return driver != nullptr && driver->Connected();
}

void LinkRegistry::Put(int n, RSThread* link) {
  if (n < 1 || n > kLinkSlots) return;
  slots_[n] = link;
  Watch(link);
}

void LinkRegistry::SetCurrent(RSThread* link) {
  if (link == current_) return;
  current_ = link;
  Watch(link);
  // A new link has not answered yet.
  Report(LinkState::kNotConnected);
}

void LinkRegistry::Watch(RSThread* link) {
  if (link == nullptr) return;
  connect(link, &RSThread::LinkStopped, this, &LinkRegistry::Forget, Qt::UniqueConnection);
}

void LinkRegistry::Forget(RSThread* link) {
  for (RSThread*& slot : slots_)
    if (slot == link) slot = nullptr;
  if (current_ != link) return;
  current_ = nullptr;
  // Whatever the stopped link had answered, no link answers now.
  Report(LinkState::kNotConnected);
}

bool LinkRegistry::Any() const {
  for (int n = 1; n <= kLinkSlots; ++n)
    if (slots_[n]) return true;
  return false;
}

bool LinkRegistry::WriteUnfinished() const {
  for (int n = 1; n <= kLinkSlots; ++n)
    if (slots_[n] && slots_[n]->WriteUnfinished()) return true;
  return current_ && current_->WriteUnfinished();
}

void LinkRegistry::StopAll() {
  for (int n = 1; n <= kLinkSlots; ++n)
    if (RSThread* link = slots_[n]) RSThread::StopLink(link);
  if (current_) RSThread::StopLink(current_);
}

void LinkRegistry::Report(LinkState state) {
  if (state == state_) return;
  state_ = state;
  emit StateChanged(state);
}

device::LinkEnd* LinkRegistry::Slot(int number) {
  RSThread* link = InSlot(number);
  if (!link || link->Stopped()) return nullptr;
  ends_[number].Reset(link);
  return &ends_[number];
}

}  // namespace zlink
