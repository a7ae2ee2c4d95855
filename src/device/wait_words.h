// WAITREAD and MAXWAIT: the device wait as the script words reach it.
#pragma once

#include <cstdint>

#include "engine.h"

namespace device {

class WaitControl {
 public:
  virtual ~WaitControl() = default;
  // Holds back the rest of the frame's line until the link is quiet for ms.
  virtual void WaitRead(int32_t ms, engine::Frame& frame) = 0;
  virtual void set_max_wait(int32_t on) = 0;
};

extern const engine::WordList<WaitControl> kWaitWords;

}  // namespace device
