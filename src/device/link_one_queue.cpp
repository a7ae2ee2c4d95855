#include "link_one_queue.h"

#include "UHex.h"

namespace device {

void LinkOneQueue::Queue(const std::string& record_bytes) {
  LinkEnd* link = Link();
  if (!link) return;
  const std::string text = uhex::BytesToSpacedHex(record_bytes);
  link->AppendToQueue(text);
  engine_.LogSent(text);
}

void LinkOneQueue::SetPacing() {
  if (LinkEnd* link = Link()) link->SetPacing(true);
}

}  // namespace device
