#include "event_router.h"

#include "control_registers.h"
#include "engine.h"
#include "wait_device.h"

namespace ui {

namespace {
const std::string kNoScript;
}

EventRouter::EventRouter(engine::Engine& engine, const DeviceWait& wait,
                         ControlRegisters& registers)
    : engine_(engine), wait_(wait), registers_(registers) {}

const std::string& EventRouter::Script(int tag) const {
  if (tag < 0 || tag >= ControlRegisters::kEventScripts) return kNoScript;
  return registers_.event_scripts[static_cast<size_t>(tag)];
}

int EventRouter::last_event_tag() const { return registers_.last_event_tag; }

void EventRouter::RunEventScript(const std::string& text) {
  if (wait_.Armed()) {
    engine_.ExecuteLine("`WAIT` RUN");
    return;
  }
  engine_.ExecuteLine(text);
}

bool EventRouter::Route(int tag, RouteRule rule) {
  if (rule.ignored_while_busy && engine_.LineRunning()) return false;
  if (rule.records_tag) registers_.last_event_tag = tag;
  // A copy: the script may place controls and so rewrite its own entry.
  std::string script = Script(tag);
  RunEventScript(script);
  return true;
}

}  // namespace ui
