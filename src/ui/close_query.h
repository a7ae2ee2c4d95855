// CLOSEQUERY: a Setup.KVS that defines it is asked before the window closes,
// so that pages can keep the window open while the operator has unsaved work.
#pragma once

namespace engine {
class Engine;
}

namespace ui {

// Runs "CLOSEQUERY RUN" when the script file defines CLOSEQUERY. Returns false
// (the window stays open) when the line left "0" on top of the stack. The
// value the line left is popped. Without the definition, or on any other
// result, true.
bool CloseQueryAllowsClose(engine::Engine& engine);

}  // namespace ui
