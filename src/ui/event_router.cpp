#include "event_router.h"

#include "engine.h"
#include "device_wait.h"
#include "page_model.h"

namespace ui {

EventRouter::EventRouter(engine::Engine& engine, const DeviceWait& wait, PageModel& page)
    : engine_(engine), wait_(wait), page_(page) {}

void EventRouter::RunEventScript(const std::string& text) {
  if (wait_.Armed()) {
    engine_.ExecuteLine("`WAIT` RUN");
    return;
  }
  engine_.ExecuteLine(text);
}

bool EventRouter::Route(int tag, RouteRule rule) {
  if (rule.ignored_while_busy && engine_.LineRunning()) return false;
  if (rule.records_tag) page_.registers().last_event_tag = tag;
  // A copy: the script may place controls and so rewrite its own entry.
  std::string script = page_.EventScript(tag);
  RunEventScript(script);
  return true;
}

}  // namespace ui
