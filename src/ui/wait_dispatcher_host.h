// The device wait as the response dispatcher sees it.
#pragma once

#include "dispatcher.h"
#include "engine.h"
#include "wait_device.h"

namespace ui {

class WaitDispatcherHost : public device::DispatcherHost {
 public:
  WaitDispatcherHost(DeviceWait& wait, engine::Engine& engine) : wait_(wait), engine_(engine) {}
  void KeepWaitAlive() override { wait_.KeepAlive(); }
  void EndWait() override { engine_.ExecuteLine("0 WAITREAD"); }

 private:
  DeviceWait& wait_;
  engine::Engine& engine_;
};

}  // namespace ui
