#include "startup.h"

#include <cstdio>

#include "engine.h"
#include "timers.h"

namespace ui {

bool DebugRequested(const QStringList& arguments) {
  return !arguments.isEmpty() && arguments.first().toUpper() == QLatin1String("DEBUG");
}

bool RunStartUp(engine::Engine& engine, StartUpWindow& window, const QStringList& arguments,
                DelayedScript& timer1) {
  window.SetStatusBarSimple();
  if (!DebugRequested(arguments)) window.HideMemoDebug();
  const bool linked = window.StartFirstLink();
  window.ResizeToScreen();
  window.FillPools();
  window.HideSingleControls();
  engine.set_rest_cursor(engine::Cursor::kArrow);
  std::remove(engine.TraceLogPath().c_str());
  engine.script_file().Reset();
  engine.ClearStack();
  engine.ExecuteLine("SCLEAR");
  if (linked) engine.ExecuteLine("START RUN");
  window.PaintImage1();
  timer1.Stop();
  return linked;
}

}  // namespace ui
