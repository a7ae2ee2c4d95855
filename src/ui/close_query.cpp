#include "close_query.h"

#include "engine.h"

namespace ui {

bool CloseQueryAllowsClose(engine::Engine& engine) {
  try {
    if (engine.script_file().Body("CLOSEQUERY").empty()) return true;
    const int depth = engine.Depth();
    engine.ExecuteLine("CLOSEQUERY RUN");
    // Only a value the line itself left counts: a "0" some earlier line left
    // behind must not hold the window open. The answer is taken off either way.
    if (engine.Depth() > depth) return engine.Pop() != "0";
  } catch (...) {
    // A fault in the script never keeps the operator from closing.
  }
  return true;
}

}  // namespace ui
