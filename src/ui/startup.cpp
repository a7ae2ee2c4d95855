#include "startup.h"

#include <cstdio>

#include "engine.h"
#include "timers.h"

namespace ui {

bool RunStartUp(engine::Engine& engine, StartUpWindow& window, bool show_link_memo,
                DelayedScript& timer1) {
  window.SetMemoDebugVisible(show_link_memo);
  const bool linked = window.StartFirstLink();
  window.ResizeToScreen();
  window.HideSingleControls();
  engine.set_rest_cursor(engine::Cursor::kArrow);
  std::remove(engine.TraceLogPath().c_str());
  engine.script_file().Reset();
  engine.ClearStack();
  engine.ExecuteLine("SCLEAR");
  // Both before START rather than after it, so that neither a level bar
  // drawn by START nor a delayed script it starts is undone.
  window.PaintImage1();
  timer1.Stop();
  if (linked) window.WhenOnScreen([&engine] { engine.ExecuteLine("START RUN"); });
  return linked;
}

}  // namespace ui
