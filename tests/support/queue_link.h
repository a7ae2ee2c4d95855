// A link that only collects what the device words queue, in slot 1 of the
// table: for driving the response dispatcher without a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "device_link.h"
#include "dispatcher.h"

namespace test_support {

struct QueueLink : device::LinkEnd {
  std::string queue, last;
  size_t most = std::string::npos;  // what the queue keeps at the most
  bool Answered() const override { return true; }
  void AppendToQueue(const std::string& text) override {
    if (queue.size() < most) queue += text;
  }
  std::string LastCommand() const override { return last; }
  void SetLastCommand(const std::string& text) override { last = text; }
  void SetPacing(bool) override {}
};

struct OneLink : device::LinkTable {
  QueueLink link;
  device::LinkEnd* Slot(int n) override { return n == 1 ? &link : nullptr; }
};

// A device wait that nothing ends.
struct FixedWait : device::DispatcherHost {
  void KeepWaitAlive() override {}
  void EndWait() override {}
};

}  // namespace test_support
