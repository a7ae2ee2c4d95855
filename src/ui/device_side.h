// What the window's subsystems ask of the device side, each through the
// interface it needs: the window-side device system gives both.
#pragma once

#include <string>

namespace ui {

// The start-up's first link and the gate of the two tool-bar buttons.
class DeviceReach {
 public:
  virtual ~DeviceReach() = default;
  // Port discovery and the first link; true when a link was started.
  virtual bool StartFirstLink() = 0;
  // Why the tool-bar buttons cannot reach the device now (Windows-1251, shown
  // in the status bar instead of running MAIN or MAINS); "" when they can.
  virtual std::string ToolBarRefusal() const = 0;
};

// What SCLEAR needs of the device side.
class DeviceSide {
 public:
  virtual ~DeviceSide() = default;
  // The link table holds a link.
  virtual bool AnyLink() const = 0;
  virtual void RecordHookOff() = 0;
};

}  // namespace ui
