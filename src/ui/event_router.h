// The one entry through which control events reach the engine: a control's
// tag picks its script in the page model's event script table, and while a
// device wait is armed the WAIT definition runs instead.
#pragma once

#include <string>

namespace engine {
class Engine;
}

namespace device {
class DeviceWait;
}

namespace ui {

using device::DeviceWait;
class PageModel;

// How one kind of control treats its events.
struct RouteRule {
  bool ignored_while_busy;  // the event is lost while a line runs
  bool records_tag;         // the control's tag becomes the last event tag
};

inline constexpr RouteRule kCheckBoxRoute{true, true};
inline constexpr RouteRule kComboBoxRoute{true, true};
inline constexpr RouteRule kDirectoryRoute{true, false};
inline constexpr RouteRule kButtonRoute{false, true};
inline constexpr RouteRule kMemoRoute{false, true};
inline constexpr RouteRule kTabRoute{false, true};
inline constexpr RouteRule kGridRoute{false, true};

class EventRouter {
 public:
  EventRouter(engine::Engine& engine, const DeviceWait& wait, PageModel& page);

  // WAIT while a device wait is armed, otherwise the text itself.
  void RunEventScript(const std::string& text);

  // An event of the control with this tag, treated by the control's rule.
  // Returns whether anything ran.
  bool Route(int tag, RouteRule rule);

 private:
  engine::Engine& engine_;
  const DeviceWait& wait_;
  PageModel& page_;
};

}  // namespace ui
