// The device wait as the response dispatcher sees it.
#pragma once

#include "dispatcher.h"
#include "wait_device.h"

namespace ui {

class WaitDispatcherHost : public device::DispatcherHost {
 public:
  explicit WaitDispatcherHost(DeviceWait& wait) : wait_(wait) {}
  bool WaitTimerRunning() const override { return wait_.TimerRunning(); }
  int32_t MaxWait() const override { return wait_.max_wait(); }
  void RestartWaitTimer() override { wait_.RestartTimer(); }

 private:
  DeviceWait& wait_;
};

}  // namespace ui
