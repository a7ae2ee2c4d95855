// Link 1's send queue as the dispatcher's exchanges fill it: every record
// queued is logged in MemoTerminalOut. With slot 1 empty nothing happens.
#pragma once

#include <string>

#include "device_link.h"
#include "engine.h"

namespace device {

class LinkOneQueue {
 public:
  LinkOneQueue(engine::Engine& engine, LinkTable& links) : engine_(engine), links_(links) {}

  void Queue(const std::string& record_bytes);
  void SetPacing();
  // Slot 1's link, or null; never kept across a script line.
  LinkEnd* Link() { return links_.Slot(1); }

 private:
  engine::Engine& engine_;
  LinkTable& links_;
};

}  // namespace device
